// The product list grid into a new workbook: every cell's text as the grid shows it, row 0 (the headings)
// in bold, the sheet named "Kalvor".
#pragma once

#include <string>
#include <vector>

#include "sheet/workbook_messages.h"

namespace kv {

// cells[r][c] is the text (Windows-1254) of grid cell (r, c), row 0 the headings; the rows beyond the
// sheet's last are left out. Returns the workbook's file name and whether rows were left out. Throws
// sheet::SheetError when the workbook cannot be made or written.
sheet::WrittenWorkbook exportGridWorkbook(const std::vector<std::vector<std::string>>& cells);

}  // namespace kv
