#include "reports/report_workbook.h"

#include <algorithm>

#include "base/numbers.h"
#include "base/text.h"
#include "recipe/recipe_files.h"
#include "reports/report_rows.h"
#include "sheet/sheet.h"

namespace kv {

namespace {

using sheet::Cell;

// A cost as the amount it shows: four decimals at most.
Cell amount(float v) { return Cell::number(Currency::fromDouble(v).value_or(Currency{}).toDouble()); }

std::vector<std::string> headings(ReportKind kind) {
  std::vector<std::string> h = {"Sıra No."_w};
  if (!isList(kind)) h.insert(h.end(), {"Düzey"_w, "Tip"_w});
  h.insert(h.end(), {"MAL KODU"_w, "MAL ADI"_w, "MİKTAR"_w});
  if (hasCost(kind)) h.insert(h.end(), {"MALİYET"_w, "TOPLAM"_w});
  return h;
}

}  // namespace

ExportedReport exportRecipeReport(ReportKind kind, std::string_view company, std::string_view productCode) {
  sheet::NewWorkbook book;
  book.Name(trim(productCode));
  const std::vector<std::string> h = headings(kind);
  const int columns = static_cast<int>(h.size());
  sheet::headerRow(book, h);

  ExportedReport result;
  const RecipeFileKind fileKind = isList(kind) ? RecipeFileKind::WorkingCopy : RecipeFileKind::Levels;
  // A sheet ends at its last row, which the grand total needs when there is one.
  const std::int32_t lines = wholeRecordCount(company, fileKind);
  const std::int32_t count = std::min(lines, sheet::kMaxSheetRows - (hasCost(kind) ? 2 : 1));
  {
    const ReportFile file(std::string(company), kind);
    for (std::int32_t i = 1; i <= count; ++i) {
      const ReportRow line = file.row(i);
      const std::int32_t row = i + 1;
      book.Cells(row, 1, Cell::number(i));
      int c = 1;
      if (!isList(kind)) {
        const ReportField level = isTotalConsumption(kind) ? ReportField::Star : ReportField::Level;
        book.Cells(row, ++c, Cell::text(fieldText(level, line)));
        book.Cells(row, ++c, Cell::text(fieldText(ReportField::TypeChar, line)));
      }
      book.Cells(row, ++c, Cell::text(fieldText(ReportField::Code, line)));
      book.Cells(row, ++c, Cell::text(fieldText(ReportField::Name, line)));
      const std::string quantity = fieldText(ReportField::Quantity, line) + " " + fieldText(ReportField::Unit, line);
      book.Cells(row, ++c, Cell::text(quantity));
      if (hasCost(kind)) {
        // A list's total is worked out here, whatever the working copy holds.
        const float total = isList(kind) ? line.quantity * line.cost : line.total;
        book.Cells(row, ++c, amount(line.cost));
        book.Cells(row, ++c, amount(total));
        // The tree's total is that of its first level; the lists' and the total consumption's, that of every
        // line (a list line is on the first level).
        if (isTotalConsumption(kind) || line.level == 0) result.grandTotal += total;
      }
    }
  }
  if (hasCost(kind)) {
    book.Cells(count + 2, columns - 1, Cell::text("Genel Toplam: "));
    book.Cells(count + 2, columns, amount(result.grandTotal));
  }
  sheet::autoFitColumns(book, columns);
  result.rows = count;
  result.cut = count < lines;
  result.file = book.Show();
  return result;
}

}  // namespace kv
