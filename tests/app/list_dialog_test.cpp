// The list dialog's options and keys, and its commands on an empty product file.
#include "app_fixture.h"

namespace kv::testing {
namespace {

const std::string kHighest = "ØØØØØØØØØØØØØØØØØØØØ";

class ListDialogTest : public AppTest {
 protected:
  void openDialog(const std::vector<Company::Spec>& specs) {
    openMainOn(specs, 1, 8);
    ui.key(ui::Key::F7);
    ASSERT_EQ(visibleName(), "frmDizgi");
  }
};

TEST_F(ListDialogTest, ItOpensWithTheCodeListOverTheWholeCodeRangeOnTheScreen) {
  openDialog({{"A1"}, {"B1"}, {"C1"}});
  EXPECT_TRUE(option("optKod"));
  EXPECT_TRUE(option("OptAlfabetik"));
  EXPECT_TRUE(option("OptEkran"));
  EXPECT_EQ(text("txtBirinci"), "");
  EXPECT_EQ(text("txtSonuncu"), kHighest);
  EXPECT_EQ(label("lblBirinci"), "İlk Kayıt : ");
  EXPECT_EQ(label("lblSonuncu"), "Son Kayıt : ");
  EXPECT_EQ(ui.focused(), "txtBirinci");
}

TEST_F(ListDialogTest, F5VisitsTheListKindsInItsOwnOrder) {
  openDialog({{"A1"}});
  const std::vector<std::pair<std::string, int>> visits = {
      {"OptSayim", 4}, {"OptFiyat", 3}, {"OptMaliyet", 2}, {"optKod", 1}};
  for (const auto& [button, kind] : visits) {
    ui.key(ui::Key::F5);
    EXPECT_TRUE(option(button)) << button;
    EXPECT_EQ(KALVOR3.List.ListKind, kind);
  }
  ui.click("OptFiyat");
  EXPECT_EQ(KALVOR3.List.ListKind, 3);
}

TEST_F(ListDialogTest, F4SwitchesTheOrderAndResetsTheRange) {
  openDialog({{"A1"}, {"B1"}, {"C1"}});
  ui.type("B");
  ui.key(ui::Key::F4);
  EXPECT_TRUE(option("OptKayitsal"));
  EXPECT_EQ(text("txtBirinci"), "1");
  EXPECT_EQ(text("txtSonuncu"), "3");
  ui.key(ui::Key::F4);
  EXPECT_TRUE(option("OptAlfabetik"));
  EXPECT_EQ(text("txtBirinci"), "");
  EXPECT_EQ(text("txtSonuncu"), kHighest);
  ui.key(ui::Key::F3);
  EXPECT_TRUE(option("OptYazici"));
  ui.key(ui::Key::F3);
  EXPECT_TRUE(option("OptEkran"));
}

TEST_F(ListDialogTest, ArrowsEnterHomeAndEndMoveBetweenTheBoxesAndEAcuteTypesTheHighestCharacter) {
  openDialog({{"A1"}});
  ui.type("aé");
  EXPECT_EQ(text("txtBirinci"), "aØ");
  ui.key(ui::Key::Enter);
  EXPECT_EQ(ui.focused(), "txtSonuncu");
  box("txtSonuncu").Text = "";
  ui.type("é");
  EXPECT_EQ(text("txtSonuncu"), "Ø");
  ui.key(ui::Key::Up);
  EXPECT_EQ(ui.focused(), "txtBirinci");
  ui.key(ui::Key::Down);
  EXPECT_EQ(ui.focused(), "txtSonuncu");
  ui.key(ui::Key::Down);
  EXPECT_EQ(ui.focused(), "txtBirinci");
  ui.key(ui::Key::End);
  EXPECT_EQ(ui.focused(), "txtSonuncu");
  ui.key(ui::Key::Home);
  EXPECT_EQ(ui.focused(), "txtBirinci");
  ui.key(ui::Key::Enter);
  ui.key(ui::Key::Enter);
  EXPECT_EQ(ui.focused(), "cmdPrint");
  ui.focus("cmdVazgec");
  ui.key(ui::Key::End);
  EXPECT_EQ(ui.focused(), "txtSonuncu");
}

TEST_F(ListDialogTest, AFunctionKeyOnAnOptionButtonDoesNothing) {
  openDialog({{"A1"}});
  ui.focus("OptMaliyet");
  for (int key : {ui::Key::F3, ui::Key::F4, ui::Key::F5, ui::Key::F10, ui::Key::F1})
    ui.keyDown(key);
  EXPECT_TRUE(option("optKod"));
  EXPECT_TRUE(option("OptAlfabetik"));
  EXPECT_TRUE(option("OptEkran"));
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(visibleName(), "frmDizgi");
}

TEST_F(ListDialogTest, F10ShowsTheKeyList) {
  openDialog({{"A1"}});
  ui.key(ui::Key::F10);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0],
            "KALVOR 952 Uyarlama 3.0  LİSTE|F1 = Yazdır...\rF2 = Filtre...\rF3 = Ekran / Yazıcı Seçimi...\r"
            "F4 = Alfabetik / Kayıtsal Seçimi...\rF5 = Liste Seçimi...\rF10 = Tuş yardımı...\r"
            "HOME= Başlangıç kodu alanına geçiş...\rEND = Bitiş kodu alanına geçiş...\rESC = Vazgeç... ( Çıkış... )");
  EXPECT_EQ(visibleName(), "frmDizgi");
}

TEST_F(ListDialogTest, OnAnEmptyProductFileFiltreAndYazdirReturnToTheMainWindow) {
  openMain();
  const std::vector<std::pair<int, std::string>> commands = {
      {ui::Key::F2, "KALVOR 952 Uyarlama 3.0  LİSTE|Listelenecek kayıt olmadığından\rfiltre işlemi iptal edildi!..."},
      {ui::Key::F1, "KALVOR 952 Uyarlama 3.0  LİSTE|Yazdırılacak kayıt olmadığından\ryazma işlemi iptal edildi!..."}};
  for (const auto& [key, message] : commands) {
    ui.clearShown();
    ui.key(ui::Key::F7);
    ASSERT_EQ(visibleName(), "frmDizgi");
    ui.key(key);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], message);
    EXPECT_EQ(visibleName(), "frmKalvor");
    EXPECT_FALSE(loaded("frmDizgi"));
    EXPECT_FALSE(fileExists("KLVR952.LST"));
    EXPECT_EQ(openHandles(), 2);
  }
}

}  // namespace
}  // namespace kv::testing
