// New entries and saving at the main window: the boxes into the record, the code checks, the questions,
// and the refusals that keep the entry as typed. How a save keeps the chain is the product file's (tested
// there).
#include "main_window_fixture.h"

namespace kv::testing {
namespace {

class MainWindowEntryTest : public MainWindowTest {
 protected:
  static constexpr const char* kDuplicate = "! YENİ KAYIT HATASI !|Girdiğiniz mal kodu kayıtlıdır!...";
  // A new entry still pending with its code as typed, and nothing more on disk.
  void expectEntryKept(std::string_view code, int records) {
    EXPECT_EQ(text("bilKod"), code);
    EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA [ Yeni Kayıt ]");
    EXPECT_EQ(recordsOnDisk(), records);
    EXPECT_FALSE(ui.ended());
  }
  // Record n as a new entry of `kind` must lie on disk (its chain pointers set by the caller): the boxes,
  // today's dates, and a random identity drawn for it alone from a generator seeded as the window's is.
  ProductRecord newRecord(int n, int kind, std::string_view code, std::string_view name) {
    ProductRecord r = makeProduct(code, name, kind);
    updatedToday(r);
    r.CreatedDate = r.CostDate = r.UpdatedDate;
    r.CreatedDay = r.CostDay = r.UpdatedDay;
    r.CreatedMonth = r.CostMonth = r.UpdatedMonth;
    r.CreatedYear = r.CostYear = r.UpdatedYear;
    r.RecordNumber = static_cast<std::int16_t>(n);
    r.RandomNumber = *roundToLong(mirror->next() * 2147483647.0);
    return r;
  }
  std::unique_ptr<RandomSource> mirror = makeSeededRandom(952);
};

// A new record is built from nothing: none of the record shown before it (whose reserved fields, price and
// recipe are filled here) comes into it.
TEST_F(MainWindowEntryTest, ANewRecordHoldsTheBoxesTheDatesAndARandomIdentityOfItsOwn) {
  makeCompany({{"M1"}});
  patch(1, [](ProductRecord& r) {
    r.Reserved2 = "dolu";
    r.Price = 3;
    r.RecipeNumber = 7;
    r.RecipeCost = 9;
    r.Cost = 5;
  });
  openOn({}, 1, 1);
  chooseTab(2);
  newEntry("çark", "Çark dişli");
  ui.key(Key::F2);
  EXPECT_EQ(caption(), " Kayıt yapıldı...  Kayıt Numarası : 2");
  chooseTab(4);
  newEntry("ARA-5", "Ara parça");
  ui.key(Key::F2);
  EXPECT_TRUE(messages().empty());
  ProductRecord cark = newRecord(2, 2, "çark", "Çark dişli"), ara = newRecord(3, 4, "ARA-5", "Ara parça");
  ara.ChainPrev = cark.ChainPrev = 3;
  ara.ChainNext = 2;
  cark.ChainNext = 1;
  expectRecord(2, cark);
  expectRecord(3, ara);
  // Both saved within the same second, each with an identity of its own.
  EXPECT_NE(cark.RandomNumber, ara.RandomNumber);
  EXPECT_EQ(chain(), (Strings{"ARA-5", "çark", "M1"}));
  // The record saved is shown as the last one; the next command gives the title back to its place.
  EXPECT_FALSE(enabled("cmdSonraki"));
  ui.key(Key::Home);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 3 / 3");
}

// Each box goes into its own field: saved, the record shows again what was typed. How the texts are read
// is the entry model's.
TEST_F(MainWindowEntryTest, TheBoxesAreSavedAndShownBackAsTyped) {
  makeCompany({{"A1", "Eski"}});
  patch(1, [](ProductRecord& r) { r.Cost = 7; });
  openOn({}, 1, 1);
  ProductRecord want = stored(1);
  // With the cost display off the cost box is empty, and saving leaves the cost alone.
  fill("bilAd", "Kasnak");
  ui.key(Key::F2);
  EXPECT_EQ(caption(), " Kayıt yapıldı...  Kayıt Numarası : 1");
  want.Name = "Kasnak";
  updatedToday(want);
  expectRecord(1, want);

  ui.key(Key::F12);
  const std::pair<const char*, const char*> typed[] = {
      {"bilKod", "A2"},           {"bilAd", "Kasnak"},       {"bilAciklama", "Döküm gövde"},
      {"bilBirim", "ADET"},       {"bilUrunGrubu", "Güç aktarma"}, {"bilMaliyet", "12,5 EUR"},
      {"bilEvrakNo", "E-77"},     {"bilOzelKod", "X1"},      {"bilKatsayi", "1,5"},
      {"bilTedarikci", "Çelik AŞ"}, {"bilBoyutlar", "100 x 40"}, {"bilAgirlik", "2,5 kg"},
      {"bilOzelNot", "Özel"}};
  for (const auto& [name, value] : typed) fill(name, value);
  ui.click("optKalvor");
  ui.click("chkResimVar");
  ui.key(Key::F2);
  EXPECT_EQ(messages(), Strings{"KALVOR 952 Uyarlama 3.0|Kod alanında değişiklik yapmak istediğinize eminmisiniz?..."});
  for (const auto& [name, value] : typed) EXPECT_EQ(text(name), value) << name;
  EXPECT_EQ(text("bilMTarih"), "05.03.2008");  // a new cost takes the working date
  EXPECT_TRUE(option("optKalvor"));
  EXPECT_EQ(ui.get<ui::CheckBox>("chkResimVar").Value(), 1);

  // Saved again and again as shown, on a later working date: the numbers stay, so the cost date does too.
  KALVOR3.StaticDate = Date::fromYmd(2008, 4, 1);
  const std::vector<std::uint8_t> saved = folder.bytes("KLVR952.DAT");
  ui.key(Key::F2);
  ui.key(Key::F2);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), saved);
}

TEST_F(MainWindowEntryTest, ACodeTakenInAnyLetterCaseOrBeyondTwentyCharactersIsRefused) {
  openOn({{"Kasnak"}, {"ABCDEFGHIJKLMNOPQRST"}}, 1, 1);
  newEntry("kASNAK");
  ui.key(Key::F2);
  EXPECT_EQ(messages(), Strings{kDuplicate});
  EXPECT_EQ(lastIcon(), MsgIcon::Exclamation);
  expectEntryKept("kASNAK", 2);
  // Cut to the field's twenty characters, the code is the one stored.
  fill("bilKod", "ABCDEFGHIJKLMNOPQRSTU");
  ui.key(Key::F2);
  EXPECT_EQ(messages().size(), 2u);
  expectEntryKept("ABCDEFGHIJKLMNOPQRSTU", 2);
}

TEST_F(MainWindowEntryTest, AChangedCodeIsAskedForAndRefusedWhenAnotherRecordHasIt) {
  openOn({{"B1"}, {"kasnak"}, {"M1"}}, 2, 1);
  const std::string question = "KALVOR 952 Uyarlama 3.0|Kod alanında değişiklik yapmak istediğinize eminmisiniz?...";
  // Declined: the edits are discarded.
  ui.answer(MsgAnswer::No);
  fill("bilKod", "A0");
  fill("bilAd", "yeni ad");
  ui.key(Key::F2);
  EXPECT_EQ(messages(), Strings{question});
  EXPECT_EQ(lastIcon(), MsgIcon::Question);
  EXPECT_EQ(text("bilKod"), "kasnak");
  EXPECT_EQ(text("bilAd"), "");
  EXPECT_EQ(storedCode(2), "kasnak");
  // The letter case alone is a change of code too; accepted, the record takes it.
  fill("bilKod", "Kasnak");
  ui.key(Key::F2);
  EXPECT_EQ(messages(), (Strings{question, question}));
  EXPECT_EQ(storedCode(2), "Kasnak");
  EXPECT_EQ(chain(), (Strings{"B1", "Kasnak", "M1"}));
  // Another record's code: refused, and the edit discarded.
  fill("bilKod", "m1");
  ui.key(Key::F2);
  EXPECT_EQ(messages().back(),
            "! DÜZELTME HATASI !|Girdiğiniz kod kayıtlı olduğu için yaptığınız değişiklik iptal edilecek!...");
  EXPECT_EQ(text("bilKod"), "Kasnak");
  EXPECT_EQ(storedCode(3), "M1");
}

TEST_F(MainWindowEntryTest, NothingIsOpenedOrSavedOnTheTabAll) {
  openOn({{"A1"}}, 1, 8);
  ui.key(Key::F1);
  ui.key(Key::F2);
  EXPECT_EQ(messages(), (Strings{"! DİKKAT ! Bu sekme ile Yeni Kayıt Açılamaz !|'Tümü' sekmesinde çalışırken yeni "
                                 "kayıt açılamaz. İlgili sekmeyi seçtikten sonra yeni kayıt açın.",
                                 "! DİKKAT ! Bu sekme ile Kayıt Yapılamaz !|'Tümü' sekmesinde çalışırken kayıt "
                                 "yapılamaz. İlgili sekmeyi seçtikten sonra kayıt yapın."}));
  // With an empty code nothing is said.
  fill("bilKod", " ");
  ui.key(Key::F2);
  EXPECT_EQ(messages().size(), 2u);
  EXPECT_EQ(stored(1).Kind, 1);
}

// Every command that leaves a pending new entry with a code asks, with its own title, whether to save it;
// "Yes" goes through the save's checks, and a refusal abandons the command and keeps the entry as typed.
TEST_F(MainWindowEntryTest, ThePendingEntryQuestionDoesNotBypassTheChecks) {
  openOn({{"A1"}, {"B1"}}, 1, 1);
  const struct {
    const char* how;
    std::function<void()> leave;
    const char* title;  // of the question; none: saved without one
  } leaving[] = {
      {"first", [&] { ui.click("cmdBirinci"); }, " KALVOR 952 Uyarlama 3.0"},
      {"previous", [&] { ui.key(Key::PageUp); }, "KALVOR 952 Uyarlama 3.0"},
      {"next", [&] { ui.key(Key::PageDown); }, "KALVOR 952 Uyarlama 3.0"},
      {"last", [&] { ui.key(Key::End); }, "KALVOR 952 Uyarlama 3.0  BETA"},
      {"service", [&] { ui.click("cmdServis"); }, "KALVOR 952 Uyarlama 3.0 BETA"},
      {"exit", [&] { ui.click("cmdCikis"); }, "KALVOR 952 Uyarlama 3.0 BETA"},
      {"close box", [&] { ui.closeBox(); }, "KALVOR 952 Uyarlama 3.0 BETA"},
      {"click on the window", [&] { ui.clickForm(); }, nullptr}};
  const struct {
    const char* code;
    int tab;
    const char* refusal;
  } refusals[] = {{"b1", 1, kDuplicate},
                  {"C1", 8, "! DİKKAT ! Bu sekme ile Kayıt Yapılamaz !|'Tümü' sekmesinde çalışırken kayıt "
                            "yapılamaz. İlgili sekmeyi seçtikten sonra kayıt yapın."}};
  for (const auto& r : refusals) {
    newEntry(r.code);
    if (r.tab != tab()) chooseTab(r.tab);
    for (const auto& l : leaving) {
      SCOPED_TRACE(std::string(r.code) + " " + l.how);
      ui.clearShown();
      l.leave();
      Strings want;
      if (l.title) want.push_back(std::string(l.title) + "|Yeni giriş tamamlanmadı!  Kayıtlansınmı?");
      want.push_back(r.refusal);
      EXPECT_EQ(messages(), want);
      EXPECT_EQ(ui.messages().front().icon, l.title ? MsgIcon::Question : MsgIcon::Exclamation);
      expectEntryKept(r.code, 2);
    }
  }
  // Declined, the entry is dropped and the record shown before comes back; accepted, it is saved and the
  // command goes on.
  chooseTab(1);
  newEntry("C1");
  ui.answer(MsgAnswer::No);
  ui.key(Key::End);
  EXPECT_EQ(text("bilKod"), "A1");
  EXPECT_EQ(recordsOnDisk(), 2);
  newEntry("C1");
  ui.key(Key::End);
  EXPECT_EQ(recordsOnDisk(), 3);
  EXPECT_EQ(text("bilKod"), "C1");
  EXPECT_EQ(chain(), (Strings{"A1", "B1", "C1"}));
  // A code of blanks alone, left by the mouse (a key would trim it first), is no code: no question, and
  // the commands leave it as they leave an empty entry; the exit ends the program.
  ui.key(Key::F1);
  ui.type(" ");
  ui.clearShown();
  ui.click("cmdBirinci");
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(text("bilKod"), "C1");  // the record shown before the entry
  ui.key(Key::F1);
  ui.type(" ");
  ui.click("cmdCikis");
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(recordsOnDisk(), 3);
  EXPECT_TRUE(ui.ended());
}

TEST_F(MainWindowEntryTest, NoRecordBeyondTheLastRecordNumber) {
  std::vector<std::uint8_t> dat(32767 * 512, 0), abc(436, 0);
  ProductRecord a = makeProduct("A");
  a.RecordNumber = a.ChainPrev = a.ChainNext = 1;
  a.encode(dat.data());
  IndexEntry{1, 1}.encode(abc.data() + 33 * 4);
  folder.write("KLVR952.DAT", dat);
  folder.write("KLVR952.ABC", abc);
  openOn({}, 1, 1);
  newEntry("B");
  ui.key(Key::F2);
  EXPECT_EQ(messages(),
            Strings{"! YENİ KAYIT HATASI !|Data dosyası en fazla 32767 kayıt alabilir!...  Yeni kayıt yapılamadı..."});
  EXPECT_TRUE(folder.bytes("KLVR952.DAT") == dat);
  EXPECT_TRUE(folder.bytes("KLVR952.ABC") == abc);
  expectEntryKept("B", 32767);
}

TEST_F(MainWindowEntryTest, ANumberTooLargeForItsFieldIsRefusedWithTheEntryKept) {
  openOn({{"A1"}}, 1, 1);
  newEntry("B1");
  fill("bilKatsayi", "1e39");
  ui.key(Key::F2);
  EXPECT_EQ(messages(), Strings{"! GİRİŞ HATASI !|Katsayı alanına girilen sayı çok büyük!...  Kayıt yapılamadı..."});
  expectEntryKept("B1", 1);
  EXPECT_EQ(chain(), Strings{"A1"});
  ui.key(Key::Escape);
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  ui.key(Key::F12);
  fill("bilMaliyet", "999999999999999999999999999999999999999 YTL");
  ui.key(Key::F2);
  EXPECT_EQ(messages().back(),
            "! GİRİŞ HATASI !|Maliyet alanına girilen sayı çok büyük!...  Kayıt yapılamadı...");
  EXPECT_EQ(text("bilMaliyet"), "999999999999999999999999999999999999999 YTL");
  EXPECT_TRUE(folder.bytes("KLVR952.DAT") == before);
}

TEST_F(MainWindowEntryTest, AfterAPointerErrorInTheSaveTheRecordIsShownAsStored) {
  makeCompany({{"A1"}, {"B1"}, {"C1"}});
  patch(2, [](ProductRecord& r) { r.ChainNext = 99; });
  openOn({}, 2, 1);
  const std::vector<std::uint8_t> dat = folder.bytes("KLVR952.DAT");
  fill("bilKod", "D1");
  ui.key(Key::F2);
  EXPECT_EQ(messages().back(), "İNDEKS POİNTER HATASI !| 2 numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek "
                               "için 'Oluştur' komutunu çalıştırın...");
  EXPECT_TRUE(folder.bytes("KLVR952.DAT") == dat);
  EXPECT_EQ(text("bilKod"), "B1");
}

}  // namespace
}  // namespace kv::testing
