// Reading the first sheet of an .xlsx workbook: its parts come out of the zip archive with minizip and are
// parsed as they stream with the layer's XML reader. Shared and inline strings, booleans, errors, and
// numbers whose number format shows a date are told apart as the spreadsheet program tells them.
//
// A small archive can inflate to gigabytes: what comes out of it is counted as it comes, and a workbook
// whose parts inflate beyond kMaxInflated, or whose shared strings pass their limits, is refused.
#include <unzip.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/dates.h"
#include "sheet/readers.h"
#include "sheet/xml_reader.h"

namespace kv::sheet {

namespace {

constexpr std::uint64_t kMaxInflated = std::uint64_t{256} << 20;
// No table usefully holds more strings than a sheet holds cells.
constexpr std::int64_t kMaxSharedStrings = kMaxReadCells;
constexpr std::size_t kMaxSharedText = kMaxSheetText;
// A cell's value as it stands in the part, in UTF-8: room for the longest text a cell holds.
constexpr std::size_t kMaxValueBytes = 4 * kMaxCellText;
constexpr int kMaxColumns = 16384;

// A whole number attribute; what is not one, or does not fit an int, is 0.
int wholeNumber(const char* text) {
  if (text == nullptr) return 0;
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  return end == text || n < INT_MIN || n > INT_MAX ? 0 : static_cast<int>(n);
}

using Attributes = std::span<const XmlAttribute>;

// An attribute by its local name, with or without a prefix ("r:id" is not "id").
const char* attribute(Attributes atts, std::string_view wanted, bool prefixed = false) {
  for (const XmlAttribute& a : atts) {
    const auto colon = a.name.rfind(':');
    const bool hasPrefix = colon != std::string_view::npos;
    if (hasPrefix == prefixed && (hasPrefix ? a.name.substr(colon + 1) : a.name) == wanted) return a.value;
  }
  return nullptr;
}

class Archive {
 public:
  explicit Archive(const std::string& path) : zip_(unzOpen64(path.c_str())), buffer_(std::size_t{1} << 16) {
    if (zip_ == nullptr) throw SheetError("the .xlsx workbook cannot be opened");
  }
  ~Archive() { unzClose(zip_); }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool has(const std::string& part) { return unzLocateFile(zip_, part.c_str(), 1) == UNZ_OK; }

  // Streams a part through the XML reader into the handler.
  void parse(const std::string& part, XmlHandler& handler) {
    if (unzLocateFile(zip_, part.c_str(), 1) != UNZ_OK || unzOpenCurrentFile(zip_) != UNZ_OK)
      throw SheetError("the workbook lacks " + part);
    XmlReader xml(handler);
    for (;;) {
      const int n = unzReadCurrentFile(zip_, buffer_.data(), static_cast<unsigned>(buffer_.size()));
      if (n < 0) throw SheetError("the workbook's part " + part + " cannot be read");
      if (n == 0) break;
      inflated_ += static_cast<std::uint64_t>(n);
      if (inflated_ > kMaxInflated) throw SheetError("the workbook inflates beyond what is read");
      xml.feed({buffer_.data(), static_cast<std::size_t>(n)});
    }
    xml.finish();
    if (unzCloseCurrentFile(zip_) != UNZ_OK) throw SheetError("the workbook's part " + part + " is damaged");
  }

 private:
  unzFile zip_;
  std::vector<char> buffer_;
  std::uint64_t inflated_ = 0;  // over every part read
};

// The relationship id of the workbook's first sheet.
struct WorkbookPart : XmlHandler {
  std::string firstSheet;
  std::string sheetName;
  bool found = false;
  void start(std::string_view name, Attributes atts) override {
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

struct RelsPart : XmlHandler {
  std::map<std::string, std::string> targets;  // id -> target
  std::string sharedStrings;
  std::string styles;
  void start(std::string_view name, Attributes atts) override {
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

// The strings side by side in one text, so that a table of many short strings stays small.
struct SharedStringsPart : XmlHandler {
  std::string texts;
  std::vector<std::uint32_t> ends;
  std::string current;
  bool inText = false;
  int phonetic = 0;  // the reading aids of East Asian texts are not part of the value
  void start(std::string_view name, Attributes) override {
    if (name == "si") current.clear();
    else if (name == "rPh") ++phonetic;
    else if (name == "t" && phonetic == 0) inText = true;
  }
  void end(std::string_view name) override {
    if (name == "si") {
      if (static_cast<std::int64_t>(ends.size()) >= kMaxSharedStrings) throw SheetError("too many shared strings");
      texts += cp1254FromUtf8Lossy(current);
      ends.push_back(static_cast<std::uint32_t>(texts.size()));
    } else if (name == "rPh") {
      --phonetic;
    } else if (name == "t") {
      inText = false;
    }
  }
  void text(std::string_view s) override {
    if (!inText) return;
    if (texts.size() + current.size() + s.size() > kMaxSharedText) throw SheetError("the shared strings are too long");
    current += s;
  }
  std::size_t size() const { return ends.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::uint32_t from = i == 0 ? 0 : ends[i - 1];
    return std::string_view(texts).substr(from, ends[i] - from);
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

struct StylesPart : XmlHandler {
  std::map<int, bool> customIsDate;
  std::vector<bool> styleIsDate;  // by cell style index
  bool inCellXfs = false;
  void start(std::string_view name, Attributes atts) override {
    if (name == "numFmt") {
      const char* id = attribute(atts, "numFmtId");
      const char* code = attribute(atts, "formatCode");
      if (id && code) customIsDate[wholeNumber(id)] = isDateFormat(code);
    } else if (name == "cellXfs") {
      inCellXfs = true;
    } else if (name == "xf" && inCellXfs) {
      const char* id = attribute(atts, "numFmtId");
      const int n = wholeNumber(id);
      const auto custom = customIsDate.find(n);
      styleIsDate.push_back(custom != customIsDate.end() ? custom->second : isBuiltInDateFormat(n));
    }
  }
  void end(std::string_view name) override {
    if (name == "cellXfs") inCellXfs = false;
  }
};

// A row number of the sheet, 1 to its last row.
bool rowNumber(const char* text, std::int32_t& row) {
  char* endp = nullptr;
  const long r = std::strtol(text, &endp, 10);
  if (endp == text || *endp != 0 || r < 1 || r > kMaxSheetRows) return false;
  row = static_cast<std::int32_t>(r);
  return true;
}

// "AB12" -> column 28, row 12.
bool cellReference(const char* ref, std::int32_t& row, int& column) {
  int c = 0;
  const char* p = ref;
  for (; *p >= 'A' && *p <= 'Z'; ++p) {
    if (c > kMaxColumns) return false;  // before it grows past what an int holds
    c = c * 26 + (*p - 'A' + 1);
  }
  if (c == 0 || c > kMaxColumns || *p == 0) return false;
  if (!rowNumber(p, row)) return false;
  column = c;
  return true;
}

struct SheetPart : XmlHandler {
  const SharedStringsPart& shared;
  const std::vector<bool>& dateStyles;
  CellSink& sheet;
  std::int32_t row = 0;
  int column = 0;
  char type = 'n';  // the first letter of the cell's type: s(hared), i(nline), (s)t(r), b, e, d, n
  int style = 0;
  std::string value;
  bool inValue = false;
  bool inCell = false;
  bool inInline = false;

  SheetPart(const SharedStringsPart& s, const std::vector<bool>& d, CellSink& out)
      : shared(s), dateStyles(d), sheet(out) {}

  void start(std::string_view name, Attributes atts) override {
    if (name == "row") {
      // Without a number, the row after the last; past the sheet's last row, rows are left out.
      const char* r = attribute(atts, "r");
      if (r == nullptr) row = std::min(row, kMaxSheetRows) + 1;
      else if (!rowNumber(r, row)) throw SheetError("a row number cannot be read");
      column = 0;
    } else if (name == "c") {
      inCell = true;
      const char* r = attribute(atts, "r");
      std::int32_t rr = row;
      int cc = std::min(column, kMaxColumns) + 1;
      if (r != nullptr && !cellReference(r, rr, cc)) throw SheetError("a cell reference cannot be read");
      row = rr;
      column = cc;
      const char* t = attribute(atts, "t");
      type = t == nullptr ? 'n' : std::string_view(t) == "str" ? 't' : t[0];
      style = wholeNumber(attribute(atts, "s"));
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
    if (inValue && value.size() < kMaxValueBytes) value += s.substr(0, kMaxValueBytes - value.size());
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
    sheet.add(row, column, cell);
  }
};

// A target of the workbook's relationships as a path in the archive.
std::string partPath(const std::string& target) {
  if (!target.empty() && target.front() == '/') return target.substr(1);
  return "xl/" + target;
}

}  // namespace

void readXlsx(const std::string& utf8Path, CellSink& out) {
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

  out.name(workbook.sheetName);
  SheetPart sheet(strings, styles.styleIsDate, out);
  zip.parse(partPath(target->second), sheet);
}

}  // namespace kv::sheet
