#include "recipe/recipe_titles.h"

#include "base/numbers.h"
#include "base/program_title.h"
#include "base/text.h"

namespace kv {

namespace {

const char* const kBetaTitle = " " KV_PROGRAM_TITLE " BETA";
const char* const kFinalTitle = " " KV_PROGRAM_TITLE "  BETA";
std::string levelFailureText() { return "Kademe işlemleri esnasında hata oluştu..."_w; }

}  // namespace

// ---- Level build ----

void LevelBuildTitles::started() {
  failed_ = false;
  title_.progress("Kademe işlemleri başladı..."_w);
}

void LevelBuildTitles::walked() {
  if (!failed_) title_.progress(kBetaTitle);
}

void LevelBuildTitles::rollingUp() { title_.progress("İlgili reçete maliyetleri hesaplanıyor..."_w); }

void LevelBuildTitles::failed() {
  failed_ = true;
  title_.progress(levelFailureText());
}

void LevelBuildTitles::ended(bool ranThrough) {
  if (ranThrough) title_.progress(failed_ ? levelFailureText() : kFinalTitle);
}

void AnalysisLevelTitles::failed() {
  messages_.beep();
  messages_.message(levelFailureText(), MsgButtons::Ok, MsgIcon::Exclamation, " " KV_PROGRAM_TITLE "  ANALİZ"_w);
  title_.progress(kFinalTitle);
}

// ---- Total consumption ----

void TotalConsumptionTitles::started() { title_.progress("Toplam listeleme işlemleri başladı..."_w); }

void TotalConsumptionTitles::flattened() {
  if (showsFlattened_) title_.progress(kBetaTitle);
  title_.progress(" Toplam listeleme işlemleri devam ediyor..."_w);
}

void TotalConsumptionTitles::ended(TotalConsumptionOutcome outcome) {
  title_.progress(outcome == TotalConsumptionOutcome::Failed ? "Toplam listeleme işlemleri esnasında hata oluştu..."_w
                                                             : std::string(kFinalTitle));
}

// ---- Working copy ----

void WorkingCopyTitles::started() { title_.progress("Listeye dönüştürme işlemi başladı..."_w); }
void WorkingCopyTitles::headKnown() { title_.progress("İşlem devam ediyor..."_w); }
void WorkingCopyTitles::passedOver(std::int32_t line) { title_.progress(std::to_string(line)); }
void WorkingCopyTitles::copied(std::int32_t lines) { title_.progress(std::to_string(lines)); }
void WorkingCopyTitles::ended() { title_.progress(kBetaTitle); }

// ---- Definition store rebuild ----

void RebuildTitles::started() {
  title_.progress(recipes_ ? "Reçetelerin yenilenmesi işlemi başladı..."_w : "Listelerin yenilenmesi işlemi başladı..."_w);
}

void RebuildTitles::productDone(std::int16_t record) {
  title_.progress(company_ + ".DAT  Kayıt Numarası="_w + std::to_string(record));
}

void RebuildTitles::copied() {
  title_.progress(recipes_ ? "Reçetelerin yenilenmesi işlemi devam ediyor..."_w
                           : "Listelerin yenilenmesi işlemi devam ediyor..."_w);
}

void RebuildTitles::finished() {
  title_.progress(recipes_ ? "Reçetelerin yenilenmesi işlemi tamamlandı..."_w
                           : "Listelerin yenilenmesi işlemi tamamlandı..."_w);
}

void RebuildTitles::ended() { title_.progress(kBetaTitle); }

// ---- Full refresh ----

std::string costRefreshTitle(std::int16_t record) {
  return "Kayıt"_w + recordNumberText(record) + " yenilemeye hazırlanıyor..."_w;
}

}  // namespace kv
