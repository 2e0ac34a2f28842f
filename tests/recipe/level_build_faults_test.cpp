// Damaged and unusual recipes: every walk ends, a product that contains itself is told once per run and
// costed as far as it goes, and a failure never leaves a cost behind.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/text.h"
#include "costing_fixture.h"
#include "files/files.h"

namespace kv::testing {
namespace {

const std::string kCycleBox = "box: Kademe hatası oluştu! (Kademe Sayısı > 20) | ! HATA !";
const std::string kFailureBox = "box: Kademe işlemleri esnasında hata oluştu... |  KALVOR 952 Uyarlama 3.0  ANALİZ";

class DamagedRecipes : public Costing {
 protected:
  std::vector<std::string> codes() const {
    std::vector<std::string> out;
    for (const auto& l : levels()) out.push_back(toUtf8(trim(l.Code.view())));
    return out;
  }
  void setNextLine(std::int32_t line, std::int32_t next) {
    RecipeRecord r = recipes.line(line);
    r.NextLine = next;
    recipes.write(line, r);
  }
  // A line naming C0 expands into 32767 level lines.
  void binaryTree() { defineBinaryTree(company, recipes, 14); }
};

TEST_F(DamagedRecipes, RecipesStoredBeyondLine32767AreCosted) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.addAll({{"B"}, {"X"}});
  recipes.padTo(40000);
  std::int32_t sub = recipes.define(a, {{"X", 2, 0.5f}, {"B", 1, 0.25f}});
  std::int32_t head = recipes.define(p, {{"A", 3, 0}, {"B", 1, 1.5f}});

  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::Costed);

  std::vector<LevelRecord> l = levels();
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0].RecipeLine, head);
  EXPECT_EQ(l[1].RecipeLine, sub);
  EXPECT_EQ(l[2].RecipeLine, sub + 1);
  EXPECT_EQ(l[3].RecipeLine, head + 1);
  const float unitA = single(static_cast<double>(total(2, 0.5f)) + total(1, 0.25f));
  EXPECT_EQ(recipeCost(p), single(0.0 + total(3, unitA) + total(1, 1.5f)));
}

TEST_F(DamagedRecipes, ANextLineBackIntoItsOwnChainEndsTheChain) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.addAll({{"B"}, {"C"}, {"X"}, {"Y"}});
  std::int32_t top = recipes.define(p, {{"A", 1, 0}, {"B", 1, 2}, {"C", 1, 3}});
  std::int32_t sub = recipes.define(a, {{"X", 1, 5}, {"Y", 1, 7}});
  setNextLine(top + 2, top + 1);  // C leads back to B
  setNextLine(sub + 1, sub);      // Y leads back to the head of A's recipe

  cost(p);

  EXPECT_EQ(codes(), (std::vector<std::string>{"A", "X", "Y", "B", "C"}));
  EXPECT_EQ(recipeCost(p), 17);
  EXPECT_EQ(said.count("box"), 0);
}

TEST_F(DamagedRecipes, ALineThatPointsToItselfEndsItsChain) {
  std::int16_t p = company.add("P");
  company.addAll({{"A"}, {"B"}});
  std::int32_t top = recipes.define(p, {{"A", 1, 1}, {"B", 1, 2}});
  setNextLine(top + 1, top + 1);

  cost(p);

  EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(recipeCost(p), 3);
}

TEST_F(DamagedRecipes, AProductContainingItselfIsToldOnceAndCostedAsALeaf) {
  std::int16_t a = company.add("A");
  company.add("X");
  recipes.define(a, {{"X", 1, 0.5f}, {"A", 2, 5}});

  EXPECT_EQ(cost(a).outcome, LevelBuildOutcome::Costed);

  EXPECT_EQ(codes(), (std::vector<std::string>{"X", "A"}));
  EXPECT_EQ(recipeCost(a), 10.5f);
  EXPECT_EQ(said.count(kCycleBox), 1);
}

TEST_F(DamagedRecipes, AProductContainedDeeperInItselfIsToldOnceAndCostedAsALeaf) {
  std::int16_t a = company.add("A");
  std::int16_t b = company.add("B");
  company.add("X");
  recipes.define(a, {{"B", 1, 0}});
  recipes.define(b, {{"A", 3, 2}, {"X", 1, 0.25f}});

  cost(a);
  EXPECT_EQ(codes(), (std::vector<std::string>{"B", "A", "X"}));
  EXPECT_EQ(recipeCost(a), single(static_cast<double>(total(3, 2)) + total(1, 0.25f)));
  EXPECT_EQ(said.count(kCycleBox), 1);

  said.events.clear();
  cost(b);  // from B's side, B is the repeated one
  EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B", "X"}));
  EXPECT_EQ(recipeCost(b), single(0.0 + total(3, 0) + total(1, 0.25f)));
  EXPECT_EQ(said.count(kCycleBox), 1);
}

// Component S points to the chain of product O: the chain goes back to O when O has no recipe, and the
// line is costed as it stands.
TEST_F(DamagedRecipes, AStaleSubRecipeLinkGivesTheChainBackToItsOwner) {
  std::int16_t p = company.add("P");
  std::int16_t s = company.add("S");
  std::int16_t deadOwner = company.add("O");
  std::int16_t busyOwner = company.add("O");
  std::int16_t owner = company.add("O");
  company.add("X");
  std::int32_t chain = recipes.define(owner, {{"X", 1, 1000}});
  recipes.define(busyOwner, {{"X", 1, 1}});
  for (std::int16_t n : {deadOwner, owner, s}) {
    ProductRecord r = company.record(n);
    r.RecipeNumber = n == s ? chain : 0;
    if (n == deadOwner) r.Kind = -1;
    company.write(n, r);
  }
  recipes.define(p, {{"S", 2, 1.25f}});

  cost(p);

  EXPECT_EQ(codes(), std::vector<std::string>{"S"});
  EXPECT_EQ(recipeCost(p), 2.5f);
  EXPECT_EQ(company.record(owner).RecipeNumber, chain);
  EXPECT_EQ(company.record(deadOwner).RecipeNumber, 0);
  EXPECT_EQ(company.record(s).RecipeNumber, chain);

  // Once O owns the chain again, or when no product owns it, nothing more is written.
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  cost(p);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
  RecipeRecord orphanHead = recipes.line(chain);
  orphanHead.OwnerCode = "NOBODY";
  recipes.write(chain, orphanHead);
  cost(p);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
}

TEST_F(DamagedRecipes, MoreThan32767LevelLinesEndTheRunWithoutACost) {
  std::int16_t p = company.add("P");
  company.add("LEAF");
  binaryTree();
  recipes.define(p, {{"C0", 1, 0}, {"LEAF", 1, 1}});
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  const int freeNumber = nextFreeFileNumber();

  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::Failed);

  EXPECT_EQ(nextFreeFileNumber(), freeNumber);  // the run's files are closed
  EXPECT_EQ(folder.bytes("KLVR952.KDM").size(), 32767u * 118);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
  EXPECT_EQ(said.events, (std::vector<std::string>{"title: Kademe işlemleri başladı...", "beep", kFailureBox,
                                                   "title:  KALVOR 952 Uyarlama 3.0  BETA"}));
}

TEST_F(DamagedRecipes, AFullLevelFileIsStillCosted) {
  std::int16_t p = company.add("P");
  binaryTree();
  recipes.define(p, {{"C0", 0.5f, 0}});
  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::Costed);
  EXPECT_EQ(levels().size(), 32767u);
  EXPECT_EQ(recipeCost(p), 0.5f * 16384 * 0.5f);  // half of each of the 16384 leaves at 0,5
}

TEST_F(DamagedRecipes, ACostASingleCannotHoldIsAFailure) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.addAll({{"X"}, {"Y"}});
  const float big = 3e38f;
  const float nan = std::numeric_limits<float>::quiet_NaN();

  struct Case {
    const char* what;
    std::vector<RecipeFile::Line> top, sub;
  };
  const Case cases[] = {
      {"a line total", {{"X", big, 10}}, {}},
      {"a quantity that is not a number", {{"X", nan, 1}}, {}},
      {"a group sum", {{"A", 1, 0}}, {{"X", big, 1}, {"Y", big, 1}}},
      {"a parent total", {{"A", 4, 0}}, {{"X", big, 1}}},
      {"the recipe cost", {{"X", big, 1}, {"Y", big, 1}}, {}},
  };
  for (const Case& c : cases) {
    recipes.define(a, c.sub);
    recipes.define(p, c.top);
    said.events.clear();
    EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::Failed) << c.what;
    EXPECT_EQ(said.count(kFailureBox), 1) << c.what;
    ProductRecord r = company.record(p);
    EXPECT_EQ(r.RecipeCost, 0) << c.what;
    EXPECT_EQ(r.RecipeYear, 0) << c.what;
  }
}

TEST_F(DamagedRecipes, ALevelFileHeldOpenElsewhereIsAFailure) {
  std::int16_t p = company.add("P");
  company.add("A");
  recipes.define(p, {{"A", 1, 1}});
  folder.write("KLVR952.KDM", {9});
  int held = nextFreeFileNumber();
  openRandom(held, "KLVR952.KDM", LevelRecord::Length);

  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::Failed);

  closeFile(held);
  EXPECT_EQ(said.count(kFailureBox), 1);
  EXPECT_EQ(folder.bytes("KLVR952.KDM"), std::vector<std::uint8_t>{9});
  EXPECT_EQ(recipeCost(p), 0);
}

}  // namespace
}  // namespace kv::testing
