// The six printed recipe reports, from their working files: the list definition (".RCT"), its total
// consumption and its multi-level tree (".KDM"), each with or without cost. All six share one page frame
// (a header line, a ruled table with centred headings, rows cut to their columns, page breaks by the
// height left, vertical rules closing each page) and differ only in a table of numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/files.h"
#include "common/messages.h"
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

// Prints report `kind` from the company's working file of that kind on `printer`, which is ended. Throws
// print::PrinterError (the document is then already aborted) or FileError.
PrintedReport printRecipeReport(print::Printer& printer, ReportKind kind, const std::string& company,
                                const ReportHeader& header);
// The same for a list kind from a working copy that the caller holds open (the recipe editor's, which
// stays open for editing): its lines 1..lines. The page is the same as from the company's ".RCT".
PrintedReport printListReport(print::Printer& printer, ReportKind kind, const FileHandle& workingCopy,
                              std::int32_t lines, const ReportHeader& header);

// What the user is offered when the printer fails: to be told (the report dialog), or to try again, the
// report from its first page on a new job, until it prints or he gives up (the recipe editor).
enum class PrinterFailureChoice { Tell, RetryOrCancel };

// Runs `printing` on a new printer. A printer that fails has aborted its document; the user hears a beep
// and reads "Printer hazır değil ! ( Ayarlar doğru mu?! )" under "PRİNTER HATASI !", and with RetryOrCancel
// Retry runs `printing` again on a new printer. Returns the report printed, or nothing when the printer
// failed and the user was told or gave up. FileError goes on to the caller.
std::optional<PrintedReport> printReportJob(const std::function<PrintedReport(print::Printer&)>& printing,
                                            PrinterFailureChoice choice, MessageSink& messages);

// A report that went into a PDF file, there being no printer, is named to the user.
void tellWhereReportWent(const print::PrintedDocument& document, MessageSink& messages);

}  // namespace kv
