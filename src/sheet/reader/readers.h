// The two formats a workbook to be read may have, each read into a cell sink: only the reader program
// parses workbooks.
#pragma once

#include <string>

#include "sheet/cell_sink.h"

namespace kv::sheet {

void readXlsx(const std::string& utf8Path, CellSink& sheet);
void readXls(const std::string& utf8Path, CellSink& sheet);

}  // namespace kv::sheet
