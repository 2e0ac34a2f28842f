// The printed product lists: one document of ruled pages, a head on every page (the date, the company
// with the list's title, the page number), a heading row, one row per list record, a page broken when the
// next row would come too near the bottom.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"
#include "lists/list_kind.h"
#include "print/printer.h"

namespace kv {

struct ListPrintHead {
  std::string company;   // Windows-1254
  std::string dateText;  // the working date as Turkish text
};

// Prints records 1..count of the open list file in the layout of `kind` and ends the document, which it
// returns. Throws print::PrinterError (the document is then already aborted) or FileError (the printer
// aborts the unfinished document when it goes).
print::PrintedDocument printProductList(print::Printer& printer, ListKind kind, const FileHandle& list, std::int32_t count,
                             const ListPrintHead& head);

}  // namespace kv
