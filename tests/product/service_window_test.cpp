// The data-file service window worked as a user works it: moves in record and code order, the numbered
// chain errors, the search, the pointer repair, the wipe and the rebuild, and the files as they lie on disk.
#include <cerrno>

#include "base/collation.h"
#include "files/files.h"
#include "support/file_faults.h"
#include "ui/keys.h"
#include "window_fixture.h"

namespace kv::testing {
namespace {

namespace Key = ui::Key;

class ServiceWindowTest : public WindowTest {
 protected:
  // Records 1..5: codes in record order E, C, A, D, B, so that code order is 3, 5, 2, 4, 1.
  void SetUp() override {
    Company c;
    c.addAll({{"E", "Beş"}, {"C", "Üç"}, {"A", "Bir"}, {"D", "Dört"}, {"B", "İki"}});
    for (std::int16_t r = 1; r <= 5; ++r) {
      ProductRecord rec = c.record(r);
      rec.CostDate = "05.03.2008";
      rec.CreatedDate = "01.02.2008";
      rec.RecipeNumber = 100 + r;
      c.write(r, rec);
    }
  }
  void openService(std::int16_t current) {
    KALVOR3.CompanyName = "KLVR952";
    KALVOR3.CurrentRecordNumber = current;
    ui.start("frmServis");
    ui.clearShown();
  }
  void deleteRecord(std::int16_t n) {
    Company c;
    unlinkFromAlphabeticIndex(c.files(), n, UnlinkVariant::Delete, nullptr);
  }
  void patch(std::int16_t n, const std::function<void(ProductRecord&)>& change) {
    Company c;
    ProductRecord r = c.record(n);
    change(r);
    c.write(n, r);
  }
  ProductRecord stored(std::int16_t n) {
    Company c;
    return c.record(n);
  }
  void setText(std::string_view name, const std::string& utf8) { box(name).Text = w(utf8); }
  // What the window shows of its record: number, code, kind, previous and next code.
  std::string shown() {
    return text("bilPointer") + " " + text("bilKod") + " " + text("bilKatsayi") + " <" + text("bilOncekiKod") + " >" +
           text("bilSonrakiKod");
  }
};

TEST_F(ServiceWindowTest, OpensOnRecordOneWithoutACurrentRecord) {
  openService(0);
  EXPECT_EQ(shown(), "1 E 1 <D >E");  // the chain's last record points to itself
}

TEST_F(ServiceWindowTest, ADeletedRecordShowsItsKindAndNoNeighbours) {
  deleteRecord(4);
  openService(4);
  EXPECT_EQ(shown(), "4 D -1 < >");
  EXPECT_EQ(text("bilPrevious") + text("bilNext"), "00");
}

TEST_F(ServiceWindowTest, RecordOrderStopsAtBothEndsAndATypedNumberOutsideTheFileIsPutBack) {
  openService(2);
  ui.key(Key::PageUp);
  EXPECT_EQ(text("bilPointer"), "1");
  int beeps = ui.beeps();
  ui.key(Key::PageUp);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_FALSE(enabled("cmdOnceki"));
  ui.key(Key::End);
  EXPECT_EQ(text("bilPointer"), "5");
  EXPECT_FALSE(enabled("cmdSonraki"));
  EXPECT_TRUE(enabled("cmdOnceki"));
  for (const char* typed : {"0", "9", "x"}) {
    setText("bilPointer", typed);
    ui.focus("bilPointer");
    ui.key(Key::Enter);
    EXPECT_EQ(text("bilPointer"), "5") << typed;
  }
  setText("bilPointer", "3");
  ui.key(Key::Enter);
  EXPECT_EQ(shown(), "3 A 1 <A >B");
}

TEST_F(ServiceWindowTest, TheAlphabeticStepsFollowTheChainAndSkipDeletedEndsOnlyAtFirstAndLast) {
  deleteRecord(3);  // A, the chain's start
  openService(1);
  ui.key(Key::F5);
  EXPECT_EQ(text("bilKod"), "B");
  std::string walked;
  for (int i = 0; i < 4; ++i) {
    walked += text("bilKod");
    ui.key(Key::F7);
  }
  EXPECT_EQ(walked, "BCDE");
  EXPECT_FALSE(enabled("cmdSySonraki"));
  EXPECT_TRUE(ui.messages().empty());
}

// The alphabetic buttons after a checked step follow where it stands: both are on before each step.
TEST_F(ServiceWindowTest, TheAlphabeticButtonsFollowWhereTheStepStands) {
  openService(1);
  // Record `from` shown, then `key`: the code shown and whether previous and next are on.
  auto step = [&](const char* how, std::int16_t from, int key, const char* shown, bool previous, bool next) {
    SCOPED_TRACE(how);
    setText("bilPointer", std::to_string(from));
    ui.focus("bilPointer");
    ui.key(Key::Enter);
    expectButtonsAfter(key, "cmdSyOnceki", "cmdSySonraki", shown, previous, next);
  };
  // Code order A, B, C, D, E: records 3, 5, 2, 4, 1.
  step("first", 2, Key::F5, "A", false, true);
  step("last", 2, Key::F8, "E", true, false);
  step("previous, to the start", 5, Key::F6, "A", false, true);
  step("previous, inside", 2, Key::F6, "B", true, true);
  step("next, to the end", 4, Key::F7, "E", true, false);
  for (std::int16_t r : {3, 5, 2, 4}) deleteRecord(r);
  step("next, chain of one", 1, Key::F7, "E", false, false);
  // An index that names no record: error 1, the button of the step's side off.
  Company c;
  for (int b = 1; b <= kBucketCount; ++b) put(c.indexFile(), b, IndexEntry{});
  step("first, no chain", 1, Key::F5, "E", false, true);
  EXPECT_EQ(messages().back(), "ALFABETİK SIRALAMA HATASI !|Hata Numarası : 1");
}

TEST_F(ServiceWindowTest, AChainErrorIsToldByItsNumberAndLeavesTheRecordOnScreen) {
  deleteRecord(1);
  patch(2, [](ProductRecord& r) { r.ChainNext = 0; });  // C leads nowhere
  patch(4, [](ProductRecord& r) { r.ChainPrev = 1; });  // D leads back to the deleted E
  openService(2);
  struct Case {
    std::int16_t from;
    int key;
    const char* error;
    const char* disabled;
  };
  for (const Case& c : {Case{2, Key::F7, "9", "cmdSySonraki"}, Case{4, Key::F6, "10", "cmdSyOnceki"}}) {
    setText("bilPointer", std::to_string(c.from));
    ui.focus("bilPointer");
    ui.key(Key::Enter);
    ui.clearShown();
    ui.key(c.key);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], std::string("ALFABETİK SIRALAMA HATASI !|Hata Numarası : ") + c.error);
    EXPECT_EQ(text("bilPointer"), std::to_string(c.from));
    EXPECT_FALSE(enabled(c.disabled));
  }
}

TEST_F(ServiceWindowTest, TheSearchFindsTheFirstRecordByCodeDeletedOnesTooAndTellsAMiss) {
  deleteRecord(4);
  openService(1);
  ui.key(Key::F3);
  EXPECT_TRUE(ui.control("FrameArama").Visible());
  EXPECT_EQ(ui.focused(), "bilArananKod");
  for (int k : {Key::F9, Key::F11, Key::F12}) {
    ui.focus("cmdTamam");
    ui.key(k);
    EXPECT_EQ(ui.focused(), "bilArananKod");
  }
  ui.type(" d ");
  ui.key(Key::Enter);
  EXPECT_EQ(shown(), "4 D -1 < >");
  EXPECT_FALSE(ui.control("FrameArama").Visible());
  EXPECT_EQ(text("bilArananKod"), "");
  ui.key(Key::F3);
  ui.type("Z");
  ui.click("cmdTamam");
  EXPECT_EQ(messages(), (std::vector<std::string>{"KAYIT ARAMA|Aranan kayıt bulunamadı!..."}));
  EXPECT_EQ(text("bilPointer"), "4");
}

TEST_F(ServiceWindowTest, ThePointerSaveWritesTheTypedFieldsIntoThatRecordOnly) {
  openService(2);
  const std::vector<std::uint8_t> index = folder.bytes("KLVR952.ABC");
  std::vector<std::uint8_t> want = folder.bytes("KLVR952.DAT");
  ProductRecord r = stored(2);
  r.Code = "CC";
  r.Name = w("Yeni ad");
  r.Kind = 3;
  r.ChainPrev = 2;
  r.ChainNext = 7;
  r.encode(want.data() + 512);
  setText("bilKod", "CC");
  setText("bilSimdikiAd", "Yeni ad");
  setText("bilKatsayi", "3");
  setText("bilPrevious", "2");
  setText("bilNext", "7");
  ui.focus("bilKod");
  ui.key(Key::F1);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), want);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), index);
  EXPECT_EQ(caption(), "Data dosyasındaki  2 numaralı kayıt yenilendi...");
}

TEST_F(ServiceWindowTest, ThePointerSaveRefusesANumberOutsideTheSixteenBitRange) {
  openService(2);
  const std::vector<std::uint8_t> data = folder.bytes("KLVR952.DAT");
  for (const char* field : {"bilKatsayi", "bilPrevious", "bilNext"}) {
    ui.clearShown();
    setText(field, "40000");
    ui.click("cmdKayitla");
    EXPECT_EQ(messages().size(), 1u) << field;
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), data) << field;
    setText(field, "1");
  }
}

TEST_F(ServiceWindowTest, TheWipeRefusesALiveRecordAndErasesADeletedOneForGood) {
  deleteRecord(4);
  openService(2);
  ui.key(Key::F4);
  EXPECT_EQ(messages(), (std::vector<std::string>{"HATA !  Geçerli kayıt silinmek isteniyor...|"
                                                  "Bu komut ile yalnızca geçersiz kayıtlar silinebilir..."}));
  setText("bilPointer", "4");
  ui.focus("bilPointer");
  ui.key(Key::Enter);
  ui.clearShown();
  ui.answer(MsgAnswer::Yes);
  ui.key(Key::F4);
  EXPECT_EQ(messages(), (std::vector<std::string>{"952 [ TAM SİLME ] 952|"
                                                  "4 numaralı kayıtı gerçekten silmek istiyormusunuz?..."}));
  const ProductRecord r = stored(4);
  EXPECT_EQ(trim(r.Code.view()) + trim(r.Name.view()) + trim(r.CostDate.view()), "");
  EXPECT_EQ(r.Kind, -1);
  EXPECT_EQ(r.CreatedDate.view(), "01.02.2008");
  EXPECT_EQ(r.RecipeNumber, 104);
  EXPECT_EQ(shown(), "4  -1 < >");
  EXPECT_EQ(caption(), " 4 numaralı kayıt tamamen silindi... Kurtarmak olanaksız!...");
  ui.clearShown();
  int beeps = ui.beeps();
  ui.key(Key::F4);
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(ui.beeps(), beeps + 1);
}

TEST_F(ServiceWindowTest, TheRebuildLeavesOutDeletedRecordsAndShowsTheLastOneWritten) {
  deleteRecord(2);
  deleteRecord(4);
  patch(5, [](ProductRecord& r) { r.ChainNext = 5; });  // a loop the rebuild mends
  const std::vector<std::uint8_t> oldData = folder.bytes("KLVR952.DAT");
  openService(1);
  ui.answer(MsgAnswer::No);
  ui.key(Key::F2);
  EXPECT_NE(messages().at(0).find("KLVR952.DAT\r\n952KLVR.DAT olarak ve indeks dosyası\r\nKLVR952.ABC"), std::string::npos);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), oldData);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 SERVİS");

  ui.clearShown();
  ui.answer(MsgAnswer::Yes);
  ui.key(Key::F2);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), oldData);
  EXPECT_EQ(shown(), "3 B 1 <A >E");  // E, A, B: the old 1, 3 and 5
  EXPECT_EQ(KALVOR3.CurrentRecordNumber, 3);
  for (const char* b : {"cmdOnceki", "cmdSonraki", "cmdSyOnceki", "cmdSySonraki"}) EXPECT_TRUE(enabled(b)) << b;
  Company rebuilt;
  EXPECT_TRUE(checkChain(rebuilt.files()).sound);
}

TEST_F(ServiceWindowTest, ARebuildThatFailsSaysWhichFileAndLeavesTheFilesAsTheyWere) {
  openService(2);
  const std::vector<std::uint8_t> data = folder.bytes("KLVR952.DAT");
  const std::vector<std::uint8_t> index = folder.bytes("KLVR952.ABC");
  {
    FailOn full(FileOp::Write, "KLVR952.ABC.~new", ENOSPC, 10, 1);
    ui.answer(MsgAnswer::Yes);
    ui.key(Key::F2);
  }
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_EQ(messages()[1].substr(0, messages()[1].find('|')), "! DOSYA HATASI !");
  EXPECT_NE(messages()[1].find("KLVR952.ABC"), std::string::npos);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), data);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), index);
  EXPECT_EQ(shown(), "2 C 1 <B >D");
  ui.key(Key::F5);
  EXPECT_EQ(text("bilKod"), "A");
}

TEST_F(ServiceWindowTest, ARebuildThatKeepsNothingEmptiesTheBoxes) {
  for (std::int16_t r = 1; r <= 5; ++r) deleteRecord(r);
  openService(1);
  ui.answer(MsgAnswer::Yes);
  ui.key(Key::F2);
  EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), 0u);
  EXPECT_EQ(shown(), "   < >");
  EXPECT_EQ(KALVOR3.CurrentRecordNumber, 0);
}

}  // namespace
}  // namespace kv::testing
