// The operations window and what it leads to: the sorts, the date dialog and the exchange-rate table;
// and the recipe service, whose jobs and date run through the analysis window and whose workbook exchange
// runs in it.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app_fixture.h"
#include "files/files.h"
#include "sheet/sheet.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

class OperationsTest : public AppTest {
 protected:
  void openOperations(const std::vector<Company::Spec>& specs) {
    openMainOn(specs, specs.empty() ? 0 : 1, 8);
    ui.key(ui::Key::F6);
    ASSERT_EQ(visibleName(), "frmIslemler");
    ui.clearShown();
  }
  std::vector<std::string> codes() {
    Company c;
    std::vector<std::string> out;
    for (std::int16_t r = 1; r <= c.count(); ++r) out.push_back(toUtf8(trim(c.record(r).Code.view())));
    return out;
  }
  void typeInto(std::string_view box, std::string_view utf8) {
    ui.focus(box);
    this->box(box).Text = w(utf8);
  }
};

TEST_F(OperationsTest, TheSortsAreOfferedFromTwoRecordsAndRunOnlyOnYes) {
  for (int n : {0, 1, 2}) {
    TempFolder fresh;
    std::vector<Company::Spec> specs;
    for (int i = 0; i < n; ++i) specs.push_back({std::string(1, static_cast<char>('B' - i))});
    openOperations(specs);
    EXPECT_EQ(enabled("cmdAlfabetik"), n >= 2) << n;
    EXPECT_EQ(enabled("cmdAdSira"), n >= 2) << n;
    ui.key(ui::Key::Escape);
  }
}

TEST_F(OperationsTest, F2AndF3SortTheFileAndTheMainWindowCountsItAgain) {
  openOperations({{"B", "Zeytin"}, {"D", "Armut", -1}, {"A", "Elma"}, {"C", "Armut"}});
  ui.answer(MsgAnswer::No);
  ui.key(ui::Key::F2);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "KALVOR 952 Uyarlama 3.0 BETA|Kayıtların ('KLVR952.DAT' dosyasının) alfabetik kayıt (kod) "
                           "sırasına sokulmasını istiyormusunuz?...");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  İŞLEMLER");
  EXPECT_EQ(codes(), (std::vector<std::string>{"B", "D", "A", "C"}));

  ui.answer(MsgAnswer::Yes);
  ui.key(ui::Key::F2);
  EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(caption(), "DİĞER İŞLEMLER");
  EXPECT_TRUE(fileExists("952KLVR.DAT"));
  ui.answer(MsgAnswer::Yes);
  ui.click("cmdAdSira");
  EXPECT_EQ(codes(), (std::vector<std::string>{"C", "A", "B"}));  // Armut, Elma, Zeytin
  EXPECT_EQ(messages().size(), 3u);
  EXPECT_TRUE(checkChain(Company().files()).sound);

  ui.key(ui::Key::Escape);
  ASSERT_EQ(visibleName(), "frmKalvor");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 3");
  EXPECT_EQ(text("bilKod"), "C");
}

// Past its point of no return a command is never undone: when the disk goes on refusing its renames, the
// program leaves the company for the start-up dialog, and opening the company again completes the command.
TEST_F(OperationsTest, ASortWhoseRenamesKeepFailingIsCompletedWhenTheCompanyIsOpenedAgain) {
  {
    Company c;
    c.addAll({{"B", "Zeytin"}, {"A", "Elma"}, {"C", "Armut"}});
  }
  ui.start("frmStart");
  ui.click("cmdOK");
  ui.key(ui::Key::F6);
  ASSERT_EQ(visibleName(), "frmIslemler");
  ui.clearShown();
  {
    FailOn full(FileOp::Rename, "", ENOSPC);
    ui.answer(MsgAnswer::Yes);
    ui.key(ui::Key::F2);
  }
  ASSERT_GE(messages().size(), 2u);
  EXPECT_EQ(messages().back(), "! DİKKAT !|\"KLVR952\" şirketinin son işlemi tamamlanamadı!...\r\rİşlem, şirket "
                               "yeniden açıldığında tamamlanacak; o zamana kadar şirketin dosyaları kullanılmayacak...");
  EXPECT_EQ(visibleName(), "frmStart");
  EXPECT_THROW(codes(), FileError);  // the company's files wait for its opening

  ui.clearShown();
  ui.click("cmdOK");
  EXPECT_EQ(messages(), std::vector<std::string>{"! DİKKAT !|Son işlem yarıda kalmış!...\r\rİşlem tamamlandı; "
                                                 "dosyalar işlemin sonundaki haline getirildi..."});
  EXPECT_EQ(visibleName(), "frmKalvor");
  EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(listFiles("*.~*"), std::vector<std::string>{"KLVR952.~LCK"});  // held by the main window
}

// A backup the user may not replace (another user's, in a shared folder whose sticky bit keeps it theirs)
// does not stop a sort: the sort completes, and the window says once that the backup was not renewed.
TEST_F(OperationsTest, ASortThatCannotRenewABackupCompletesAndSaysSoOnce) {
  openOperations({{"B", "Zeytin"}, {"A", "Elma"}});
  folder.write("952KLVR.DAT", {'o', 'l', 'd'});
  {
    FailOn anotherUsers(FileOp::Rename, "952KLVR.DAT", inCall(EPERM));
    ui.answer(MsgAnswer::Yes);
    ui.key(ui::Key::F2);
  }
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_EQ(messages()[1], "! DİKKAT !|\"952KLVR.DAT\" yedek dosyası yenilenemedi!...  (Erişim izni yok)\r\rİşlem "
                           "tamamlandı; dosyaların önceki hali bu yedekte saklanmadı...");
  EXPECT_EQ(visibleName(), "frmIslemler");
  EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_TRUE(listFiles("KLVR952.*.~*").empty());  // the old file under its temporary name is gone
  ui.key(ui::Key::Escape);
  EXPECT_EQ(messages().size(), 2u);
}

TEST_F(OperationsTest, TheDateDialogChangesTheWorkingDateAndGoesBack) {
  openOperations({{"A"}, {"B"}});
  ui.key(ui::Key::F1);
  ASSERT_EQ(visibleName(), "frmTarih");
  EXPECT_TRUE(KALVOR3.DateFromOperations);
  EXPECT_FALSE(loaded("frmIslemler"));
  EXPECT_EQ(text("txtGun"), "5");
  EXPECT_EQ(text("txtAy"), "Mart");
  EXPECT_EQ(text("txtYil"), "2008");
  EXPECT_EQ(ui.focused(), "txtGun");
  // Saving at once stores the date shown again.
  ui.key(ui::Key::F1);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "KALVOR 952 Tarih Değişikliği|Statik Tarih \"05.03.2008\" olarak kayıtlandı...");
  EXPECT_EQ(ui.focused(), "cmdCikis");
  // Unchanged since: only a beep.
  int beeps = ui.beeps();
  ui.key(ui::Key::F1);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(messages().size(), 1u);

  typeInto("txtGun", "31");
  typeInto("txtAy", "şubat");
  typeInto("txtYil", "2009");
  ui.key(ui::Key::F1);
  EXPECT_EQ(KALVOR3.StaticDate, Date::fromYmd(2009, 3, 3));
  EXPECT_EQ(messages().back(), "KALVOR 952 Tarih Değişikliği|Statik Tarih \"03.03.2009\" olarak kayıtlandı...");
  EXPECT_EQ(text("txtAy"), "Şubat");
  EXPECT_EQ(text("txtGun"), "31");
  beeps = ui.beeps();
  ui.key(ui::Key::Escape);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  ASSERT_EQ(visibleName(), "frmIslemler");
  EXPECT_FALSE(loaded("frmTarih"));
  ui.key(ui::Key::Escape);
  ASSERT_EQ(visibleName(), "frmKalvor");
  EXPECT_EQ(KALVOR3.StaticDate, Date::fromYmd(2009, 3, 3));
}

TEST_F(OperationsTest, TheRateTableStoresLooksUpBrowsesAndDeletes) {
  openOperations({{"A"}, {"B"}});
  ui.key(ui::Key::F4);
  ASSERT_EQ(visibleName(), "frmDoviz");
  EXPECT_EQ(text("txtTarih"), "5 Mart 2008");
  auto save = [&](const char* date, const char* euro, const char* dolar, const char* ayar) {
    typeInto("txtTarih", date);
    typeInto("TextK1", euro);
    typeInto("TextK2", dolar);
    typeInto("TextK3", ayar);
    ui.key(ui::Key::F3);
  };
  save("12 mart 2006", "1,555", "abc", "2.345,50 TL");
  EXPECT_EQ(label("LabelNumara"), " 1");
  EXPECT_EQ(caption(), "Görünen döviz kurları kayıtlandı...");
  EXPECT_EQ(text("txtTarih"), "12 Mart 2006");
  EXPECT_EQ(text("TextK2"), "0 TL");
  save("12 Mart 2006", "1,5", "2", "3");
  save("1 Ocak 2005", "4", "5", "6");
  save("2 Ocak 2005", "7", "8", "9");
  EXPECT_EQ(folder.bytes("KLVR952.DVZ").size(), 3u * ExchangeRateRecord::Length);
  EXPECT_EQ(caption(), "Görünen döviz kurları kayıtlandı...");

  // Browsing follows the order of entry.
  ui.key(ui::Key::Home);
  EXPECT_EQ(text("txtTarih"), "12 Mart 2006");
  EXPECT_EQ(text("TextK1"), "1,50 TL");
  ui.key(ui::Key::PageDown);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  DÖVİZ");
  EXPECT_EQ(text("txtTarih"), "1 Ocak 2005");
  ui.key(ui::Key::End);
  EXPECT_EQ(label("LabelNumara"), " 3");
  int beeps = ui.beeps();
  ui.key(ui::Key::PageDown);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_FALSE(enabled("cmdSonraki"));

  // A date without rates; F4 then looks it up instead of deleting.
  typeInto("txtTarih", "3 Ocak 2005");
  ui.key(ui::Key::F2);
  EXPECT_EQ(label("LabelNumara"), "Y");
  EXPECT_EQ(text("TextK3"), "0 TL");
  ui.key(ui::Key::F4);
  EXPECT_TRUE(messages().empty());
  ui.key(ui::Key::PageUp);
  EXPECT_EQ(text("txtTarih"), "2 Ocak 2005");

  // Deleting the first record: the others move down, the backup keeps all three.
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DVZ");
  ui.key(ui::Key::Home);
  ui.answer(MsgAnswer::Yes);
  ui.key(ui::Key::F4);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "KALVOR 952 Uyarlama 3.0 DÖVİZ| 1. kayıtı silmek istediğinize eminmisiniz?...");
  EXPECT_EQ(folder.bytes("952KLVR.DVZ"), before);
  EXPECT_EQ(folder.bytes("KLVR952.DVZ"),
            std::vector<std::uint8_t>(before.begin() + ExchangeRateRecord::Length, before.end()));
  EXPECT_EQ(text("txtTarih"), "1 Ocak 2005");
  EXPECT_EQ(label("LabelNumara"), " 1");

  // A deletion whose write fails keeps the table.
  const std::vector<std::uint8_t> two = folder.bytes("KLVR952.DVZ");
  {
    FailOn full(FileOp::Write, "", ENOSPC);
    ui.answer(MsgAnswer::Yes);
    ui.key(ui::Key::F4);
  }
  EXPECT_EQ(messages().back().substr(0, messages().back().find('|')), "! DOSYA HATASI !");
  EXPECT_NE(messages().back().find("\"KLVR952.DVZ\" "), std::string::npos) << messages().back();
  EXPECT_EQ(folder.bytes("KLVR952.DVZ"), two);
  EXPECT_EQ(folder.bytes("952KLVR.DVZ"), before);
  ui.key(ui::Key::End);
  EXPECT_EQ(label("LabelNumara"), " 2");

  beeps = ui.beeps();
  ui.key(ui::Key::Escape);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  ASSERT_EQ(visibleName(), "frmIslemler");
  EXPECT_FALSE(fileIsOpen("KLVR952.DVZ"));
}

TEST_F(OperationsTest, ARateSaveThatFailsCountsNoRecord) {
  openOperations({{"A"}, {"B"}});
  ui.key(ui::Key::F4);
  typeInto("TextK1", "1");
  {
    FailOn full(FileOp::Write, "KLVR952.DVZ", ENOSPC);
    ui.key(ui::Key::F3);
  }
  EXPECT_EQ(messages().size(), 1u);
  EXPECT_TRUE(folder.bytes("KLVR952.DVZ").empty());
  EXPECT_NE(label("LabelNumara"), " 1");
  ui.key(ui::Key::F3);
  EXPECT_EQ(label("LabelNumara"), " 1");
  EXPECT_EQ(folder.bytes("KLVR952.DVZ").size(), 1u * ExchangeRateRecord::Length);
}

class RecipeServiceTest : public AppTest {
 protected:
  std::int16_t p = 0;
  void SetUp() override {
    {
      Company c;
      p = c.add("P");
      c.add("A");
      RecipeFile recipes(c);
      recipes.define(p, {{"A", 2, 3}});
    }
    openAnalysisOn(1);
    ui.key(ui::Key::F6);
    ASSERT_EQ(visibleName(), "frmRServis");
    ui.clearShown();
  }
};

TEST_F(RecipeServiceTest, EachJobReachesTheAnalysisWindowAndRunsThereAfterItsQuestion) {
  struct Job {
    int key;
    const char* button;
    const char* title;
  };
  const Job jobs[] = {{ui::Key::F2, "cmdRTanim", "KLVR952.REC Yenileme"},
                      {ui::Key::F4, "cmdADMaliyet", "Reçete Maliyetlerinin Yenilenmesi"}};
  for (const Job& j : jobs) {
    for (bool byKey : {true, false}) {
      SCOPED_TRACE(j.title);
      ui.clearShown();
      ui.answer(MsgAnswer::No);
      if (byKey)
        ui.key(j.key);
      else
        ui.click(j.button);
      ASSERT_EQ(visibleName(), "frmAnaliz");
      EXPECT_FALSE(loaded("frmRServis"));
      EXPECT_EQ(KALVOR3.ServiceRequest, RecipeServiceJob::None);
      ASSERT_EQ(messages().size(), 1u);
      EXPECT_EQ(messages()[0].substr(0, messages()[0].find('|')), j.title);
      ui.key(ui::Key::F6);
    }
  }
  // Yes runs the job: every recipe cost refreshed.
  ui.answer(MsgAnswer::Yes);
  ui.key(ui::Key::F4);
  EXPECT_EQ(Company().record(p).RecipeCost, 6);
}

TEST_F(RecipeServiceTest, CommandsWithoutTheirFilesOnlyBeepAndTheDateDialogEditsTheRecipeDate) {
  // No ".LTD" here: its rebuild and export are disabled; no "KLVR952.XLS": so are the imports.
  EXPECT_TRUE(enabled("cmdRTanim"));
  EXPECT_FALSE(enabled("cmdLTanim"));
  EXPECT_FALSE(enabled("cmdLtdExport"));
  EXPECT_FALSE(enabled("cmdRecImport"));
  for (int k : {ui::Key::F3, ui::Key::F6, ui::Key::F7, ui::Key::F8}) {
    const int beeps = ui.beeps();
    ui.key(k);
    EXPECT_EQ(ui.beeps(), beeps + 1) << k;
    ASSERT_EQ(visibleName(), "frmRServis");
  }
  for (int k : {ui::Key::F9, ui::Key::F11, ui::Key::F12}) {
    const int beeps = ui.beeps();
    ui.key(k);
    EXPECT_EQ(ui.beeps(), beeps) << k;
  }
  EXPECT_TRUE(messages().empty());

  const Date working = KALVOR3.StaticDate;
  ui.key(ui::Key::F1);
  ASSERT_EQ(visibleName(), "frmTarih");
  EXPECT_FALSE(KALVOR3.DateFromOperations);
  box("txtYil").Text = "2007";
  ui.key(ui::Key::F1);
  EXPECT_EQ(messages().back(), "KALVOR 952 Tarih Değişikliği|Reçete Tarihi \"05.03.2007\" olarak kayıtlandı...");
  EXPECT_EQ(KALVOR3.RecipeDate, Date::fromYmd(2007, 3, 5));
  EXPECT_EQ(KALVOR3.StaticDate, working);
  ui.key(ui::Key::Escape);
  ASSERT_EQ(visibleName(), "frmAnaliz");
  EXPECT_EQ(KALVOR3.ServiceRequest, RecipeServiceJob::None);
}

// The recipe file goes out to a workbook and comes back through the window; the import workbook must be
// there when the window is shown, and one that cannot be read or is laid out otherwise changes nothing.
TEST_F(RecipeServiceTest, TheDefinitionsGoToAWorkbookAndComeBackFromIt) {
  const std::vector<std::uint8_t> exported = folder.bytes("KLVR952.REC");
  ui.answer(MsgAnswer::Yes);
  ui.key(ui::Key::F5);
  EXPECT_EQ(messages().back(), "KALVOR 952 Uyarlama 3.0|Kayıtlar \"Kitap1.xlsx\" dosyasına aktarıldı...");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  ANALİZ");
  std::filesystem::copy_file(folder.path() / "Kitap1.xlsx", folder.path() / "KLVR952.XLS");
  EXPECT_FALSE(enabled("cmdRecImport"));  // tested when the window is shown
  {
    FileHandle rec("KLVR952.REC", RecipeRecord::Length);
    rec.put(rec.count() + 1, rec.get<RecipeRecord>(1));
  }
  const std::vector<std::uint8_t> changed = folder.bytes("KLVR952.REC");
  ui.key(ui::Key::Escape);
  ui.key(ui::Key::F6);
  ASSERT_TRUE(enabled("cmdRecImport"));
  ASSERT_TRUE(enabled("cmdLtdImport"));

  // Refused workbooks, each asked about and then told: the store keeps what it had.
  sheet::NewWorkbook wide;
  for (int c = 1; c <= 21; ++c) wide.Cells(1, c, sheet::Cell::text("H"));
  const std::string wideFile = wide.Show();
  struct Bad {
    std::string from;
    const char* told;
  };
  for (const Bad& bad : {Bad{wideFile, "sütunları"}, Bad{"", "okunamadı"}}) {
    SCOPED_TRACE(bad.told);
    if (bad.from.empty())
      folder.write("KLVR952.XLS", {'n', 'o', 't'});
    else
      std::filesystem::copy_file(folder.path() / bad.from, folder.path() / "KLVR952.XLS",
                                 std::filesystem::copy_options::overwrite_existing);
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::Yes);
    ui.key(ui::Key::F7);
    EXPECT_NE(messages().back().find(bad.told), std::string::npos) << messages().back();
    EXPECT_EQ(folder.bytes("KLVR952.REC"), changed);
    EXPECT_TRUE(folder.bytes("952KLVR.REC").empty());
  }

  // The exported workbook: the store as it was exported, the changed one kept as the backup; the same
  // workbook makes a list-definition file that did not exist, without a warning.
  std::filesystem::copy_file(folder.path() / "Kitap1.xlsx", folder.path() / "KLVR952.XLS",
                             std::filesystem::copy_options::overwrite_existing);
  ui.clearShown();
  ui.answer(MsgAnswer::No);
  ui.click("cmdRecImport");
  EXPECT_EQ(folder.bytes("KLVR952.REC"), changed);
  ui.answer(MsgAnswer::Yes);
  ui.answer(MsgAnswer::Yes);
  ui.key(ui::Key::F7);
  EXPECT_EQ(folder.bytes("KLVR952.REC"), exported);
  EXPECT_EQ(folder.bytes("952KLVR.REC"), changed);
  ASSERT_EQ(messages().size(), 3u);  // the question refused, then the question and the warning
  EXPECT_EQ(messages()[2].substr(0, messages()[2].find('|')),
            "! DİKKAT ! EXCEL'den alınan kayıt KLVR952 reçete tanımları dosyasını değiştirecek...");
  ui.answer(MsgAnswer::Yes);
  ui.key(ui::Key::F8);
  EXPECT_EQ(folder.bytes("KLVR952.LTD"), exported);
  EXPECT_EQ(messages().size(), 4u);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  ANALİZ");
  EXPECT_EQ(visibleName(), "frmRServis");
}

}  // namespace
}  // namespace kv::testing
