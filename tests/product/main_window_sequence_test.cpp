// A session at the main window as a user types it: entries on several tabs, a code changed, a record
// deleted, searches and browsing, with the product file compared byte for byte with what it must hold
// and the chain checked after every step.
#include "main_window_fixture.h"

namespace kv::testing {
namespace {

class MainWindowSequenceTest : public MainWindowTest {
 protected:
  // Record n as a new entry of `kind` with this code and name lies on disk, chain pointers aside. The
  // random identity comes from a generator seeded as the window's is: drawn once per record, never
  // re-seeded from the clock.
  void saved(int kind, std::string_view code, std::string_view name) {
    ProductRecord r = makeProduct(code, name, kind);
    updatedToday(r);
    r.CreatedDate = r.CostDate = r.UpdatedDate;
    r.CreatedDay = r.CostDay = r.UpdatedDay;
    r.CreatedMonth = r.CostMonth = r.UpdatedMonth;
    r.CreatedYear = r.CostYear = r.UpdatedYear;
    r.RecordNumber = static_cast<std::int16_t>(model.size() + 1);
    r.RandomNumber = *roundToLong(mirror->next() * 2147483647.0);
    model.push_back(r);
  }
  // The file holds the model, linked in `order` (record numbers along the chain), byte for byte; the chain
  // checker finds it sound and in that order.
  void expectFile(const std::vector<int>& order) {
    std::vector<ProductRecord> m = model;
    for (ProductRecord& r : m) r.ChainPrev = r.ChainNext = 0;
    Strings codes;
    for (std::size_t i = 0; i < order.size(); ++i) {
      ProductRecord& r = m[order[i] - 1];
      r.ChainPrev = static_cast<std::int16_t>(order[i > 0 ? i - 1 : 0]);
      r.ChainNext = static_cast<std::int16_t>(order[i + 1 < order.size() ? i + 1 : i]);
      codes.push_back(toUtf8(trim(r.Code.view())));
    }
    EXPECT_EQ(recordsOnDisk(), static_cast<int>(m.size()));
    for (std::size_t i = 0; i < m.size(); ++i) expectRecord(static_cast<int>(i + 1), m[i]);
    EXPECT_EQ(chain(), codes);
  }

  std::vector<ProductRecord> model;
  std::unique_ptr<RandomSource> mirror = makeSeededRandom(952);
};

TEST_F(MainWindowSequenceTest, EntriesChangesADeletionSearchesAndBrowsing) {
  openMain();
  chooseTab(1);
  newEntry("ŞAFT-10", "Şaft");
  ui.key(Key::F2);
  EXPECT_EQ(caption(), " Kayıt yapıldı...  Kayıt Numarası : 1");
  saved(1, "ŞAFT-10", "Şaft");
  expectFile({1});

  chooseTab(2);
  newEntry("çark", "Çark dişli");
  ui.key(Key::F2);
  saved(2, "çark", "Çark dişli");
  expectFile({2, 1});
  newEntry("ARA-5", "Ara parça");
  ui.key(Key::F2);
  saved(2, "ARA-5", "Ara parça");
  expectFile({3, 2, 1});

  chooseTab(4);
  newEntry("ölçü", "Ölçü aleti");
  ui.key(Key::F2);
  saved(4, "ölçü", "Ölçü aleti");
  expectFile({3, 2, 4, 1});
  newEntry("Zımba", "Zımba teli");
  ui.key(Key::F2);
  saved(4, "Zımba", "Zımba teli");
  expectFile({3, 2, 4, 1, 5});
  EXPECT_EQ(caption(), " Kayıt yapıldı...  Kayıt Numarası : 5");
  EXPECT_TRUE(messages().empty());
  // All saved within the same second, each with a random identity of its own.
  EXPECT_NE(model[3].RandomNumber, model[4].RandomNumber);

  // The code of the first record changes: asked, then moved to its new place.
  chooseTab(1);
  EXPECT_EQ(text("bilKod"), "ŞAFT-10");
  fill("bilKod", "MİL-10");
  ui.key(Key::F2);
  EXPECT_EQ(messages(), Strings{"KALVOR 952 Uyarlama 3.0|Kod alanında değişiklik yapmak istediğinize eminmisiniz?..."});
  model[0].Code = w("MİL-10");
  expectFile({3, 2, 1, 4, 5});

  // The first record of the chain is deleted; the nearest record of the tab comes up.
  chooseTab(2);
  EXPECT_EQ(text("bilKod"), "ARA-5");
  ui.key(Key::F4);
  model[2].Kind = -1;
  expectFile({2, 1, 4, 5});
  EXPECT_EQ(text("bilKod"), "çark");

  // Found by the beginning of the code on "Tümü": the tab of its kind comes up.
  chooseTab(8);
  ui.key(Key::F3);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] ");
  ui.type("z");
  ui.key(Key::Enter);
  EXPECT_EQ(tab(), 4);
  EXPECT_EQ(text("bilKod"), "Zımba");
  // Found by a piece of the name.
  ui.key(Key::F3);
  ui.key(Key::Down);
  ui.type("ölç");
  ui.key(Key::Enter);
  EXPECT_EQ(text("bilAd"), "Ölçü aleti");
  EXPECT_EQ(focused(), "bilKod");
  expectFile({2, 1, 4, 5});

  // Alphabetic order on "Ham Madde", then record order on "Tümü", where the deleted record is stepped over.
  ui.key(Key::F8);
  EXPECT_TRUE(option("OptAlfabetik"));
  ui.key(Key::Home);
  EXPECT_EQ(text("bilKod"), "ölçü");
  ui.key(Key::PageDown);
  EXPECT_EQ(text("bilKod"), "Zımba");
  EXPECT_FALSE(enabled("cmdSonraki"));
  ui.key(Key::PageUp);
  EXPECT_EQ(text("bilKod"), "ölçü");
  ui.key(Key::F8);
  EXPECT_TRUE(option("OptKayitsal"));
  chooseTab(8);
  ui.key(Key::Home);
  EXPECT_EQ(text("bilKod"), "MİL-10");
  ui.key(Key::PageDown);
  ui.key(Key::PageDown);
  EXPECT_EQ(text("bilKod"), "ölçü");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 4 / 5");
  ui.key(Key::End);
  EXPECT_EQ(text("bilKod"), "Zımba");
  EXPECT_EQ(messages().size(), 2u);
  expectFile({2, 1, 4, 5});
}

}  // namespace
}  // namespace kv::testing
