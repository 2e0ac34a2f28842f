// The main window's opening, activation and display: the record-order scan on the screen, the kind tabs,
// the titles and the date label.
#include "window_fixture.h"

#include "files/files.h"
#include "product/product_entry.h"

namespace kv::testing {
namespace {

class MainWindowDisplayTest : public WindowTest {
 protected:
  // Products in record order: kinds chosen per record.
  void makeCompany(const std::vector<Company::Spec>& specs) {
    Company c;
    c.addAll(specs);
  }
  void chooseTab(int index) { ui.chooseTab("TabStrip1", index); }
};

TEST_F(MainWindowDisplayTest, FirstStartOnAnEmptyFolder) {
  openMain();
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA   [ KLVR952 ]");
  EXPECT_EQ(label("lblFirma"), "KLVR952");
  EXPECT_EQ(tab(), 8);
  EXPECT_TRUE(option("OptKayitsal"));
  EXPECT_FALSE(option("OptAlfabetik"));
  EXPECT_EQ(label("LblTarih"), " 5 Mart 2008  ");
  EXPECT_EQ(text("bilKod"), "");
  EXPECT_TRUE(mainWindow().NoRecordShown);
  EXPECT_EQ(mainWindow().RecordShown, 0);
  EXPECT_EQ(KALVOR3.StaticDate, Date::fromYmd(2008, 3, 5));
  EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowDisplayTest, ALongCompanyNameIsCutInTheLabelOnly) {
  openMain("ABCDEFGHIJKL");
  EXPECT_EQ(label("lblFirma"), "ABCDEFGH");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA   [ ABCDEFGHIJKL ]");
}

TEST_F(MainWindowDisplayTest, ARecordIsShownWithItsTitleAndFields) {
  {
    Company c;
    c.add("A1", "Birinci", 1);
    auto rec = testing::makeFilledProduct();
    c.append(rec);
    rec.UpdatedDate = "2008/03/05";
    c.append(rec);
  }
  KALVOR3.CurrentRecordNumber = 2;
  mainKept().CurrentTab = 2;
  openMain();
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 3");
  EXPECT_TRUE(option("optYaptirma"));
  EXPECT_EQ(ui.get<ui::CheckBox>("chkResimVar").Value(), 1);
  EXPECT_EQ(label("LblTarih"), " 31 Aralık 2009  ");
  EXPECT_EQ(label("lblMalKodu"), "Parça Kodu :");
  EXPECT_EQ(label("lblMalAdi"), "Parça Adı :");
  // The cost display is off when the window loads.
  EXPECT_EQ(text("bilMaliyet"), "");
  // With it on, each box shows its text of the record (what the texts are is the entry model's).
  ui.key(ui::Key::F12);
  const EntryBoxes shown = ProductEntry::boxesOf(Company().record(2), true);
  const std::pair<const char*, std::string EntryBoxes::*> boxes[] = {
      {"bilKod", &EntryBoxes::code},             {"bilAd", &EntryBoxes::name},
      {"bilAciklama", &EntryBoxes::description}, {"bilBirim", &EntryBoxes::unit},
      {"bilUrunGrubu", &EntryBoxes::group},      {"bilMaliyet", &EntryBoxes::cost},
      {"bilMTarih", &EntryBoxes::costDate},      {"bilEvrakNo", &EntryBoxes::documentNo},
      {"bilOzelKod", &EntryBoxes::specialCode},  {"bilKatsayi", &EntryBoxes::coefficient},
      {"bilTedarikci", &EntryBoxes::supplier},   {"bilBoyutlar", &EntryBoxes::dimensions},
      {"bilAgirlik", &EntryBoxes::weight},       {"bilOzelNot", &EntryBoxes::specialNote}};
  for (const auto& [name, text] : boxes) EXPECT_EQ(box(name).Text(), shown.*text) << name;
  // An updated date written under other regional settings leaves the date label blank.
  ui.key(ui::Key::PageDown);
  EXPECT_EQ(label("LblTarih"), "");
}

// Each tab remembers its own record; which record of its kind a tab reaches is the record-order scan's
// (tested with the product file).
TEST_F(MainWindowDisplayTest, EachTabShowsItsOwnRecordAndCaptions) {
  makeCompany({{"U1", "", 1}, {"P1", "", 2}, {"Y1", "", 3}, {"U2", "", 1}});
  KALVOR3.CurrentRecordNumber = 1;
  mainKept().CurrentTab = 1;
  openMain();
  EXPECT_EQ(text("bilKod"), "U1");
  chooseTab(3);
  EXPECT_EQ(text("bilKod"), "Y1");
  EXPECT_EQ(mainWindow().TabRecordNumber[3], 3);
  EXPECT_EQ(label("lblMalKodu"), "Y. M. Kodu :");
  EXPECT_EQ(label("lblMalAdi"), "Y. M. Adı :");
  // Back on its own record, not on the nearest one to Y1.
  chooseTab(1);
  EXPECT_EQ(text("bilKod"), "U1");
  // "Tümü" changes only the current tab.
  chooseTab(8);
  EXPECT_EQ(mainKept().CurrentTab, 8);
  EXPECT_EQ(text("bilKod"), "U1");
  EXPECT_EQ(label("lblMalKodu"), "Ürün Kodu :");
}

TEST_F(MainWindowDisplayTest, ATabWithoutItsKindShowsTheWindowBlank) {
  makeCompany({{"U1", "", 1}, {"U2", "", 1}});
  KALVOR3.CurrentRecordNumber = 1;
  mainKept().CurrentTab = 1;
  openMain();
  EXPECT_EQ(text("bilKod"), "U1");
  chooseTab(5);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA");
  EXPECT_EQ(text("bilKod"), "");
  EXPECT_TRUE(mainWindow().NoRecordShown);
  EXPECT_EQ(mainWindow().TabRecordNumber[5], 0);
  // Chosen again, the tab whose remembered record is 0 stays blank instead of showing another tab's record.
  chooseTab(1);
  EXPECT_EQ(text("bilKod"), "U1");
  chooseTab(5);
  EXPECT_EQ(text("bilKod"), "");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  BETA");
  EXPECT_TRUE(mainWindow().NoRecordShown);
}

TEST_F(MainWindowDisplayTest, AnIndexOfTheWrongLengthIsResetAndTheUserIsToldWhenThereAreRecords) {
  makeCompany({{"A1"}, {"B1"}});
  folder.write("KLVR952.ABC", std::vector<std::uint8_t>(40, 0));
  openMain();
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0],
            "! İNDEKS HATASI !|Alfabetik indeks dosyası (KLVR952.ABC) hatalı olduğu için boş olarak yeniden "
            "oluşturuldu!...  Kayıtları alfabetik sırada bulabilmek için, 'SERVİS' menüsüne geçip, 'Oluştur' "
            "komutunu çalıştırın...");
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), std::vector<std::uint8_t>(436, 0));
}

TEST_F(MainWindowDisplayTest, AnEmptyCompanyGetsItsIndexWithoutAWord) {
  folder.write("KLVR952.ABC", {});
  openMain();
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(folder.bytes("KLVR952.ABC").size(), 436u);
}

TEST_F(MainWindowDisplayTest, ActivationCountsTheProductFileAfreshAndKeepsTheCurrentRecordWithinIt) {
  makeCompany({{"A1"}, {"B1"}, {"C1"}, {"D1"}});
  KALVOR3.CurrentRecordNumber = 4;
  mainKept().CurrentTab = 1;
  openMain();
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 4 / 4");
  // The operations window replaces the product file with a shorter one while the main window is hidden.
  ui.key(ui::Key::F6);
  auto bytes = folder.bytes("KLVR952.DAT");
  bytes.resize(2 * 512);
  folder.write("KLVR952.DAT", bytes);
  ui.key(ui::Key::Escape);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 2 / 2");
  EXPECT_EQ(text("bilKod"), "B1");
  EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), 1024u);
}

TEST_F(MainWindowDisplayTest, ReturningAfterAnUnloadKeepsTheRecordAndTab) {
  makeCompany({{"U1", "", 1}, {"P1", "", 2}, {"P2", "", 2}});
  KALVOR3.CurrentRecordNumber = 3;
  mainKept().CurrentTab = 2;
  openMain();
  EXPECT_EQ(text("bilKod"), "P2");
  ui.app().run([] {
    ui::forms().unload("frmKalvor");
    EXPECT_FALSE(fileIsOpen("KLVR952.DAT"));
    ui::forms().show("frmKalvor");
  });
  EXPECT_EQ(tab(), 2);
  EXPECT_EQ(text("bilKod"), "P2");
  // The window opens in record order, without the option's click, with the focus in the code box.
  EXPECT_TRUE(option("OptKayitsal"));
  EXPECT_EQ(ui.focused(), "bilKod");
}

TEST_F(MainWindowDisplayTest, ABackgroundClickShowsTheCurrentRecordAgain) {
  makeCompany({{"U1", "", 1}});
  KALVOR3.CurrentRecordNumber = 1;
  mainKept().CurrentTab = 1;
  openMain();
  box("bilAd").Text = w("değişti");
  ui.clickForm();
  EXPECT_EQ(text("bilAd"), "");
  EXPECT_EQ(text("bilKod"), "U1");
}

}  // namespace
}  // namespace kv::testing
