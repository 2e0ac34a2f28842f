// The refresh of every product's recipe cost from the analysis window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/files.h"
#include "costing_fixture.h"
#include "recipe/cost_refresh.h"

namespace kv::testing {
namespace {

// The stages of the run, written into the transcript.
class StageLog : public CostRefreshReport {
 public:
  explicit StageLog(Transcript& t) : t_(t) {}
  void started() override { t_.events.push_back("started"); }
  void costing(std::int16_t record) override { t_.events.push_back("costing " + std::to_string(record)); }
  void finished() override { t_.events.push_back("finished"); }

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

  RefreshAllRecipeCosts(products, recipeDate, stages, said, said);

  EXPECT_EQ(recipeCost(p), 6);
  EXPECT_EQ(recipeCost(gone), 4);
  EXPECT_EQ(company.record(p).RecipeDate.view(), "03.02.2025");
  EXPECT_EQ(nextFreeFileNumber(), freeNumber);
  const std::vector<std::string> costed = {"title: Kademe işlemleri başladı...", "title:  KALVOR 952 Uyarlama 3.0 BETA",
                                           "title: İlgili reçete maliyetleri hesaplanıyor...", "beep",
                                           "title:  KALVOR 952 Uyarlama 3.0  BETA"};
  std::vector<std::string> want = {"started", "title: Kayıt 1 yenilemeye hazırlanıyor...", "costing 1"};
  want.insert(want.end(), costed.begin(), costed.end());
  // A has no recipe: its one beep.
  for (const char* s : {"title: Kayıt 2 yenilemeye hazırlanıyor...", "costing 2", "beep",
                        "title: Kayıt 3 yenilemeye hazırlanıyor...", "costing 3"})
    want.push_back(s);
  want.insert(want.end(), costed.begin(), costed.end());
  want.push_back("finished");
  EXPECT_EQ(said.events, want);
}

// A contains B and B contains A: each product meets itself inside the other, told once for the refresh.
TEST_F(Refresh, RecipesInsideEachOtherAreToldOnce) {
  company.addAll({{"A"}, {"B"}});
  recipes.define(1, {{"B", 2, 0}});
  recipes.define(2, {{"A", 3, 5}});
  StageLog stages(said);
  RefreshAllRecipeCosts(products, recipeDate, stages, said, said);
  EXPECT_EQ(said.count("box: Kademe hatası oluştu! (Kademe Sayısı > 20) | ! HATA !"), 1);
  EXPECT_EQ(recipeCost(1), 2 * 3 * 5);  // B's line A costed as a leaf
}

TEST_F(Refresh, AnEmptyProductFileRunsNoStage) {
  StageLog stages(said);
  RefreshAllRecipeCosts(products, recipeDate, stages, said, said);
  EXPECT_TRUE(said.events.empty());
}

}  // namespace
}  // namespace kv::testing
