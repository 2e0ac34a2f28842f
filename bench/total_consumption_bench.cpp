// The total consumption build at the level file's limit, in the report dialog: a binary tree of 32767
// level lines whose 16384 leaves are one item, and a wide tree flattened into 32767 lines of 32767
// different items, which a merge that scanned the rest of the list for every line would compare half a
// billion times. The files are built once, outside the timed part.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "quiet_sink.h"
#include "recipe/recipe_titles.h"
#include "recipe/total_consumption.h"
#include "records/product_file.h"
#include "support/company.h"
#include "support/recipes.h"

namespace {

using namespace kv;
using kv::bench::Quiet;
using kv::testing::Company;
using kv::testing::RecipeFile;
using kv::testing::TempFolder;

// Makes product P and lets `define` give it its tree, then times the build on P.
template <class Define>
void run(benchmark::State& state, std::int16_t items, Define&& define) {
  TempFolder folder;
  std::int16_t product = 0;
  {
    Company company;
    product = company.append(testing::makeProduct("P"));
    RecipeFile recipes(company);
    define(company, recipes, product);
  }
  ProductFile products;
  products.open("KLVR952");
  Quiet quiet;
  TotalConsumptionTitles titles(quiet, true);
  for (auto _ : state) {
    TotalConsumptionResult r = BuildTotalConsumptionFile({products, product},
                                                         totalConsumptionFromRecipeFile(), quiet, titles);
    if (r.outcome != TotalConsumptionOutcome::Built || r.levelRecordCount != items)
      state.SkipWithError("the total consumption is not the tree's");
  }
  state.counters["items"] = items;
}

void BM_TotalConsumptionOfBinaryTreeOf32767LevelLines(benchmark::State& state) {
  run(state, 1, [](Company& company, RecipeFile& recipes, std::int16_t product) {
    testing::defineBinaryTree(company, recipes, 14);
    recipes.define(product, {{"C0", 1, 0}});
  });
}
BENCHMARK(BM_TotalConsumptionOfBinaryTreeOf32767LevelLines)->Unit(benchmark::kMillisecond);

// P holds 127 assemblies of 258 lines each and one line of its own.
void BM_TotalConsumptionOf32767DifferentItems(benchmark::State& state) {
  run(state, kMaxRecords16, [](Company& company, RecipeFile& recipes, std::int16_t product) {
    std::vector<RecipeFile::Line> top;
    for (int a = 0; a < 127; ++a) {
      const std::string code = testing::numbered("M", a);
      const std::int16_t assembly = company.append(testing::makeProduct(code));
      std::vector<RecipeFile::Line> lines;
      for (int l = 0; l < 258; ++l) lines.push_back({code + "-" + std::to_string(l), 2, 0.5f});
      recipes.define(assembly, lines);
      top.push_back({code, 3, 0});
    }
    top.push_back({"P-0", 1, 1});
    recipes.define(product, top);
  });
}
BENCHMARK(BM_TotalConsumptionOf32767DifferentItems)->Unit(benchmark::kMillisecond);

}  // namespace
