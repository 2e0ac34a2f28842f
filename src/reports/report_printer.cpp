#include "reports/report_printer.h"

#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "base/numbers.h"
#include "base/text.h"
#include "print/ruled_page.h"
#include "print/text_fit.h"
#include "reports/report_rows.h"

namespace kv {

namespace {

// A cell of a row. Text cells are left-aligned at x and cut to `limit`; number cells are cut alike and end
// at x + limit; the one-character cells are centred in the 5 mm column that starts at x.
struct Cell {
  ReportField field;
  double x;
  double limit;
  bool trimmed = true;   // text: blanks at both ends removed; otherwise as stored
  bool indented = false; // the code, two blanks before it for each level below the product
};

// One report's page: its frame, how it takes its grand total and where that ends, its cells.
struct Frame {
  print::PageFrame page;
  GrandTotalRule grandTotal;
  double totalEnd;
  std::vector<Cell> cells;
};

const Frame& frameOf(ReportKind kind) {
  using F = ReportField;
  static const Frame frames[] = {
      // 1: the list definition with cost
      {{10, 196, 184, 12, 11, 11, 1, 18,
        {{"MAL KODU", 10, 29}, {"MAL ADI", 39, 62}, {"MİKTAR", 101, 23}, {"MALİYET", 124, 35}, {"TOPLAM", 159, 37}},
       {10, 39, 101, 124, 159, 196}},
       GrandTotalRule::EveryRow, 194,
       {{F::Code, 12, 25}, {F::Name, 41, 58}, {F::Quantity, 102, 10}, {F::Unit, 113, 10}, {F::Cost, 126, 31},
        {F::Total, 161, 33}}},
      // 2: total consumption with cost
      {{8, 198, 189, 12, 11, 11, 1, 18,
        {{"T", 8, 5}, {"KAYIT KODU", 13, 30}, {"KAYIT ADI", 43, 60}, {"MİKTAR", 103, 23}, {"MALİYET", 126, 35},
         {"TOPLAM", 161, 37}},
       {8, 13, 43, 103, 126, 161, 198}},
       GrandTotalRule::EveryRow, 196,
       {{F::TypeChar, 8, 5}, {F::Code, 15, 26, false}, {F::Name, 45, 56, false}, {F::Quantity, 104, 10},
        {F::Unit, 115, 10}, {F::Cost, 128, 31}, {F::Total, 163, 33}}},
      // 3: the tree level by level with cost
      {{6, 201, 194, 11, 10, 10, 1, 18,
        {{"T", 6, 5}, {"KAYIT KODU", 11, 30}, {"KAYIT ADI", 41, 60}, {"MİKTAR", 101, 23}, {"MALİYET", 124, 35},
         {"TOPLAM", 159, 37}, {"D", 196, 5}},
       {6, 11, 41, 101, 124, 159, 196, 201}},
       GrandTotalRule::LevelZero, 193,
       {{F::TypeChar, 6, 5}, {F::Code, 13, 26, false, true}, {F::Name, 43, 56, false}, {F::Quantity, 102, 10},
        {F::Unit, 113, 10}, {F::Cost, 126, 31}, {F::Total, 161, 33}, {F::Level, 196, 5}}},
      // 4: the list definition
      {{18, 187, 168, 12, 11, 11, 1, 18,
        {{"MAL KODU", 18, 45}, {"MAL ADI", 63, 90}, {"MİKTAR", 153, 35}},
       {18, 63, 153, 187}},
       GrandTotalRule::None, 0,
       {{F::Code, 20, 42}, {F::Name, 65, 87}, {F::Quantity, 155, 18}, {F::Unit, 174, 12}}},
      // 5: total consumption
      {{15, 190, 173, 12, 11, 11, 1, 18,
        {{"T", 15, 5}, {"KAYIT KODU", 20, 45}, {"KAYIT ADI", 65, 90}, {"MİKTAR", 155, 35}},
       {15, 20, 65, 155, 190}},
       GrandTotalRule::None, 0,
       {{F::TypeChar, 15, 5}, {F::Code, 22, 42}, {F::Name, 67, 87}, {F::Quantity, 157, 18}, {F::Unit, 176, 12}}},
      // 6: the tree level by level
      {{13, 193, 178, 11, 10, 10, 1, 18,
        {{"T", 13, 5}, {"KAYIT KODU", 18, 45}, {"KAYIT ADI", 63, 90}, {"MİKTAR", 153, 35}, {"D", 188, 5}},
       {13, 18, 63, 153, 188, 193}},
       GrandTotalRule::None, 0,
       {{F::TypeChar, 13, 5}, {F::Code, 20, 42, false, true}, {F::Name, 65, 87, false}, {F::Quantity, 155, 18},
        {F::Unit, 174, 12}, {F::Level, 188, 5}}},
  };
  return frames[static_cast<int>(kind) - 1];
}

// The printing of one report on one printer.
class ReportRun {
 public:
  ReportRun(print::Printer& printer, ReportKind kind, const ReportFile& file, const ReportHeader& header)
      : p_(printer), frame_(frameOf(kind)), file_(file),
        page_(printer, frame_.page, header.dateText, trim(header.productCode) + "  " + trim(header.productName)) {}

  PrintedReport run();

 private:
  void printRow(const ReportRow& row);

  print::Printer& p_;
  const Frame& frame_;
  const ReportFile& file_;
  print::RuledPage page_;
};

PrintedReport ReportRun::run() {
  PrintedReport out;
  const std::int32_t count = file_.count();
  // The grand total is taken before anything is printed.
  out.grandTotal = grandTotalOf(file_, frame_.grandTotal);
  page_.begin();
  for (std::int32_t n = 1; n <= count; ++n) {
    page_.breakIfFull();
    printRow(file_.row(n));
  }
  page_.close();
  if (frame_.grandTotal != GrandTotalRule::None) {
    p_.CurrentY = p_.CurrentY() + 3;
    const std::string text = "Genel Toplam : " + currencyText(out.grandTotal);
    p_.CurrentX = frame_.totalEnd - p_.TextWidth(text);
    p_.Print(text);
  }
  out.pages = page_.pages();
  out.document = p_.EndDoc();
  return out;
}

void ReportRun::printRow(const ReportRow& row) {
  p_.CurrentY = p_.CurrentY() + 1;
  const std::vector<Cell>& cells = frame_.cells;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Cell& c = cells[i];
    std::string text = fieldText(c.field, row, c.trimmed, c.indented);
    switch (c.field) {
      case ReportField::TypeChar:
      case ReportField::Level: p_.CurrentX = c.x + (c.limit - p_.TextWidth(text)) / 2; break;
      case ReportField::Quantity:
      case ReportField::Cost:
      case ReportField::Total:
        text = print::cutToWidth(p_, text, c.limit);
        p_.CurrentX = c.x + c.limit - p_.TextWidth(text);
        break;
      default:
        text = print::cutToWidth(p_, text, c.limit);
        p_.CurrentX = c.x;
    }
    p_.Print(text, i + 1 < cells.size() ? p_.Stay : print::PrintEnd::NewLine);
  }
  page_.ruleRow();
}

}  // namespace

std::string reportCaption(ReportKind kind) {
  return isTotalConsumption(kind) ? "Toplam sarf listesi yazdırılıyor..."_w : "Liste yazdırılıyor..."_w;
}

std::string reportDocumentName(ReportKind kind, const std::string& productCode) {
  const char* report = isList(kind) ? "liste" : isTotalConsumption(kind) ? "toplam sarf" : "reçete";
  return trim(productCode) + (hasCost(kind) ? " maliyetli " : " ") + w(report);
}

PrintedReport printRecipeReport(print::Printer& printer, ReportKind kind, const std::string& company,
                                const ReportHeader& header) {
  const ReportFile file(company, kind);
  return ReportRun(printer, kind, file, header).run();
}

PrintedReport printListReport(print::Printer& printer, ReportKind kind, const FileHandle& workingCopy,
                              std::int32_t lines, const ReportHeader& header) {
  if (!isList(kind)) throw std::invalid_argument("a level report reads the level file");
  const ReportFile file(workingCopy, lines);
  return ReportRun(printer, kind, file, header).run();
}

}  // namespace kv
