// The product lists from the main window: a range listed in either order, filtered, shown in the grid,
// sorted by each column, a product picked and shown by the main window, and the list printed.
#include <algorithm>

#include "app_fixture.h"
#include "base/collation.h"
#include "base/numbers.h"
#include "print/recording_printer.h"
#include "sheet/sheet.h"

namespace kv::testing {
namespace {

namespace Key = ui::Key;

class ProductListsTest : public AppTest {
 protected:
  // Products in record order: {code, name, kind}; a unit and a cost on each.
  void openLists(const std::vector<Company::Spec>& specs) {
    {
      Company c;
      c.addAll(specs);
      for (std::int16_t n = 1; n <= c.count(); ++n) {
        ProductRecord r = c.record(n);
        r.Unit = n % 2 ? "AD" : "KG";
        r.Cost = static_cast<float>(n) * 1.5f;
        r.CostCurrency = "TL";
        r.Coefficient = 2;
        r.Description = "Not " + std::to_string(n);
        c.write(n, r);
      }
    }
    KALVOR3.CurrentRecordNumber = 1;
    mainKept().CurrentTab = 8;
    openMain();
    ui.key(Key::F7);
    ASSERT_EQ(visibleName(), "frmDizgi");
  }
  void setRange(const std::string& first, const std::string& last) {
    box("txtBirinci").Text = w(first);
    box("txtSonuncu").Text = w(last);
    ui.focus("txtBirinci");
  }
  ui::FlexGrid& grid() { return ui.get<ui::FlexGrid>("MSFlexGrid1"); }
  std::string cell(int r, int c) { return toUtf8(grid().TextMatrix(r, c)()); }
  std::vector<std::string> column(int c) {
    std::vector<std::string> out;
    for (int r = 1; r < grid().Rows(); ++r) out.push_back(cell(r, c));
    return out;
  }
  int pointer(std::string_view form) { return ui.form(form).MousePointer(); }

  const std::vector<Company::Spec> products = {
      {"VİDA-2", "vida", 2}, {"CİVATA", "Cıvata", 2}, {"ŞAFT", "şaft", 1}, {"AKS", "Aks", 3},
      {"ÇARK", "çark", 1},   {"BURÇ", "burç", 4},     {"VİDA-1", "Vida", 2}};
};

TEST_F(ProductListsTest, AListShownInTheGridIsSortedByEachColumnAndAPickedRowIsShownByTheMainWindow) {
  openLists(products);
  for (int i = 0; i < 3; ++i) ui.key(Key::F5);  // the cost list
  setRange("B", "V");
  ui.key(Key::F1);
  ASSERT_EQ(visibleName(), "frmListe");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 MALİYET LİSTESİ");
  // The codes from B to V in code order.
  EXPECT_EQ(column(1), (std::vector<std::string>{"BURÇ", "CİVATA", "ÇARK", "ŞAFT"}));
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(column(4), (std::vector<std::string>{"9 TL", "3 TL", "7,5 TL", "4,5 TL"}));
  EXPECT_EQ(cell(1, 2), "burç");
  EXPECT_EQ(cell(1, 3), "KG");

  // Each heading sorts by its column (texts by the collation without regard to case, amounts as
  // numbers, equal ones in list order); every row keeps its list position; "Kayıt No." brings back the
  // list order.
  for (int c = 4; c >= 0; --c) {
    ui.clickCell("MSFlexGrid1", 0, 0);
    ui.clickCell("MSFlexGrid1", 0, c);
    for (int r = 1; r + 1 < grid().Rows(); ++r) {
      const std::string a = upperCase(grid().TextMatrix(r, c)()), b = upperCase(grid().TextMatrix(r + 1, c)());
      const double d = c == 0 || c == 4 ? leadingNumber(a) - leadingNumber(b) : compareKeys(a, b);
      EXPECT_TRUE(d < 0 || (d == 0 && grid().RowData(r) < grid().RowData(r + 1))) << "column " << c << " row " << r;
    }
    for (int r = 1; r < grid().Rows(); ++r) EXPECT_EQ(std::to_string(grid().RowData(r)), cell(r, 0));
  }
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4"}));

  ui.clickCell("MSFlexGrid1", 0, 2);  // by name: burç, Cıvata, çark, şaft
  ui.dblClickCell("MSFlexGrid1", 4, 1);
  EXPECT_EQ(visibleName(), "frmKalvor");
  EXPECT_EQ(mainWindow().RecordShown, 3);
  EXPECT_EQ(text("bilKod"), "ŞAFT");
  EXPECT_FALSE(fileExists("KLVR952.LST"));
  EXPECT_EQ(openHandles(), 2);
}

// The columns of each kind, for the first record in record order (a unit, a cost of 1,5 and a
// coefficient of 2).
TEST_F(ProductListsTest, EachKindShowsItsOwnColumns) {
  openLists(products);
  struct Kind {
    const char* option;
    const char* caption;
    std::vector<std::string> headings, cells;
  };
  const Kind kinds[] = {
      {"optKod", " KALVOR 952 Uyarlama 3.0 KOD LİSTESİ", {"Birim", "Açıklama"}, {"AD", "Not 1"}},
      {"OptMaliyet", " KALVOR 952 Uyarlama 3.0 MALİYET LİSTESİ", {"Birim", "Maliyet"}, {"AD", "1,5 TL"}},
      {"OptFiyat", " KALVOR 952 Uyarlama 3.0 FİYAT LİSTESİ", {"Birim", "Fiyat"}, {"AD", "3 TL"}},
      {"OptSayim", " KALVOR 952 Uyarlama 3.0 SAYIM LİSTESİ", {"Sayım", "Birim"}, {"", "AD"}},
  };
  for (const Kind& k : kinds) {
    ui.click(k.option);
    ui.focus("txtBirinci");
    ui.key(Key::F4);  // record order
    ui.key(Key::F1);
    ASSERT_EQ(visibleName(), "frmListe");
    EXPECT_EQ(caption(), k.caption);
    EXPECT_EQ((std::vector<std::string>{cell(0, 0), cell(0, 1), cell(0, 2), cell(1, 0), cell(1, 1), cell(1, 2)}),
              (std::vector<std::string>{"Kayıt No.", "Mal Kodu", "Mal Adı", "1", "VİDA-2", "vida"}));
    EXPECT_EQ((std::vector<std::string>{cell(0, 3), cell(0, 4)}), k.headings);
    EXPECT_EQ((std::vector<std::string>{cell(1, 3), cell(1, 4)}), k.cells);
    EXPECT_EQ(grid().Rows(), 8);
    ui.key(Key::Escape);
    ui.key(Key::F7);
  }
}

TEST_F(ProductListsTest, AClickEnterOrSpacePicksARowAndTheWindowStaysUntilEsc) {
  openLists(products);
  ui.key(Key::F4);  // record order, the whole file
  ui.key(Key::F1);
  ASSERT_EQ(visibleName(), "frmListe");
  EXPECT_EQ(grid().Rows(), 8);
  ui.clickCell("MSFlexGrid1", 2, 1);
  EXPECT_EQ(KALVOR3.CurrentRecordNumber, 2);
  ui.key(Key::Down);
  ui.key(Key::Enter);
  EXPECT_EQ(KALVOR3.CurrentRecordNumber, 3);
  ui.key(Key::Down);
  ui.key(Key::Space);
  EXPECT_EQ(KALVOR3.CurrentRecordNumber, 4);
  ui.key(Key::F10);
  EXPECT_EQ(messages().back(),
            "LİSTE MENÜSÜ FONKSİYON TUŞLARI|F1 = Excel'e Aktar\r\rF10 = Yardım\r\rESC = Çıkış (Ana menüye dönüş)");
  EXPECT_TRUE(enabled("cmdExcel"));
  EXPECT_EQ(visibleName(), "frmListe");
  ui.key(Key::Escape);
  EXPECT_EQ(visibleName(), "frmKalvor");
  EXPECT_EQ(text("bilKod"), "AKS");
}

// A filter that leaves nothing returns to the list dialog without a list; one with a result hands it on.
TEST_F(ProductListsTest, AFilteredListIsWhatTheGridShows) {
  openLists(products);
  ui.key(Key::F2);
  ui.type("XYZ");
  ui.key(Key::F6);  // condition 1: the codes that begin with XYZ
  ui.key(Key::F1);
  EXPECT_EQ(messages().back(), " KALVOR 952 Uyarlama 3.0 FİLTRE|Listelenecek kayıt olmadığından\rfiltre işlemi iptal edildi!...");
  ASSERT_EQ(visibleName(), "frmDizgi");
  EXPECT_FALSE(KALVOR3.List.ListReady);
  EXPECT_EQ(fileLengthByName("KLVR952.LST"), 0);
  EXPECT_FALSE(fileExists("KLVR952.TMP"));

  ui.key(Key::F2);
  ui.type("vi");
  ui.key(Key::F6);
  ui.key(Key::F1);
  ASSERT_EQ(visibleName(), "frmDizgi");
  EXPECT_TRUE(KALVOR3.List.ListReady);
  ui.key(Key::F1);
  ASSERT_EQ(visibleName(), "frmListe");
  EXPECT_EQ(column(1), (std::vector<std::string>{"VİDA-1", "VİDA-2"}));
}

TEST_F(ProductListsTest, TheFilterDialogsKeys) {
  openLists(products);
  ui.key(Key::F2);
  ASSERT_EQ(visibleName(), "frmFiltre");
  EXPECT_EQ(ui.focused(), "txtFiltre1");
  struct Step {
    int key;
    const char* selected;
    const char* focus;
  };
  const Step steps[] = {
      {Key::F3, "optAd1", "txtFiltre1"},     {Key::F4, "optUrunGrp2", "txtFiltre2"},
      {Key::F5, "optSagdan1", "txtFiltre1"}, {Key::F6, "optOlan1", "txtFiltre1"},
      {Key::F7, "optSagdan2", "txtFiltre2"}, {Key::F8, "optOlan2", "txtFiltre2"},
      {Key::F9, "optVeya1", "txtFiltre2"},   {Key::F11, "optVe2", "txtFiltre1"},
      {Key::F12, "optYok3", "txtFiltre2"},   {Key::Down, "optUrunGrp3", "txtFiltre3"},
      {Key::Down, "optSoldan3", "txtFiltre1"}, {Key::Up, "optOlan1", "txtFiltre3"},
  };
  for (const Step& s : steps) {
    ui.key(s.key);
    EXPECT_TRUE(option(s.selected)) << s.selected;
    EXPECT_EQ(ui.focused(), s.focus) << s.selected;
  }
  ui.type("aé");
  EXPECT_EQ(text("txtFiltre3"), "aØ");
  ui.key(Key::Enter);
  EXPECT_EQ(ui.focused(), "cmdUygula");
  ui.key(Key::F10);
  EXPECT_EQ(toUtf8(ui.messages().back().title), "KALVOR 952 Uyarlama 3.0  FİLTRE");
  // A click on the background brings back the defaults.
  ui.clickForm();
  EXPECT_EQ(text("txtFiltre3"), "");
  for (const char* o : {"optKod1", "optSoldan1", "optYok1", "optAd2", "optYok2", "optVe1"}) EXPECT_TRUE(option(o)) << o;
  // With no condition in use Uygula only beeps.
  const int beeps = ui.beeps();
  ui.key(Key::F1);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(visibleName(), "frmFiltre");
  ui.key(Key::Escape);
  EXPECT_EQ(visibleName(), "frmDizgi");
  EXPECT_FALSE(KALVOR3.List.ListReady);
  EXPECT_TRUE(fileExists("KLVR952.LST"));
}

TEST_F(ProductListsTest, ASecondBuildInTheDialogHoldsOnlyItsOwnRecords) {
  openLists(products);
  ui.key(Key::F2);  // the whole list, then back without filtering
  ui.key(Key::Escape);
  ASSERT_EQ(visibleName(), "frmDizgi");
  setRange("ŞAFT", "ŞAFT");
  ui.key(Key::F1);
  ASSERT_EQ(visibleName(), "frmListe");
  EXPECT_EQ(column(1), std::vector<std::string>{"ŞAFT"});
}

TEST_F(ProductListsTest, ABrokenChainIsToldWithTheOrdinaryPointerAndLeavesTheDialogUsable) {
  {
    Company c;
    c.addAll({{"A"}, {"B"}, {"C"}});
    ProductRecord r = c.record(1);
    r.ChainNext = 999;
    c.write(1, r);
  }
  openMain();
  ui.key(Key::F7);
  setRange("AA", "Z");
  ui.key(Key::F2);
  EXPECT_EQ(messages().back(),
            "KALVOR 952 Uyarlama 3.0  LİSTE|Alfabetik sıralama hatası!...\rDüzeltmek için 'SERVİS' menüsüne girin...");
  EXPECT_EQ(visibleName(), "frmDizgi");
  EXPECT_EQ(pointer("frmDizgi"), ui::Pointer::Default);
  ui.key(Key::F1);  // nothing was written: the empty list goes back to the main window
  EXPECT_EQ(visibleName(), "frmKalvor");
}

TEST_F(ProductListsTest, ThePrintDialogPrintsEachKindWithItsTitlesAndTellsAFailingPrinter) {
  print::RecordingPrinter printed;
  KALVOR3.StaticDate = Date::fromYmd(2008, 3, 5);
  openLists(products);
  ui.key(Key::F3);  // the printer
  ui.key(Key::F5);  // the stock-count list
  ui.key(Key::F1);
  ASSERT_EQ(visibleName(), "frmLstPrn");
  EXPECT_EQ(caption(), "KALVOR 952 Uyarlama 3.0  LİSTE");
  EXPECT_EQ(label("lblMesaj"), " KALVOR 952 Uyarlama 3.0 BETA");
  EXPECT_EQ(label("lblSaat"), "");
  ui.advance(1000);
  EXPECT_EQ(label("lblSaat"), "10:00:00");

  ui.key(Key::F1);
  EXPECT_EQ(titleCount("frmLstPrn", "Sayım Listesi yazdırılıyor..."), 1);
  EXPECT_EQ(caption(), "Sayım Listesi yazdırıldı...");
  ASSERT_EQ(printed.documents().size(), 1u);
  EXPECT_EQ(toUtf8(printed.documents()[0].pages.at(0).texts.at(0).text), " 5 Mart 2008  ");  // the date heads it
  EXPECT_EQ(printed.documents()[0].state, print::RecordedDocument::State::Ended);
  EXPECT_EQ(toUtf8(printed.documents()[0].name), "KALVOR 952 - Sayım Listesi");

  printed.failAt(print::DeviceCall::Text, 5);
  ui.focus("cmdVazgec");
  ui.key(Key::F1);
  EXPECT_EQ(messages().back(), "PRİNTER HATASI !|Printer hazır değil ! ( Ayarlar doğru mu?! )");
  EXPECT_EQ(printed.documents().back().state, print::RecordedDocument::State::Aborted);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 LİSTE");
  EXPECT_TRUE(enabled("cmdYaz"));

  ui.key(Key::Escape);
  ASSERT_EQ(visibleName(), "frmDizgi");
  EXPECT_TRUE(option("optKod"));
  EXPECT_EQ(fileLengthByName("KLVR952.LST"), 0);
}

// The grid as sorted on the screen goes to a new workbook cell for cell, by F1 and by its button; the
// window stays.
TEST_F(ProductListsTest, TheGridGoesToAWorkbookAsItIsShown) {
  openLists(products);
  for (int i = 0; i < 2; ++i) ui.key(Key::F5);  // the price list
  ui.key(Key::F4);
  ui.key(Key::F1);
  ASSERT_EQ(visibleName(), "frmListe");
  ui.clickCell("MSFlexGrid1", 0, 2);  // by name
  for (int n = 1; n <= 2; ++n) {
    ui.clearShown();
    if (n == 1)
      ui.key(Key::F1);
    else
      ui.click("cmdExcel");
    const std::string file = "Kitap" + std::to_string(n) + ".xlsx";
    ASSERT_EQ(messages(),
              std::vector<std::string>{"KALVOR 952 Uyarlama 3.0|Kayıtlar \"" + file + "\" dosyasına aktarıldı..."});
    const sheet::Sheet s = sheet::readFirstSheet(file);
    ASSERT_EQ(s.rowCount(), grid().Rows());
    for (int r = 0; r < grid().Rows(); ++r)
      for (int c = 0; c < grid().Cols(); ++c)
        EXPECT_EQ(s.cell(r + 1, c + 1).asText().value_or("#"), grid().TextMatrix(r, c)()) << r << "," << c;
    EXPECT_EQ(visibleName(), "frmListe");
  }
}

}  // namespace
}  // namespace kv::testing
