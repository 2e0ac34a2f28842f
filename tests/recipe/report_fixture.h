// A company in a temporary folder, set up as the report dialog finds it: the product file open, the
// recipe lines in ".REC", and a transcript standing for the dialog's caption and beeps.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "recipe/recipe_titles.h"
#include "recipe/total_consumption.h"
#include "support/company.h"
#include "support/recipes.h"

namespace kv::testing {

inline float single(double v) { return static_cast<float>(v); }

class Reports : public ::testing::Test {
 protected:
  Reports() { products.open(company.name()); }

  TotalConsumptionInput input(std::int16_t product) {
    products.recount();
    return {products, product};
  }
  TotalConsumptionResult dialogBuild(std::int16_t product) {
    TotalConsumptionTitles titles(said, true);
    return BuildTotalConsumptionFile(input(product), totalConsumptionFromRecipeFile(), said, titles);
  }
  TotalConsumptionResult editorBuild(std::int16_t product) {
    TotalConsumptionTitles titles(said, false);
    return BuildTotalConsumptionFile(input(product), totalConsumptionFromStore(recipes.file(), recipes.count()), said,
                                     titles);
  }
  // A build's outcome with the level-file count it gave back.
  using Ended = std::pair<TotalConsumptionOutcome, int>;
  static Ended ended(const TotalConsumptionResult& r) { return {r.outcome, r.levelRecordCount}; }
  template <class Change>
  void setLine(std::int32_t n, Change&& change) {
    RecipeRecord r = recipes.line(n);
    change(r);
    recipes.write(n, r);
  }

  TempFolder folder;
  Company company;
  ProductFile products;
  RecipeFile recipes{company};
  Transcript said;
};

}  // namespace kv::testing
