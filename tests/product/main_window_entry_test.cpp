// New entries and saving at the main window: the boxes into the record, the code checks, the refusals
// that keep the entry as typed, and the chain kept in step with new and changed codes.
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
};

TEST_F(MainWindowEntryTest, TheBoxesGoIntoTheirFieldsAndNumbersReadBackUnchanged) {
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
      {"bilAciklama", "Döküm gövde"}, {"bilBirim", "ADETLER"},   {"bilUrunGrubu", "Güç aktarma"},
      {"bilMaliyet", "12,5 eur"},     {"bilEvrakNo", "E-77"},    {"bilOzelKod", "X1"},
      {"bilKatsayi", "1,5"},          {"bilTedarikci", "Çelik AŞ"}, {"bilBoyutlar", "100 x 40"},
      {"bilAgirlik", "2,5 kg"},       {"bilOzelNot", "Özel"}};
  for (const auto& [name, value] : typed) fill(name, value);
  ui.click("optKalvor");
  ui.click("chkResimVar");
  ui.key(Key::F2);
  want.Description = w("Döküm gövde");
  want.Unit = "ADETL";
  want.ProductGroup = w("Güç aktarma");
  want.Cost = 12.5f;
  want.CostCurrency = "EUR";
  want.CostType = 3;
  want.DocumentNo = "E-77";
  want.CostDate = "05.03.2008";
  want.CostDay = 5;
  want.CostMonth = 3;
  want.CostYear = 2008;
  want.SpecialCode = "X1";
  want.Coefficient = 1.5f;
  want.Supplier = w("Çelik AŞ");
  want.Dimensions = "100 x 40";
  want.Weight = "2,5 kg";
  want.HasPicture = 1;
  want.SpecialNote = w("Özel");
  expectRecord(1, want);

  // Saved again and again as shown, on a later working date: the numbers stay, so the cost date does too.
  KALVOR3.StaticDate = Date::fromYmd(2008, 4, 1);
  EXPECT_EQ(text("bilMaliyet"), "12,5 EUR");
  EXPECT_EQ(text("bilKatsayi"), "1,5");
  ui.key(Key::F2);
  ui.key(Key::F2);
  expectRecord(1, want);

  // The cost text: the number, then the currency from the first character that is no digit or separator.
  const struct {
    const char* typed;
    float cost;
    const char* currency;
  } costs[] = {{"1.250,00 EUR", 1.25f, "EUR  "}, {"150", 150, "EUR  "}, {"-5 TL", -5, "-5 TL"},
               {"100 USDOLLAR", 100, "USDOL"}};
  for (const auto& c : costs) {
    fill("bilMaliyet", c.typed);
    ui.key(Key::F2);
    EXPECT_EQ(stored(1).Cost, c.cost) << c.typed;
    EXPECT_EQ(toUtf8(stored(1).CostCurrency.view()), c.currency) << c.typed;
  }
  EXPECT_EQ(toUtf8(stored(1).CostDate.view()), "01.04.2008");
  EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowEntryTest, ACodeTakenInAnyLetterCaseOrBeyondTwentyCharactersIsRefused) {
  openOn({{"kasnak"}, {"ABCDEFGHIJKLMNOPQRST"}}, 1, 1);
  newEntry("KASNAK");
  ui.key(Key::F2);
  EXPECT_EQ(messages(), Strings{kDuplicate});
  EXPECT_EQ(lastIcon(), MsgIcon::Exclamation);
  expectEntryKept("KASNAK", 2);
  // Cut to the field's twenty characters, the code is the one stored.
  newEntry("ABCDEFGHIJKLMNOPQRSTUVWXY");
  ui.key(Key::F2);
  EXPECT_EQ(messages().size(), 2u);
  expectEntryKept("ABCDEFGHIJKLMNOPQRSTUVWXY", 2);
  fill("bilKod", "ABCDEFGHIJKLMNOPQRSTU");
  ui.clickForm();
  EXPECT_EQ(messages().size(), 3u);
  expectEntryKept("ABCDEFGHIJKLMNOPQRSTU", 2);
  EXPECT_EQ(chain(), (Strings{"ABCDEFGHIJKLMNOPQRST", "kasnak"}));
}

TEST_F(MainWindowEntryTest, AChangedCodeIsAskedForAndMovesTheRecord) {
  openOn({{"B1"}, {"kasnak"}, {"M1"}}, 2, 1);
  // Declined: the edits are discarded.
  ui.answer(MsgAnswer::No);
  fill("bilKod", "A0");
  fill("bilAd", "yeni ad");
  ui.key(Key::F2);
  EXPECT_EQ(text("bilKod"), "kasnak");
  EXPECT_EQ(text("bilAd"), "");
  EXPECT_EQ(storedCode(2), "kasnak");
  // The letter case alone is a change of code too.
  fill("bilKod", "Kasnak");
  ui.key(Key::F2);
  EXPECT_EQ(storedCode(2), "Kasnak");
  EXPECT_EQ(chain(), (Strings{"B1", "Kasnak", "M1"}));
  fill("bilKod", "A0");
  ui.key(Key::F2);
  EXPECT_EQ(chain(), (Strings{"A0", "B1", "M1"}));
  EXPECT_EQ(bucket("A"), (Ends{2, 2}));
  EXPECT_EQ(bucket("K"), (Ends{0, 0}));
  // Another record's code: refused, and the edit discarded.
  fill("bilKod", "m1");
  ui.key(Key::F2);
  EXPECT_EQ(messages().back(),
            "! DÜZELTME HATASI !|Girdiğiniz kod kayıtlı olduğu için yaptığınız değişiklik iptal edilecek!...");
  EXPECT_EQ(text("bilKod"), "A0");
  EXPECT_EQ(messages().size(), 4u);
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

// Every way of leaving a pending entry with "Yes" to its question goes through the save's checks; a
// refusal abandons the command and keeps the entry as typed.
TEST_F(MainWindowEntryTest, ThePendingEntryQuestionDoesNotBypassTheChecks) {
  openOn({{"A1"}, {"B1"}}, 1, 1);
  const std::vector<std::function<void()>> leaving = {
      [&] { ui.click("cmdBirinci"); }, [&] { ui.key(Key::PageUp); }, [&] { ui.key(Key::PageDown); },
      [&] { ui.key(Key::End); },       [&] { ui.click("cmdServis"); }, [&] { ui.click("cmdCikis"); },
      [&] { ui.closeBox(); },          [&] { ui.clickForm(); }};
  newEntry("b1");
  for (const auto& leave : leaving) {
    ui.clearShown();
    leave();
    EXPECT_EQ(messages().back(), kDuplicate);
    expectEntryKept("b1", 2);
  }
  fill("bilKod", "C1");
  chooseTab(8);
  for (const auto& leave : leaving) {
    ui.clearShown();
    leave();
    EXPECT_EQ(messages().back(), "! DİKKAT ! Bu sekme ile Kayıt Yapılamaz !|'Tümü' sekmesinde çalışırken kayıt "
                                 "yapılamaz. İlgili sekmeyi seçtikten sonra kayıt yapın.");
    expectEntryKept("C1", 2);
  }
  // Accepted, the entry is saved and the command goes on.
  chooseTab(1);
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

TEST_F(MainWindowEntryTest, APointerErrorInTheSaveLeavesTheIndexAsItWas) {
  makeCompany({{"A1"}, {"B1"}, {"C1"}});
  patch(2, [](ProductRecord& r) { r.ChainNext = 99; });
  openOn({}, 2, 1);
  const std::vector<std::uint8_t> dat = folder.bytes("KLVR952.DAT"), abc = folder.bytes("KLVR952.ABC");
  fill("bilKod", "D1");
  ui.key(Key::F2);
  EXPECT_EQ(messages().back(), "İNDEKS POİNTER HATASI !| 2 numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek "
                               "için 'Oluştur' komutunu çalıştırın...");
  EXPECT_TRUE(folder.bytes("KLVR952.ABC") == abc);
  EXPECT_TRUE(folder.bytes("KLVR952.DAT") == dat);
  // The window shows the record as it is stored, not what was typed.
  EXPECT_EQ(text("bilKod"), "B1");
}

// A number of more than seven digits is shown rounded; saved without an edit it keeps its stored value,
// and the cost date stays.
TEST_F(MainWindowEntryTest, NumbersShownRoundedAreKeptWhenTheirBoxIsNotEdited) {
  makeCompany({{"A1"}});
  patch(1, [](ProductRecord& r) {
    r.Cost = r.Coefficient = 12345678;
    stampDate(r, RecordDate::Cost, Date::fromYmd(2001, 1, 2));
  });
  openOn({}, 1, 1);
  ui.key(Key::F12);
  EXPECT_EQ(text("bilKatsayi"), "1,234568E+07");
  ProductRecord want = stored(1);
  fill("bilAd", "Kasnak");
  ui.key(Key::F2);
  want.Name = "Kasnak";
  updatedToday(want);
  expectRecord(1, want);
  // Edited, the box is read as typed.
  fill("bilKatsayi", "1,5E+07");
  ui.key(Key::F2);
  EXPECT_EQ(stored(1).Coefficient, 15000000.0f);
}

// "€" has no place in the collation: such a code is saved out of the chain, and can still be changed
// (then linked) and deleted.
TEST_F(MainWindowEntryTest, ACodeOutsideTheCollationIsSavedUnlinkedAndCanBeChangedAndDeleted) {
  openOn({{"A1"}}, 1, 1);
  newEntry("€X");
  ui.key(Key::F2);
  EXPECT_EQ(storedCode(2), "€X");
  EXPECT_EQ(stored(2).ChainPrev, 0);
  EXPECT_EQ(stored(2).ChainNext, 0);
  EXPECT_EQ(chain(), Strings{"A1"});
  fill("bilKod", "EX");
  ui.key(Key::F2);
  EXPECT_EQ(chain(), (Strings{"A1", "EX"}));
  newEntry("€Y");
  ui.key(Key::F2);
  ui.key(Key::F4);
  EXPECT_EQ(stored(3).Kind, -1);
  EXPECT_EQ(chain(), (Strings{"A1", "EX"}));
  // Only the two questions: no pointer message on the way.
  EXPECT_EQ(messages().size(), 2u);
}

}  // namespace
}  // namespace kv::testing
