// The report dialog's choices, by mouse and by key, and the way back to the analysis window.
#include <cerrno>
#include <filesystem>

#include "app_fixture.h"
#include "print/recording_printer.h"
#include "records/recipe_record.h"
#include "reports/report_kind.h"
#include "sheet/sheet.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

class ReportDialogTest : public AppTest {
 protected:
  void openDialog() {
    {
      Company c;
      c.add("P1", "Pompa");
    }
    openAnalysisOn(1);
    ui.key(ui::Key::F4);
    ASSERT_EQ(visibleName(), "frmRDizgi");
  }
  bool ticked(std::string_view box) { return ui.get<ui::CheckBox>(box).Value() == 1; }
  std::string output() {
    for (const char* o : {"OptEkran", "OptYazici", "optXLS"})
      if (option(o)) return o;
    return "";
  }
};

TEST_F(ReportDialogTest, TheKeysChangeTheChoicesAsClicksDo) {
  openDialog();
  // The first choices: the recipe as total consumption with costs, on the screen.
  EXPECT_TRUE(option("OptRecete"));
  EXPECT_TRUE(ticked("chkMaliyet"));
  EXPECT_TRUE(ticked("chkTSarf"));
  EXPECT_EQ(ui.focused(), "cmdPrint");
  for (const char* next : {"OptYazici", "optXLS", "OptEkran"}) {
    ui.key(ui::Key::F1);
    EXPECT_EQ(output(), next);
  }
  // The list definition has no total consumption; F3 brings the recipe back with it.
  ui.key(ui::Key::F2);
  EXPECT_TRUE(option("OptListe"));
  EXPECT_FALSE(ticked("chkTSarf"));
  ui.click("chkTSarf");
  EXPECT_FALSE(ticked("chkTSarf"));
  ui.focus("cmdPrint");
  ui.key(ui::Key::F3);
  EXPECT_TRUE(option("OptRecete"));
  EXPECT_TRUE(ticked("chkTSarf"));
  ui.key(ui::Key::F3);
  EXPECT_FALSE(ticked("chkTSarf"));
  ui.key(ui::Key::F4);
  EXPECT_FALSE(ticked("chkMaliyet"));
  // With the focus on a choice that has no key handler, the keys do nothing.
  ui.focus("optXLS");
  ui.key(ui::Key::F4);
  EXPECT_FALSE(ticked("chkMaliyet"));
  ui.focus("OptYazici");
  ui.key(ui::Key::Escape);
  EXPECT_EQ(visibleName(), "frmAnaliz");
}

// A product with a recipe (one component of its own recipe) and a list definition, the dialog opened on it.
class ReportPrintingTest : public ReportDialogTest {
 protected:
  void openOnProductWithRecipeAndList() {
    {
      Company c;
      const std::int16_t p = c.add("P1", "Pompa");
      const std::int16_t a = c.add("A");
      c.add("B");
      RecipeFile recipes(c);
      recipes.define(a, {{"B", 2, 1.5f}});
      recipes.define(p, {{"A", 3, 0}, {"B", 1, 4}});
      FileHandle ltd("KLVR952.LTD", RecipeRecord::Length);
      RecipeRecord head = recipes.makeLine(p, {"B", 5, 2});
      head.Sequence = 1;
      ltd.put(1, head);
    }
    openAnalysisOn(1);
    ui.key(ui::Key::F4);
    ui.key(ui::Key::F1);  // to the printer
  }
  // The headings of the last printed document's first page.
  std::vector<std::string> headings() {
    std::vector<std::string> out;
    const auto& page = printed.documents().back().pages.at(0);
    const double y = page.texts.at(3).y;  // the first heading, after the three texts of the head line
    for (const auto& t : page.texts)
      if (t.y == y) out.push_back(toUtf8(t.text));
    return out;
  }
  print::RecordingPrinter printed;
};

TEST_F(ReportPrintingTest, TheChoicesPickTheReportThatIsPrinted) {
  openOnProductWithRecipeAndList();
  using H = std::vector<std::string>;
  struct Case {
    std::vector<int> keys;  // from the first choices: the recipe, with cost, as total consumption
    H headings;
  };
  const Case cases[] = {
      {{}, H{"T", "KAYIT KODU", "KAYIT ADI", "MİKTAR", "MALİYET", "TOPLAM"}},
      {{ui::Key::F3}, H{"T", "KAYIT KODU", "KAYIT ADI", "MİKTAR", "MALİYET", "TOPLAM", "D"}},
      {{ui::Key::F4}, H{"T", "KAYIT KODU", "KAYIT ADI", "MİKTAR", "D"}},
      {{ui::Key::F3}, H{"T", "KAYIT KODU", "KAYIT ADI", "MİKTAR"}},
      {{ui::Key::F2}, H{"MAL KODU", "MAL ADI", "MİKTAR"}},
      {{ui::Key::F4}, H{"MAL KODU", "MAL ADI", "MİKTAR", "MALİYET", "TOPLAM"}},
  };
  for (const Case& c : cases) {
    for (int key : c.keys) ui.key(key);
    ui.clearShown();
    ui.key(ui::Key::F5);
    ASSERT_EQ(printed.documents().back().state, print::RecordedDocument::State::Ended);
    EXPECT_EQ(headings(), c.headings);
    EXPECT_EQ(caption(), "Liste yazdırıldı...");
    EXPECT_TRUE(messages().empty());
  }
  EXPECT_EQ(toUtf8(printed.documents().back().pages.at(0).texts.at(0).text), " 5 Mart 2008  ");  // the date heads it
  EXPECT_EQ(printed.documents().size(), 6u);
  EXPECT_EQ(toUtf8(printed.documents()[1].name), "KALVOR 952 - P1 maliyetli reçete");
}

TEST_F(ReportPrintingTest, AFailingPrinterIsToldOnceAndLeavesNoDocument) {
  openOnProductWithRecipeAndList();
  printed.failAt(print::DeviceCall::Text, 5);
  ui.key(ui::Key::F5);
  EXPECT_EQ(printed.documents().back().state, print::RecordedDocument::State::Aborted);
  EXPECT_EQ(messages(), (std::vector<std::string>{"PRİNTER HATASI !|Printer hazır değil ! ( Ayarlar doğru mu?! )"}));
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0");
  EXPECT_TRUE(enabled("cmdPrint"));
  ui.key(ui::Key::F5);
  EXPECT_EQ(printed.documents().back().state, print::RecordedDocument::State::Ended);
  printed.takesJobs = false;  // told before anything is drawn, and not as printed
  ui.key(ui::Key::F5);
  EXPECT_EQ(messages().back(), "PRİNTER HATASI !|Printer hazır değil ! ( Ayarlar doğru mu?! )");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0");
  EXPECT_EQ(printed.documents().size(), 2u);
}

// A tree that fails to build (a line a Single cannot multiply up) is neither printed, exported nor
// shown; the failure stays in the dialog's title.
TEST_F(ReportPrintingTest, AFailedLevelBuildGivesNoReportAndSaysSo) {
  openOnProductWithRecipeAndList();
  Company c;
  RecipeFile recipes(c);
  recipes.write(1, recipes.makeLine(2, {"B", 3e38f, 1.5f}));  // A's only line
  ui.key(ui::Key::F3);  // the levels
  for (int output = 0; output < 3; ++output) {  // the printer, a workbook, the screen
    ui.key(ui::Key::F5);
    EXPECT_EQ(visibleName() + caption(), "frmRDizgiKademe işlemleri esnasında hata oluştu...");
    ui.key(ui::Key::F1);
  }
  EXPECT_TRUE(printed.documents().empty() && !std::filesystem::exists(folder.path() / "Kitap1.xlsx"));
}

// A working file that cannot be read back for the printer is told by the window layer; the title does not
// go on saying the report is being printed.
TEST_F(ReportPrintingTest, AWorkingFileThatCannotBeReadEndsThePrintOutWithTheDialogsTitle) {
  openOnProductWithRecipeAndList();
  int opens = 0;
  {
    testing::FailOn count(FileOp::Open, "KLVR952.KDM", EACCES, 1000000);
    ui.key(ui::Key::F5);
    opens = count.calls();
  }
  ui.clearShown();
  testing::FailOn last(FileOp::Open, "KLVR952.KDM", EACCES, opens);
  ui.key(ui::Key::F5);
  ASSERT_EQ(last.failures(), 1);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find("KLVR952.KDM"), std::string::npos);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0");
  EXPECT_TRUE(enabled("cmdPrint"));
}

TEST_F(ReportPrintingTest, AProductWithoutARecipePrintsNothingOfAnEarlierOne) {
  openOnProductWithRecipeAndList();
  ui.key(ui::Key::F5);  // the pump's total consumption: ".KDM" holds it
  ui.key(ui::Key::Escape);
  ui.key(ui::Key::End);  // B has no recipe
  ui.key(ui::Key::F4);
  ui.key(ui::Key::F1);
  ui.clearShown();
  const std::size_t documents = printed.documents().size();
  for (int key : {ui::Key::F5, ui::Key::F3, ui::Key::F5}) ui.key(key);  // total consumption, then the levels
  EXPECT_EQ(printed.documents().size(), documents);
  EXPECT_EQ(messages().back(), "KALVOR 952 Uyarlama 3.0|Yazdırılacak kayıt olmadığından, yazma işlemi iptal edildi!...");
}

// "Excel'e": every choice builds its working file anew and writes one row per line of it (and the grand
// total after the lines of a report with costs); the dialog stays. A product without lines writes nothing.
TEST_F(ReportPrintingTest, EachChoiceGoesToAWorkbookOfItsWorkingFile) {
  openOnProductWithRecipeAndList();
  ui.key(ui::Key::F1);  // to a workbook
  ASSERT_TRUE(option("optXLS"));
  // From the first choices (the recipe, with cost, as total consumption) through all six kinds.
  const int steps[] = {0, ui::Key::F3, ui::Key::F4, ui::Key::F3, ui::Key::F2, ui::Key::F4};
  for (int n = 1; n <= 6; ++n) {
    if (steps[n - 1] != 0) ui.key(steps[n - 1]);
    ui.clearShown();
    ui.key(ui::Key::F5);
    const std::string file = "Kitap" + std::to_string(n) + ".xlsx";
    ASSERT_EQ(messages(),
              std::vector<std::string>{"KALVOR 952 Uyarlama 3.0|Kayıtlar \"" + file + "\" dosyasına aktarıldı..."});
    const ReportKind kind = static_cast<ReportKind>(KALVOR3.Report.ReportKind);
    const std::int32_t lines = isList(kind) ? FileHandle("KLVR952.RCT", RecipeRecord::Length).count()
                                            : FileHandle("KLVR952.KDM", LevelRecord::Length).count();
    ASSERT_GT(lines, 0);
    const sheet::Sheet s = sheet::readFirstSheet(file);
    EXPECT_EQ(s.name(), "P1");
    EXPECT_EQ(s.rowCount(), lines + 1 + (hasCost(kind) ? 1 : 0)) << n;
    EXPECT_EQ(visibleName(), "frmRDizgi");
  }
  ui.key(ui::Key::Escape);
  ui.key(ui::Key::End);  // B has no list definition
  ui.key(ui::Key::F4);
  ui.key(ui::Key::F1);
  ui.key(ui::Key::F1);
  ui.key(ui::Key::F2);
  ui.clearShown();
  ui.key(ui::Key::F5);
  EXPECT_EQ(messages(), std::vector<std::string>{"KALVOR 952 Uyarlama 3.0|Listelenecek kayıt olmadığından, listenin "
                                                 "Excel'e export iptal edildi!..."});
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "Kitap7.xlsx"));
}

}  // namespace
}  // namespace kv::testing
