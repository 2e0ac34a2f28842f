// The workbook exports and the product import at their largest: a product file of 32767 records (48
// columns each), a level file and a list grid of 32767 rows. The import reads its workbook as the program
// does, through the reader program; so does the reading of the same 48 columns, their five dates as date
// cells, from an .xlsx and from the .xls that LibreOffice makes of it (once, kept in the build folder;
// without LibreOffice that benchmark is skipped).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "lists/grid_workbook.h"
#include "product/product_workbook.h"
#include "records/chain_bulk_link.h"
#include "records/product_file.h"
#include "records/recipe_record.h"
#include "reports/report_workbook.h"
#include "sheet/sheet.h"
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

// 32767 rows of 48 columns as a spreadsheet program in Turkish keeps them: numbers as number cells, the
// five date columns as date cells shown dd.mm.yyyy, the rest texts. Returns the .xlsx file's name.
std::string writeDatedSheet() {
  sheet::NewWorkbook book;
  for (int c = 1; c <= kProductWorkbookColumns; ++c) book.Cells(1, c, sheet::Cell::text("Sütun " + std::to_string(c)));
  for (std::int32_t r = 2; r <= kRows + 1; ++r)
    for (int c = 1; c <= kProductWorkbookColumns; ++c) {
      const bool date = c == 17 || c == 26 || c == 30 || c == 34 || c == 39;
      const bool text = c == 2 || c == 3 || c == 4 || c == 5 || c == 7 || c == 9 || c == 12 || c == 15 || c == 25;
      book.Cells(r, c, date   ? sheet::Cell::date(39512 + r % 3000)
                       : text ? sheet::Cell::text(w("Çelik mil ") + std::to_string((r * c) % 9973))
                              : sheet::Cell::number(r % 2 == 0 ? r : r + 0.25));
    }
  return book.Show();
}

// The same sheet as an .xls written by LibreOffice, made once beside the benchmark; empty without it.
std::filesystem::path datedXls() {
  const std::filesystem::path kept = std::filesystem::path(KV_BENCH_FOLDER) / "dated_32767x48.xls";
  if (std::filesystem::exists(kept)) return kept;
  TempFolder folder;
  const std::filesystem::path xlsx = folder.path() / writeDatedSheet();
  const std::string profile = (folder.path() / "profile").string();
  const std::string command = "soffice -env:UserInstallation=file://" + profile +
                              " --headless --convert-to xls --outdir " + folder.path().string() + " " + xlsx.string() +
                              " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return {};
  std::filesystem::path made = xlsx;
  std::filesystem::copy_file(made.replace_extension(".xls"), kept);
  return kept;
}

void BM_ReadDatedSheet(benchmark::State& state) {
  const bool xls = state.range(0) == 1;
  const std::filesystem::path from = xls ? datedXls() : std::filesystem::path();
  TempFolder folder;
  if (xls) {
    if (from.empty()) return state.SkipWithError("LibreOffice (soffice) is needed to write the .xls once");
    std::filesystem::copy_file(from, folder.path() / "KLVR952.XLS");
  } else {
    std::filesystem::rename(folder.path() / writeDatedSheet(), folder.path() / "KLVR952.XLS");
  }
  for (auto _ : state) {
    const ProductWorkbook book = readProductWorkbook();
    if (book.records.size() != static_cast<std::size_t>(kRows) || book.records.back().CreatedDate.view()[2] != '.')
      state.SkipWithError("the workbook was not read whole");
  }
}
BENCHMARK(BM_ReadDatedSheet)->Arg(0)->Arg(1)->ArgName("xls")->Unit(benchmark::kMillisecond)->Iterations(3);

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
