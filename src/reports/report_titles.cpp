#include "reports/report_titles.h"

#include <string>

#include "base/numbers.h"
#include "base/program_title.h"
#include "base/text.h"

namespace kv {

void ListWorkingCopyTitles::started() { title_.progress("Liste işlemleri yapılıyor..."_w); }

void ListWorkingCopyTitles::passedOver(std::int32_t line) { title_.progress(recordNumberText(line)); }

void ListWorkingCopyTitles::ended(ListWorkingCopyOutcome outcome) {
  title_.progress(outcome == ListWorkingCopyOutcome::Failed ? "Liste işlemleri esnasında hata oluştu..."_w
                                                            : std::string(" " KV_PROGRAM_TITLE " BETA"));
}

}  // namespace kv
