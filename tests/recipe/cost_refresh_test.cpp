// The refresh of every product's recipe cost from the analysis window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/files.h"
#include "costing_fixture.h"
#include "recipe/cost_refresh.h"

namespace kv::testing {
namespace {

// The analysis window as the refresh sees it; its calls are written into the transcript.
class FakeAnalysisWindow : public CostRefreshWindow {
 public:
  explicit FakeAnalysisWindow(Transcript& t, std::int16_t current) : t_(t), current_(current) {}
  std::int16_t currentRecord() const override { return current_; }
  void setCurrentRecord(std::int16_t record) override {
    current_ = record;
    t_.events.push_back("current " + std::to_string(record));
  }
  void showProduct() override { t_.events.push_back("show"); }
  void enableCostCommand(bool enabled) override { t_.events.push_back(enabled ? "enable" : "disable"); }

 private:
  Transcript& t_;
  std::int16_t current_;
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
  FakeAnalysisWindow window(said, 2);
  const int freeNumber = nextFreeFileNumber();

  RefreshAllRecipeCosts(window, products, company.name(), recipeDate, said, said);

  EXPECT_EQ(recipeCost(p), 6);
  EXPECT_EQ(recipeCost(gone), 4);
  EXPECT_EQ(company.record(p).RecipeDate.view(), "03.02.2025");
  EXPECT_EQ(nextFreeFileNumber(), freeNumber);
  const std::vector<std::string> costed = {"title: Kademe işlemleri başladı...", "title:  KALVOR 952 Uyarlama 3.0 BETA",
                                           "title: İlgili reçete maliyetleri hesaplanıyor...", "beep",
                                           "title:  KALVOR 952 Uyarlama 3.0  BETA"};
  std::vector<std::string> want = {"disable", "title: Kayıt 1 yenilemeye hazırlanıyor...", "current 1",
                                   "show"};
  want.insert(want.end(), costed.begin(), costed.end());
  // A has no recipe: its one beep.
  for (const char* s : {"title: Kayıt 2 yenilemeye hazırlanıyor...", "current 2", "show", "beep",
                        "title: Kayıt 3 yenilemeye hazırlanıyor...", "current 3", "show"})
    want.push_back(s);
  want.insert(want.end(), costed.begin(), costed.end());
  for (const char* s : {"enable", "current 2", "show"}) want.push_back(s);
  EXPECT_EQ(said.events, want);
}

// A contains B and B contains A: each product meets itself inside the other, told once for the refresh.
TEST_F(Refresh, RecipesInsideEachOtherAreToldOnce) {
  company.addAll({{"A"}, {"B"}});
  recipes.define(1, {{"B", 2, 0}});
  recipes.define(2, {{"A", 3, 5}});
  FakeAnalysisWindow window(said, 1);
  RefreshAllRecipeCosts(window, products, company.name(), recipeDate, said, said);
  EXPECT_EQ(said.count("box: Kademe hatası oluştu! (Kademe Sayısı > 20) | ! HATA !"), 1);
  EXPECT_EQ(recipeCost(1), 2 * 3 * 5);  // B's line A costed as a leaf
}

TEST_F(Refresh, AnEmptyProductFileOnlyShowsTheRecordAgain) {
  FakeAnalysisWindow window(said, 5);
  RefreshAllRecipeCosts(window, products, company.name(), recipeDate, said, said);
  EXPECT_EQ(said.events, (std::vector<std::string>{"current 5", "show"}));
}

}  // namespace
}  // namespace kv::testing
