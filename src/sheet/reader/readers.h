// The two formats a workbook to be read may have, each read into a cell sink: only the reader program
// parses workbooks.
#pragma once

#include <string>
#include <string_view>

#include "sheet/cell_sink.h"

namespace kv::sheet {

void readXlsx(const std::string& utf8Path, CellSink& sheet);
// In its compound-file container, or the workbook stream alone.
void readXls(const std::string& utf8Path, CellSink& sheet);

// Whether a file begins with the BOF record of Excel 5 to 2003: their workbook stream, which some writers
// save alone, without its container.
inline bool xlsStreamAlone(std::string_view first) { return first.starts_with("\x09\x08"); }

}  // namespace kv::sheet
