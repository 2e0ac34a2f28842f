// The analysis window's commands: the search by code, the cost roll-up shown in the window, the jobs the
// recipe service leaves, and the commands that follow the recipe file.
#include <cerrno>
#include <filesystem>
#include <tuple>

#include "app_fixture.h"
#include "base/numbers.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

using testing::FailOn;

class AnalysisCommandsTest : public AppTest {
 protected:
  void openOn(int current) {
    openAnalysisOn(current, Date::fromYmd(2025, 2, 3));
    ui.clearShown();
  }
  // F1, the code, Enter.
  void search(std::string_view codeUtf8) {
    ui.key(ui::Key::F1);
    ui.type(codeUtf8);
    ui.key(ui::Key::Enter);
  }
};

TEST_F(AnalysisCommandsTest, TheSearchFindsTheFirstLiveCodeBeginningWithTheTextInEitherCase) {
  {
    Company c;
    c.addAll({{"B1"}, {"kasnak"}, {"KAPAK", "", -1}, {"KAYIŞ"}, {"ince"}, {"İNCE"}, {"Z1"}});
  }
  openOn(1);
  struct Case {
    const char* typed;
    const char* shown;
  };
  // Upper-case bucket first; a deleted record never counts; Turkish casing: "i" is looked for as "İ".
  for (const Case& k : {Case{"ka", "KAYIŞ"}, Case{"kas", "kasnak"}, Case{"i", "İNCE"}, Case{"INC", "Z1"}}) {
    SCOPED_TRACE(k.typed);
    search(k.typed);
    EXPECT_EQ(text("txtKod"), k.shown);
  }
  // "INC" looks in the buckets of "I" and "ı", neither of which holds a record: the message, then the last
  // record of the file, where a walk that found no bucket leaves the search.
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "KALVOR 952 Uyarlama 3.0|Aranan kayıt bulunamadı!...");
  EXPECT_EQ(caption(), " KALVOR 952  Kayıt : 7 / 7");
  // F1 with nothing typed ends the search and shows the product again.
  ui.key(ui::Key::Home);
  ui.key(ui::Key::F1);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA [ Kayıt Arama ]");
  EXPECT_EQ(text("txtKod"), "");
  ui.key(ui::Key::F1);
  EXPECT_EQ(text("txtKod"), "B1");
}

TEST_F(AnalysisCommandsTest, F5CostsTheShownProductThroughThreeLevelsAndShowsTheCostAndItsDate) {
  std::int16_t p = 0;
  {
    Company c;
    p = c.add("P");
    const std::int16_t a = c.add("A", "", 3);
    const std::int16_t x = c.add("X", "", 3);
    c.addAll({{"Y", "", 4}, {"Q", "", 4}});
    RecipeFile recipes(c);
    recipes.define(p, {{"A", 0.2f, 0}, {"Y", 1.5f, 0.7f}});
    recipes.define(a, {{"X", 0.25f, 0}, {"Y", 3, 1.7f}});
    recipes.define(x, {{"Q", 0.5f, 2.25f}});
  }
  openOn(p);
  ui.key(ui::Key::F5);

  const float q = 0.5f * 2.25f, xCost = q, aCost = static_cast<float>(0.25 * xCost + static_cast<float>(3 * 1.7f));
  const float want = static_cast<float>(static_cast<float>(0.2 * aCost) + static_cast<float>(1.5 * 0.7f));
  Company c;
  EXPECT_FLOAT_EQ(c.record(p).RecipeCost, want);
  EXPECT_EQ(c.record(p).RecipeDate.view(), "03.02.2025");
  EXPECT_EQ(readLevelFile(folder).size(), 5u);
  EXPECT_EQ(label("lblMaliyet"), toUtf8(currencyText(c.record(p).RecipeCost)));
  EXPECT_EQ(label("lblMalTar"), "3 Şubat 2025");
  EXPECT_EQ(caption(), " KALVOR 952  Kayıt : 1 / 5");
  EXPECT_TRUE(enabled("cmdHesap"));
  EXPECT_TRUE(messages().empty());
}

TEST_F(AnalysisCommandsTest, CostingAndReportsFollowTheRecipeFileUnderItsExactName) {
  {
    Company c;
    c.add("A1");
  }
  folder.write("klvr952.rec", {});
  openOn(1);
  EXPECT_FALSE(enabled("cmdHesap"));
  EXPECT_FALSE(enabled("cmdPrint"));
  // F4 to the report dialog and back: the activation looks again.
  std::filesystem::rename(folder.path() / "klvr952.rec", folder.path() / "KLVR952.REC");
  ui.key(ui::Key::F4);
  ASSERT_EQ(visibleName(), "frmRDizgi");
  EXPECT_EQ(caption(), " Kalvor Kodu= A1                  ");
  ui.key(ui::Key::Escape);
  ASSERT_EQ(visibleName(), "frmAnaliz");
  EXPECT_TRUE(enabled("cmdHesap"));
  EXPECT_TRUE(enabled("cmdPrint"));
}

TEST_F(AnalysisCommandsTest, TheRecipeServicesJobsRunOnYesAndAreDroppedOnNo) {
  std::int16_t p = 0;
  {
    Company c;
    p = c.add("P");
    c.add("A");
    RecipeFile recipes(c);
    recipes.define(p, {{"A", 2, 3}});
  }
  openOn(1);
  auto comeBackWith = [&](RecipeServiceJob request, MsgAnswer answer) {
    ui.clearShown();
    ui.key(ui::Key::F6);
    EXPECT_EQ(visibleName(), "frmRServis");
    if (request != RecipeServiceJob::RecipeDateChanged) ui.answer(answer);
    ui.app().run([&] {
      ui::forms().unload("frmRServis");
      KALVOR3.ServiceRequest = request;
      ui::forms().show("frmAnaliz");
    });
    EXPECT_EQ(KALVOR3.ServiceRequest, RecipeServiceJob::None);
    EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 ANALİZ");
  };
  comeBackWith(RecipeServiceJob::RecipeDateChanged, MsgAnswer::Yes);  // the date: nothing to ask
  EXPECT_TRUE(messages().empty());
  comeBackWith(RecipeServiceJob::RefreshRecipeCosts, MsgAnswer::No);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "Reçete Maliyetlerinin Yenilenmesi|Ana dosyanın reçetesi olan tüm kayıtlarının reçete "
                           "maliyetleri yenilenecek...\r\rİşlem uzun sürebilir...\r\rDevam etmek istiyormusunuz?...");
  EXPECT_EQ(Company().record(p).RecipeCost, 0);
  comeBackWith(RecipeServiceJob::RefreshRecipeCosts, MsgAnswer::Yes);
  EXPECT_EQ(Company().record(p).RecipeCost, 6);
  EXPECT_EQ(text("txtKod"), "P");  // the record shown before
  // The rebuilds: the question, then the count of the new store (a missing ".LTD" is told).
  for (auto [request, title, said] :
       {std::tuple{RecipeServiceJob::RebuildRecipes, "KLVR952.REC Yenileme", " KALVOR 952 Uyarlama 3.0|1 kayıt reçete tanım dosyasına kayıtlandı..."},
        std::tuple{RecipeServiceJob::RebuildListDefinitions, "KLVR952.LTD Yenileme", "! DOSYA HATASI !|KLVR952.LTD dosyası bulunamadı!..."}}) {
    comeBackWith(request, MsgAnswer::No);
    EXPECT_EQ(messages().back().substr(0, messages().back().find('|')), title);
    comeBackWith(request, MsgAnswer::Yes);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], said);
  }
  EXPECT_TRUE(fileExists("952KLVR.REC"));
  // ESC in the service leaves no job.
  ui.key(ui::Key::F6);
  ui.key(ui::Key::Escape);
  EXPECT_EQ(visibleName(), "frmAnaliz");
  EXPECT_EQ(KALVOR3.ServiceRequest, RecipeServiceJob::None);
}

// A refresh whose commit fails: the file is told once, every cost stays, and the window takes back its
// record and its cost command.
TEST_F(AnalysisCommandsTest, ARefreshWhoseFileFailsIsToldOnceAndGivesTheWindowBack) {
  {
    Company c;
    c.addAll({{"P"}, {"Q"}, {"A"}});
    RecipeFile recipes(c);
    recipes.define(1, {{"A", 2, 3}});
    recipes.define(2, {{"A", 1, 4}});
  }
  openOn(2);
  ui.key(ui::Key::F6);
  ui.answer(MsgAnswer::Yes);
  {
    FailOn full(FileOp::Write, "KLVR952.DAT", ENOSPC);
    ui.app().run([&] {
      ui::forms().unload("frmRServis");
      KALVOR3.ServiceRequest = RecipeServiceJob::RefreshRecipeCosts;
      ui::forms().show("frmAnaliz");
    });
  }
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_EQ(messages()[1].substr(0, messages()[1].find('|')), "! DOSYA HATASI !");
  EXPECT_NE(messages()[1].find("\"KLVR952.DAT\" "), std::string::npos) << messages()[1];
  EXPECT_EQ(Company().record(1).RecipeCost, 0);
  EXPECT_EQ(Company().record(2).RecipeCost, 0);
  EXPECT_EQ(text("txtKod"), "Q");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 ANALİZ");
  EXPECT_TRUE(enabled("cmdHesap"));
}

TEST_F(AnalysisCommandsTest, F2AndF3OpenTheEditorOnAWorkingCopyThatGoesBackAsAFreshChain) {
  std::int16_t p = 0;
  {
    Company c;
    p = c.add("P", "Pompa");
    c.addAll({{"A"}, {"B"}});
    RecipeFile recipes(c);
    recipes.padTo(3);  // erased lines before the chain
    recipes.define(p, {{"A", 2, 3}, {"B", 1, 4}});
  }
  openOn(p);
  // An edited code box names no product: nothing opens.
  box("txtKod").Text = "X";
  ui.key(ui::Key::F2);
  EXPECT_EQ(visibleName(), "frmAnaliz");
  ui.clickForm();
  ui.key(ui::Key::F2);
  ASSERT_EQ(visibleName(), "frmRecete");
  EXPECT_EQ(label("LblAnaKod"), "P");
  EXPECT_EQ(label("LblAnaAd"), "Pompa");
  EXPECT_EQ(folder.bytes("KLVR952.RCT").size(), 2u * RecipeRecord::Length);
  EXPECT_EQ(KALVOR3.Job.OwnerCode, "P");
  ui.key(ui::Key::Escape);
  ASSERT_EQ(visibleName(), "frmAnaliz");
  // The chain is where it was, head first, the product pointing at it.
  Company c;
  RecipeFile recipes(c);
  EXPECT_EQ(c.record(p).RecipeNumber, 4);
  EXPECT_EQ(recipes.line(4).NextLine, 5);
  EXPECT_EQ(recipes.line(5).NextLine, 0);
  EXPECT_EQ(recipes.line(5).Sequence, 2);
  recipes.close();
  c.close();
  // No list definition: the editor starts empty, and leaving it leaves no empty file behind.
  ui.key(ui::Key::F3);
  ASSERT_EQ(visibleName(), "frmRecete");
  ui.key(ui::Key::Escape);
  EXPECT_FALSE(fileExists("KLVR952.LTD"));
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(openHandles(), 2);
}

}  // namespace
}  // namespace kv::testing
