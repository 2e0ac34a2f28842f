#include "print/print_job.h"

#include "base/text.h"

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
  const std::string written = what + " \"" + document.file + "\" dosyasına yazıldı..."_w;
  messages.message(document.noDefaultPrinter
                       ? "Varsayılan yazıcı seçilmediğinden "_w + written +
                             "\r\r( Varsayılan yazıcıyı sistemin yazıcı ayarlarından seçebilirsiniz. )"_w
                       : "Yazıcı olmadığından "_w + written,
                   MsgButtons::Ok, MsgIcon::None, title);
}

}  // namespace kv::print
