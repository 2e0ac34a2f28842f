#include "print/print_job.h"

#include "common/text.h"

namespace kv::print {

bool tellPrinterFailure(PrinterFailureChoice choice, MessageSink& messages) {
  messages.beep();
  const bool retry = choice == PrinterFailureChoice::RetryOrCancel;
  return messages.message("Printer hazır değil ! ( Ayarlar doğru mu?! )"_w,
                          retry ? MsgButtons::RetryCancel : MsgButtons::Ok, MsgIcon::Exclamation,
                          "PRİNTER HATASI !"_w) == MsgAnswer::Retry;
}

std::string jobName(const std::string& what) { return "KALVOR 952 - " + what; }

void tellWhereDocumentWent(const PrintedDocument& document, const std::string& what, const std::string& title,
                           MessageSink& messages) {
  if (document.file.empty()) return;
  messages.message("Yazıcı olmadığından "_w + what + " \"" + document.file + "\" dosyasına yazıldı..."_w,
                   MsgButtons::Ok, MsgIcon::None, title);
}

}  // namespace kv::print
