// Finding a product by the beginning of its code or by a piece of its name, and deleting it, at the main
// window; the chain and the buckets stay sound through every deletion.
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
  static constexpr const char* kNotFound = "KALVOR 952 Uyarlama 3.0|Aranan kayıt bulunamadı!...";
};

TEST_F(MainWindowFindDeleteTest, TheCodeSearchFindsTheFirstFittingRecordInCodeOrder) {
  openOn({{"abc", "", 2}, {"Ayar", "", 1}, {"ak", "", 3}, {"X1", "", 1}}, 1, 8);
  // The upper-case bucket first; the tab of the record's kind comes up.
  search("a");
  EXPECT_EQ(text("bilKod"), "Ayar");
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(focused(), "bilKod");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 4");
  // On a kind's tab the records of other kinds are passed over.
  chooseTab(3);
  search("A");
  EXPECT_EQ(text("bilKod"), "ak");
  search("x");
  EXPECT_EQ(messages(), Strings{kNotFound});
  // In record order the buttons follow the record found: the last record of the file.
  chooseTab(8);
  search("x");
  EXPECT_EQ(text("bilKod"), "X1");
  EXPECT_TRUE(enabled("cmdOnceki"));
  EXPECT_FALSE(enabled("cmdSonraki"));
}

TEST_F(MainWindowFindDeleteTest, ASearchThatFindsNothing) {
  openOn({{"A1"}, {"ESKİ"}}, 2, 1);
  ui.key(Key::F4);
  // An empty code: nothing at all.
  search("");
  EXPECT_EQ(messages().size(), 1u);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] ");
  // A deleted record is not found; the current record comes back.
  search("esk");
  EXPECT_EQ(messages().back(), kNotFound);
  EXPECT_EQ(lastIcon(), MsgIcon::Exclamation);
  EXPECT_EQ(text("bilKod"), "A1");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 2");
}

TEST_F(MainWindowFindDeleteTest, ALoopInTheBucketLocksTheSearchAndKeepsSearchMode) {
  makeCompany({{"A1"}, {"A2"}, {"A3"}});
  patch(2, [](ProductRecord& r) { r.ChainNext = 1; });
  openOn({}, 1, 1);
  search("AX");
  EXPECT_EQ(messages(), Strings{"! KAYIT SIRALAMA HATASI !|Kayıt arama işlemi kilitlendi!... Hatayı düzeltmek "
                                "için, 'SERVİS' menüsüne geçip, 'Oluştur' komutunu çalıştırın..."});
  EXPECT_EQ(text("bilKod"), "AX");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] ");
}

TEST_F(MainWindowFindDeleteTest, TheNameSearchStepsThroughTheMatches) {
  openOn({{"V1", "Vida M8"}, {"S1", "Somun"}, {"V2", "Vida M10"}, {"P1", "vida", 2}, {"V3", "VİDA M12"}}, 1, 1);
  // From record 1 the next match, not record 1 again; round to the start after the last.
  for (const char* expected : {"V2", "V3", "V1"}) {
    search("vida", true);
    EXPECT_EQ(text("bilKod"), expected);
  }
  search("", true);
  EXPECT_EQ(text("bilKod"), "S1");
  search("yok", true);
  EXPECT_EQ(text("bilAd"), "yok");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] ");
  EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowFindDeleteTest, DeletingTheChainsEndsAndABucketsOnlyRecord) {
  openOn({{"A1"}, {"B1"}, {"B2"}, {"C1"}}, 1, 1);
  ui.key(Key::F4);
  EXPECT_EQ(messages(), Strings{"KALVOR 952 Uyarlama 3.0|Bu kayıt silinsin mi?"});
  EXPECT_EQ(lastIcon(), MsgIcon::Question);
  EXPECT_EQ(stored(1).Kind, -1);
  EXPECT_EQ(stored(1).ChainPrev, 0);
  EXPECT_EQ(stored(1).ChainNext, 0);
  EXPECT_EQ(bucket("A"), (Ends{0, 0}));
  EXPECT_EQ(chain(), (Strings{"B1", "B2", "C1"}));
  EXPECT_EQ(text("bilKod"), "B1");
  // The last record of the file: the one before it comes up, and the display goes on backwards.
  ui.key(Key::End);
  ui.key(Key::F4);
  EXPECT_EQ(chain(), (Strings{"B1", "B2"}));
  EXPECT_EQ(text("bilKod"), "B2");
  // The last of its bucket and of the chain, with one before it in the bucket.
  ui.key(Key::F4);
  EXPECT_EQ(bucket("B"), (Ends{2, 2}));
  EXPECT_EQ(chain(), Strings{"B1"});
  // A deleted record's code is free again.
  newEntry("A1");
  ui.key(Key::F2);
  EXPECT_EQ(recordsOnDisk(), 5);
  EXPECT_EQ(chain(), (Strings{"A1", "B1"}));
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
  EXPECT_EQ(chain(), Strings{"A1"});
}

TEST_F(MainWindowFindDeleteTest, DamagedPointers) {
  makeCompany({{"A1"}, {"B1"}, {"C1"}, {"D1"}});
  patch(2, [](ProductRecord& r) { r.ChainNext = 99; });
  patch(4, [](ProductRecord& r) { r.ChainPrev = 0; });
  // One pointer 0: refused, nothing written.
  openOn({}, 4, 1);
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  ui.key(Key::F4);
  EXPECT_EQ(messages().back(), "SİLME HATASI !|Geçerli kayıt olmadığından silinemedi...");
  EXPECT_TRUE(folder.bytes("KLVR952.DAT") == before);
  // A pointer outside the file: the record is deleted and its bucket emptied; the neighbours stay.
  ui.key(Key::Home);
  ui.key(Key::PageDown);
  ui.key(Key::F4);
  EXPECT_EQ(messages().back(), "İNDEKS POİNTER HATASI !| 2 numaralı kayıtın indeks pointerleri hatalı!  "
                               "Düzeltmek için 'SERVİS' komutunu çalıştırın...");
  EXPECT_EQ(stored(2).Kind, -1);
  EXPECT_EQ(bucket("B"), (Ends{0, 0}));
  EXPECT_EQ(stored(1).ChainNext, 2);
}

// A code beginning with "€" lies in no bucket, yet another path linked it: it is deleted and unlinked
// without any bucket being read or written.
TEST_F(MainWindowFindDeleteTest, ARecordOfNoBucketOnTheChainIsDeleted) {
  {
    Company c;
    c.add("A1");
    c.append(makeProduct("€B"));
    c.add("C1");
  }
  patch(1, [](ProductRecord& r) { r.ChainNext = 2; });
  patch(2, [](ProductRecord& r) { r.ChainPrev = 1; r.ChainNext = 3; });
  patch(3, [](ProductRecord& r) { r.ChainPrev = 2; });
  openOn({}, 2, 1);
  const std::vector<std::uint8_t> index = folder.bytes("KLVR952.ABC");
  ui.key(Key::F4);
  EXPECT_EQ(stored(2).Kind, -1);
  EXPECT_TRUE(folder.bytes("KLVR952.ABC") == index);
  EXPECT_EQ(chain(), (Strings{"A1", "C1"}));
  EXPECT_EQ(messages().size(), 1u);
}

}  // namespace
}  // namespace kv::testing
