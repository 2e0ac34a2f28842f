// What the windows tell the user about workbooks: the spreadsheet program's messages of the original
// stand for this layer failing to make or to read a workbook.
#pragma once

#include <string>
#include <string_view>

#include "common/messages.h"

namespace kv::sheet {

// A new workbook could not be made or written (exclamation icon).
UserMessage exportFailedMessage();
// The import workbook could not be read (missing, damaged, or no workbook); nothing was changed
// (exclamation icon).
UserMessage importFailedMessage(std::string_view workbookName);
// The import workbook is not laid out as the import reads it; nothing was changed (exclamation icon).
UserMessage importLayoutMessage(std::string_view workbookName);
// The workbook was written under this name (no icon).
UserMessage workbookWrittenMessage(std::string_view fileName);
// An export with nothing to export (stop icon).
UserMessage nothingToExportMessage();

}  // namespace kv::sheet
