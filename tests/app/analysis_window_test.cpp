// The analysis window on its own: what it shows of a product, the keys that step through the product file,
// the commands it has now, and what it opens.
#include "app_fixture.h"

namespace kv::testing {
namespace {

class AnalysisWindowTest : public AppTest {
 protected:
  void makeCompany(const std::vector<Company::Spec>& specs) {
    Company c;
    c.addAll(specs);
  }
};

TEST_F(AnalysisWindowTest, TheProductsFieldsAndDatesAreShownInTheWindowsOwnForm) {
  {
    Company c;
    c.add("A1");
    auto rec = makeProduct("  KASNAK-12 ", " Kasnak ", 2);
    rec.Unit = "AD";
    rec.ProductGroup = w(" Güç aktarma");
    rec.SpecialCode = "X1";
    rec.RecipeCost = 1234.5f;
    rec.RecipeDate = "07.01.2009";
    rec.Cost = 12.25f;
    rec.UpdatedDate = "31.12.2007";
    rec.CreatedDate = "";  // a blank date field is shown as it stands
    c.append(rec);
  }
  openAnalysisOn(2);
  EXPECT_EQ(text("txtKod"), "KASNAK-12");
  EXPECT_EQ(label("lblAd"), "Kasnak");
  EXPECT_EQ(label("lblBirim"), "AD");
  EXPECT_EQ(label("lblUrunGrubu"), "Güç aktarma");
  EXPECT_EQ(label("lblOzelKod"), "X1");
  EXPECT_EQ(label("lblMaliyet"), "1.234,50 TL");
  EXPECT_EQ(label("lblMalTar"), "7 Ocak 2009");
  EXPECT_EQ(label("lblStatikMaliyet"), "12,25 TL");
  EXPECT_EQ(label("lblStatikMTarih"), "31 Aralık 2007");
  EXPECT_EQ(label("lblOlTarih"), std::string(10, ' '));
  EXPECT_EQ(label("lblStatikTarih"), "5 Mart 2008");
  EXPECT_EQ(KALVOR3.RecipeDate, Date::fromYmd(2008, 3, 5));
  // The first showing keeps the window's title; the next one shows the record's place.
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 ANALİZ");
  ui.key(ui::Key::PageUp);
  EXPECT_EQ(caption(), " KALVOR 952  Kayıt : 1 / 2");
}

TEST_F(AnalysisWindowTest, TheNavigationKeysStepThroughTheFileAndBeepAtItsEnds) {
  makeCompany({{"A1"}, {"B1"}, {"C1"}});
  openAnalysisOn(2);
  EXPECT_EQ(text("txtKod"), "B1");
  ui.key(ui::Key::PageDown);
  EXPECT_EQ(text("txtKod"), "C1");
  EXPECT_EQ(caption(), " KALVOR 952  Kayıt : 3 / 3");
  int beeps = ui.beeps();
  ui.key(ui::Key::PageDown);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 ANALİZ");
  EXPECT_EQ(text("txtKod"), "C1");
  ui.key(ui::Key::Home);
  EXPECT_EQ(text("txtKod"), "A1");
  beeps = ui.beeps();
  ui.key(ui::Key::PageUp);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 ANALİZ");
  ui.key(ui::Key::End);
  EXPECT_EQ(text("txtKod"), "C1");
  // Keys reach the dispatcher from the command buttons too; the focus goes back to the code box.
  ui.focus("cmdYardim");
  ui.key(ui::Key::PageUp);
  EXPECT_EQ(text("txtKod"), "B1");
  EXPECT_EQ(ui.focused(), "txtKod");
  // The main window's record is not touched.
  EXPECT_EQ(KALVOR3.CurrentRecordNumber, 2);
}

TEST_F(AnalysisWindowTest, DeletedRecordsGiveWayToTheNextLiveOneOrToAMessageAtTheEnd) {
  makeCompany({{"A1"}, {"SIL", "", -1}, {"C1"}, {"SON", "", -1}});
  openAnalysisOn(1);
  ui.key(ui::Key::PageDown);
  EXPECT_EQ(text("txtKod"), "C1");
  EXPECT_EQ(caption(), " KALVOR 952  Kayıt : 3 / 4");
  // The number asked for stays the active one until the next showing: F2 finds the code box naming
  // another product, and opens nothing.
  ui.key(ui::Key::F2);
  EXPECT_EQ(visibleName(), "frmAnaliz");
  ui.key(ui::Key::End);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "! HATA !|Geçerli kayıt olmadığı için görüntülenemiyor...");
  EXPECT_EQ(text("txtKod"), "C1");
}

TEST_F(AnalysisWindowTest, AFirstRecordOutsideTheFileIsTheLastOne) {
  makeCompany({{"A1"}, {"B1"}});
  openAnalysisOn(0);
  EXPECT_EQ(text("txtKod"), "B1");
}

TEST_F(AnalysisWindowTest, AnEmptyProductFileShowsNothingAndOnlyBeeps) {
  folder.write("KLVR952.ABC", std::vector<std::uint8_t>(12, 1));
  openAnalysisOn(0);
  EXPECT_EQ(visibleName(), "frmAnaliz");
  EXPECT_EQ(text("txtKod"), "");
  // The index opening rule: 109 empty buckets, without a word.
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), std::vector<std::uint8_t>(436, 0));
  const int beeps = ui.beeps();
  for (int key : {ui::Key::Home, ui::Key::End, ui::Key::PageDown, ui::Key::PageUp}) ui.key(key);
  EXPECT_EQ(ui.beeps(), beeps + 4);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 ANALİZ");
}

TEST_F(AnalysisWindowTest, TypingAndClicksAndTheHelpKey) {
  makeCompany({{"A1"}, {"B1"}});
  openAnalysisOn(2);
  box("txtKod").Text = "";
  ui.type("éx");
  EXPECT_EQ(text("txtKod"), "Øx");
  // A click on the window shows the product again.
  ui.clickForm();
  EXPECT_EQ(text("txtKod"), "B1");
  EXPECT_EQ(caption(), " KALVOR 952  Kayıt : 2 / 2");

  ui.key(ui::Key::F10);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0],
            " KALVOR 952 Uyarlama 3.0 ANALİZ|FONKSİYON TUŞLARI: \r\rF1    =  Arama\rF2    =  Reçete\rF3    =  Liste\r"
            "F4    =  Yazdır\rF5    =  Hesaplat (Maliyetlendir)\rF6    =  Servis\rF10  =  Yardım\r"
            "ESC =  Çıkış (Vazgeç)\r\rAÇIKLAMA: Programın bu bölümü reçete (ürün ağacı) ve liste hazırlamak için "
            "kullanılır.");
  EXPECT_EQ(ui.focused(), "txtKod");
  const int beeps = ui.beeps();
  ui.key(ui::Key::F12);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(messages().size(), 1u);
}

}  // namespace
}  // namespace kv::testing
