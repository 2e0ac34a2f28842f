// The cost roll-up at its limits: a product whose tree fills the level file (a binary tree of 32767 level
// lines, where a roll-up that scans the rest of the file for every group would be quadratic), and the
// refresh of every recipe cost of a company of 5000 products with recipes four levels deep. The company
// is built once, outside the timed part.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/files.h"
#include "quiet_sink.h"
#include "recipe/cost_refresh.h"
#include "recipe/level_build.h"
#include "recipe/recipe_titles.h"
#include "support/company.h"
#include "support/recipes.h"

namespace {

using namespace kv;
using kv::bench::Quiet;
using kv::testing::Company;
using kv::testing::RecipeFile;
using kv::testing::TempFolder;

const Date kRecipeDate = Date::fromYmd(2025, 2, 3);

void BM_BinaryTreeOf32767LevelLines(benchmark::State& state) {
  TempFolder folder;
  Company company;
  std::int16_t product = company.append(testing::makeProduct("P"));
  {
    RecipeFile recipes(company);
    testing::defineBinaryTree(company, recipes, 14);
    recipes.define(product, {{"C0", 1, 0}});
  }
  ProductFile products;
  products.open(company.name());
  Quiet quiet;
  AnalysisLevelTitles titles(quiet, quiet);
  for (auto _ : state) {
    LevelBuildResult r = BuildLevelFile({products, product, kRecipeDate}, levelBuildFromRecipeFile(), quiet, titles);
    if (r.outcome != LevelBuildOutcome::Costed || r.levelRecordCount != kMaxRecords16)
      throw std::runtime_error("the binary tree was not costed");
  }
  state.counters["level_lines"] = kMaxRecords16;
}
BENCHMARK(BM_BinaryTreeOf32767LevelLines)->Unit(benchmark::kMillisecond);

// 1000 each of raw materials, parts (3 raw materials), subassemblies (3 parts), assemblies (3
// subassemblies) and products (3 assemblies): 120 level lines for each product.
void BM_RefreshAllRecipeCostsOf5000Products(benchmark::State& state) {
  TempFolder folder;
  Company company;
  const char* tiers[] = {"HAM", "PAR", "ALT", "MON", "URN"};
  for (const char* tier : tiers)
    for (int i = 0; i < 1000; ++i) company.append(testing::makeProduct(tier + std::to_string(i)));
  {
    RecipeFile recipes(company);
    for (int t = 1; t < 5; ++t) {
      for (int i = 0; i < 1000; ++i) {
        std::vector<RecipeFile::Line> lines;
        for (int k = 0; k < 3; ++k)
          lines.push_back({tiers[t - 1] + std::to_string((i * 7 + k * 331) % 1000), 0.25f * (k + 1), 1.1f * (i % 13 + 1)});
        recipes.define(static_cast<std::int16_t>(t * 1000 + i + 1), lines);
      }
    }
  }
  ProductFile products;
  products.open(company.name());
  Quiet quiet;
  CostRefreshReport unseen;
  AnalysisLevelTitles titles(quiet, quiet);
  for (auto _ : state) RefreshAllRecipeCosts(products, kRecipeDate, unseen, titles, quiet);
  if (company.record(5000).RecipeCost <= 0) throw std::runtime_error("the products were not costed");
  state.counters["products"] = 5000;
}
BENCHMARK(BM_RefreshAllRecipeCostsOf5000Products)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
