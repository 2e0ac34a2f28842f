// Reading the first sheet of a legacy .xls workbook: Excel 97 to 2003 (BIFF8) and Excel 5 and 95 (BIFF5 and
// BIFF7), out of its compound-file container or saved alone without one. The workbook's global records
// give the shared strings, the code page, the date system, the number formats and where the first sheet
// begins; that sheet's cell records give its cells, a formula as the value it last showed. A worksheet's
// records saved without the workbook's are that sheet. Charts, drawings and objects, and the substreams of
// embedded charts, are passed over; the declared dimensions are not trusted.
//
// Every record is checked to lie within the stream, and every field within its record, before it is read:
// a workbook that is cut short or malformed anywhere is refused with a SheetError.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

#include "base/bytes.h"
#include "sheet/cell_sink.h"
#include "sheet/reader/code_page.h"
#include "sheet/reader/compound_file.h"
#include "sheet/reader/number_formats.h"
#include "sheet/reader/readers.h"

namespace kv::sheet {

namespace {

enum : std::uint16_t {
  kInteger2 = 0x0002, kNumber2 = 0x0003, kLabel2 = 0x0004,  // Excel 2's cells, in a worksheet saved alone
  kFormula = 0x0006, kEof = 0x000A, kDateMode = 0x0022, kFilePass = 0x002F, kContinue = 0x003C,
  kCodePage = 0x0042, kBoundSheet = 0x0085, kMulRk = 0x00BD, kRString = 0x00D6, kXf = 0x00E0, kSst = 0x00FC,
  kLabelSst = 0x00FD, kNumber = 0x0203, kLabel = 0x0204, kBoolErr = 0x0205, kString = 0x0207, kRk = 0x027E,
  kFormat = 0x041E, kBof = 0x0809,
  kFormulaBiff4 = 0x0406,  // Excel 4's id, which some writers still give a formula of a later version
};

// The versions a BOF record gives Excel 5 and 95, and Excel 97 to 2003; the kind it gives a worksheet.
constexpr std::uint16_t kBiff5 = 0x0500, kBiff8 = 0x0600, kWorksheet = 0x0010;

// How far from where BOUNDSHEET says a sheet begins its BOF record is looked for: some writers get that
// offset a few bytes wrong, and a spreadsheet program finds the sheet all the same.
constexpr std::size_t kSheetSlack = 64;

// The largest container read: the stream is copied out of it, and both must stay within the reader's memory.
constexpr std::uintmax_t kMaxContainer = std::uintmax_t{256} << 20;

// A workbook stream that is cut short or malformed.
struct Malformed : SheetError {
  Malformed() : SheetError("the .xls workbook is damaged") {}
};
[[noreturn]] void malformed() { throw Malformed(); }

// A record's data, or a record with the CONTINUE records after it, read field by field. A character array
// that runs on into the next part starts it again with a byte saying how wide its characters are.
class Fields {
 public:
  explicit Fields(std::string_view data) : parts_{data} {}
  explicit Fields(std::vector<std::string_view> parts) : parts_(std::move(parts)) {}

  std::uint8_t u8() {
    while (pos_ == parts_[part_].size()) nextPart();
    return static_cast<std::uint8_t>(parts_[part_][pos_++]);
  }
  std::uint16_t u16() {
    const std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | u8() << 8);
  }
  std::uint32_t u32() {
    const std::uint32_t low = u16();
    return low | std::uint32_t{u16()} << 16;
  }
  double f64() {
    std::uint8_t b[8];
    for (std::uint8_t& x : b) x = u8();
    return bytes::getF64(b);
  }
  void skip(std::uint64_t n) {
    while (n > 0) {
      if (pos_ == parts_[part_].size()) nextPart();
      const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(n, parts_[part_].size() - pos_));
      pos_ += step;
      n -= step;
    }
  }
  // `count` bytes of an 8-bit text, which runs on into the next part as it stands.
  std::string bytes(std::size_t count) {
    std::string b;
    while (b.size() < count) {
      if (pos_ == parts_[part_].size()) nextPart();
      const std::size_t n = std::min(count - b.size(), parts_[part_].size() - pos_);
      b.append(parts_[part_], pos_, n);
      pos_ += n;
    }
    return b;
  }
  // `count` characters of a Unicode text, one byte each (the Latin-1 range) or two. Where a part ends,
  // or keeps a stray byte too few for a character, they go on in the next part that holds bytes, after
  // the byte that gives their width there (a part may hold that byte alone).
  void characters(std::size_t count, bool wide, std::string& out) {
    while (count > 0) {
      const std::size_t width = wide ? 2 : 1;
      if (parts_[part_].size() - pos_ < width) {
        nextPart();
        wide = (u8() & 1) != 0;
        continue;
      }
      const std::size_t n = std::min(count, (parts_[part_].size() - pos_) / width);
      const auto* p = reinterpret_cast<const std::uint8_t*>(parts_[part_].data() + pos_);
      if (wide) appendUtf16(p, n, out);
      else appendLatin1(p, n, out);
      pos_ += n * width;
      count -= n;
    }
  }
  // A Unicode text of BIFF8: its length (in a byte or two), its flags, then runs of formatting and
  // phonetic data after the characters when the flags say so.
  void unicodeText(bool shortLength, std::string& out) {
    const std::size_t count = shortLength ? u8() : u16();
    if (count == 0 && atEnd()) return;  // an empty text whose writer left out the flags
    const std::uint8_t flags = u8();
    const std::uint32_t runs = (flags & 8) != 0 ? u16() : 0;
    const std::uint32_t phonetic = (flags & 4) != 0 ? u32() : 0;
    characters(count, (flags & 1) != 0, out);
    skip(std::uint64_t{runs} * 4 + phonetic);
  }
  // Whether every part has been read to its end.
  bool atEnd() const {
    for (std::size_t k = part_; k < parts_.size(); ++k)
      if ((k == part_ ? pos_ : 0) < parts_[k].size()) return false;
    return true;
  }

 private:
  void nextPart() {
    if (part_ + 1 >= parts_.size()) malformed();
    ++part_;
    pos_ = 0;
  }
  std::vector<std::string_view> parts_;
  std::size_t part_ = 0;
  std::size_t pos_ = 0;
};

struct Record {
  std::uint16_t type = 0;
  std::string_view data;
};

// The records of the workbook stream from a place on, each checked to lie whole within the stream.
class Records {
 public:
  Records(std::string_view stream, std::size_t at) : stream_(stream), pos_(at) {
    if (at > stream.size()) malformed();
  }
  Record next() {
    if (stream_.size() - pos_ < 4) malformed();  // the stream ends before its EOF record
    const auto* p = reinterpret_cast<const std::uint8_t*>(stream_.data() + pos_);
    const Record r{static_cast<std::uint16_t>(p[0] | p[1] << 8), {}};
    const std::size_t length = static_cast<std::size_t>(p[2] | p[3] << 8);
    if (stream_.size() - pos_ - 4 < length) malformed();
    pos_ += 4;
    const Record got{r.type, stream_.substr(pos_, length)};
    pos_ += length;
    return got;
  }
  std::size_t position() const { return pos_; }
  // The record's data and that of the CONTINUE records right after it.
  std::vector<std::string_view> continued(const Record& first) {
    std::vector<std::string_view> parts{first.data};
    while (stream_.size() - pos_ >= 4 && stream_[pos_] == static_cast<char>(kContinue) && stream_[pos_ + 1] == 0)
      parts.push_back(next().data);
    return parts;
  }

 private:
  std::string_view stream_;
  std::size_t pos_;
};

const char* errorCode(std::uint8_t code) {
  switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#N/A";
  }
}

double rkValue(std::uint32_t rk) {
  double v = 0;
  if ((rk & 2) != 0) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = std::uint64_t{rk & 0xFFFFFFFCu} << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) != 0 ? v / 100 : v;
}

class Workbook {
 public:
  Workbook(std::string_view stream, CellSink& sink) : stream_(stream), sink_(sink) {}

  void read() {
    Records records(stream_, 0);
    Record r = records.next();
    if (r.type != kBof || r.data.size() < 4) throw SheetError("the .xls workbook is of a version not read");
    Fields bof(r.data);
    const std::uint16_t version = bof.u16();
    if (bof.u16() == kWorksheet) return worksheetAlone(version);
    biff8_ = version != kBiff5;
    globals(records);
    globalsEnd_ = records.position();
    if (!sheetFound_) throw SheetError("the workbook has no sheet");
    const CodePage codePage(codePage_);
    std::string name;
    Fields names(sheetName_);
    if (biff8_) names.unicodeText(true, name);
    else codePage.append(names.bytes(names.u8()), name);
    sink_.name(name);
    if (sheetType_ == 0 || sheetType_ == 1) sheet(codePage);  // a chart or module sheet holds no cells
  }

 private:
  // A worksheet's stream without the workbook's global records, as some writers save one sheet: it is the
  // sheet, its texts in the code page taken when none is named. Only one of Excel 97's version holds them
  // in Unicode; the others may mix in the cell records of Excel 2.
  void worksheetAlone(std::uint16_t version) {
    biff8_ = version == kBiff8;
    excel2Cells_ = !biff8_;
    try {
      sheet(CodePage(codePage_));
    } catch (const Malformed&) {
      throw SheetError("the .xls worksheet saved without its workbook is damaged");
    }
  }

  void globals(Records& records) {
    std::map<int, bool> customIsDate;
    std::vector<std::uint16_t> xfFormats;
    for (;;) {
      const Record r = records.next();
      Fields f(r.data);
      switch (r.type) {
        case kEof: {
          xfIsDate_.reserve(xfFormats.size());
          for (const std::uint16_t id : xfFormats) {
            const auto custom = customIsDate.find(id);
            xfIsDate_.push_back(custom != customIsDate.end() ? custom->second : isBuiltInDateFormat(id));
          }
          return;
        }
        case kFilePass:
          throw WorkbookRefused(WorkbookRefused::Why::Password, "the workbook is protected by a password");
        case kCodePage:
          codePage_ = f.u16();
          break;
        case kDateMode:
          date1904_ = f.u16() == 1;
          break;
        case kFormat:
          // A format whose code cannot be read shows no date, as the spreadsheet program takes it.
          try {
            const int id = f.u16();
            customIsDate[id] = false;
            std::string code;
            if (biff8_) f.unicodeText(false, code);
            else code = f.bytes(f.u8());
            customIsDate[id] = isDateFormat(code);
          } catch (const SheetError&) {
          }
          break;
        case kXf:
          f.u16();
          xfFormats.push_back(f.u16());
          break;
        case kBoundSheet:
          if (!sheetFound_) {
            sheetAt_ = f.u32();
            f.u8();
            sheetType_ = f.u8();
            sheetName_ = r.data.substr(6);
            sheetFound_ = true;
          }
          break;
        case kSst:
          if (biff8_) sharedStrings(records.continued(r));
          break;
        default:
          break;
      }
    }
  }

  // As many strings as the table says, or as it holds when a writer counted more than it stored.
  void sharedStrings(std::vector<std::string_view> parts) {
    Fields f(std::move(parts));
    f.u32();
    const std::uint32_t count = f.u32();
    for (std::uint32_t i = 0; i < count && !f.atEnd(); ++i) {
      f.unicodeText(false, texts_);
      ends_.push_back(static_cast<std::uint32_t>(texts_.size()));
    }
  }

  std::string_view sharedString(std::uint32_t i) const {
    if (i >= ends_.size()) malformed();
    const std::uint32_t from = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(texts_).substr(from, ends_[i] - from);
  }

  void number(int row, int column, std::uint16_t xf, double v) {
    if (xf < xfIsDate_.size() && xfIsDate_[xf]) sink_.add(row + 1, column + 1, CellKind::Date, dateSerial(v, date1904_), {});
    else sink_.add(row + 1, column + 1, CellKind::Number, v, {});
  }
  void text(int row, int column, std::string_view cp1254) {
    sink_.add(row + 1, column + 1, CellKind::Text, 0, cp1254);
  }

  // An 8-bit text of BIFF5 with its length in two bytes, or a Unicode text of BIFF8.
  std::string_view textField(Fields& f, const CodePage& codePage) {
    text_.clear();
    if (biff8_) f.unicodeText(false, text_);
    else codePage.append(f.bytes(f.u16()), text_);
    return text_;
  }

  // Where the first sheet's BOF record lies: where BOUNDSHEET says, or else the nearest one of Excel 5 or
  // Excel 97 within kSheetSlack bytes after the workbook's global records, whichever its global records
  // are of: writers mix the two.
  std::size_t sheetBof() const {
    const auto bofAt = [&](std::size_t at, bool exact) {
      if (at < globalsEnd_ || at > stream_.size() || stream_.size() - at < 6) return false;
      const auto* p = reinterpret_cast<const std::uint8_t*>(stream_.data() + at);
      const std::size_t length = static_cast<std::size_t>(p[2] | p[3] << 8);
      const std::uint16_t version = static_cast<std::uint16_t>(p[4] | p[5] << 8);
      return (p[0] | p[1] << 8) == kBof && length <= stream_.size() - at - 4 &&
             (exact || (length >= 4 && (version == kBiff5 || version == kBiff8)));
    };
    if (bofAt(sheetAt_, true)) return sheetAt_;
    for (std::size_t d = 1; d <= kSheetSlack; ++d) {
      if (d <= sheetAt_ && bofAt(sheetAt_ - d, false)) return sheetAt_ - d;
      if (bofAt(sheetAt_ + d, false)) return sheetAt_ + d;
    }
    malformed();
  }

  void sheet(const CodePage& codePage) {
    Records records(stream_, sheetBof());
    Record r = records.next();
    if (r.type != kBof) malformed();
    int depth = 1;
    bool stringPending = false;  // a formula whose text result is in the STRING record that follows
    std::uint16_t pendingRow = 0, pendingColumn = 0;
    while (depth > 0) {
      r = records.next();
      if (r.type == kBof) ++depth;
      else if (r.type == kEof) --depth;
      if (depth != 1) continue;  // an embedded chart's records
      if (r.type == kFormulaBiff4) r.type = kFormula;
      Fields f(r.data);
      switch (r.type) {
        case kNumber: case kRk: case kLabelSst: case kLabel: case kRString: case kBoolErr: case kFormula: {
          const std::uint16_t row = f.u16(), column = f.u16(), xf = f.u16();
          stringPending = cell(r.type, f, row, column, xf, codePage) == Then::TextInStringRecord;
          pendingRow = row, pendingColumn = column;
          break;
        }
        case kMulRk: {
          const std::uint16_t row = f.u16(), first = f.u16();
          if (r.data.size() < 6 || (r.data.size() - 6) % 6 != 0) malformed();
          const std::size_t n = (r.data.size() - 6) / 6;
          for (std::size_t i = 0; i < n; ++i) {
            const std::uint16_t xf = f.u16();
            number(row, first + static_cast<int>(i), xf, rkValue(f.u32()));
          }
          break;
        }
        case kInteger2: case kNumber2: case kLabel2:
          if (excel2Cells_) excel2Cell(r.type, f, codePage);
          break;
        case kString:
          if (stringPending) {
            Fields continued(records.continued(r));
            text(pendingRow, pendingColumn, textField(continued, codePage));
            stringPending = false;
          }
          break;
        default:
          break;
      }
    }
  }

  // A cell of Excel 2: its row, its column, three bytes of attributes (no format of the workbook's), then
  // a whole number of two bytes, a number, or a text of its length in a byte.
  void excel2Cell(std::uint16_t type, Fields& f, const CodePage& codePage) {
    const std::uint16_t row = f.u16(), column = f.u16();
    f.skip(3);
    if (type == kLabel2) {
      text_.clear();
      codePage.append(f.bytes(f.u8()), text_);
      text(row, column, text_);
    } else {
      sink_.add(row + 1, column + 1, CellKind::Number, type == kInteger2 ? f.u16() : f.f64(), {});
    }
  }

  // What a cell record leaves to the records after it.
  enum class Then { Nothing, TextInStringRecord };

  // Hands the cell's value to the sink; a formula whose result is a text leaves it to the STRING record
  // that follows.
  Then cell(std::uint16_t type, Fields& f, std::uint16_t row, std::uint16_t column, std::uint16_t xf,
            const CodePage& codePage) {
    switch (type) {
      case kNumber:
        number(row, column, xf, f.f64());
        break;
      case kRk:
        number(row, column, xf, rkValue(f.u32()));
        break;
      case kLabelSst:
        text(row, column, sharedString(f.u32()));
        break;
      case kLabel: case kRString:
        text(row, column, textField(f, codePage));
        break;
      case kBoolErr: {
        const std::uint8_t value = f.u8();
        if (f.u8() != 0) sink_.add(row + 1, column + 1, CellKind::Error, 0, errorCode(value));
        else sink_.add(row + 1, column + 1, CellKind::Boolean, value != 0 ? 1 : 0, {});
        break;
      }
      case kFormula:
        return formula(f, row, column, xf);
      default:
        break;
    }
    return Then::Nothing;
  }

  // A formula's last result: a number, or a kind in its first byte with the last two bytes 0xFFFF.
  Then formula(Fields& f, std::uint16_t row, std::uint16_t column, std::uint16_t xf) {
    std::uint8_t result[8];
    for (std::uint8_t& b : result) b = f.u8();
    if (result[6] != 0xFF || result[7] != 0xFF) {
      number(row, column, xf, bytes::getF64(result));
      return Then::Nothing;
    }
    switch (result[0]) {
      case 0: return Then::TextInStringRecord;
      case 1: sink_.add(row + 1, column + 1, CellKind::Boolean, result[2] != 0 ? 1 : 0, {}); break;
      case 2: sink_.add(row + 1, column + 1, CellKind::Error, 0, errorCode(result[2])); break;
      case 3: text(row, column, {}); break;
      default: break;
    }
    return Then::Nothing;
  }

  std::string_view stream_;
  CellSink& sink_;
  bool biff8_ = true;
  bool excel2Cells_ = false;  // whether Excel 2's cell records are read
  std::size_t globalsEnd_ = 0;  // where the global records end
  bool date1904_ = false;
  std::uint16_t codePage_ = 1254;
  std::vector<bool> xfIsDate_;
  std::string texts_;  // the shared strings one after the other
  std::vector<std::uint32_t> ends_;
  bool sheetFound_ = false;
  std::uint32_t sheetAt_ = 0;
  std::uint8_t sheetType_ = 0;
  std::string_view sheetName_;
  std::string text_;
};

}  // namespace

void readXls(const std::string& utf8Path, CellSink& sheet) {
  std::ifstream in(utf8Path, std::ios::binary | std::ios::ate);
  if (!in) throw SheetError("the .xls workbook cannot be opened");
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxContainer) throw SheetError("the .xls workbook is too large");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), size)) throw SheetError("the .xls workbook cannot be read");
  if (xlsStreamAlone(bytes)) return Workbook(bytes, sheet).read();
  const CompoundFile container(std::move(bytes));
  std::optional<std::string> stream = container.stream(u"Workbook");
  if (!stream) stream = container.stream(u"Book");
  // An .xlsx protected by a password is kept encrypted in a container of this kind.
  if (!stream && container.has(u"EncryptedPackage"))
    throw WorkbookRefused(WorkbookRefused::Why::Password, "the workbook is protected by a password");
  if (!stream) throw SheetError("the file holds no workbook");
  Workbook(*stream, sheet).read();
}

}  // namespace kv::sheet
