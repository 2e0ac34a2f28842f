// The two workbook formats the import reads; readFirstSheet picks one by the file's content.
#pragma once

#include <string>

#include "sheet/sheet.h"

namespace kv::sheet {

Sheet readXlsx(const std::string& utf8Path);
Sheet readXls(const std::string& utf8Path);

}  // namespace kv::sheet
