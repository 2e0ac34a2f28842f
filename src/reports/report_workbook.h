// A recipe report into a new workbook: the report's working file (".RCT" for the list definition, ".KDM"
// for the total consumption and the multi-level tree), one row per line under the bold headings of its
// columns, and for the reports with cost a last row with the grand total.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reports/report_kind.h"

namespace kv {

struct ExportedReport {
  std::string file;      // the workbook's file name
  std::int32_t rows = 0;  // the lines of the working file written, one row each
  float grandTotal = 0;  // the cost kinds: the total of their last row
  bool cut = false;      // the sheet ended before the working file: only its first lines are in it
};

// Writes report `kind` from the company's working file of that kind; the sheet is named after the
// product's code, trimmed. Throws sheet::SheetError when the workbook cannot be made or written,
// FileError when the working file cannot be read.
ExportedReport exportRecipeReport(ReportKind kind, std::string_view company, std::string_view productCode);

}  // namespace kv
