// Random acyclic product trees costed by the level build and by a short recursive computation written
// here from the rules of the roll-up; the recipe costs must agree bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "costing_fixture.h"

namespace kv::testing {
namespace {

struct RefLine {
  int component;
  float quantity;
  float cost;
  bool erased;
};

// Products 0..n-1 in tiers of four; a product's lines name only products of the next two tiers, so no
// tree repeats itself and none is deeper than the tiers.
struct RefCompany {
  std::vector<std::vector<RefLine>> recipes;

  // A line costs its quantity times its own cost, or, for a component with a recipe, times the sum of
  // the component's lines (summed in a Double from the first, stored as a Single).
  float lineTotal(const RefLine& line, int* lines) const {
    ++*lines;
    const auto& sub = recipes[line.component];
    float unit = line.cost;
    if (!sub.empty()) {
      double sum = lineTotal(sub[0], lines);  // a sub-recipe's head is taken whatever its flag
      for (std::size_t i = 1; i < sub.size() && !sub[i].erased; ++i) sum += lineTotal(sub[i], lines);
      unit = single(sum);
    }
    return total(line.quantity, unit);
  }

  // None when the product's first line is erased: then no cost is written.
  std::optional<float> recipeCost(int product, int* lines) const {
    const auto& top = recipes[product];
    double sum = 0;
    for (std::size_t i = 0; i < top.size() && !top[i].erased; ++i) sum += lineTotal(top[i], lines);
    if (top.empty() || top[0].erased) return std::nullopt;
    return single(sum);
  }
};

RefCompany randomCompany(std::mt19937& rng, int products) {
  std::uniform_int_distribution<int> lineCount(0, 4), percent(0, 99);
  std::uniform_int_distribution<int> cents(1, 1000);
  RefCompany c;
  c.recipes.resize(products);
  for (int p = 0; p + 4 < products; ++p) {
    if (percent(rng) < 30) continue;  // a raw material: no recipe
    int n = lineCount(rng);
    const int nextTier = (p / 4 + 1) * 4;
    std::uniform_int_distribution<int> later(nextTier, std::min(products - 1, nextTier + 7));
    for (int i = 0; i < n; ++i) {
      float quantity = static_cast<float>(cents(rng)) / (percent(rng) < 50 ? 100.0f : 7.0f);
      float cost = static_cast<float>(cents(rng) * 37 - 9000) / 1000.0f;
      c.recipes[p].push_back({later(rng), quantity, cost, percent(rng) < 5});
    }
  }
  return c;
}

class RandomTrees : public Costing {};

TEST_F(RandomTrees, TheLevelBuildCostsAsTheRecursiveDefinition) {
  std::mt19937 rng(20250203);
  const int perRound = 40;
  int compared = 0;
  for (int round = 0; round < 25; ++round) {
    RefCompany ref = randomCompany(rng, perRound);
    const std::int16_t base = company.count();
    const std::string prefix = numbered("R", round) + "-";
    for (int p = 0; p < perRound; ++p) company.add(numbered(prefix, p));
    for (int p = 0; p < perRound; ++p) {
      std::vector<RecipeFile::Line> lines;
      for (const RefLine& l : ref.recipes[p])
        lines.push_back({numbered(prefix, l.component), l.quantity, l.cost});
      std::int32_t head = recipes.define(static_cast<std::int16_t>(base + 1 + p), lines);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!ref.recipes[p][i].erased) continue;
        RecipeRecord r = recipes.line(head + static_cast<std::int32_t>(i));
        r.Deleted = "E";
        recipes.write(head + static_cast<std::int32_t>(i), r);
      }
    }
    for (int p = 0; p < perRound; ++p) {
      const auto record = static_cast<std::int16_t>(base + 1 + p);
      int lines = 0;
      std::optional<float> want = ref.recipeCost(p, &lines);
      LevelBuildResult result = cost(record);
      if (ref.recipes[p].empty()) {
        EXPECT_EQ(result.outcome, LevelBuildOutcome::GuardFailed);
        continue;
      }
      ASSERT_NE(result.outcome, LevelBuildOutcome::Failed) << "round " << round << " product " << p;
      ASSERT_EQ(result.levelRecordCount, lines) << "round " << round << " product " << p;
      if (!want) {
        EXPECT_EQ(result.outcome, LevelBuildOutcome::Empty);
        continue;
      }
      ASSERT_EQ(result.outcome, LevelBuildOutcome::Costed);
      ASSERT_EQ(std::bit_cast<std::uint32_t>(recipeCost(record)), std::bit_cast<std::uint32_t>(*want))
          << "round " << round << " product " << p << ": " << recipeCost(record) << " against " << *want;
      ++compared;
    }
  }
  EXPECT_GT(compared, 400);
}

}  // namespace
}  // namespace kv::testing
