// The workbook exports and the product import at their largest: a product file of 32767 records (48
// columns each), a level file and a list grid of 32767 rows. The import reads its workbook as the program
// does, through the reader program.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/chain_bulk_link.h"
#include "common/files.h"
#include "common/product_file.h"
#include "common/recipe_record.h"
#include "common/text.h"
#include "lists/grid_workbook.h"
#include "product/product_workbook.h"
#include "reports/report_workbook.h"
#include "support/company.h"

namespace {

using namespace kv;
using kv::testing::Company;
using kv::testing::TempFolder;

constexpr int kRows = kMaxRecords16;

struct FullCompany {
  TempFolder folder;
  ProductFile products;
  FullCompany() {
    {
      Company c;
      for (int i = 1; i <= kRows; ++i) {
        ProductRecord r = testing::makeProduct("ÜRÜN-" + std::to_string(100000 + (i * 7919) % kRows), "Çelik mil ğüşıöç",
                                               1 + i % 7);
        r.Description = w("Açıklama"), r.Unit = "ADET", r.Supplier = "Tedarik", r.SpecialNote = "Not";
        r.Cost = 12.5f + static_cast<float>(i), r.Price = 99.75f, r.Coefficient = 1.25f;
        r.CostLocal = Currency{125000 + i}, r.CreatedDate = "05.03.2008", r.RecordNumber = static_cast<std::int16_t>(i);
        r.RandomNumber = i * 65537, r.RecipeNumber = i;
        c.append(r);
      }
      linkAllRecords(c.files(), quietInsertPolicy());
    }
    products.open("KLVR952");
  }
  void removeWorkbooks() {
    for (const std::string& f : listFiles("Kitap*.xlsx")) deleteFile(f);
  }
};

void BM_ProductExport(benchmark::State& state) {
  FullCompany c;
  for (auto _ : state) {
    benchmark::DoNotOptimize(exportProductWorkbook(c.products, kTabAll));
    state.PauseTiming();
    c.removeWorkbooks();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ProductExport)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ProductImport(benchmark::State& state) {
  FullCompany c;
  std::filesystem::rename(c.folder.path() / exportProductWorkbook(c.products, kTabAll),
                          c.folder.path() / "KLVR952.XLS");
  c.products.close();
  for (auto _ : state) {
    const ProductWorkbook book = readProductWorkbook();
    if (book.records.size() != static_cast<std::size_t>(kRows) || !importProductRecords("KLVR952", book.records).replaced)
      state.SkipWithError("the import failed");
  }
}
BENCHMARK(BM_ProductImport)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReportExport(benchmark::State& state) {
  TempFolder folder;
  {
    FileHandle kdm("KLVR952.KDM", LevelRecord::Length);
    for (int i = 1; i <= kRows; ++i) {
      LevelRecord r;
      r.Code = "PARCA-" + std::to_string(i), r.Name = w("Gövde sacı"), r.TypeChar = "2", r.Unit = "AD";
      r.Level = static_cast<std::int16_t>(i % 5), r.Quantity = 3, r.UnitCost = 2.5f, r.Total = 7.5f;
      kdm.put(i, r);
    }
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(exportRecipeReport(ReportKind::LevelsWithCost, "KLVR952", "P-1"));
    state.PauseTiming();
    for (const std::string& f : listFiles("Kitap*.xlsx")) deleteFile(f);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReportExport)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GridExport(benchmark::State& state) {
  TempFolder folder;
  std::vector<std::vector<std::string>> grid = {{"Kayıt No."_w, "Mal Kodu", "Mal Adı"_w, "Fiyat", "Tarih"}};
  for (int i = 1; i <= kRows; ++i)
    grid.push_back({std::to_string(i), "PARCA-" + std::to_string(i), w("Gövde sacı"), "12,50 EUR", "05.03.2008"});
  for (auto _ : state) {
    benchmark::DoNotOptimize(exportGridWorkbook(grid).file);
    state.PauseTiming();
    for (const std::string& f : listFiles("Kitap*.xlsx")) deleteFile(f);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GridExport)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
