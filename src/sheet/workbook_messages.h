// What the windows tell the user about workbooks: the spreadsheet program's messages of the original
// stand for this layer failing to make or to read a workbook.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/messages.h"
#include "sheet/sheet.h"

namespace kv::sheet {

// A new workbook could not be made or written (exclamation icon).
UserMessage exportFailedMessage();
// The import workbook could not be read (missing, damaged, or no workbook); nothing was changed
// (exclamation icon).
UserMessage importFailedMessage(std::string_view workbookName);
// The import workbook is of Excel 2.x to 4.0, which is not read; nothing was changed (exclamation icon).
UserMessage importOldVersionMessage(std::string_view workbookName);
// The import workbook is protected by a password; nothing was changed (exclamation icon).
UserMessage importPasswordMessage(std::string_view workbookName);
// The workbook reader cannot be started, looked for in `places`: the program is not installed whole; nothing
// was changed (exclamation icon).
UserMessage readerMissingMessage(std::string_view places);
// The import workbook is not laid out as the import reads it; nothing was changed (exclamation icon).
UserMessage importLayoutMessage(std::string_view workbookName);
// The workbook was written under this name (no icon).
UserMessage workbookWrittenMessage(std::string_view fileName);
// An export with nothing to export (stop icon).
UserMessage nothingToExportMessage();
// The sheet ran out of rows: only the first rows under the heading row are in the workbook (exclamation
// icon).
UserMessage workbookCutMessage();

// A workbook an export wrote: its file name, and whether rows were left out because the sheet ended.
struct WrittenWorkbook {
  WrittenWorkbook(std::string f, bool c = false) : file(std::move(f)), cut(c) {}  // NOLINT: a name alone
  std::string file;
  bool cut;
};

// Runs `write`, which makes a workbook, and tells the user how it went: the name when it was written
// (then, once, that rows were left out when they were), exportFailedMessage when no workbook could be
// made, the file's own message when a file could not be read. Returns whether the workbook was written.
bool exportAndTell(MessageSink& sink, const std::function<WrittenWorkbook()>& write);

// When the import workbook was refused, beeps and tells why (importFailedMessage, importLayoutMessage,
// importOldVersionMessage, importPasswordMessage or readerMissingMessage naming `readerPlaces`); returns
// whether it was refused.
bool tellImportProblem(MessageSink& sink, ImportProblem problem, std::string_view workbookName,
                       std::string_view readerPlaces = {});

}  // namespace kv::sheet
