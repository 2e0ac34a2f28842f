// Browsing at the main window: first, previous, next and last record of the tab's kind, in record order,
// where the window steps itself, and along the alphabetic chain, where it shows what the product file
// found; a looped chain; the commands during a new entry.
#include "main_window_fixture.h"

#include "base/collation.h"
#include "records/product_file.h"

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

  // A step in code order from record `from` of a tab, with both browsing buttons on before it: the code
  // shown and whether previous and next are on after it.
  void step(const char* how, int tab, std::int16_t from, int key, const char* shown, bool previous, bool next) {
    SCOPED_TRACE(how);
    chooseTab(tab);
    mainWindow().RecordShown = from;
    expectButtonsAfter(key, "cmdOnceki", "cmdSonraki", shown, previous, next);
  }
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
  EXPECT_EQ(mainWindow().RecordShown, 0);
  ui.key(Key::F4);
  EXPECT_EQ(messages().back(), "SİLME HATASI !|Geçerli kayıt olmadığından silinemedi...");
  EXPECT_EQ(press(Key::Home), (Shown{"B1", 0}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 2");
}

// The chain step decides what code order reaches (tested with the product file); the window shows it with
// its beep, title and buttons, or turns blank.
TEST_F(MainWindowBrowseTest, CodeOrderShowsWhatTheChainStepFinds) {
  // Chain order: a1, B2, M5; a1 alone is a "Parça".
  openOn({{"M5", "", 1}, {"a1", "", 2}, {"B2", "", 1}}, 1, 1);
  ui.key(Key::F8);
  EXPECT_TRUE(option("OptAlfabetik"));
  EXPECT_EQ(press(Key::Home), (Shown{"B2", 1}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 3 / 3");
  EXPECT_TRUE(enabled("cmdOnceki"));  // B2 is not the chain's first record
  EXPECT_EQ(press(Key::PageUp), (Shown{"B2", 0}));
  EXPECT_FALSE(enabled("cmdOnceki"));
  EXPECT_EQ(press(Key::PageDown), (Shown{"M5", 0}));
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_EQ(mainWindow().RecordShown, 1);
  // No "Gurup" at all: the window turns blank.
  chooseTab(5);
  EXPECT_EQ(press(Key::End), (Shown{"", 1}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA");
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_TRUE(mainWindow().NoRecordShown);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(focused(), "bilKod");
}

// The previous and next buttons after a step in code order follow where the chain step stands, on a chain
// of three, of one and of none: both are on before each step.
TEST_F(MainWindowBrowseTest, CodeOrderButtonsFollowWhereTheStepStands) {
  // Chain order: a1, B2, M5; a1 alone is a "Parça".
  openOn({{"M5", "", 1}, {"a1", "", 2}, {"B2", "", 1}}, 1, 1);
  ui.key(Key::F8);
  step("first, inside the chain", 1, 1, Key::Home, "B2", true, true);
  step("first, at its start", 2, 1, Key::Home, "a1", false, true);
  step("previous, nothing before of the kind", 1, 3, Key::PageUp, "B2", false, true);
  step("next, to the chain's end", 1, 3, Key::PageDown, "M5", true, false);
  step("last, nothing of the kind", 5, 1, Key::End, "", false, false);
  step("next, from no record", 1, 0, Key::PageDown, "", true, false);
  // A chain of one record, B2.
  ProductFile products;
  products.open("KLVR952");
  for (std::int16_t r : {1, 2}) products.remove(r, nullptr);
  step("next, chain of one", 1, 3, Key::PageDown, "B2", false, false);
  step("first, chain of one", 1, 3, Key::Home, "B2", false, true);
  // An index that names no record.
  Company c;
  for (int b = 1; b <= kBucketCount; ++b) put(c.indexFile(), b, IndexEntry{});
  step("first, no chain", 1, 3, Key::Home, "", false, true);
}

// Every command that walks the chain (the code check of a save, the code search, code order) stops at a
// looped chain with the lock message, and nothing is written.
TEST_F(MainWindowBrowseTest, ALoopedChainStopsEveryWalkWithTheLockMessage) {
  makeCompany({{"A1"}, {"A2"}, {"A3"}, {"D1", "", 2}});
  patch(2, [](ProductRecord& r) { r.ChainNext = 1; });
  openOn({}, 4, 2);
  const std::vector<std::uint8_t> dat = folder.bytes("KLVR952.DAT");
  const struct {
    const char* how;
    std::function<void()> run;
    const char* code;  // what the code box shows after it
    const char* title;
  } commands[] = {
      {"changed code", [&] { fill("bilKod", "AX"); ui.key(Key::F2); }, "AX", " KALVOR 952 Uyarlama 3.0  BETA"},
      {"new entry", [&] { newEntry("AX"); ui.key(Key::F2); }, "AX", " KALVOR 952 Uyarlama 3.0  BETA [ Yeni Kayıt ]"},
      {"code search", [&] { ui.key(Key::F3); ui.type("AX"); ui.key(Key::Enter); }, "AX",
       " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] "},
      {"code order", [&] { ui.key(Key::F8); ui.key(Key::Home); }, "", " KALVOR 952 Uyarlama 3.0 BETA"},
  };
  for (const auto& c : commands) {
    SCOPED_TRACE(c.how);
    ui.clearShown();
    c.run();
    EXPECT_EQ(messages(), Strings{"! KAYIT SIRALAMA HATASI !|Kayıt arama işlemi kilitlendi!... Hatayı düzeltmek "
                                  "için, 'SERVİS' menüsüne geçip, 'Oluştur' komutunu çalıştırın..."});
    EXPECT_EQ(lastIcon(), MsgIcon::Exclamation);
    EXPECT_EQ(text("bilKod"), c.code);
    EXPECT_EQ(caption(), c.title);
    EXPECT_EQ(mainWindow().NoRecordShown, std::string_view(c.code).empty());
  }
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), dat);
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
