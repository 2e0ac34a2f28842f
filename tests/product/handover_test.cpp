// The main window hands over to the operations window (hidden, files kept) and to the service window
// (unloaded, files closed), and both bring it back on the record and tab that were current.
#include "window_fixture.h"

#include "common/files.h"

namespace kv::testing {
namespace {

class HandoverTest : public WindowTest {
 protected:
  void SetUp() override {
    {
      Company c;
      c.addAll({{"U1", "Bir", 1}, {"P1", "İki", 2}, {"P2", "Üç", 2}});
    }
    KALVOR3.CurrentRecordNumber = 3;
    mainWindowState.CurrentTab = 2;
    openMain();
    ASSERT_EQ(text("bilKod"), "P2");
  }
  void expectMainBackOnP2() {
    ASSERT_EQ(ui.visible()->Name(), "frmKalvor");
    EXPECT_EQ(tab(), 2);
    EXPECT_EQ(text("bilKod"), "P2");
    EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 3 / 3");
  }
};

TEST_F(HandoverTest, F6GoesToTheOperationsWindowAndItsExitComesBack) {
  ui.focus("bilKod");
  ui.key(ui::Key::F6);
  ASSERT_EQ(ui.visible()->Name(), "frmIslemler");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  İŞLEMLER");
  // The main window is only hidden, but lets its files go while the operations window may replace them.
  EXPECT_TRUE(ui::forms().isLoaded("frmKalvor"));
  EXPECT_FALSE(fileIsOpen("KLVR952.DAT"));
  EXPECT_FALSE(fileIsOpen("KLVR952.ABC"));
  int beeps = ui.beeps();
  ui.key(ui::Key::Escape);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_FALSE(ui::forms().isLoaded("frmIslemler"));
  expectMainBackOnP2();

  ui.click("cmdIslemler");
  ui.click("cmdExit");
  expectMainBackOnP2();
}

TEST_F(HandoverTest, TheOperationsKeyListNamesItsKeys) {
  ui.click("cmdIslemler");
  ui.key(ui::Key::F10);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0],
            "|F1 = Tarih Değiştirme...\rF2 = Kayıtları koda göre sıralama...\rF3 = Kayıtları ada göre sıralama...\r"
            "F4 = Döviz işlemleri...\r\rF10 = Tuş Yardımı...\r\rESC = Çıkış...");
}

TEST_F(HandoverTest, F11GoesToTheServiceWindowWithTheFilesClosedAndComesBack) {
  ui.focus("bilKod");
  ui.key(ui::Key::F11);
  ASSERT_EQ(ui.visible()->Name(), "frmServis");
  EXPECT_FALSE(ui::forms().isLoaded("frmKalvor"));
  EXPECT_EQ(text("bilPointer"), "3");
  EXPECT_EQ(text("bilSimdikiKod"), "P2");
  EXPECT_EQ(text("bilSimdikiAd"), "Üç");
  EXPECT_EQ(text("bilOncekiKod"), "P1");
  EXPECT_EQ(text("bilSonrakiKod"), "U1");
  EXPECT_EQ(text("bilKatsayi"), "2");
  // Only the service window's own handles are open on the company's files.
  int open = 0;
  for (int n = 1; n < 20; ++n) open += isOpen(n);
  EXPECT_EQ(open, 2);
  ui.key(ui::Key::Escape);
  expectMainBackOnP2();
  EXPECT_FALSE(ui::forms().isLoaded("frmServis"));
}

TEST_F(HandoverTest, TheServiceCommandRefusesWithoutACurrentRecord) {
  ui.chooseTab("TabStrip1", 5);  // no record of this kind: the window is blank, current record 0
  ASSERT_EQ(KALVOR3.CurrentRecordNumber, 0);
  int beeps = ui.beeps();
  ui.click("cmdServis");
  EXPECT_EQ(ui.visible()->Name(), "frmKalvor");
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(ui.focused(), "bilKod");
}

}  // namespace
}  // namespace kv::testing
