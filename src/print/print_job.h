// One print command on its own printer: a printer that fails has aborted its document, and the user is
// told; a document that went into a PDF file, there being no printer, is named to the user.
#pragma once

#include <optional>
#include <string>
#include <type_traits>

#include "base/messages.h"
#include "print/printer.h"

namespace kv::print {

// What the user is offered when the printer fails: to be told, or to try again, the document from its
// first page on a new job, until it prints or he gives up.
enum class PrinterFailureChoice { Tell, RetryOrCancel };

// The beep and "Printer hazır değil ! ( Ayarlar doğru mu?! )" under "PRİNTER HATASI !"; true when the user
// asks to try again.
bool tellPrinterFailure(PrinterFailureChoice choice, MessageSink& messages);

// The name a job goes by in the print queue (a PDF printer names its file after it): the program, then
// what it prints ("KALVOR 952 - Kod Listesi"), so that one job is told from another. In Windows-1254.
std::string jobName(const std::string& what);

// Runs `printing` on a new printer whose job is named after `what` it prints (jobName), again on a new
// one while it fails and the user asks to try again. Returns what `printing` returned, or nothing when the
// printer failed and the user was told or gave up. Any other error goes on to the caller.
template <class Printing>
auto printJob(const std::string& what, const Printing& printing, PrinterFailureChoice choice, MessageSink& messages)
    -> std::optional<std::invoke_result_t<const Printing&, Printer&>> {
  for (;;) {
    try {
      Printer printer(jobName(what));
      return printing(printer);
    } catch (const PrinterError&) {
      if (!tellPrinterFailure(choice, messages)) return std::nullopt;
    }
  }
}

// "Yazıcı olmadığından <what> "<file>" dosyasına yazıldı..." under `title`, when the document went into a
// file; when printers exist but none is the default, that none is, and where one is chosen. `what` names
// the document ("rapor", "liste"); it and the title in Windows-1254.
void tellWhereDocumentWent(const PrintedDocument& document, const std::string& what, const std::string& title,
                           MessageSink& messages);

}  // namespace kv::print
