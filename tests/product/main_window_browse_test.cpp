// Browsing at the main window: first, previous, next and last record of the tab's kind, in record order
// and along the alphabetic chain, at the ends, on a damaged chain and during a new entry.
#include "main_window_fixture.h"

namespace kv::testing {
namespace {

class MainWindowBrowseTest : public MainWindowTest {
 protected:
  // The key, then the code shown and the beeps it made.
  std::pair<std::string, int> press(int key) {
    const int before = ui.beeps();
    ui.key(key);
    return {text("bilKod"), ui.beeps() - before};
  }
  using Shown = std::pair<std::string, int>;
};

TEST_F(MainWindowBrowseTest, RecordOrderStepsOverOtherKindsAndStopsAtTheEnds) {
  openOn({{"U1", "", 1}, {"P1", "", 2}, {"U2", "", 1}, {"U3", "", 1}, {"P2", "", 2}}, 1, 1);
  EXPECT_EQ(press(Key::PageUp), (Shown{"U1", 1}));
  EXPECT_FALSE(enabled("cmdOnceki"));
  EXPECT_EQ(press(Key::PageUp), (Shown{"U1", 0}));  // on a disabled button, nothing
  EXPECT_EQ(press(Key::Home), (Shown{"U1", 1}));
  EXPECT_EQ(press(Key::PageDown), (Shown{"U2", 0}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 3 / 5");
  EXPECT_EQ(press(Key::PageDown), (Shown{"U3", 0}));
  EXPECT_TRUE(enabled("cmdSonraki"));
  // Past U3 only a "Parça": the display turns back at the end of the file.
  EXPECT_EQ(press(Key::PageDown), (Shown{"U3", 0}));
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_EQ(press(Key::PageUp), (Shown{"U2", 0}));
  EXPECT_EQ(press(Key::End), (Shown{"U3", 0}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 4 / 5");
  EXPECT_TRUE(enabled("cmdOnceki"));
  EXPECT_EQ(focused(), "bilKod");
}

TEST_F(MainWindowBrowseTest, FirstRecordWithNoRecordShownShowsTheFirstThatFits) {
  openOn({{"A1"}, {"B1"}}, 1, 1);
  // Going backwards, the deletion of record 1 leaves no current record and the window empty.
  ui.key(Key::PageUp);
  ui.key(Key::F4);
  EXPECT_EQ(text("bilKod"), "");
  EXPECT_EQ(KALVOR3.CurrentRecordNumber, 0);
  ui.key(Key::F4);
  EXPECT_EQ(messages().back(), "SİLME HATASI !|Geçerli kayıt olmadığından silinemedi...");
  EXPECT_EQ(press(Key::Home), (Shown{"B1", 0}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 2");
}

TEST_F(MainWindowBrowseTest, AlphabeticOrderAcrossEmptyBucketsAndAtBothEnds) {
  // Chain order: a1, B2, ç3, M5, Z9; a1 alone is a "Parça".
  openOn({{"M5", "", 1}, {"a1", "", 2}, {"Z9", "", 1}, {"B2", "", 1}, {"ç3", "", 1}}, 1, 1);
  ui.key(Key::F8);
  EXPECT_TRUE(option("OptAlfabetik"));
  EXPECT_EQ(press(Key::Home), (Shown{"B2", 1}));
  EXPECT_TRUE(enabled("cmdOnceki"));  // B2 is not the chain's first record
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 4 / 5");
  EXPECT_EQ(press(Key::PageDown), (Shown{"ç3", 0}));
  EXPECT_EQ(press(Key::PageDown), (Shown{"M5", 0}));
  EXPECT_EQ(press(Key::PageDown), (Shown{"Z9", 0}));
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_EQ(press(Key::PageUp), (Shown{"M5", 0}));
  EXPECT_EQ(press(Key::End), (Shown{"Z9", 1}));
  EXPECT_EQ(press(Key::Home), (Shown{"B2", 1}));
  EXPECT_EQ(press(Key::PageUp), (Shown{"B2", 0}));  // a1 does not fit: the start is reached
  EXPECT_FALSE(enabled("cmdOnceki"));

  // The only "Parça" is the chain's first record: next walks to the end and shows it again.
  chooseTab(2);
  EXPECT_EQ(press(Key::Home), (Shown{"a1", 1}));
  ui.click("cmdSonraki");
  EXPECT_EQ(text("bilKod"), "a1");
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 5");

  // No "Gurup" at all: the window turns blank.
  chooseTab(5);
  EXPECT_EQ(press(Key::Home), (Shown{"", 1}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA");
  EXPECT_FALSE(enabled("cmdOnceki"));
  EXPECT_TRUE(KALVOR3.NoRecordShown);
  // Next with no current record: blank again, without a beep.
  ui.click("OptKayitsal");
  ui.click("OptAlfabetik");
  EXPECT_TRUE(enabled("cmdSonraki"));
  const int beeps = ui.beeps();
  ui.click("cmdSonraki");
  EXPECT_EQ(ui.beeps(), beeps);
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(chain(), (Strings{"a1", "B2", "ç3", "M5", "Z9"}));
}

TEST_F(MainWindowBrowseTest, ALoopedChainEndsTheWalkWithTheLockMessage) {
  makeCompany({{"A1"}, {"B1"}, {"C1"}, {"D1", "", 2}});
  patch(2, [](ProductRecord& r) { r.ChainNext = 1; });
  openOn({}, 4, 2);
  ui.key(Key::F8);
  ui.key(Key::Home);
  EXPECT_EQ(messages(), Strings{"! KAYIT SIRALAMA HATASI !|Kayıt arama işlemi kilitlendi!... Hatayı düzeltmek için, "
                                "'SERVİS' menüsüne geçip, 'Oluştur' komutunu çalıştırın..."});
  EXPECT_EQ(lastIcon(), MsgIcon::Exclamation);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA");
  EXPECT_EQ(text("bilKod"), "");
  EXPECT_TRUE(KALVOR3.NoRecordShown);
}

TEST_F(MainWindowBrowseTest, TheOptionsAndACommandDuringANewEntryWithoutCode) {
  openOn({{"A1"}, {"B1"}}, 1, 1);
  // No code typed: no question; next and last beep, first and previous do not; the record comes back.
  ui.key(Key::F1);
  EXPECT_EQ(press(Key::Home), (Shown{"A1", 0}));
  ui.key(Key::F1);
  EXPECT_EQ(press(Key::End), (Shown{"A1", 1}));
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(recordsOnDisk(), 2);

  ui.clearShown();
  ui.click("OptAlfabetik");
  ui.click("OptKayitsal");
  EXPECT_EQ(ui.beeps(), 2);
  EXPECT_TRUE(enabled("cmdSonraki"));
  EXPECT_EQ(focused(), "bilKod");
}

TEST_F(MainWindowBrowseTest, AlphabeticOrderNeedsTwoRecords) {
  openOn({{"A1"}}, 1, 1);
  ui.key(Key::F8);
  EXPECT_TRUE(option("OptKayitsal"));
  EXPECT_EQ(ui.beeps(), 2);  // the alphabetic option's, then the record order's with a record shown
}

}  // namespace
}  // namespace kv::testing
