// The level build of the analysis window on sound recipes: the level file and the product record it
// writes, byte for byte, and what the window is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "costing_fixture.h"
#include "files/files.h"

namespace kv::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::vector<std::string> kFullRun = {
    "title: Kademe işlemleri başladı...", "title:  KALVOR 952 Uyarlama 3.0 BETA",
    "title: İlgili reçete maliyetleri hesaplanıyor...", "beep", "title:  KALVOR 952 Uyarlama 3.0  BETA"};

Bytes encoded(const LevelRecord& r) {
  Bytes b(LevelRecord::Length);
  r.encode(b.data());
  return b;
}

// Only the recipe cost and the recipe date (426..445) of a product record change.
void expectOnlyRecipeCostChanged(const Bytes& before, const Bytes& after) {
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (i % 512 < 426 || i % 512 >= 446) {
      ASSERT_EQ(before[i], after[i]) << "byte " << i;
    }
  }
}

class LevelBuild : public Costing {};

TEST_F(LevelBuild, ARecipeOfLeaves) {
  std::int16_t p = company.add("ÜRÜN-1", "Pompa", 1);
  std::int16_t steel = company.add("ÇELİK", "Çelik çubuk", 4);
  company.add("CIVATA", "M8 civata", 2);
  company.add("BOYA", "Boya", 4);
  ProductRecord s = company.record(steel);
  s.Unit = "Kg";
  company.write(steel, s);
  recipes.define(p, {{"ÇELİK", 2.5f, 1.1f}, {"CIVATA", 8, 0.35f}, {"BOYA", 0.1f, 12.3f}});
  const Bytes before = folder.bytes("KLVR952.DAT");

  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::Costed);

  Bytes kdm = folder.bytes("KLVR952.KDM");
  ASSERT_EQ(kdm.size(), 3u * 118);
  LevelRecord first;
  first.Code = "ÇELİK"_w;
  first.Name = "Çelik çubuk"_w;
  first.Unit = "Kg";
  first.TypeChar = "4";
  first.ParentCode = "ÜRÜN-1"_w;
  first.ParentRecord = p;
  first.LineType = 4;
  first.RecipeLine = 1;
  first.NextLine = 2;
  first.Level = 0;
  first.IndexInGroup = 1;
  first.ParentLevelRecord = 0;
  first.Quantity = 2.5f;
  first.UnitCost = 1.1f;
  first.Total = total(2.5f, 1.1f);
  EXPECT_EQ(Bytes(kdm.begin(), kdm.begin() + 118), encoded(first));

  std::vector<LevelRecord> l = levels();
  EXPECT_EQ(l[1].Code.view(), fitText("CIVATA", 20));
  EXPECT_EQ(l[1].TypeChar.view(), "2");
  EXPECT_EQ(l[1].IndexInGroup, 2);
  EXPECT_EQ(l[2].IndexInGroup, 3);
  EXPECT_EQ(l[2].RecipeLine, 3);
  EXPECT_EQ(l[2].NextLine, 0);
  for (const auto& line : l) {
    EXPECT_EQ(line.Level, 0);
    EXPECT_EQ(line.ParentLevelRecord, 0);
    EXPECT_EQ(line.UnitCost, recipes.line(line.RecipeLine).Cost);
  }

  const Bytes after = folder.bytes("KLVR952.DAT");
  expectOnlyRecipeCostChanged(before, after);
  ProductRecord r = company.record(p);
  EXPECT_EQ(r.RecipeCost, single(0.0 + total(2.5f, 1.1f) + total(8, 0.35f) + total(0.1f, 12.3f)));
  EXPECT_EQ(r.RecipeDate.view(), "03.02.2025");
  EXPECT_EQ(r.RecipeDay, 3);
  EXPECT_EQ(r.RecipeMonth, 2);
  EXPECT_EQ(r.RecipeYear, 2025);
  EXPECT_EQ(said.events, kFullRun);
}

TEST_F(LevelBuild, AComponentWithItsOwnRecipeCostsWhatItsLinesCost) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A", "", 3);
  company.add("X", "", 4);
  company.add("Y", "", 4);
  company.add("Z", "", 4);
  recipes.define(p, {{"A", 0.2f, 99}, {"Z", 1, 0.7f}});
  recipes.define(a, {{"X", 0.1f, 0.3f}, {"Y", 3, 1.7f}});
  recipeDate = Date::fromYmd(2009, 12, 25);

  EXPECT_EQ(cost(p).levelRecordCount, 4);

  std::vector<LevelRecord> l = levels();
  ASSERT_EQ(l.size(), 4u);
  const float x = total(0.1f, 0.3f), y = total(3, 1.7f);
  const float unit = single(static_cast<double>(x) + y);
  // A, then its lines one level down, then Z: depth first.
  EXPECT_EQ(l[0].Code.view(), fitText("A", 20));
  EXPECT_EQ(l[0].UnitCost, unit);
  EXPECT_EQ(l[0].Total, total(0.2f, unit));
  EXPECT_EQ(l[1].Code.view(), fitText("X", 20));
  EXPECT_EQ(l[1].Level, 1);
  EXPECT_EQ(l[1].IndexInGroup, 1);
  EXPECT_EQ(l[1].ParentLevelRecord, 1);
  EXPECT_EQ(l[1].ParentCode.view(), fitText("A", 20));
  EXPECT_EQ(l[1].ParentRecord, a);
  EXPECT_EQ(l[1].Total, x);  // the child lines keep their own cost
  EXPECT_EQ(l[2].IndexInGroup, 2);
  EXPECT_EQ(l[2].ParentLevelRecord, 1);
  EXPECT_EQ(l[3].Code.view(), fitText("Z", 20));
  EXPECT_EQ(l[3].Level, 0);
  EXPECT_EQ(l[3].IndexInGroup, 2);
  EXPECT_EQ(l[3].ParentRecord, p);

  ProductRecord r = company.record(p);
  EXPECT_EQ(r.RecipeCost, single(0.0 + total(0.2f, unit) + total(1, 0.7f)));
  EXPECT_EQ(r.RecipeDate.view(), "25.12.2009");
  EXPECT_EQ(company.record(a).RecipeCost, 0);  // only the active product is written
}

TEST_F(LevelBuild, AnErasedFirstLineGivesAnEmptyLevelFileAndNoCost) {
  std::int16_t p = company.add("P");
  company.add("A");
  std::int32_t head = recipes.define(p, {{"A", 1, 5}});
  RecipeRecord line = recipes.line(head);
  line.Deleted = "E";
  recipes.write(head, line);
  const Bytes before = folder.bytes("KLVR952.DAT");

  LevelBuildResult result = cost(p);

  EXPECT_EQ(result.outcome, LevelBuildOutcome::Empty);
  EXPECT_TRUE(fileExists("KLVR952.KDM"));
  EXPECT_TRUE(folder.bytes("KLVR952.KDM").empty());
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
  EXPECT_EQ(said.events, (std::vector<std::string>{"title: Kademe işlemleri başladı...",
                                                   "title:  KALVOR 952 Uyarlama 3.0 BETA", "beep",
                                                   "title:  KALVOR 952 Uyarlama 3.0  BETA"}));
}

TEST_F(LevelBuild, AnErasedLineEndsItsChainAndTheWalkGoesOnAbove) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.addAll({{"B"}, {"C"}, {"D"}, {"X"}, {"Y"}, {"Z"}});
  std::int32_t top = recipes.define(p, {{"A", 1, 0}, {"B", 2, 3}, {"C", 1, 1}, {"D", 1, 1}});
  std::int32_t sub = recipes.define(a, {{"X", 1, 4}, {"Y", 1, 1}, {"Z", 1, 1}});
  for (std::int32_t erased : {top + 2, sub + 1}) {
    RecipeRecord line = recipes.line(erased);
    line.Deleted = "E";
    recipes.write(erased, line);
  }

  cost(p);

  std::vector<std::string> codes;
  for (const auto& l : levels()) codes.push_back(trim(l.Code.view()));
  EXPECT_EQ(codes, (std::vector<std::string>{"A", "X", "B"}));
  EXPECT_EQ(recipeCost(p), single(0.0 + total(1, 4) + total(2, 3)));
}

TEST_F(LevelBuild, AStaleItemRecordIsFoundAgainByCodeAmongTheLiveProducts) {
  std::int16_t p = company.add("P");
  std::int16_t nut = company.add("SOMUN");
  std::int16_t deadScrew = company.add("VIDA");
  std::int16_t screw = company.add("VIDA");
  company.addAll({{"X"}, {"Y"}});
  recipes.define(nut, {{"X", 1, 1000}});
  recipes.define(deadScrew, {{"X", 1, 500}});
  recipes.define(screw, {{"Y", 2, 0.25f}});
  ProductRecord dead = company.record(deadScrew);
  dead.Kind = -1;
  company.write(deadScrew, dead);
  std::int32_t head = recipes.define(p, {{"VIDA", 3, 0}});
  RecipeRecord line = recipes.line(head);
  line.ItemRecord = nut;  // names a product with another code
  recipes.write(head, line);

  cost(p);

  std::vector<LevelRecord> l = levels();
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[1].ParentRecord, screw);
  EXPECT_EQ(l[1].Code.view(), fitText("Y", 20));
  EXPECT_EQ(recipeCost(p), total(3, total(2, 0.25f)));
  EXPECT_EQ(recipes.line(head).ItemRecord, nut);  // the line on disk is not corrected
}

TEST_F(LevelBuild, ALineWithoutItemRecordIsNeverExpanded) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.add("X");
  recipes.define(a, {{"X", 1, 1000}});
  std::int32_t head = recipes.define(p, {{"A", 2, 1.5f}, {"A", 1, 2}});
  RecipeRecord none = recipes.line(head), beyond = recipes.line(head + 1);
  none.ItemRecord = 0;
  beyond.ItemRecord = 4;  // past the product file
  recipes.write(head, none);
  recipes.write(head + 1, beyond);

  cost(p);

  EXPECT_EQ(levels().size(), 2u);
  EXPECT_EQ(recipeCost(p), single(0.0 + total(2, 1.5f) + total(1, 2)));
}

// L0 contains L1, L1 contains L2, ... L20 contains L21 and M21, which have recipes of their own.
TEST_F(LevelBuild, TwentyLevelsAreExpandedAndDeeperRecipesAreToldOncePerRun) {
  std::vector<std::int16_t> chain;
  for (int i = 0; i <= 21; ++i) chain.push_back(company.add(numbered("L", i)));
  std::int16_t m21 = company.add("M21");
  company.add("LEAF");
  for (int i = 0; i < 20; ++i) recipes.define(chain[i], {{numbered("L", i + 1), 1, 1000}});
  recipes.define(chain[20], {{"L21", 2, 0.5f}, {"M21", 3, 0.25f}});
  recipes.define(chain[21], {{"LEAF", 1, 1000}});
  recipes.define(m21, {{"LEAF", 1, 1000}});

  cost(chain[0]);

  std::vector<LevelRecord> l = levels();
  ASSERT_EQ(l.size(), 22u);
  EXPECT_EQ(l[19].Level, 19);
  EXPECT_EQ(l[20].Level, 20);
  EXPECT_EQ(l[21].Level, 20);
  EXPECT_EQ(l[21].Total, total(3, 0.25f));  // not expanded: its own cost
  EXPECT_EQ(recipeCost(chain[0]), single(static_cast<double>(total(2, 0.5f)) + total(3, 0.25f)));
  const std::string box = "box: Kademe hatası oluştu! (Kademe Sayısı > 20) | ! HATA !";
  std::vector<std::string> want = {"title: Kademe işlemleri başladı...", "beep", box};
  want.insert(want.end(), kFullRun.begin() + 1, kFullRun.end());
  EXPECT_EQ(said.events, want);
  EXPECT_EQ(said.icons, (std::vector<MsgIcon>{MsgIcon::Exclamation}));
}

TEST_F(LevelBuild, ADeletedActiveProductIsCostedLikeAnyOther) {
  std::int16_t p = company.add("P");
  company.add("A");
  recipes.define(p, {{"A", 4, 2.5f}});
  ProductRecord r = company.record(p);
  r.Kind = -1;
  company.write(p, r);

  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::Costed);
  EXPECT_EQ(recipeCost(p), 10);
}

TEST_F(LevelBuild, WithoutProductOrRecipeOneBeepAndNothingWritten) {
  std::int16_t p = company.add("P");
  std::int16_t bare = company.add("BARE");
  std::int16_t far = company.add("FAR");
  company.add("A");
  recipes.define(p, {{"A", 1, 1}});
  ProductRecord r = company.record(far);
  r.RecipeNumber = recipes.count() + 1;
  company.write(far, r);
  folder.write("KLVR952.KDM", {1, 2, 3});  // a level file of an earlier run stays as it is
  const Bytes before = folder.bytes("KLVR952.DAT");

  for (std::int16_t active : {bare, far, std::int16_t(0), std::int16_t(company.count() + 1)}) {
    said.events.clear();
    EXPECT_EQ(cost(active).outcome, LevelBuildOutcome::GuardFailed) << active;
    EXPECT_EQ(said.events, std::vector<std::string>{"beep"}) << active;
  }
  recipes.close();
  deleteFile("KLVR952.REC");
  said.events.clear();
  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::GuardFailed);
  EXPECT_EQ(said.events, std::vector<std::string>{"beep"});
  EXPECT_FALSE(fileExists("KLVR952.REC"));
  EXPECT_EQ(folder.bytes("KLVR952.KDM"), (Bytes{1, 2, 3}));
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
}

}  // namespace
}  // namespace kv::testing
