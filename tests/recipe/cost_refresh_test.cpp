// The refresh of every product's recipe cost from the analysis window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <algorithm>
#include <cerrno>

#include "costing_fixture.h"
#include "files/files.h"
#include "recipe/cost_refresh.h"
#include "recipe/recipe_titles.h"
#include "support/file_faults.h"

namespace kv::testing {
namespace {

using testing::FailOn;

// The stages of the run, written into the transcript.
class StageLog : public CostRefreshReport {
 public:
  explicit StageLog(Transcript& t) : t_(t) {}
  void started() override { t_.events.push_back("started"); }
  void costing(std::int16_t record) override { t_.events.push_back("costing " + std::to_string(record)); }
  void ended() override { t_.events.push_back("ended"); }

 private:
  Transcript& t_;
};

class Refresh : public Costing {};

TEST_F(Refresh, EveryRecordIsCostedInTurnDeletedOrNot) {
  std::int16_t p = company.add("P");
  company.add("A");
  std::int16_t gone = company.add("GONE");
  recipes.define(p, {{"A", 2, 3}});
  recipes.define(gone, {{"A", 1, 4}});
  ProductRecord r = company.record(gone);
  r.Kind = -1;
  company.write(gone, r);
  StageLog stages(said);
  const int freeNumber = nextFreeFileNumber();

  AnalysisLevelTitles builds(said, said);
  RefreshAllRecipeCosts(products, recipeDate, stages, builds, said);

  EXPECT_EQ(recipeCost(p), 6);
  EXPECT_EQ(recipeCost(gone), 4);
  EXPECT_EQ(company.record(p).RecipeDate.view(), "03.02.2025");
  EXPECT_EQ(nextFreeFileNumber(), freeNumber);
  const std::vector<std::string> costed = {"title: Kademe işlemleri başladı...", "title:  KALVOR 952 Uyarlama 3.0 BETA",
                                           "title: İlgili reçete maliyetleri hesaplanıyor...", "beep",
                                           "title:  KALVOR 952 Uyarlama 3.0  BETA"};
  std::vector<std::string> want = {"started", "costing 1"};
  want.insert(want.end(), costed.begin(), costed.end());
  // A has no recipe: its one beep.
  for (const char* s : {"costing 2", "beep", "costing 3"})
    want.push_back(s);
  want.insert(want.end(), costed.begin(), costed.end());
  want.push_back("ended");
  EXPECT_EQ(said.events, want);
}

// A contains B and B contains A: each product meets itself inside the other, told once for the refresh.
TEST_F(Refresh, RecipesInsideEachOtherAreToldOnce) {
  company.addAll({{"A"}, {"B"}});
  recipes.define(1, {{"B", 2, 0}});
  recipes.define(2, {{"A", 3, 5}});
  StageLog stages(said);
  AnalysisLevelTitles builds(said, said);
  RefreshAllRecipeCosts(products, recipeDate, stages, builds, said);
  EXPECT_EQ(said.count("box: Kademe hatası oluştu! (Kademe Sayısı > 20) | ! HATA !"), 1);
  EXPECT_EQ(recipeCost(1), 2 * 3 * 5);  // B's line A costed as a leaf
}

// A file that fails anywhere in the refresh, in a product's build (a disk that stays full) or in the
// commit, ends it: every cost stays as it was, the file is returned untold, and the run's end is reported.
TEST_F(Refresh, AFileThatFailsLeavesEveryCostAsItWasAndEndsTheRun) {
  company.addAll({{"A"}, {"B"}, {"C"}, {"X"}});
  for (std::int16_t p = 1; p <= 3; ++p) recipes.define(p, {{"X", 1, 2.5f * p}});
  int levelWrites = 0;
  {
    FailOn counted(FileOp::Write, "KLVR952.KDM", EIO, 1000000);
    StageLog stages(said);
    LevelBuildReport builds;
    ASSERT_FALSE(RefreshAllRecipeCosts(products, recipeDate, stages, builds, said));
    levelWrites = counted.calls();
  }
  for (std::int16_t p = 1; p <= 3; ++p) ASSERT_EQ(recipeCost(p), 2.5f * p);
  for (std::int16_t p = 1; p <= 3; ++p) recipes.define(p, {{"X", 2, 1}});  // every cost would change
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  struct Case {
    FileOp op;
    const char* file;
    int error;
    int first;
  };
  for (const Case c : {Case{FileOp::Write, "KLVR952.KDM", ENOSPC, levelWrites / 2 + 1},
                       Case{FileOp::Write, "KLVR952.DAT", EIO, 1}}) {
    SCOPED_TRACE(c.file);
    said.events.clear();
    StageLog stages(said);
    std::optional<FileError> failure;
    {
      FailOn fault(c.op, c.file, c.error, c.first);
      LevelBuildReport builds;
      failure = RefreshAllRecipeCosts(products, recipeDate, stages, builds, said);
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->fileName(), c.file);
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
    for (std::int16_t p = 1; p <= 3; ++p) EXPECT_EQ(recipeCost(p), 2.5f * p);
    EXPECT_EQ(said.count("box"), 0);
    EXPECT_EQ(said.events.front(), "started");
    EXPECT_EQ(said.events.back(), "ended");
    EXPECT_EQ(std::count(said.events.begin(), said.events.end(), "ended"), 1);
  }
}

TEST_F(Refresh, AnEmptyProductFileRunsNoStage) {
  StageLog stages(said);
  LevelBuildReport builds;
  EXPECT_FALSE(RefreshAllRecipeCosts(products, recipeDate, stages, builds, said));
  EXPECT_TRUE(said.events.empty());
}

}  // namespace
}  // namespace kv::testing
