// The recipe editor over a recipe of 30 000 lines: the working copy made (as F2 in the analysis window
// makes it), the editor's files opened, every page saved and the next one loaded as PAGE DOWN does, to the
// page after the last line, and the whole working copy written back as the editor's exit does.
// The company is built once, outside the timed part.
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

void BM_EditorPagesThroughARecipeOf30000LinesAndLeaves(benchmark::State& state) {
  constexpr std::int32_t kLines = 30000;
  constexpr int kComponents = 500;
  TempFolder folder;
  Company company;
  const std::int16_t owner = company.add("P");
  for (int i = 1; i <= kComponents; ++i) company.add(testing::numbered("C", i));
  ProductRecord p = company.record(owner);
  p.RecipeNumber = 1;
  company.write(owner, p);
  const std::int32_t randomNumber = p.RandomNumber;
  company.close();

  std::vector<std::uint8_t> store(static_cast<std::size_t>(kLines) * RecipeRecord::Length);
  for (std::int32_t n = 1; n <= kLines; ++n) {
    RecipeRecord r;
    const int component = 1 + n % kComponents;
    r.ItemRecord = static_cast<std::int16_t>(owner + component);
    r.Code = testing::numbered("C", component);
    r.Quantity = 1.5f;
    r.Cost = 2;
    r.Deleted = "H";
    r.OwnerCode = "P";
    r.OwnerRecord = owner;
    r.OwnerRandomNumber = randomNumber;
    r.Sequence = static_cast<std::int16_t>(n);
    r.NextLine = n < kLines ? n + 1 : 0;
    r.encode(store.data() + static_cast<std::size_t>(n - 1) * RecipeRecord::Length);
  }
  folder.write("KLVR952.REC", store);

  ProductFile products;
  products.open("KLVR952");
  Quiet quiet;
  for (auto _ : state) {
    const WorkingCopyInput input{products, owner, false};
    WorkingCopyTitles titles(quiet);
    const WorkingCopyResult copy = PrepareWorkingCopy(input, quiet, titles);
    RecipeEditSession s{products};
    s.job = recipeJob(input, copy);
    s.recipeDate = Date::fromYmd(2025, 2, 3);
    s.open();
    PageSpan span = pageSpan(1, s.lineCount);
    GridPage rows = s.readRows(span.first, span.last);
    for (std::int32_t page = 2;; ++page) {
      s.SaveGridPage(span.first, rows);
      span = pageSpan(page, s.lineCount);
      if (span.beep) break;
      rows = s.readRows(span.first, span.last);
    }
    if (s.WriteBackRecipeLines() != kLines) state.SkipWithError("the recipe was not written back whole");
    s.workingCopy.close();
    s.store.close();
  }
}
BENCHMARK(BM_EditorPagesThroughARecipeOf30000LinesAndLeaves)->Unit(benchmark::kMillisecond);

}  // namespace
