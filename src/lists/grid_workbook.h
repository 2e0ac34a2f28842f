// The product list grid into a new workbook: every cell's text as the grid shows it, row 0 (the headings)
// in bold, the sheet named "Kalvor".
#pragma once

#include <string>
#include <vector>

namespace kv {

// cells[r][c] is the text (Windows-1254) of grid cell (r, c), row 0 the headings. Returns the workbook's
// file name. Throws sheet::SheetError when the workbook cannot be made or written.
std::string exportGridWorkbook(const std::vector<std::vector<std::string>>& cells);

}  // namespace kv
