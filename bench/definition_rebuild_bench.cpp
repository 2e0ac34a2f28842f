// The rebuild of ".REC" and ".LTD" on a store of 200 000 lines for 20 000 products: chains of nine lines
// scattered over the file among 20 000 erased lines, and one product in ten whose RecipeNumber names a
// line of its chain that is not the head, so that the recipe rebuild looks for the head. A scan of the
// whole store for every head would be 4·10⁹ line tests. The files are put back outside the timed part.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/files.h"
#include "quiet_sink.h"
#include "recipe/definition_rebuild.h"
#include "recipe/recipe_titles.h"
#include "records/product_file.h"
#include "support/company.h"

namespace {

using namespace kv;
using kv::bench::Quiet;
using kv::testing::Company;
using kv::testing::TempFolder;

constexpr int kProducts = 20000;
constexpr int kChain = 9;
constexpr std::int32_t kLines = 200000;

struct BigCompany {
  TempFolder folder;
  Company company;
  std::vector<std::uint8_t> store;
  std::vector<std::int32_t> recipeNumbers;  // per product, 1-based

  BigCompany() : recipeNumbers(kProducts + 1) {
    std::mt19937 rng(952);
    // Line numbers for every chain line, shuffled; what is left over stays erased.
    std::vector<std::int32_t> places(kLines);
    for (std::int32_t i = 0; i < kLines; ++i) places[static_cast<std::size_t>(i)] = i + 1;
    std::shuffle(places.begin(), places.end(), rng);
    std::vector<RecipeRecord> lines(kLines);
    for (auto& l : lines) l.Deleted = "E";
    std::size_t next = 0;
    for (int p = 1; p <= kProducts; ++p) {
      ProductRecord r = testing::makeProduct(testing::numbered("U", 100000 + p));
      r.RandomNumber = static_cast<std::int32_t>(rng());
      std::vector<std::int32_t> chain(places.begin() + static_cast<long>(next), places.begin() + static_cast<long>(next + kChain));
      next += kChain;
      for (int k = 0; k < kChain; ++k) {
        RecipeRecord& l = lines[static_cast<std::size_t>(chain[static_cast<std::size_t>(k)] - 1)];
        l.Deleted = "H";
        l.Code = testing::numbered("C", k);
        l.Quantity = 1.5f;
        l.OwnerCode = r.Code;
        l.OwnerRecord = static_cast<std::int16_t>(p);
        l.OwnerRandomNumber = r.RandomNumber;
        l.Sequence = static_cast<std::int16_t>(k + 1);
        l.NextLine = k + 1 < kChain ? chain[static_cast<std::size_t>(k + 1)] : 0;
      }
      r.RecipeNumber = chain[p % 10 == 0 ? 4 : 0];
      recipeNumbers[static_cast<std::size_t>(p)] = r.RecipeNumber;
      company.append(r);
    }
    store.resize(static_cast<std::size_t>(kLines) * RecipeRecord::Length);
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i].encode(store.data() + i * RecipeRecord::Length);
  }

  // The store as it was, and for the recipes the products' RecipeNumbers.
  void putBack(const char* storeName, ProductFile& products) {
    folder.write(storeName, store);
    folder.write("KLVR952.RCT", std::vector<std::uint8_t>(128, 1));
    for (std::int16_t p = 1; p <= kProducts; ++p) {
      ProductRecord r = products.read(p);
      r.RecipeNumber = recipeNumbers[static_cast<std::size_t>(p)];
      products.write(p, r);
    }
  }
};

void rebuildBench(benchmark::State& state, RecipeFileKind kind, const char* storeName) {
  BigCompany big;
  ProductFile products;
  products.open(big.company.name());
  Quiet quiet;
  for (auto _ : state) {
    state.PauseTiming();
    big.putBack(storeName, products);
    state.ResumeTiming();
    RebuildTitles titles(quiet, kind, big.company.name());
    RebuildResult r = RebuildDefinitionFile(kind, products, quiet, titles);
    if (r.outcome != RebuildOutcome::Rebuilt || r.storeCount != kProducts * kChain)
      throw std::runtime_error("the store was not rebuilt");
  }
  state.counters["lines"] = kLines;
  state.counters["products"] = kProducts;
}

void BM_RebuildRecipeFile(benchmark::State& state) { rebuildBench(state, RecipeFileKind::Recipes, "KLVR952.REC"); }
void BM_RebuildListDefinitionFile(benchmark::State& state) {
  rebuildBench(state, RecipeFileKind::ListDefinitions, "KLVR952.LTD");
}
BENCHMARK(BM_RebuildRecipeFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RebuildListDefinitionFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
