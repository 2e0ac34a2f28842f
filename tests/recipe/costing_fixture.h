// A company in a temporary folder, set up as the analysis window leaves it for a level build: the product
// file open, the recipe date set, and a transcript standing for the window's title and boxes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "recipe/level_build.h"
#include "recipe/recipe_titles.h"
#include "records/kalvor3.h"
#include "support/company.h"
#include "support/recipes.h"

namespace kv::testing {

// The arithmetic the expectations are written in: Singles rounded from Doubles.
inline float single(double v) { return static_cast<float>(v); }
inline float total(float quantity, float cost) { return single(static_cast<double>(quantity) * cost); }

class Costing : public ::testing::Test {
 protected:
  Costing() {
    KALVOR3 = Kalvor3{};
    products.open(company.name());
  }

  // What a window passes to a build on `product`, its product file counted as the test left it.
  LevelBuildInput input(std::int16_t product) {
    products.recount();
    return {products, product, recipeDate};
  }
  // The analysis window's F5 on `product`.
  LevelBuildResult cost(std::int16_t product) {
    AnalysisLevelTitles titles(said, said);
    return BuildLevelFile(input(product), levelBuildFromRecipeFile(), said, titles);
  }

  std::vector<LevelRecord> levels() const { return readLevelFile(folder); }
  float recipeCost(std::int16_t product) const { return company.record(product).RecipeCost; }

  TempFolder folder;
  Company company;
  ProductFile products;
  Date recipeDate = Date::fromYmd(2025, 2, 3);
  RecipeFile recipes{company};
  Transcript said;
};

}  // namespace kv::testing
