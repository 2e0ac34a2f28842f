// The main window hands over to the analysis window (F5), the list dialog (F7), the operations window
// (F6: hidden, files let go) and the service window (F11: unloaded, files closed), and gets back the record
// and kind tab that were current; no window keeps a handle on a file behind another one.
#include <functional>

#include "app_fixture.h"
#include "support/file_faults.h"

namespace kv::testing {
namespace {

const char* const kMainLoadTitle = " KALVOR 952 Uyarlama 3.0 BETA   [ KLVR952 ]";

class HandOverTest : public AppTest {
 protected:
  // Three products; the second "Parça" is current on the "Parça" tab.
  void openOnSecondPart() { openMainOn({{"U1", "Bir", 1}, {"P1", "İki", 2}, {"P2", "Üç", 2}}, 3, 2); }
  void expectMainOnSecondPart() {
    ASSERT_EQ(visibleName(), "frmKalvor");
    EXPECT_EQ(text("bilKod"), "P2");
    EXPECT_EQ(tab(), 2);
    EXPECT_EQ(mainWindow().RecordShown, 3);
    EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 3 / 3");
  }
};

TEST_F(HandOverTest, F5OpensTheAnalysisOnTheSameProductWithOnlyItsOwnFilesOpen) {
  openOnSecondPart();
  ASSERT_EQ(openHandles(), 2);
  ui.key(ui::Key::F5);

  ASSERT_EQ(visibleName(), "frmAnaliz");
  EXPECT_FALSE(loaded("frmKalvor"));
  // The main window closed its two handles before the analysis window opened its own two.
  EXPECT_EQ(openHandles(), 2);
  EXPECT_TRUE(fileIsOpen("KLVR952.DAT"));
  EXPECT_TRUE(fileIsOpen("KLVR952.ABC"));
  EXPECT_EQ(text("txtKod"), "P2");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 ANALİZ");
  EXPECT_EQ(KALVOR3.RecipeDate, KALVOR3.StaticDate);
  EXPECT_EQ(KALVOR3.ServiceRequest, RecipeServiceJob::None);
  EXPECT_EQ(ui.focused(), "txtKod");
}

// A window that cannot open its company's files tells it once and goes back to the start-up dialog, whose OK
// opens the company again: the analysis window as it loads, the main window back from the operations window
// and from the start-up dialog.
TEST_F(HandOverTest, AWindowThatCannotOpenItsFilesTellsItOnceAndGoesBackToTheStartUpDialog) {
  const auto ok = [&] { ui.click("cmdOK"); };
  const struct {
    const char* name;
    std::function<void()> to, go;  // `go` meets the fault
  } cases[] = {
      {"TheAnalysisWindow", ok, [&] { ui.key(ui::Key::F5); }},
      {"TheMainWindowBackFromTheOperations", ok,
       [&] {
         ui.key(ui::Key::F6);
         ui.key(ui::Key::Escape);
       }},
      {"TheMainWindowFromTheStartUpDialog", [] {}, ok},
  };
  {
    Company c;
    c.addAll({{"A", "Elma"}, {"B", "Armut"}});
  }
  ui.start("frmStart");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.to();
    ui.clearShown();
    {
      const FailOn refused(FileOp::Open, "KLVR952.DAT", EACCES);
      c.go();
    }
    EXPECT_EQ(messages(), std::vector<std::string>{"! DOSYA HATASI !|\"KLVR952.DAT\" dosyası açılamadı!...  "
                                                   "(Erişim izni yok)"});
    ASSERT_EQ(visibleName(), "frmStart");
    ui.key(ui::Key::Escape);  // nothing of the window that failed is left to answer
    EXPECT_EQ(messages().size(), 1u);
  }
  ok();
  EXPECT_EQ(visibleName(), "frmKalvor");
}

TEST_F(HandOverTest, EveryWayOutOfTheAnalysisReloadsTheMainWindowOnTheSameRecordAndTab) {
  openOnSecondPart();
  int loads = 1;
  const std::vector<std::pair<std::string, std::function<void()>>> exits = {
      {"ESC", [&] { ui.key(ui::Key::Escape); }},
      {"Çıkış", [&] { ui.click("cmdCikis"); }},
      {"close box", [&] { ui.closeBox(); }},
  };
  for (const auto& [how, leave] : exits) {
    SCOPED_TRACE(how);
    ui.key(ui::Key::F5);
    ASSERT_EQ(visibleName(), "frmAnaliz");
    // Stepping through the analysis window leaves the main window's record alone.
    ui.key(ui::Key::Home);
    EXPECT_EQ(text("txtKod"), "U1");
    leave();
    EXPECT_FALSE(loaded("frmAnaliz"));
    EXPECT_FALSE(ui.ended());
    expectMainOnSecondPart();
    EXPECT_EQ(titleCount("frmKalvor", kMainLoadTitle), ++loads);
    EXPECT_EQ(openHandles(), 2);
    EXPECT_TRUE(fileIsOpen("KLVR952.DAT"));
    EXPECT_TRUE(fileIsOpen("KLVR952.ABC"));
  }
}

TEST_F(HandOverTest, F7OpensTheListDialogBehindWhichTheMainWindowKeepsItsFiles) {
  {
    Company c;
    c.addAll({{"U1", "", 1}, {"P1", "", 2}, {"P2", "", 2}});
  }
  folder.write("KLVR952.LST", std::vector<std::uint8_t>(1024, 7));  // left over from an earlier run
  KALVOR3.CurrentRecordNumber = 3;
  mainKept().CurrentTab = 2;
  KALVOR3.List.ListReady = true;
  openMain();
  ui.key(ui::Key::F7);

  ASSERT_EQ(visibleName(), "frmDizgi");
  ASSERT_TRUE(loaded("frmKalvor"));
  EXPECT_FALSE(ui.form("frmKalvor").Visible());
  // The main window's product file and index, the dialog's own, and the list file, which it started afresh.
  EXPECT_EQ(openHandles(), 5);
  EXPECT_TRUE(fileIsOpen("KLVR952.LST"));
  EXPECT_EQ(folder.bytes("KLVR952.LST").size(), 0u);
  EXPECT_FALSE(KALVOR3.List.ListReady);
  EXPECT_EQ(KALVOR3.List.ListKind, 1);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  LİSTE");
  EXPECT_EQ(ui.focused(), "txtBirinci");
}

TEST_F(HandOverTest, EveryWayOutOfTheListDialogActivatesTheMainWindowAndLeavesNoListFile) {
  openOnSecondPart();
  const std::vector<std::pair<std::string, std::function<void()>>> exits = {
      {"Vazgeç", [&] { ui.click("cmdVazgec"); }},
      {"ESC", [&] { ui.key(ui::Key::Escape); }},
      {"ESC on a button", [&] {
         ui.focus("cmdFiltre");
         ui.key(ui::Key::Escape);
       }},
      {"close box", [&] { ui.closeBox(); }},
  };
  for (const auto& [how, leave] : exits) {
    SCOPED_TRACE(how);
    ui.key(ui::Key::F7);
    ASSERT_EQ(visibleName(), "frmDizgi");
    leave();
    EXPECT_FALSE(loaded("frmDizgi"));
    EXPECT_FALSE(ui.ended());
    expectMainOnSecondPart();
    // Only activated: the main window was not loaded again and kept its handles.
    EXPECT_EQ(titleCount("frmKalvor", kMainLoadTitle), 1);
    EXPECT_EQ(openHandles(), 2);
    EXPECT_FALSE(fileExists("KLVR952.LST"));
  }
}

TEST_F(HandOverTest, F6GoesToTheOperationsWindowAndItsExitComesBack) {
  openOnSecondPart();
  ui.focus("bilKod");
  ui.key(ui::Key::F6);
  ASSERT_EQ(visibleName(), "frmIslemler");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  İŞLEMLER");
  // The main window is only hidden, but lets its files go while the operations window may replace them.
  EXPECT_TRUE(loaded("frmKalvor"));
  EXPECT_FALSE(fileIsOpen("KLVR952.DAT"));
  EXPECT_FALSE(fileIsOpen("KLVR952.ABC"));
  int beeps = ui.beeps();
  ui.key(ui::Key::Escape);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_FALSE(loaded("frmIslemler"));
  expectMainOnSecondPart();

  ui.click("cmdIslemler");
  ui.click("cmdExit");
  expectMainOnSecondPart();
}

TEST_F(HandOverTest, TheOperationsKeyListNamesItsKeys) {
  openOnSecondPart();
  ui.click("cmdIslemler");
  ui.key(ui::Key::F10);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0],
            "|F1 = Tarih Değiştirme...\rF2 = Kayıtları koda göre sıralama...\rF3 = Kayıtları ada göre sıralama...\r"
            "F4 = Döviz işlemleri...\r\rF10 = Tuş Yardımı...\r\rESC = Çıkış...");
}

TEST_F(HandOverTest, F11GoesToTheServiceWindowWithTheFilesClosedAndComesBack) {
  openOnSecondPart();
  ui.focus("bilKod");
  ui.key(ui::Key::F11);
  ASSERT_EQ(visibleName(), "frmServis");
  EXPECT_FALSE(loaded("frmKalvor"));
  EXPECT_EQ(text("bilPointer"), "3");
  EXPECT_EQ(text("bilSimdikiKod"), "P2");
  EXPECT_EQ(text("bilSimdikiAd"), "Üç");
  EXPECT_EQ(text("bilOncekiKod"), "P1");
  EXPECT_EQ(text("bilSonrakiKod"), "U1");
  EXPECT_EQ(text("bilKatsayi"), "2");
  // Only the service window's own handles are open on the company's files.
  EXPECT_EQ(openHandles(), 2);
  ui.key(ui::Key::Escape);
  expectMainOnSecondPart();
  EXPECT_FALSE(loaded("frmServis"));
}

TEST_F(HandOverTest, TheServiceCommandRefusesWithoutACurrentRecord) {
  openOnSecondPart();
  ui.chooseTab("TabStrip1", 5);  // no record of this kind: the window is blank, current record 0
  ASSERT_EQ(mainWindow().RecordShown, 0);
  int beeps = ui.beeps();
  ui.click("cmdServis");
  EXPECT_EQ(visibleName(), "frmKalvor");
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(ui.focused(), "bilKod");
}

TEST_F(HandOverTest, FromTheAnalysisToTheListDialogAndBackNoHandleIsLeftBehind) {
  openOnSecondPart();
  for (int round = 0; round < 3; ++round) {
    ui.key(ui::Key::F5);
    ui.key(ui::Key::Escape);
    ui.key(ui::Key::F7);
    ui.click("cmdVazgec");
  }
  expectMainOnSecondPart();
  EXPECT_EQ(openHandles(), 2);
  EXPECT_TRUE(fileIsOpen("KLVR952.DAT"));
  EXPECT_TRUE(fileIsOpen("KLVR952.ABC"));
}

}  // namespace
}  // namespace kv::testing
