// The operations window and what it leads to: the sorts, the date dialog and the exchange-rate table;
// and the recipe service, whose jobs and date run through the analysis window and whose workbook exchange
// runs in it.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include "app_fixture.h"
#include "files/files.h"
#include "sheet/sheet.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

class OperationsTest : public AppTest {
 public:
  // What the rows of a table look at, as the tests do.
  using AppTest::visibleName;
  using WindowTest::caption;
  using WindowTest::folder;
  using WindowTest::messages;
  using WindowTest::text;
  using WindowTest::ui;

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

// A sort, as the window asks it and as the disk lets it run: what it asks, what it tells after, where the
// user stands, the records in their new order, and what comes next.
struct Sort {
  const char* name;
  std::vector<Company::Spec> records;
  bool fromTheStartDialog = false;  // opened as the start-up dialog opens the company, not straight on it
  bool oldBackups = false;          // "952KLVR.DAT" holds "old" when the sort starts
  int key = 0;                      // the sort asked by this key, else by a click on `button`
  const char* button = nullptr;
  MsgAnswer answer = MsgAnswer::Yes;
  std::optional<FileFault> fault = {};  // of FileOp::Rename on `faultFile` (any file when empty), while it runs
  const char* faultFile = "";
  const char* question = nullptr;   // the question, when the row looks at its text
  std::vector<std::string> told = {};  // the last messages, after the question
  bool toldBetween = false;  // other messages may come between the question and those (what a failure said)
  const char* window;               // visible after it
  const char* caption = nullptr;
  std::optional<std::vector<std::string>> codes;  // nothing: the company's files are not to be had
  // What the row looks at besides, and what comes next.
  std::function<void(OperationsTest&)> then = [](OperationsTest&) {};
};

const std::vector<Company::Spec> kFour = {{"B", "Zeytin"}, {"D", "Armut", -1}, {"A", "Elma"}, {"C", "Armut"}};

const Sort kSorts[] = {
    {.name = "F2AnsweredNoSortsNothing",
     .records = kFour,
     .key = ui::Key::F2,
     .answer = MsgAnswer::No,
     .question = "KALVOR 952 Uyarlama 3.0 BETA|Kayıtların ('KLVR952.DAT' dosyasının) alfabetik kayıt (kod) "
                 "sırasına sokulmasını istiyormusunuz?...",
     .window = "frmIslemler",
     .caption = " KALVOR 952 Uyarlama 3.0  İŞLEMLER",
     .codes = std::vector<std::string>{"B", "D", "A", "C"}},
    {.name = "F2SortsByCodeKeepingTheOldFilesAsTheBackups",
     .records = kFour,
     .key = ui::Key::F2,
     .window = "frmIslemler",
     .caption = "DİĞER İŞLEMLER",
     .codes = std::vector<std::string>{"A", "B", "C"},
     .then = [](OperationsTest&) { EXPECT_TRUE(fileExists("952KLVR.DAT")); }},
    // Armut, Elma, Zeytin; the main window counts the file again.
    {.name = "ItsButtonSortsByNameAndTheMainWindowCountsTheFileAgain",
     .records = kFour,
     .button = "cmdAdSira",
     .window = "frmIslemler",
     .codes = std::vector<std::string>{"C", "A", "B"},
     .then =
         [](OperationsTest& t) {
           EXPECT_TRUE(checkChain(Company().files()).sound);
           t.ui.key(ui::Key::Escape);
           ASSERT_EQ(t.visibleName(), "frmKalvor");
           EXPECT_EQ(t.caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 3");
           EXPECT_EQ(t.text("bilKod"), "C");
         }},
    // Past its point of no return a command is never undone: when the disk goes on refusing its renames, the
    // program leaves the company for the start-up dialog, and opening the company again completes the command.
    {.name = "ASortWhoseRenamesKeepFailingIsCompletedWhenTheCompanyIsOpenedAgain",
     .records = {{"B", "Zeytin"}, {"A", "Elma"}, {"C", "Armut"}},
     .fromTheStartDialog = true,
     .key = ui::Key::F2,
     .fault = FileFault{ENOSPC, false, 0},
     .told = {"! DİKKAT !|\"KLVR952\" şirketinin son işlemi tamamlanamadı!...\r\rİşlem, şirket yeniden açıldığında "
              "tamamlanacak; o zamana kadar şirketin dosyaları kullanılmayacak..."},
     .toldBetween = true,
     .window = "frmStart",
     .codes = std::nullopt,
     .then =
         [](OperationsTest& t) {
           t.ui.clearShown();
           t.ui.click("cmdOK");
           EXPECT_EQ(t.messages(), std::vector<std::string>{"! DİKKAT !|Son işlem yarıda kalmış!...\r\rİşlem "
                                                            "tamamlandı; dosyalar işlemin sonundaki haline getirildi..."});
           EXPECT_EQ(t.visibleName(), "frmKalvor");
           EXPECT_EQ(t.codes(), (std::vector<std::string>{"A", "B", "C"}));
           EXPECT_EQ(listFiles("*.~*"), std::vector<std::string>{"KLVR952.~LCK"});  // held by the main window
         }},
    // A backup the user may not replace (another user's, in a shared folder whose sticky bit keeps it theirs)
    // does not stop a sort: the sort completes, and the window says once that the backup was not renewed.
    {.name = "ASortThatCannotRenewABackupCompletesAndSaysSoOnce",
     .records = {{"B", "Zeytin"}, {"A", "Elma"}},
     .oldBackups = true,
     .key = ui::Key::F2,
     .fault = inCall(EPERM),
     .faultFile = "952KLVR.DAT",
     .told = {"! DİKKAT !|\"952KLVR.DAT\" yedek dosyası yenilenemedi!...  (Erişim izni yok)\r\rİşlem "
              "tamamlandı; dosyaların önceki hali bu yedekte saklanmadı..."},
     .window = "frmIslemler",
     .codes = std::vector<std::string>{"A", "B"},
     .then =
         [](OperationsTest& t) {
           EXPECT_EQ(t.folder.bytes("952KLVR.DAT"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
           EXPECT_TRUE(listFiles("KLVR952.*.~*").empty());  // the old file under its temporary name is gone
           t.ui.key(ui::Key::Escape);
           EXPECT_EQ(t.messages().size(), 2u);
         }},
};

class SortTest : public OperationsTest, public ::testing::WithParamInterface<Sort> {};

TEST_P(SortTest, AsksRunsAsTheAnswerAndTheDiskLetItAndTells) {
  const Sort& c = GetParam();
  if (c.fromTheStartDialog) {
    {
      Company company;
      company.addAll(c.records);
    }
    ui.start("frmStart");
    ui.click("cmdOK");
    ui.key(ui::Key::F6);
    ASSERT_EQ(visibleName(), "frmIslemler");
    ui.clearShown();
  } else {
    openOperations(c.records);
  }
  if (c.oldBackups) folder.write("952KLVR.DAT", {'o', 'l', 'd'});
  {
    std::optional<FailOn> fault;
    if (c.fault) fault.emplace(FileOp::Rename, c.faultFile, *c.fault);
    ui.answer(c.answer);
    if (c.button) ui.click(c.button);
    else ui.key(c.key);
  }
  const std::vector<std::string> said = messages();
  if (c.toldBetween) {
    ASSERT_GE(said.size(), 1 + c.told.size());
  } else {
    ASSERT_EQ(said.size(), 1 + c.told.size());
  }
  if (c.question) {
    EXPECT_EQ(said[0], c.question);
  }
  EXPECT_EQ(std::vector<std::string>(said.end() - static_cast<std::ptrdiff_t>(c.told.size()), said.end()), c.told);
  EXPECT_EQ(visibleName(), c.window);
  if (c.caption) {
    EXPECT_EQ(caption(), c.caption);
  }
  if (c.codes) {
    EXPECT_EQ(codes(), *c.codes);
  } else {
    EXPECT_THROW(codes(), FileError);  // the company's files wait for its opening
  }
  c.then(*this);
}

INSTANTIATE_TEST_SUITE_P(Sorts, SortTest, ::testing::ValuesIn(kSorts),
                         [](const ::testing::TestParamInfo<Sort>& row) { return std::string(row.param.name); });

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
  // F1 stores the date shown, each entry after the one before.
  const struct {
    const char* what;
    const char* typed[3];  // day, month, year; none: as shown
    const char* told;      // the message; none: only a beep
    Date stored;
    const char* shown[2] = {};  // day and month shown after it, when the entry looks at them
    const char* focus = nullptr;
  } entries[] = {
      {"saving at once stores the date shown again", {},
       "KALVOR 952 Tarih Değişikliği|Statik Tarih \"05.03.2008\" olarak kayıtlandı...", Date::fromYmd(2008, 3, 5), {},
       "cmdCikis"},
      {"unchanged since", {}, nullptr, Date::fromYmd(2008, 3, 5)},
      {"a day past the month's end runs into the next", {"31", "şubat", "2009"},
       "KALVOR 952 Tarih Değişikliği|Statik Tarih \"03.03.2009\" olarak kayıtlandı...", Date::fromYmd(2009, 3, 3),
       {"31", "Şubat"}},
  };
  for (const auto& e : entries) {
    SCOPED_TRACE(e.what);
    const std::size_t told = messages().size();
    const int beeps = ui.beeps();
    if (e.typed[0]) {
      typeInto("txtGun", e.typed[0]);
      typeInto("txtAy", e.typed[1]);
      typeInto("txtYil", e.typed[2]);
    }
    ui.key(ui::Key::F1);
    if (e.told) {
      ASSERT_EQ(messages().size(), told + 1);
      EXPECT_EQ(messages().back(), e.told);
    } else {
      EXPECT_EQ(ui.beeps(), beeps + 1);
      EXPECT_EQ(messages().size(), told);
    }
    EXPECT_EQ(KALVOR3.StaticDate, e.stored);
    if (e.shown[0]) {
      EXPECT_EQ(text("txtGun"), e.shown[0]);
      EXPECT_EQ(text("txtAy"), e.shown[1]);
    }
    if (e.focus) {
      EXPECT_EQ(ui.focused(), e.focus);
    }
  }
  const int beeps = ui.beeps();
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
