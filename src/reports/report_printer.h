// The six printed recipe reports, from their working files: the list definition (".RCT"), its total
// consumption and its multi-level tree (".KDM"), each with or without cost. All six share one page frame
// (a header line, a ruled table with centred headings, rows cut to their columns, page breaks by the
// height left, vertical rules closing each page) and differ only in a table of numbers.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"
#include "print/printer.h"
#include "reports/report_kind.h"

namespace kv {

// The page head of every page: the date text, the product's code and name (trimmed here).
struct ReportHeader {
  std::string dateText;
  std::string productCode;
  std::string productName;
};

struct PrintedReport {
  int pages = 0;
  float grandTotal = 0;  // the cost kinds: the sum of the stored totals they print under the table
  print::PrintedDocument document;
};

// The report's caption, shown while it prints.
std::string reportCaption(ReportKind kind);
// What the report of a product is called in the print queue: its code (trimmed) and the report
// ("MAK-01 reçete", "MAK-01 maliyetli toplam sarf").
std::string reportDocumentName(ReportKind kind, const std::string& productCode);

// Prints report `kind` from the company's working file of that kind on `printer`, which is ended. Throws
// print::PrinterError (the document is then already aborted) or FileError.
PrintedReport printRecipeReport(print::Printer& printer, ReportKind kind, const std::string& company,
                                const ReportHeader& header);
// The same for a list kind from a working copy that the caller holds open (the recipe editor's, which
// stays open for editing): its lines 1..lines. The page is the same as from the company's ".RCT".
PrintedReport printListReport(print::Printer& printer, ReportKind kind, const FileHandle& workingCopy,
                              std::int32_t lines, const ReportHeader& header);

}  // namespace kv
