// Reading the first sheet of an .xlsx workbook: its parts come out of the zip archive with minizip and are
// parsed as they stream with expat. Shared and inline strings, booleans, errors, and numbers whose number
// format shows a date are told apart as the spreadsheet program tells them.
#include <expat.h>
#include <unzip.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/dates.h"
#include "sheet/readers.h"

namespace kv::sheet {

namespace {

std::string_view localName(const char* name) {
  std::string_view n(name);
  const auto colon = n.rfind(':');
  return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

const char* attribute(const char** atts, std::string_view wanted, bool prefixed = false) {
  for (int i = 0; atts[i] != nullptr; i += 2) {
    std::string_view n(atts[i]);
    const bool hasPrefix = n.find(':') != std::string_view::npos;
    if (localName(atts[i]) == wanted && hasPrefix == prefixed) return atts[i + 1];
  }
  return nullptr;
}


// A handler object behind expat's C callbacks. No exception may cross the library's C frames: a handler
// that fails keeps its error and stops the parser, and the error is thrown once the parser has returned.
struct Handler {
  virtual ~Handler() = default;
  virtual void start(std::string_view name, const char** atts) = 0;
  virtual void end(std::string_view name) = 0;
  virtual void text(std::string_view) {}
  XML_Parser parser = nullptr;
  std::string failure;
};

template <class F>
void guarded(void* u, F&& f) {
  auto* h = static_cast<Handler*>(u);
  if (!h->failure.empty()) return;
  try {
    f(*h);
  } catch (const std::exception& e) {
    h->failure = e.what();
    XML_StopParser(h->parser, XML_FALSE);
  }
}

void install(XML_Parser p, Handler& h) {
  h.parser = p;
  XML_SetUserData(p, &h);
  XML_SetElementHandler(
      p, [](void* u, const char* n, const char** a) { guarded(u, [&](Handler& h) { h.start(localName(n), a); }); },
      [](void* u, const char* n) { guarded(u, [&](Handler& h) { h.end(localName(n)); }); });
  XML_SetCharacterDataHandler(p, [](void* u, const char* s, int len) {
    guarded(u, [&](Handler& h) { h.text({s, static_cast<std::size_t>(len)}); });
  });
}

class Archive {
 public:
  explicit Archive(const std::string& path) : zip_(unzOpen64(path.c_str())) {
    if (zip_ == nullptr) throw SheetError("the .xlsx workbook cannot be opened");
  }
  ~Archive() { unzClose(zip_); }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool has(const std::string& part) { return unzLocateFile(zip_, part.c_str(), 1) == UNZ_OK; }

  // Streams a part through a fresh expat parser into the handler.
  void parse(const std::string& part, Handler& handler) {
    if (unzLocateFile(zip_, part.c_str(), 1) != UNZ_OK || unzOpenCurrentFile(zip_) != UNZ_OK)
      throw SheetError("the workbook lacks " + part);
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) throw SheetError("out of memory");
    install(parser, handler);
    std::vector<char> buf(1 << 16);
    bool ok = true;
    for (;;) {
      const int n = unzReadCurrentFile(zip_, buf.data(), static_cast<unsigned>(buf.size()));
      if (n < 0 || XML_Parse(parser, buf.data(), n, n == 0) == XML_STATUS_ERROR) {
        ok = false;
        break;
      }
      if (n == 0) break;
    }
    XML_ParserFree(parser);
    const bool crcOk = unzCloseCurrentFile(zip_) == UNZ_OK;
    if (!handler.failure.empty()) throw SheetError(handler.failure);
    if (!ok || !crcOk) throw SheetError("the workbook's part " + part + " cannot be read");
  }

 private:
  unzFile zip_;
};

// The relationship id of the workbook's first sheet.
struct WorkbookPart : Handler {
  std::string firstSheet;
  std::string sheetName;
  bool found = false;
  void start(std::string_view name, const char** atts) override {
    if (name != "sheet" || found) return;
    if (const char* id = attribute(atts, "id", true)) {
      firstSheet = id;
      const char* n = attribute(atts, "name");
      sheetName = cp1254FromUtf8Lossy(n ? n : "");
      found = true;
    }
  }
  void end(std::string_view) override {}
};

struct RelsPart : Handler {
  std::map<std::string, std::string> targets;  // id -> target
  std::string sharedStrings;
  std::string styles;
  void start(std::string_view name, const char** atts) override {
    if (name != "Relationship") return;
    const char* id = attribute(atts, "Id");
    const char* target = attribute(atts, "Target");
    const char* type = attribute(atts, "Type");
    if (id == nullptr || target == nullptr) return;
    targets[id] = target;
    const std::string_view t = type ? type : "";
    if (t.ends_with("/sharedStrings")) sharedStrings = target;
    if (t.ends_with("/styles")) styles = target;
  }
  void end(std::string_view) override {}
};

struct SharedStringsPart : Handler {
  std::vector<std::string> strings;
  std::string current;
  bool inText = false;
  int phonetic = 0;  // the reading aids of East Asian texts are not part of the value
  void start(std::string_view name, const char**) override {
    if (name == "si") current.clear();
    else if (name == "rPh") ++phonetic;
    else if (name == "t" && phonetic == 0) inText = true;
  }
  void end(std::string_view name) override {
    if (name == "si") strings.push_back(cp1254FromUtf8Lossy(current));
    else if (name == "rPh") --phonetic;
    else if (name == "t") inText = false;
  }
  void text(std::string_view s) override {
    if (inText) current += s;
  }
};

// Does a number format show a date or a time? Quoted texts, escaped characters and [..] parts aside.
bool isDateFormat(std::string_view code) {
  bool quoted = false;
  int bracket = 0;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (quoted) {
      if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') quoted = true;
    else if (c == '\\' || c == '_' || c == '*') ++i;
    else if (c == '[') ++bracket;
    else if (c == ']') bracket = bracket > 0 ? bracket - 1 : 0;
    else if (bracket == 0 && std::strchr("dDmMyYhHsS", c) != nullptr && c != 0) return true;
  }
  return false;
}

bool isBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

struct StylesPart : Handler {
  std::map<int, bool> customIsDate;
  std::vector<bool> styleIsDate;  // by cell style index
  bool inCellXfs = false;
  void start(std::string_view name, const char** atts) override {
    if (name == "numFmt") {
      const char* id = attribute(atts, "numFmtId");
      const char* code = attribute(atts, "formatCode");
      if (id && code) customIsDate[std::atoi(id)] = isDateFormat(code);
    } else if (name == "cellXfs") {
      inCellXfs = true;
    } else if (name == "xf" && inCellXfs) {
      const char* id = attribute(atts, "numFmtId");
      const int n = id ? std::atoi(id) : 0;
      const auto custom = customIsDate.find(n);
      styleIsDate.push_back(custom != customIsDate.end() ? custom->second : isBuiltInDateFormat(n));
    }
  }
  void end(std::string_view name) override {
    if (name == "cellXfs") inCellXfs = false;
  }
};

// "AB12" -> column 28, row 12.
bool cellReference(const char* ref, std::int32_t& row, int& column) {
  int c = 0;
  const char* p = ref;
  while (*p >= 'A' && *p <= 'Z') c = c * 26 + (*p++ - 'A' + 1);
  if (c == 0 || c > 16384 || *p == 0) return false;
  char* endp = nullptr;
  const long r = std::strtol(p, &endp, 10);
  if (*endp != 0 || r < 1 || r > 1048576) return false;
  row = static_cast<std::int32_t>(r);
  column = c;
  return true;
}

struct SheetPart : Handler {
  const std::vector<std::string>& shared;
  const std::vector<bool>& dateStyles;
  Sheet sheet;
  std::int32_t row = 0;
  int column = 0;
  char type = 'n';  // the first letter of the cell's type: s(hared), i(nline), (s)t(r), b, e, d, n
  int style = 0;
  std::string value;
  bool inValue = false;
  bool inCell = false;
  bool inInline = false;

  SheetPart(const std::vector<std::string>& s, const std::vector<bool>& d) : shared(s), dateStyles(d) {}

  void start(std::string_view name, const char** atts) override {
    if (name == "row") {
      const char* r = attribute(atts, "r");
      row = r ? std::atoi(r) : row + 1;
      column = 0;
    } else if (name == "c") {
      inCell = true;
      const char* r = attribute(atts, "r");
      std::int32_t rr = row;
      int cc = column + 1;
      if (r != nullptr && !cellReference(r, rr, cc)) throw SheetError("a cell reference cannot be read");
      row = rr;
      column = cc;
      const char* t = attribute(atts, "t");
      type = t == nullptr ? 'n' : std::string_view(t) == "str" ? 't' : t[0];
      const char* s = attribute(atts, "s");
      style = s ? std::atoi(s) : 0;
      value.clear();
    } else if (inCell && name == "v") {
      inValue = true;
    } else if (inCell && name == "is") {
      inInline = true;
    } else if (inInline && name == "t") {
      inValue = true;
    }
  }

  void end(std::string_view name) override {
    if (name == "v" || (name == "t" && inInline)) inValue = false;
    else if (name == "is") inInline = false;
    else if (name == "c") {
      inCell = false;
      store();
    }
  }

  void text(std::string_view s) override {
    if (inValue) value += s;
  }

  void store() {
    Cell cell;
    if (type == 's') {
      const long i = std::strtol(value.c_str(), nullptr, 10);
      if (value.empty() || i < 0 || static_cast<std::size_t>(i) >= shared.size())
        throw SheetError("a shared string cannot be found");
      cell = Cell::text(shared[static_cast<std::size_t>(i)]);
    } else if (type == 'i' || type == 't') {
      cell.kind = CellKind::Text;
      cell.str = cp1254FromUtf8Lossy(value);
    } else if (type == 'b') {
      cell = Cell::boolean(value == "1" || value == "true");
    } else if (type == 'e') {
      cell = Cell::error(value);
    } else if (type == 'd') {
      int y = 0, m = 0, d = 0;
      if (std::sscanf(value.c_str(), "%d-%d-%d", &y, &m, &d) == 3) cell = Cell::date(Date::fromYmd(y, m, d).serial);
      else cell = Cell::error("#VALUE!");
    } else {
      if (value.empty()) return;
      char* endp = nullptr;
      const double v = std::strtod(value.c_str(), &endp);
      if (endp == value.c_str()) cell = Cell::error("#VALUE!");
      else if (style >= 0 && static_cast<std::size_t>(style) < dateStyles.size() && dateStyles[static_cast<std::size_t>(style)])
        cell = Cell::date(v);
      else cell = Cell::number(v);
    }
    sheet.set(row, column, std::move(cell));
  }
};

// A target of the workbook's relationships as a path in the archive.
std::string partPath(const std::string& target) {
  if (!target.empty() && target.front() == '/') return target.substr(1);
  return "xl/" + target;
}

}  // namespace

Sheet readXlsx(const std::string& utf8Path) {
  Archive zip(utf8Path);
  WorkbookPart workbook;
  zip.parse("xl/workbook.xml", workbook);
  if (!workbook.found) throw SheetError("the workbook has no sheet");
  RelsPart rels;
  zip.parse("xl/_rels/workbook.xml.rels", rels);
  const auto target = rels.targets.find(workbook.firstSheet);
  if (target == rels.targets.end()) throw SheetError("the workbook's first sheet cannot be found");

  SharedStringsPart strings;
  const std::string stringsPart = partPath(rels.sharedStrings.empty() ? "sharedStrings.xml" : rels.sharedStrings);
  if (zip.has(stringsPart)) zip.parse(stringsPart, strings);
  StylesPart styles;
  const std::string stylesPart = partPath(rels.styles.empty() ? "styles.xml" : rels.styles);
  if (zip.has(stylesPart)) zip.parse(stylesPart, styles);

  SheetPart sheet(strings.strings, styles.styleIsDate);
  zip.parse(partPath(target->second), sheet);
  sheet.sheet.setName(workbook.sheetName);
  return std::move(sheet.sheet);
}

}  // namespace kv::sheet
