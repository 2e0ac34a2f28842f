#include "reports/report_printer.h"

#include <string_view>
#include <vector>

#include "common/files.h"
#include "common/numbers.h"
#include "common/recipe_record.h"
#include "common/text.h"
#include "recipe/recipe_files.h"

namespace kv {

namespace {

// What one row of any of the six reports can print, from a working-copy line or a level line.
struct ReportRow {
  std::string typeChar;
  std::string code;  // as stored: blank-padded to its width
  std::string name;
  std::string unit;
  float quantity = 0;
  float cost = 0;  // Cost of a list line, UnitCost of a level line
  float total = 0;
  int level = 0;
};

ReportRow rowOf(const RecipeRecord& r) {
  return {"", r.Code.str(), r.Name.str(), r.Unit.str(), r.Quantity, r.Cost, r.Total, 0};
}
ReportRow rowOf(const LevelRecord& r) {
  return {r.TypeChar.str(), r.Code.str(), r.Name.str(), r.Unit.str(), r.Quantity, r.UnitCost, r.Total, r.Level};
}

enum class Field { TypeChar, Code, Name, Quantity, Unit, Cost, Total, Level };

// A cell of a row. Text cells are left-aligned at x and cut to `limit`; number cells are cut alike and end
// at x + limit; the one-character cells are centred in the 5 mm column that starts at x.
struct Cell {
  Field field;
  double x;
  double limit;
  bool trimmed = true;   // text: blanks at both ends removed; otherwise as stored
  bool indented = false; // the code, two blanks before it for each level below the product
};

struct Column {
  const char* heading;  // UTF-8
  double start;
  double width;
};

enum class GrandTotal { None, EveryRow, LevelZero };

// One report's page frame: edges, header width, font sizes, columns with their rules, cells.
struct Frame {
  double left, right, headerWidth;
  double headerSize, headingSize, bodySize;
  GrandTotal grandTotal;
  double totalEnd;
  std::vector<Column> columns;
  std::vector<double> rules;
  std::vector<Cell> cells;
};

const Frame& frameOf(ReportKind kind) {
  using F = Field;
  static const Frame frames[] = {
      // 1: the list definition with cost
      {10, 196, 184, 12, 11, 11, GrandTotal::EveryRow, 194,
       {{"MAL KODU", 10, 29}, {"MAL ADI", 39, 62}, {"MİKTAR", 101, 23}, {"MALİYET", 124, 35}, {"TOPLAM", 159, 37}},
       {10, 39, 101, 124, 159, 196},
       {{F::Code, 12, 25}, {F::Name, 41, 58}, {F::Quantity, 102, 10}, {F::Unit, 113, 10}, {F::Cost, 126, 31},
        {F::Total, 161, 33}}},
      // 2: total consumption with cost
      {8, 198, 189, 12, 11, 11, GrandTotal::EveryRow, 196,
       {{"T", 8, 5}, {"KAYIT KODU", 13, 30}, {"KAYIT ADI", 43, 60}, {"MİKTAR", 103, 23}, {"MALİYET", 126, 35},
        {"TOPLAM", 161, 37}},
       {8, 13, 43, 103, 126, 161, 198},
       {{F::TypeChar, 8, 5}, {F::Code, 15, 26, false}, {F::Name, 45, 56, false}, {F::Quantity, 104, 10},
        {F::Unit, 115, 10}, {F::Cost, 128, 31}, {F::Total, 163, 33}}},
      // 3: the tree level by level with cost
      {6, 201, 194, 11, 10, 10, GrandTotal::LevelZero, 193,
       {{"T", 6, 5}, {"KAYIT KODU", 11, 30}, {"KAYIT ADI", 41, 60}, {"MİKTAR", 101, 23}, {"MALİYET", 124, 35},
        {"TOPLAM", 159, 37}, {"D", 196, 5}},
       {6, 11, 41, 101, 124, 159, 196, 201},
       {{F::TypeChar, 6, 5}, {F::Code, 13, 26, false, true}, {F::Name, 43, 56, false}, {F::Quantity, 102, 10},
        {F::Unit, 113, 10}, {F::Cost, 126, 31}, {F::Total, 161, 33}, {F::Level, 196, 5}}},
      // 4: the list definition
      {18, 187, 168, 12, 11, 11, GrandTotal::None, 0,
       {{"MAL KODU", 18, 45}, {"MAL ADI", 63, 90}, {"MİKTAR", 153, 35}},
       {18, 63, 153, 187},
       {{F::Code, 20, 42}, {F::Name, 65, 87}, {F::Quantity, 155, 18}, {F::Unit, 174, 12}}},
      // 5: total consumption
      {15, 190, 173, 12, 11, 11, GrandTotal::None, 0,
       {{"T", 15, 5}, {"KAYIT KODU", 20, 45}, {"KAYIT ADI", 65, 90}, {"MİKTAR", 155, 35}},
       {15, 20, 65, 155, 190},
       {{F::TypeChar, 15, 5}, {F::Code, 22, 42}, {F::Name, 67, 87}, {F::Quantity, 157, 18}, {F::Unit, 176, 12}}},
      // 6: the tree level by level
      {13, 193, 178, 11, 10, 10, GrandTotal::None, 0,
       {{"T", 13, 5}, {"KAYIT KODU", 18, 45}, {"KAYIT ADI", 63, 90}, {"MİKTAR", 153, 35}, {"D", 188, 5}},
       {13, 18, 63, 153, 188, 193},
       {{F::TypeChar, 13, 5}, {F::Code, 20, 42, false, true}, {F::Name, 65, 87, false}, {F::Quantity, 155, 18},
        {F::Unit, 174, 12}, {F::Level, 188, 5}}},
  };
  return frames[static_cast<int>(kind) - 1];
}

// The records of a report's working file, one at a time.
class ReportFile {
 public:
  ReportFile(const std::string& company, ReportKind kind)
      : list_(isList(kind)),
        file_(openRecipeSideFile(company, list_ ? RecipeFileKind::WorkingCopy : RecipeFileKind::Levels)) {}
  std::int32_t count() const { return file_.count(); }
  ReportRow row(std::int32_t n) const {
    return list_ ? rowOf(file_.get<RecipeRecord>(n)) : rowOf(file_.get<LevelRecord>(n));
  }

 private:
  bool list_;
  FileHandle file_;
};

// The printing of one report on one printer.
class ReportRun {
 public:
  ReportRun(print::Printer& printer, ReportKind kind, const ReportFile& file, const ReportHeader& header)
      : p_(printer), frame_(frameOf(kind)), file_(file), header_(header) {}

  PrintedReport run();

 private:
  void chooseFonts();
  void pageHeader();
  void printRow(const ReportRow& row);
  void closePage();
  void font(const std::string& name, double size);
  std::string cut(std::string text, double limit);
  std::string cellText(const Cell& cell, const ReportRow& row) const;

  print::Printer& p_;
  const Frame& frame_;
  const ReportFile& file_;
  const ReportHeader& header_;
  std::string times_, arial_;
  int page_ = 1;
  double tableTop_ = 0, lastRule_ = 0, lineHeight_ = 0;
};

PrintedReport ReportRun::run() {
  PrintedReport out;
  const std::int32_t count = file_.count();
  // The grand total is the sum of the stored totals, taken before anything is printed; the tree counts
  // only its top level, whose totals hold those of the levels below.
  if (frame_.grandTotal != GrandTotal::None)
    for (std::int32_t n = 1; n <= count; ++n) {
      const ReportRow r = file_.row(n);
      if (frame_.grandTotal == GrandTotal::EveryRow || r.level == 0) out.grandTotal += r.total;
    }
  chooseFonts();
  p_.ScaleMode = print::Scale::Millimetre;
  pageHeader();
  for (std::int32_t n = 1; n <= count; ++n) {
    if (p_.CurrentY() > p_.ScaleHeight() - (lineHeight_ + 18)) {
      closePage();
      ++page_;
      p_.NewPage();
      pageHeader();
    }
    printRow(file_.row(n));
  }
  closePage();
  if (frame_.grandTotal != GrandTotal::None) {
    p_.CurrentY = p_.CurrentY() + 3;
    const std::string text = "Genel Toplam : " + currencyText(out.grandTotal);
    p_.CurrentX = frame_.totalEnd - p_.TextWidth(text);
    p_.Print(text);
  }
  out.pages = page_;
  out.document = p_.EndDoc();
  return out;
}

// The Turkish variants when the printer offers them by that exact name.
void ReportRun::chooseFonts() {
  auto offered = [this](const std::string& name) {
    for (int i = 0; i < p_.FontCount(); ++i)
      if (p_.Fonts(i) == name) return true;
    return false;
  };
  times_ = offered("Times New Roman Tur") ? "Times New Roman Tur" : "Times New Roman";
  arial_ = offered("Arial Tur") ? "Arial Tur" : "Arial";
}

void ReportRun::font(const std::string& name, double size) {
  p_.FontName = name;
  p_.FontSize = size;
  p_.FontBold = false;
  p_.FontItalic = false;
}

// The date at the left, the page number ending at the header's width, the product between them.
void ReportRun::pageHeader() {
  const Frame& f = frame_;
  p_.CurrentY = 18;
  p_.CurrentX = f.left;
  font(times_, f.headerSize);
  const std::string middle = trim(header_.productCode) + "  " + trim(header_.productName);
  const std::string pageText = "Sayfa : " + recordNumberText(page_);
  const double gap = f.headerWidth - (p_.TextWidth(middle) + p_.TextWidth(header_.dateText) + p_.TextWidth(pageText));
  p_.Print(header_.dateText, p_.Stay);
  p_.CurrentX = p_.CurrentX() + gap / 2 - 5;
  p_.Print(middle, p_.Stay);
  p_.CurrentX = p_.CurrentX() + gap / 2 + 5;
  p_.Print(pageText);

  double y = p_.CurrentY() + 0.5;
  tableTop_ = y;
  p_.Line(f.left, y, f.right, y);
  font(times_, f.headingSize);
  p_.CurrentY = y + 1;
  for (std::size_t i = 0; i < f.columns.size(); ++i) {
    const std::string heading = w(f.columns[i].heading);
    p_.CurrentX = f.columns[i].start + (f.columns[i].width - p_.TextWidth(heading)) / 2;
    p_.Print(heading, i + 1 < f.columns.size() ? p_.Stay : print::PrintEnd::NewLine);
  }
  y = p_.CurrentY() + 1;
  lastRule_ = y;
  p_.Line(f.left, y, f.right, y);
  font(arial_, f.bodySize);
  lineHeight_ = p_.TextHeight("Ay");
}

// The rules between the columns, from under the header to the last row's rule.
void ReportRun::closePage() {
  for (double x : frame_.rules) p_.Line(x, tableTop_, x, lastRule_);
}

// The last characters go while the text is wider than its cell (trailing blanks of a stored text first).
std::string ReportRun::cut(std::string text, double limit) {
  while (!text.empty() && p_.TextWidth(text) > limit) text.pop_back();
  return text;
}

std::string ReportRun::cellText(const Cell& cell, const ReportRow& row) const {
  auto text = [&cell](const std::string& stored) { return cell.trimmed ? trim(stored) : stored; };
  switch (cell.field) {
    case Field::TypeChar: return row.typeChar;
    case Field::Code: return (cell.indented ? std::string(2 * static_cast<std::size_t>(std::max(row.level, 0)), ' ') : "") + text(row.code);
    case Field::Name: return text(row.name);
    case Field::Unit: return trim(row.unit);
    case Field::Quantity: return singleText(row.quantity);
    case Field::Cost: return currencyText(row.cost);
    case Field::Total: return currencyText(row.total);
    case Field::Level: return row.level == 0 ? "*" : std::to_string(row.level);
  }
  return {};
}

void ReportRun::printRow(const ReportRow& row) {
  p_.CurrentY = p_.CurrentY() + 1;
  const std::vector<Cell>& cells = frame_.cells;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Cell& c = cells[i];
    std::string text = cellText(c, row);
    switch (c.field) {
      case Field::TypeChar:
      case Field::Level: p_.CurrentX = c.x + (c.limit - p_.TextWidth(text)) / 2; break;
      case Field::Quantity:
      case Field::Cost:
      case Field::Total:
        text = cut(text, c.limit);
        p_.CurrentX = c.x + c.limit - p_.TextWidth(text);
        break;
      default:
        text = cut(text, c.limit);
        p_.CurrentX = c.x;
    }
    p_.Print(text, i + 1 < cells.size() ? p_.Stay : print::PrintEnd::NewLine);
  }
  const double y = p_.CurrentY() + 0.5;
  lastRule_ = y;
  p_.Line(frame_.left, y, frame_.right, y);
}

}  // namespace

std::string reportCaption(ReportKind kind) {
  return isTotalConsumption(kind) ? "Toplam sarf listesi yazdırılıyor..."_w : "Liste yazdırılıyor..."_w;
}

PrintedReport printRecipeReport(print::Printer& printer, ReportKind kind, const std::string& company,
                                const ReportHeader& header) {
  const ReportFile file(company, kind);
  return ReportRun(printer, kind, file, header).run();
}

}  // namespace kv
