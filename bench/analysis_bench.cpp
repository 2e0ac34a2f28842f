// F5 in the analysis window, headless, on a product whose tree expands into 32767 level lines: the whole
// command as the user runs it, titles, beeps and the display of the new cost included.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "recipe/windows.h"
#include "records/kalvor3.h"
#include "support/company.h"
#include "support/recipes.h"
#include "ui/headless_driver.h"
#include "ui/keys.h"

namespace {

using kv::testing::Company;
using kv::testing::RecipeFile;
using kv::testing::TempFolder;

void BM_AnalysisF5On32767LevelLines(benchmark::State& state) {
  TempFolder folder;
  std::int16_t product = 0;
  {
    Company company;
    product = company.append(kv::testing::makeProduct("P"));
    RecipeFile recipes(company);
    kv::testing::defineBinaryTree(company, recipes, 14);
    recipes.define(product, {{"C0", 1, 0}});
  }
  kv::KALVOR3 = kv::Kalvor3{};
  kv::KALVOR3.CompanyName = "KLVR952";
  kv::KALVOR3.CurrentRecordNumber = product;
  kv::registerRecipeWindows();
  kv::ui::HeadlessDriver ui;
  ui.start("frmAnaliz");
  for (auto _ : state) ui.key(kv::ui::Key::F5);
  if (Company().record(product).RecipeCost <= 0) throw std::runtime_error("the product was not costed");
  state.counters["level_lines"] = kv::kMaxRecords16;
}
BENCHMARK(BM_AnalysisF5On32767LevelLines)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
