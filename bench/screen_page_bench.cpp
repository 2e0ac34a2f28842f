// One page of the screen report read from a level file of 32767 records: the cost kinds add up the whole
// file at every page turn, then read the page's twenty rows.
#include <benchmark/benchmark.h>

#include "base/text.h"
#include "files/files.h"
#include "records/recipe_record.h"
#include "reports/screen_report.h"
#include "support/company.h"

namespace {

using namespace kv;

void writeLevelFile(std::int32_t records) {
  FileHandle kdm("KLVR952.KDM", LevelRecord::Length);
  for (std::int32_t n = 1; n <= records; ++n) {
    LevelRecord r;
    r.TypeChar = "4";
    r.Code = "ÇĞ-"_w + std::to_string(100000 + n);
    r.Name = "Şaft İğne Göbeği Üst Ölçü Çelik Döküm Parça "_w + std::to_string(n);
    r.Unit = "Adet";
    r.Level = static_cast<std::int16_t>(n % 20);
    r.Quantity = static_cast<float>(n % 97) + 0.5f;
    r.UnitCost = 12.5f;
    r.Total = r.Quantity * r.UnitCost;
    kdm.put(n, r);
  }
}

void BM_LastScreenPageOf32767LevelLines(benchmark::State& state) {
  testing::TempFolder folder;
  writeLevelFile(32767);
  std::size_t rows = 0;
  for (auto _ : state) {
    ScreenPaging paging;
    paging.recordCount = 32767;
    paging.end();
    rows = readScreenPage("KLVR952", ReportKind::LevelsWithCost, paging).rows.size();
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_LastScreenPageOf32767LevelLines)->Unit(benchmark::kMillisecond);

}  // namespace
