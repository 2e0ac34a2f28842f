// Finding a product by the beginning of its code or by a piece of its name, and deleting it, at the main
// window. What the searches find and how a deletion keeps the chain are the product file's (tested there);
// here: what the window passes to it and how it shows the outcome.
#include "main_window_fixture.h"

namespace kv::testing {
namespace {

class MainWindowFindDeleteTest : public MainWindowTest {
 protected:
  // F3, then the text in the code box or (byName) the name box, then Enter.
  void search(std::string_view textUtf8, bool byName = false) {
    ui.key(Key::F3);
    if (byName) ui.key(Key::Down);
    ui.type(textUtf8);
    ui.key(Key::Enter);
  }
  static constexpr const char* kRefused = "SİLME HATASI !|Geçerli kayıt olmadığından silinemedi...";
};

TEST_F(MainWindowFindDeleteTest, TheCodeSearchShowsTheRecordFoundOnTheTabOfItsKind) {
  openOn({{"abc", "", 2}, {"Ayar", "", 1}, {"ak", "", 3}, {"X1", "", 1}}, 1, 8);
  // Typed in lower case, looked for in upper case: the upper-case bucket comes first.
  search("a");
  EXPECT_EQ(text("bilKod"), "Ayar");
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(focused(), "bilKod");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 4");
  // On a kind's tab only the records of its kind are looked for.
  chooseTab(3);
  search("A");
  EXPECT_EQ(text("bilKod"), "ak");
  // In record order the buttons follow the record found: the last record of the file.
  chooseTab(8);
  search("x");
  EXPECT_EQ(text("bilKod"), "X1");
  EXPECT_TRUE(enabled("cmdOnceki"));
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowFindDeleteTest, ASearchThatFindsNothing) {
  openOn({{"A1"}, {"B1"}}, 1, 1);
  // An empty code: nothing at all.
  search("");
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] ");
  // Nothing found: said, and the current record comes back.
  search("Z");
  EXPECT_EQ(messages(), Strings{"KALVOR 952 Uyarlama 3.0|Aranan kayıt bulunamadı!..."});
  EXPECT_EQ(lastIcon(), MsgIcon::Exclamation);
  EXPECT_EQ(text("bilKod"), "A1");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 2");
}

TEST_F(MainWindowFindDeleteTest, TheNameSearchShowsTheNextMatchOfTheTab) {
  openOn({{"V1", "Vida M8"}, {"P1", "vida", 2}, {"S1", "Somun"}, {"V2", "VİDA M10"}}, 1, 1);
  search("vida", true);
  EXPECT_EQ(text("bilKod"), "V2");
  EXPECT_EQ(focused(), "bilKod");
  // No match: the window stays as it is, without a word.
  search("yok", true);
  EXPECT_EQ(text("bilAd"), "yok");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] ");
  EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowFindDeleteTest, ADeletionShowsTheNextRecordOrAtTheEndOfTheFileThePreviousOne) {
  openOn({{"A1"}, {"B1"}, {"C1"}}, 1, 1);
  ui.key(Key::F4);
  EXPECT_EQ(messages(), Strings{"KALVOR 952 Uyarlama 3.0|Bu kayıt silinsin mi?"});
  EXPECT_EQ(lastIcon(), MsgIcon::Question);
  EXPECT_EQ(stored(1).Kind, -1);
  EXPECT_EQ(text("bilKod"), "B1");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 3");
  ui.key(Key::End);
  ui.key(Key::F4);
  EXPECT_EQ(text("bilKod"), "B1");
  EXPECT_EQ(focused(), "bilKod");
  // A deleted record's code is free again, even one that no chain holds.
  newEntry("€X");
  ui.key(Key::F2);
  ui.key(Key::F4);
  newEntry("€X");
  ui.key(Key::F2);
  EXPECT_EQ(recordsOnDisk(), 5);
  EXPECT_EQ(messages().back(), "KALVOR 952 Uyarlama 3.0|Bu kayıt silinsin mi?");
}

TEST_F(MainWindowFindDeleteTest, TheQuestionsAndWhenNothingIsDeleted) {
  makeCompany({{"A1"}, {"R1"}});
  patch(2, [](ProductRecord& r) { r.RecipeNumber = 7; });
  openOn({}, 2, 1);
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  ui.answer(MsgAnswer::No);
  ui.key(Key::F4);
  EXPECT_EQ(messages(), Strings{"! DİKKAT !|Silmek istediğiniz kayıt reçetesi olan bir kayıt!...\r\rBu kayıt "
                                "silinirse reçetesine erişilemez!...\r\rSilinmesi gerektiğine eminmisiniz?..."});
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA");
  // A new entry is dropped, not deleted.
  newEntry("YENİ");
  ui.key(Key::F4);
  EXPECT_EQ(text("bilKod"), "R1");
  EXPECT_EQ(messages().size(), 1u);
  EXPECT_TRUE(folder.bytes("KLVR952.DAT") == before);
  // In search mode the record last shown is deleted.
  ui.key(Key::F3);
  ui.key(Key::F4);
  EXPECT_EQ(stored(2).Kind, -1);
  EXPECT_EQ(text("bilKod"), "A1");
}

TEST_F(MainWindowFindDeleteTest, DamagedPointers) {
  makeCompany({{"A1"}, {"B1"}, {"C1"}, {"D1"}});
  patch(2, [](ProductRecord& r) { r.ChainNext = 99; });
  patch(4, [](ProductRecord& r) { r.ChainPrev = 0; });
  // A record out of the chain: refused, nothing written.
  openOn({}, 4, 1);
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  ui.key(Key::F4);
  EXPECT_EQ(messages().back(), kRefused);
  EXPECT_TRUE(folder.bytes("KLVR952.DAT") == before);
  // A pointer outside the file: deleted with the pointer message, and the window left blank.
  ui.key(Key::Home);
  ui.key(Key::PageDown);
  ui.key(Key::F4);
  EXPECT_EQ(messages().back(), "İNDEKS POİNTER HATASI !| 2 numaralı kayıtın indeks pointerleri hatalı!  "
                               "Düzeltmek için 'SERVİS' komutunu çalıştırın...");
  EXPECT_EQ(stored(2).Kind, -1);
  EXPECT_EQ(text("bilKod"), "");
}

}  // namespace
}  // namespace kv::testing
