// The list report with costs of 5000 lines printed into a PDF file by the desktop back end, under Qt's
// offscreen platform: about 120 pages of ruled rows, names cut to their column by measuring.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "base/text.h"
#include "files/files.h"
#include "print/printer.h"
#include "print/qt/desktop_printer.h"
#include "qt_application.h"
#include "records/recipe_record.h"
#include "reports/report_printer.h"
#include "support/company.h"

namespace {

using namespace kv;

// The working copy of a list definition of 5000 lines with Turkish codes and names.
void writeListOf5000Lines() {
  FileHandle rct("KLVR952.RCT", RecipeRecord::Length);
  for (int n = 1; n <= 5000; ++n) {
    RecipeRecord r;
    r.Code = "ÇĞ-"_w + std::to_string(100000 + n);
    r.Name = "Şaft İğne Göbeği Üst Ölçü Çelik Döküm Parça "_w + std::to_string(n);
    r.Quantity = static_cast<float>(n % 97) + 0.5f;
    r.Unit = "Adet";
    r.Cost = 1234.56f;
    r.Total = r.Quantity * r.Cost;
    r.Deleted = "H";
    rct.put(n, r);
  }
}

int printRows() {
  print::Printer p;
  return printRecipeReport(p, ReportKind::ListWithCost, "KLVR952", {" 12 Mart 2024  "_w, "MKN-0042", "Pompa"}).pages;
}

void BM_Print5000RowsToPdf(benchmark::State& state) {
  bench::qtApplication();
  testing::TempFolder folder;
  const print::DeviceFactory before = print::setDeviceFactory({});
  print::desktop::installDesktopPrinter({.systemPrinter = false, .openViewer = false});
  writeListOf5000Lines();
  int pages = 0;
  for (auto _ : state) {
    pages = printRows();
    state.PauseTiming();
    std::filesystem::remove(folder.path() / "Rapor1.pdf");
    state.ResumeTiming();
  }
  state.counters["pages"] = pages;
  print::setDeviceFactory(before);
}
BENCHMARK(BM_Print5000RowsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
