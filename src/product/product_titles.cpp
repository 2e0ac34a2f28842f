#include "product/product_titles.h"

#include <string>

#include "base/numbers.h"
#include "base/text.h"

namespace kv {

namespace {

std::string percentTitle(const char* stage) { return w(stage) + recordNumberText(100); }

}  // namespace

// ---- Data-file rebuild ----

void DataFileRebuildTitles::recordRead(std::string_view code) { title_.progress(" Rebuild : " + std::string(code)); }

void DataFileRebuildTitles::ended(bool) {
  if (caption_) title_.progress(*caption_);
}

// ---- Sorts ----

void SortTitles::started() { title_.progress(" Alfabetik  sıralama başladı..."_w); }

void SortTitles::codesOrdered() { title_.progress(percentTitle("FAZ 1 :  %")); }

void SortTitles::namesRead() { title_.progress(percentTitle("FAZ 1 : KADEME 1 : %")); }

void SortTitles::namesPlaced() {
  title_.progress("FAZ 1 : KADEME 2 : Devam..."_w);
  title_.progress(percentTitle("FAZ 1 : KADEME 3 : %"));
}

void SortTitles::writing(std::int16_t records) {
  title_.progress("FAZ 2 : "_w + recordNumberText(records) + ". Kayıt"_w);
  title_.progress("İşlem tamamlanıyor..."_w);
}

void SortTitles::sorted() { title_.progress("İşlem tamamlandı..."_w); }

void SortTitles::ended(SortResult) {
  if (caption_) title_.progress(*caption_);
}

}  // namespace kv
