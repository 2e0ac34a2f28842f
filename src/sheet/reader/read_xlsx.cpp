// Reading the first sheet of an .xlsx workbook: its parts come out of the zip archive with minizip and are
// parsed as they stream with the layer's XML reader. The workbook part is the one the package's root
// relationships name, and parts are found as the spreadsheet program finds them: without regard to case,
// a backslash taken as a slash. Shared and inline strings (their "_xHHHH_" escapes decoded), booleans,
// errors, and numbers whose number format shows a date (in the workbook's date system) are told apart as
// the spreadsheet program tells them.
//
// A small archive can inflate to gigabytes: what comes out of it is counted as it comes, and a workbook
// whose parts inflate beyond kMaxInflated, or whose shared strings pass their limits, is refused.
#include <unzip.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"
#include "base/text.h"
#include "sheet/reader/number_formats.h"
#include "sheet/reader/readers.h"
#include "sheet/reader/xml_reader.h"

namespace kv::sheet {

namespace {

constexpr std::uint64_t kMaxInflated = std::uint64_t{256} << 20;
// No table usefully holds more strings than a sheet holds cells.
constexpr std::int64_t kMaxSharedStrings = kMaxReadCells;
constexpr std::size_t kMaxSharedText = kMaxSheetText;
// A cell's value as it stands in the part, in UTF-8: room for the longest text a cell holds.
constexpr std::size_t kMaxValueBytes = 4 * kMaxCellText;
constexpr int kMaxColumns = 16384;
// The namespace of a workbook in the strict form of the format.
constexpr std::string_view kStrictNamespace = "http://purl.oclc.org/ooxml/spreadsheetml/main";

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

// A part's name as parts are compared: lower case, with slashes.
std::string partKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = c == '\\' ? '/' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return key;
}

class Archive {
 public:
  explicit Archive(const std::string& path) : zip_(unzOpen64(path.c_str())), buffer_(std::size_t{1} << 16) {
    if (zip_ == nullptr) throw SheetError("the .xlsx workbook cannot be opened");
    // Every part's place by its name; the first of two names that compare the same is the one found.
    char name[1024];
    for (int rc = unzGoToFirstFile(zip_); rc == UNZ_OK; rc = unzGoToNextFile(zip_)) {
      unz_file_info64 info;
      unz64_file_pos at;
      if (unzGetCurrentFileInfo64(zip_, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
          unzGetFilePos64(zip_, &at) != UNZ_OK)
        throw SheetError("the .xlsx workbook's directory is damaged");
      parts_.emplace(partKey(name), at);
    }
  }
  ~Archive() { unzClose(zip_); }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool has(const std::string& part) const { return parts_.contains(partKey(part)); }

  // Streams a part through the XML reader into the handler.
  void parse(const std::string& part, XmlHandler& handler) {
    const auto at = parts_.find(partKey(part));
    if (at == parts_.end()) throw SheetError("the workbook lacks " + part);
    unz64_file_pos pos = at->second;
    if (unzGoToFilePos64(zip_, &pos) != UNZ_OK || unzOpenCurrentFile(zip_) != UNZ_OK)
      throw SheetError("the workbook's part " + part + " cannot be opened");
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
  std::map<std::string, unz64_file_pos> parts_;
  std::vector<char> buffer_;
  std::uint64_t inflated_ = 0;  // over every part read
};

// A text of the workbook as Windows-1254, its escapes ("_x000D_" for a carriage return, "_x005F_" for
// the underscore itself) decoded.
std::string workbookText(std::string_view utf8) {
  if (utf8.find("_x") == std::string_view::npos) return cp1254FromUtf8Lossy(utf8);
  const auto unit = [&](std::size_t i) -> long {
    if (i + 7 > utf8.size() || utf8.compare(i, 2, "_x") != 0 || utf8[i + 6] != '_') return -1;
    long u = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
      const char c = utf8[k];
      const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (d < 0) return -1;
      u = u * 16 + d;
    }
    return u;
  };
  std::string out;
  std::size_t plain = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const long u = unit(i);
    if (u < 0) {
      ++i;
      continue;
    }
    out += cp1254FromUtf8Lossy(utf8.substr(plain, i - plain));
    i += 7;
    // The high half of a pair takes its low half with it: a character no byte of Windows-1254 holds.
    if (u >= 0xD800 && u < 0xDC00 && unit(i) >= 0xDC00 && unit(i) < 0xE000) i += 7;
    const auto byte = unicodeToCp1254(static_cast<char32_t>(u));
    out += byte && u != 0 ? static_cast<char>(*byte) : '?';
    plain = i;
  }
  return out + cp1254FromUtf8Lossy(utf8.substr(plain));
}

// The relationship id of the workbook's first sheet, its date system, and whether it is of the strict form.
struct WorkbookPart : XmlHandler {
  std::string firstSheet;
  std::string sheetName;
  bool found = false;
  bool date1904 = false;
  bool strict = false;
  int depth = 0;
  void start(std::string_view name, Attributes atts) override {
    if (++depth == 1)
      strict = std::any_of(atts.begin(), atts.end(), [](const XmlAttribute& a) {
        return (a.name == "xmlns" || a.name.starts_with("xmlns:")) && a.value == kStrictNamespace;
      });
    // The workbook's own properties stand right under its root; those that later versions add under the
    // same local name (x14:, x15:workbookPr in extLst) lie deeper and do not say the date system.
    if (depth == 2 && name == "workbookPr") {
      const char* d = attribute(atts, "date1904");
      date1904 = d != nullptr && (std::string_view(d) == "1" || std::string_view(d) == "true");
    }
    if (name != "sheet" || found) return;
    if (const char* id = attribute(atts, "id", true)) {
      firstSheet = id;
      const char* n = attribute(atts, "name");
      sheetName = cp1254FromUtf8Lossy(n ? n : "");
      found = true;
    }
  }
  void end(std::string_view) override { --depth; }
};

struct RelsPart : XmlHandler {
  std::map<std::string, std::string> targets;  // id -> target
  std::string sharedStrings;
  std::string styles;
  std::string officeDocument;
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
    if (t.ends_with("/officeDocument") && officeDocument.empty()) officeDocument = target;
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
      texts += workbookText(current);
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

// "AB12" (or "ab12") -> column 28, row 12.
bool cellReference(const char* ref, std::int32_t& row, int& column) {
  int c = 0;
  const char* p = ref;
  for (; (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'); ++p) {
    if (c > kMaxColumns) return false;  // before it grows past what an int holds
    c = c * 26 + ((*p & ~0x20) - 'A' + 1);
  }
  if (c == 0 || c > kMaxColumns || *p == 0) return false;
  if (!rowNumber(p, row)) return false;
  column = c;
  return true;
}

// The digits at the front of `text` (with a fraction after '.' or ','), taken off it; nothing when it does
// not begin with a digit.
std::optional<double> leadingDecimal(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && ((text[n] >= '0' && text[n] <= '9') || text[n] == '.' || text[n] == ',')) ++n;
  if (n == 0 || text[0] < '0' || text[0] > '9') return std::nullopt;
  std::string digits(text.substr(0, n));
  std::replace(digits.begin(), digits.end(), ',', '.');
  char* end = nullptr;
  const double v = std::strtod(digits.c_str(), &end);
  if (end != digits.c_str() + digits.size()) return std::nullopt;
  text.remove_prefix(n);
  return v;
}

// "10:10:10", "23:44:51.894": a time alone, as the fraction of a day it is.
std::optional<double> isoTime(std::string_view text) {
  if (text.starts_with('T')) text.remove_prefix(1);
  const auto hours = leadingDecimal(text);
  if (!hours || !text.starts_with(':')) return std::nullopt;
  text.remove_prefix(1);
  const auto minutes = leadingDecimal(text);
  if (!minutes) return std::nullopt;
  std::optional<double> seconds = 0.0;
  if (text.starts_with(':')) {
    text.remove_prefix(1);
    seconds = leadingDecimal(text);
  }
  if (!seconds || (!text.empty() && text != "Z")) return std::nullopt;
  return (*hours * 3600 + *minutes * 60 + *seconds) / 86400;
}

// "PT26H0M0.000S", "P1DT2H", "-PT30M": a duration, as its number of days. Years and months have no fixed
// number of days, so a duration that counts them is no number.
std::optional<double> isoDuration(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  if (!text.starts_with('P')) return std::nullopt;
  text.remove_prefix(1);
  double days = 0;
  bool time = false, any = false;
  while (!text.empty()) {
    if (!time && text.starts_with('T')) {
      time = true;
      text.remove_prefix(1);
      continue;
    }
    const auto n = leadingDecimal(text);
    if (!n || text.empty()) return std::nullopt;
    const char unit = text.front();
    text.remove_prefix(1);
    any = true;
    if (!time && (unit == 'Y' || unit == 'M')) {
      if (*n != 0) return std::nullopt;
    } else if (!time && (unit == 'W' || unit == 'D')) {
      days += unit == 'W' ? *n * 7 : *n;
    } else if (time && (unit == 'H' || unit == 'M' || unit == 'S')) {
      days += *n / (unit == 'H' ? 24 : unit == 'M' ? 1440 : 86400);
    } else {
      return std::nullopt;
    }
  }
  if (!any) return std::nullopt;
  return negative ? -days : days;
}

// The value of a cell of the date type: "2020-03-05", "2020-03-05T14:30:15.5Z" the day number with the
// time as its fraction; a time alone that fraction of a day; a duration its days, a number. The strict
// form of the 1900 date system (`strict1900`) writes a day as the one its serial stands for in the 1900
// date base, where 1900-01-01 is 1 and 1899-12-31 is 0: before March 1900, which counts a 29 February
// that never was, that serial is one less than the program's day number, and it reads as that serial
// does in a cell of a date's format.
std::optional<Cell> isoValue(const std::string& text, bool strict1900) {
  if (const auto d = isoDuration(text)) return Cell::number(*d);
  if (const auto t = isoTime(text)) return Cell::date(*t);
  int y = 0, m = 0, d = 0, h = 0, mi = 0, used = 0;
  double sec = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%n", &y, &m, &d, &used) != 3) return std::nullopt;
  double serial = Date::fromYmd(y, m, d).serial;
  if (text[static_cast<std::size_t>(used)] == 'T' && std::sscanf(text.c_str() + used, "T%d:%d:%lf", &h, &mi, &sec) >= 2)
    serial += (h * 3600.0 + mi * 60.0 + sec) / 86400.0;
  if (strict1900 && serial < Date::fromYmd(1900, 3, 1).serial) serial = dateSerial(serial - 1, false);
  return Cell::date(serial);
}

struct SheetPart : XmlHandler {
  const SharedStringsPart& shared;
  const std::vector<bool>& dateStyles;
  const WorkbookPart& workbook;
  CellSink& sheet;
  std::int32_t row = 0;
  int column = 0;
  char type = 'n';  // the first letter of the cell's type: s(hared), i(nline), (s)t(r), b, e, d, n
  int style = 0;
  std::string value;  // the <v> of the cell, or the <t> texts of its inline string
  bool inValue = false;
  bool inCell = false;
  bool inInline = false;
  int phonetic = 0;

  SheetPart(const SharedStringsPart& s, const std::vector<bool>& d, const WorkbookPart& w, CellSink& out)
      : shared(s), dateStyles(d), workbook(w), sheet(out) {}

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
      inValue = type != 'i';  // an inline string is its <is> text alone
    } else if (inCell && name == "is") {
      inInline = true;
    } else if (inInline && name == "rPh") {
      ++phonetic;
    } else if (inInline && name == "t") {
      inValue = phonetic == 0;
    }
  }

  void end(std::string_view name) override {
    if (name == "v" || (name == "t" && inInline)) inValue = false;
    else if (name == "rPh" && inInline) --phonetic;
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
    // A cell without a value is empty whatever its type says (<c t="b"/>, <v/>), unless it holds a text.
    if (value.empty() && type != 'i' && type != 't') return;
    Cell cell;
    if (type == 's') {
      // A string past the table's last leaves the cell empty, as the spreadsheet shows it.
      const long i = std::strtol(value.c_str(), nullptr, 10);
      if (i < 0 || static_cast<std::size_t>(i) >= shared.size()) return;
      cell = Cell::text(shared[static_cast<std::size_t>(i)]);
    } else if (type == 'i' || type == 't') {
      cell.kind = CellKind::Text;
      cell.str = workbookText(value);
    } else if (type == 'b') {
      cell = Cell::boolean(value == "1" || value == "true");
    } else if (type == 'e') {
      cell = Cell::error(value);
    } else if (type == 'd') {
      const std::optional<Cell> iso = isoValue(value, workbook.strict && !workbook.date1904);
      // A value that no number holds (a duration of hundreds of digits) is no value.
      cell = iso && std::isfinite(iso->value) ? *iso : Cell::error("#VALUE!");
    } else {
      char* endp = nullptr;
      const double v = std::strtod(value.c_str(), &endp);
      if (endp == value.c_str()) cell = Cell::error("#VALUE!");
      else if (style >= 0 && static_cast<std::size_t>(style) < dateStyles.size() && dateStyles[static_cast<std::size_t>(style)])
        cell = Cell::date(dateSerial(v, workbook.date1904));
      else cell = Cell::number(v);
    }
    sheet.add(row, column, cell);
  }
};

// A relationship's target as a part's name: from the package's root when it begins with a slash, else
// beside the part whose relationships name it; "." and ".." resolved.
std::string partPath(std::string_view besidePart, std::string target) {
  for (char& c : target) c = c == '\\' ? '/' : c;
  std::string joined = !target.empty() && target.front() == '/'
                           ? target
                           : std::string(besidePart.substr(0, besidePart.rfind('/') + 1)) + target;
  std::vector<std::string> names;
  for (std::size_t from = 0; from <= joined.size();) {
    const std::size_t to = std::min(joined.find('/', from), joined.size());
    const std::string name = joined.substr(from, to - from);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    from = to + 1;
  }
  std::string path;
  for (const std::string& n : names) path += (path.empty() ? "" : "/") + n;
  return path;
}

// The relationships of a part: "_rels/<name>.rels" beside it.
std::string relsOf(const std::string& part) {
  const std::size_t slash = part.rfind('/');
  const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  return part.substr(0, name) + "_rels/" + part.substr(name) + ".rels";
}

}  // namespace

void readXlsx(const std::string& utf8Path, CellSink& out) {
  Archive zip(utf8Path);
  std::string workbookPart = "xl/workbook.xml";
  if (zip.has("_rels/.rels")) {
    RelsPart root;
    zip.parse("_rels/.rels", root);
    if (!root.officeDocument.empty()) workbookPart = partPath("", root.officeDocument);
  }
  WorkbookPart workbook;
  zip.parse(workbookPart, workbook);
  if (!workbook.found) throw SheetError("the workbook has no sheet");
  RelsPart rels;
  zip.parse(relsOf(workbookPart), rels);
  const auto target = rels.targets.find(workbook.firstSheet);
  if (target == rels.targets.end()) throw SheetError("the workbook's first sheet cannot be found");

  SharedStringsPart strings;
  const std::string stringsPart = partPath(workbookPart, rels.sharedStrings.empty() ? "sharedStrings.xml" : rels.sharedStrings);
  if (zip.has(stringsPart)) zip.parse(stringsPart, strings);
  StylesPart styles;
  const std::string stylesPart = partPath(workbookPart, rels.styles.empty() ? "styles.xml" : rels.styles);
  if (zip.has(stylesPart)) zip.parse(stylesPart, styles);

  out.name(workbook.sheetName);
  SheetPart sheet(strings, styles.styleIsDate, workbook, out);
  zip.parse(partPath(workbookPart, target->second), sheet);
}

}  // namespace kv::sheet
