#include "reports/screen_report.h"

#include <algorithm>

#include "base/program_title.h"
#include "base/text.h"

namespace kv {

void ScreenPaging::pageDown() {
  if (direction != 1) ++pageIndex;
  direction = 1;
}

void ScreenPaging::pageUp() {
  if (direction != -1) --pageIndex;
  direction = -1;
}

void ScreenPaging::home() {
  direction = 0;
  pageIndex = 0;
}

// The page of the last record; -1 for an empty file, which the selection turns into the first page.
void ScreenPaging::end() {
  direction = 0;
  pageIndex = recordCount > 0 ? (recordCount - 1) / kScreenPageRows : -1;
}

void ScreenPaging::select(std::int32_t count) {
  recordCount = count;
  if (pageIndex < 0 || std::int64_t{pageIndex} * kScreenPageRows >= count)
    pageIndex = direction == 1 || count < kScreenPageRows ? 0 : (count - 1) / kScreenPageRows;
}

std::int32_t ScreenPaging::lastRecord() const {
  return static_cast<std::int32_t>(std::min<std::int64_t>((std::int64_t{pageIndex} + 1) * kScreenPageRows, recordCount));
}

const ScreenLayout& screenLayout(ReportKind kind) {
  using F = ReportField;
  using A = CellAlign;
  static const ScreenLayout layouts[] = {
      // 1: the list definition with cost; its TOPLAM is worked out again, its grand total is the stored one
      {KV_PROGRAM_TITLE " LİSTE", 1, 164, 1, 166.1,
       {{"MAL KODU", 1, 26}, {"MAL ADI", 26, 78}, {"MİKTAR", 78, 98}, {"MALİYET", 98, 131}, {"TOPLAM", 131, 166}},
       {{F::Code, A::Left, 3, 21}, {F::Name, A::Left, 28, 49}, {F::Quantity, A::Right, 88, 9}, {F::Unit, A::Left, 89, 8},
        {F::Cost, A::Right, 130, 31}, {F::QuantityTimesCost, A::Right, 165, 33}},
       GrandTotalRule::EveryRow},
      // 2: total consumption with cost
      {KV_PROGRAM_TITLE " TOPLAM SARF LİSTESİ", 1, 164, 1, 166.1,
       {{"T", 1, 6}, {"KAYIT KODU", 6, 32}, {"KAYIT ADI", 32, 78}, {"MİKTAR", 78, 98}, {"MALİYET", 98, 131},
        {"TOPLAM", 131, 166}},
       {{F::TypeChar, A::Centre, 1, 5}, {F::Code, A::Left, 7, 24}, {F::Name, A::Left, 33, 44},
        {F::Quantity, A::Right, 88, 9}, {F::Unit, A::Left, 89, 8}, {F::Cost, A::Right, 130, 31},
        {F::Total, A::Right, 165, 33}},
       GrandTotalRule::EveryRow},
      // 3: the tree level by level with cost
      {KV_PROGRAM_TITLE " KADEMELİ LİSTE", 1, 164, 1, 166.1,
       {{"T", 1, 6}, {"KAYIT KODU", 6, 32}, {"KAYIT ADI", 32, 78}, {"MİKTAR", 78, 98}, {"MALİYET", 98, 131},
        {"TOPLAM", 131, 166}},
       {{F::TypeChar, A::Centre, 1, 5}, {F::Code, A::Left, 7, 24, true}, {F::Name, A::Left, 33, 44},
        {F::Quantity, A::Right, 88, 9}, {F::Unit, A::Left, 89, 8}, {F::Cost, A::Right, 130, 31},
        {F::Total, A::Right, 165, 33}},
       GrandTotalRule::LevelZero},
      // 4: the list definition
      {KV_PROGRAM_TITLE " LİSTE", 5, 155, 5, 161.3,
       {{"MAL KODU", 5, 35}, {"MAL ADI", 35, 131}, {"MİKTAR", 131, 161}},
       {{F::Code, A::Left, 8, 25}, {F::Name, A::Left, 38, 91}, {F::Quantity, A::Right, 148, 16},
        {F::Unit, A::Left, 149, 11}},
       GrandTotalRule::None},
      // 5: total consumption
      {KV_PROGRAM_TITLE " TOPLAM SARF LİSTESİ", 5, 154, 5, 160.1,
       {{"T", 5, 10}, {"KAYIT KODU", 10, 45}, {"KAYIT ADI", 45, 125}, {"MİKTAR", 125, 155}, {"D", 155, 160}},
       {{F::TypeChar, A::Centre, 5, 5}, {F::Code, A::Left, 11, 33}, {F::Name, A::Left, 46, 78},
        {F::Quantity, A::Right, 142, 16}, {F::Unit, A::Left, 143, 11}, {F::Star, A::Centre, 155, 5}},
       GrandTotalRule::None},
      // 6: the tree level by level
      {KV_PROGRAM_TITLE " KADEMELİ LİSTE", 5, 154, 5, 160.1,
       {{"T", 5, 10}, {"KAYIT KODU", 10, 45}, {"KAYIT ADI", 45, 125}, {"MİKTAR", 125, 155}, {"D", 155, 160}},
       {{F::TypeChar, A::Centre, 5, 5}, {F::Code, A::Left, 11, 33, true}, {F::Name, A::Left, 46, 78},
        {F::Quantity, A::Right, 142, 16}, {F::Unit, A::Left, 143, 11}, {F::Level, A::Centre, 155, 5}},
       GrandTotalRule::None},
  };
  return layouts[static_cast<int>(kind) - 1];
}

// The cost reports add up the whole file at every paint, so that the total is always that of the file
// as it is now.
ScreenPage readScreenPage(const std::string& company, ReportKind kind, ScreenPaging& paging) {
  const ScreenLayout& layout = screenLayout(kind);
  const ReportFile file(company, kind);
  ScreenPage page;
  page.grandTotal = grandTotalOf(file, layout.grandTotal);
  paging.select(file.count());
  page.pageNumber = paging.pageIndex + 1;
  for (std::int32_t n = paging.firstRecord(); n <= paging.lastRecord(); ++n) {
    const ReportRow row = file.row(n);
    std::vector<std::string>& texts = page.rows.emplace_back();
    // Codes and names as stored, trailing blanks included: they are the first to go when a cell is cut.
    for (const ScreenCell& cell : layout.cells) texts.push_back(fieldText(cell.field, row, false, cell.indented));
  }
  return page;
}

ScreenPage emptyScreenPage(ScreenPaging& paging) {
  paging.select(0);
  return ScreenPage{paging.pageIndex + 1, 0, {}};
}

std::string screenHeaderText(const std::string& code, const std::string& name) {
  return trim(code) + "   " + trim(name);
}

}  // namespace kv
