#include "reports/report_workbook.h"

#include <algorithm>

#include "common/numbers.h"
#include "common/recipe_record.h"
#include "common/text.h"
#include "recipe/recipe_files.h"
#include "sheet/sheet.h"

namespace kv {

namespace {

using sheet::Cell;

// A cost as the amount it shows: four decimals at most.
Cell amount(float v) { return Cell::number(Currency::fromDouble(v).value_or(Currency{}).toDouble()); }

Cell quantityText(float quantity, std::string_view unit) {
  return Cell::text(singleText(quantity) + " " + trim(unit));
}

std::int32_t wholeRecords(std::string_view company, RecipeFileKind kind) {
  const std::int64_t n = fileLengthByName(companyFileName(company, kind)) / recordLengthOf(kind);
  return static_cast<std::int32_t>(std::min<std::int64_t>(n, kMaxRecords32));
}

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
  // A sheet ends at its last row, which the grand total may need.
  const std::int32_t count = std::min(wholeRecords(company, fileKind), sheet::kMaxSheetRows - 2);
  {
    const FileHandle file = openRecipeSideFile(company, fileKind);
    for (std::int32_t i = 1; i <= count; ++i) {
      const std::int32_t row = i + 1;
      book.Cells(row, 1, Cell::number(i));
      int c = 1;
      if (isList(kind)) {
        const RecipeRecord line = file.get<RecipeRecord>(i);
        book.Cells(row, ++c, Cell::text(trim(line.Code.view())));
        book.Cells(row, ++c, Cell::text(trim(line.Name.view())));
        book.Cells(row, ++c, quantityText(line.Quantity, line.Unit.view()));
        if (hasCost(kind)) {
          // The total is worked out here, whatever the working copy holds.
          const float total = line.Quantity * line.Cost;
          book.Cells(row, ++c, amount(line.Cost));
          book.Cells(row, ++c, amount(total));
          result.grandTotal += total;
        }
      } else {
        const LevelRecord line = file.get<LevelRecord>(i);
        const bool flat = isTotalConsumption(kind) || line.Level == 0;
        book.Cells(row, ++c, Cell::text(flat ? std::string("*") : std::to_string(line.Level)));
        book.Cells(row, ++c, Cell::text(std::string(line.TypeChar.view())));
        book.Cells(row, ++c, Cell::text(trim(line.Code.view())));
        book.Cells(row, ++c, Cell::text(trim(line.Name.view())));
        book.Cells(row, ++c, quantityText(line.Quantity, line.Unit.view()));
        if (hasCost(kind)) {
          book.Cells(row, ++c, amount(line.UnitCost));
          book.Cells(row, ++c, amount(line.Total));
          // The tree's total is that of its first level; the total consumption's, that of every line.
          if (isTotalConsumption(kind) || line.Level == 0) result.grandTotal += line.Total;
        }
      }
    }
  }
  if (hasCost(kind)) {
    book.Cells(count + 2, columns - 1, Cell::text("Genel Toplam: "));
    book.Cells(count + 2, columns, amount(result.grandTotal));
  }
  sheet::autoFitColumns(book, columns);
  result.rows = count;
  result.file = book.Show();
  return result;
}

}  // namespace kv
