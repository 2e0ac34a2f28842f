#include "lists/grid_workbook.h"

#include <algorithm>

#include "sheet/sheet.h"

namespace kv {

sheet::WrittenWorkbook exportGridWorkbook(const std::vector<std::vector<std::string>>& cells) {
  sheet::NewWorkbook book;
  book.Name("Kalvor");
  std::size_t columns = 0;
  const std::size_t rows = std::min(cells.size(), static_cast<std::size_t>(sheet::kMaxSheetRows));
  for (std::size_t r = 0; r < rows; ++r) {
    columns = std::max(columns, cells[r].size());
    if (r == 0) {
      sheet::headerRow(book, cells[0]);
      continue;
    }
    // A price cell carries number, blank and currency in one text: it goes as the text the grid shows.
    for (std::size_t c = 0; c < cells[r].size(); ++c)
      book.Cells(static_cast<std::int32_t>(r + 1), static_cast<int>(c + 1), sheet::Cell::text(cells[r][c]));
  }
  sheet::autoFitColumns(book, static_cast<int>(columns));
  return {book.Show(), rows < cells.size()};
}

}  // namespace kv
