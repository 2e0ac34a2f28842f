// The three windows that run a level build: where their recipe lines come from, how a failure is told,
// and the level-file count they are given back.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "costing_fixture.h"
#include "files/files.h"

namespace kv::testing {
namespace {

const std::string kStart = "title: Kademe işlemleri başladı...";
const std::string kFailed = "title: Kademe işlemleri esnasında hata oluştu...";
const std::string kWalkEnd = "title:  KALVOR 952 Uyarlama 3.0 BETA";
const std::string kRollUp = "title: İlgili reçete maliyetleri hesaplanıyor...";
const std::string kFinal = "title:  KALVOR 952 Uyarlama 3.0  BETA";

class Callers : public Costing {
 protected:
  LevelBuildResult dialog(std::int16_t product) {
    LevelBuildPolicy goesOn = levelBuildFromRecipeFile();
    goesOn.failureGoesOn = true;
    LevelBuildTitles titles(said);
    return BuildLevelFile(input(product), goesOn, said, titles);
  }
  LevelBuildResult editor(std::int16_t product, std::int32_t storeCount) {
    LevelBuildTitles titles(said);
    return BuildLevelFile(input(product), levelBuildFromStore(recipes.file(), storeCount), said, titles);
  }
  // A build's outcome with the level-file count it gave back.
  using Ended = std::pair<LevelBuildOutcome, int>;
  static Ended ended(const LevelBuildResult& r) { return {r.outcome, r.levelRecordCount}; }
};

TEST_F(Callers, TheEditorReadsItsOwnStoreAndLeavesItOpen) {
  std::int16_t p = company.add("P");
  company.addAll({{"A"}, {"B"}});
  recipes.define(p, {{"A", 2, 1.5f}, {"B", 1, 100}});

  // The editor's count of its store is what bounds the lines: line 2 lies beyond it.
  EXPECT_EQ(ended(editor(p, 1)), Ended(LevelBuildOutcome::Costed, 1));
  EXPECT_EQ(recipeCost(p), 3);
  EXPECT_TRUE(recipes.file().isOpen());
  EXPECT_EQ(said.events, (std::vector<std::string>{kStart, kWalkEnd, kRollUp, "beep", kFinal}));
}

// The analysis window and the report dialog read the company's ".REC" only under its exact name.
TEST_F(Callers, TheRecipeFileIsReadOnlyUnderItsExactName) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.addAll({{"B"}, {"X"}});
  recipes.define(a, {{"X", 1, 2}});
  recipes.define(p, {{"A", 1, 0}, {"B", 1, 1}});
  recipes.close();
  std::filesystem::rename(folder.path() / "KLVR952.REC", folder.path() / "klvr952.rec");

  EXPECT_EQ(cost(p).outcome, LevelBuildOutcome::GuardFailed);
  EXPECT_EQ(dialog(p).outcome, LevelBuildOutcome::GuardFailed);

  std::filesystem::rename(folder.path() / "klvr952.rec", folder.path() / "KLVR952.REC");
  EXPECT_EQ(ended(dialog(p)), Ended(LevelBuildOutcome::Costed, 3));
  EXPECT_EQ(recipeCost(p), 3);
}

TEST_F(Callers, AFailedGuardLeavesNoCountOfAnEarlierTree) {
  std::int16_t p = company.add("P");
  std::int16_t bare = company.add("BARE");
  recipes.define(p, {{"BARE", 1, 1}});
  ProductRecord r = company.record(bare);
  r.RecipeNumber = 77;
  company.write(bare, r);

  for (const LevelBuildResult& result : {dialog(0), dialog(bare), editor(p, 0)})
    EXPECT_EQ(ended(result), Ended(LevelBuildOutcome::GuardFailed, 0));
  EXPECT_EQ(said.events, (std::vector<std::string>{"beep", "beep", "beep"}));
}

// A line whose total a Single cannot hold ends the walk. The dialog rolls the tree so far up; the editor,
// which would print it, ends there. Neither writes a cost, and both end with the failure in the title.
TEST_F(Callers, AFailureInTheWalkIsToldInTheTitleAndNoCostIsWritten) {
  std::int16_t p = company.add("P");
  company.addAll({{"A"}, {"X"}, {"B"}});
  recipes.define(p, {{"A", 1, 1}, {"X", 3e38f, 10}, {"B", 1, 1}});

  for (bool fromEditor : {false, true}) {
    said.events.clear();
    EXPECT_EQ(ended(fromEditor ? editor(p, recipes.count()) : dialog(p)),
              Ended(LevelBuildOutcome::Failed, fromEditor ? 0 : 1));
    EXPECT_EQ(levels().size(), 1u);
    EXPECT_EQ(recipeCost(p), 0);
    const std::vector<std::string> told =
        fromEditor ? std::vector<std::string>{kStart, kFailed}
                   : std::vector<std::string>{kStart, kFailed, kRollUp, "beep", kFailed};
    EXPECT_EQ(said.events, told);
  }
  EXPECT_TRUE(recipes.file().isOpen());
}

TEST_F(Callers, AFailureInTheRollUpIsToldInTheTitleAndNoCostIsWritten) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.addAll({{"X"}, {"Y"}});
  recipes.define(a, {{"X", 3e38f, 1}, {"Y", 3e38f, 1}});
  recipes.define(p, {{"A", 1, 0}});

  EXPECT_EQ(ended(dialog(p)), Ended(LevelBuildOutcome::Failed, 3));
  EXPECT_EQ(recipeCost(p), 0);
  EXPECT_EQ(said.events, (std::vector<std::string>{kStart, kWalkEnd, kRollUp, kFailed, "beep", kFailed}));

  said.events.clear();
  EXPECT_EQ(ended(editor(p, recipes.count())), Ended(LevelBuildOutcome::Failed, 0));
  EXPECT_EQ(recipeCost(p), 0);
  EXPECT_EQ(said.events, (std::vector<std::string>{kStart, kWalkEnd, kRollUp, kFailed}));
}

TEST_F(Callers, ALevelFileThatCannotBeMadeAnewCountsAsEmpty) {
  std::int16_t p = company.add("P");
  company.add("A");
  recipes.define(p, {{"A", 1, 1}});
  folder.write("KLVR952.KDM", std::vector<std::uint8_t>(118 * 2, 0));  // an earlier product's tree
  int held = nextFreeFileNumber();
  openRandom(held, "KLVR952.KDM", LevelRecord::Length);

  EXPECT_EQ(ended(dialog(p)), Ended(LevelBuildOutcome::Failed, 0));
  closeFile(held);
  EXPECT_EQ(said.events, (std::vector<std::string>{kStart, kFailed, "beep", kFailed}));
}

}  // namespace
}  // namespace kv::testing
