// The working copy at its limits: a list definition of 32767 lines that lies behind 50000 records of other
// chains, every line naming its component by a stale item record, in a product file of 32767 products. A
// copy that searched the product file from its start for every line would be quadratic.
// The files are built once, outside the timed part.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "quiet_sink.h"
#include "recipe/recipe_titles.h"
#include "recipe/working_copy.h"
#include "records/product_file.h"
#include "records/recipe_record.h"
#include "support/company.h"

namespace {

using namespace kv;
using kv::bench::Quiet;
using kv::testing::Company;
using kv::testing::TempFolder;

void BM_ListDefinitionOf32767LinesBehind50000Records(benchmark::State& state) {
  TempFolder folder;
  Company company;
  const std::int16_t owner = company.append(testing::makeProduct("P"));
  for (int i = 1; i < kMaxRecords16; ++i) company.append(testing::makeProduct(testing::numbered("C", i)));
  company.close();

  const std::int32_t others = 50000, lines = kMaxRecords16;
  std::vector<std::uint8_t> store(static_cast<std::size_t>(others + lines) * RecipeRecord::Length);
  for (std::int32_t n = 1; n <= others + lines; ++n) {
    RecipeRecord r;
    r.Deleted = "H";
    r.Code = testing::numbered("C", n % (kMaxRecords16 - 1) + 1);
    r.ItemRecord = 0;
    r.Sequence = static_cast<std::int16_t>(n > others ? n - others : 2);
    r.OwnerCode = n > others ? "P" : "Q";
    r.OwnerRecord = n > others ? owner : 0;
    r.NextLine = n > others && n < others + lines ? n + 1 : 0;
    r.encode(store.data() + static_cast<std::size_t>(n - 1) * RecipeRecord::Length);
  }
  folder.write("KLVR952.LTD", store);

  ProductFile products;
  products.open("KLVR952");
  Quiet quiet;
  for (auto _ : state) {
    WorkingCopyTitles titles(quiet);
    WorkingCopyResult r = PrepareWorkingCopy({products, owner, true}, quiet, titles);
    if (r.lines != lines) state.SkipWithError("the chain was not copied whole");
  }
}
BENCHMARK(BM_ListDefinitionOf32767LinesBehind50000Records)->Unit(benchmark::kMillisecond);

}  // namespace
