// The recipe editor's print command: the six reports of the product being edited, on the page the report
// dialog prints them on; a failing printer tried again or given up; a failed build prints nothing.
#include <map>

#include "app_fixture.h"
#include "pump_reports.h"
#include "reports/report_kind.h"

namespace kv::testing {
namespace {

namespace Key = ui::Key;
using State = print::RecordedDocument::State;

class EditorReportsTest : public AppTest {
 protected:
  EditorReportsTest() {
    makePumpCompany();
    openAnalysisOn(1);
  }
  // From the analysis window: the editor on the recipe (or the list definition), F2, the answers, Esc.
  void printFromEditor(bool list, const std::vector<MsgAnswer>& answers) {
    ui.key(list ? Key::F3 : Key::F2);
    ASSERT_EQ(visibleName(), "frmRecete");
    for (MsgAnswer a : answers) ui.answer(a);
    ui.key(Key::F2);
  }
  print::RecordingPrinter printed;
};

TEST_F(EditorReportsTest, TheSixReportsFromTheEditorAreTheReportDialogsPages) {
  // The dialog first, on the printer: its first choice, then the keys that lead through the six kinds.
  ui.key(Key::F4);
  ui.key(Key::F1);
  std::map<ReportKind, std::string> fromDialog;
  const std::pair<int, ReportKind> steps[] = {{0, ReportKind::TotalConsumptionWithCost},
                                              {Key::F3, ReportKind::LevelsWithCost},
                                              {Key::F4, ReportKind::LevelsWithoutCost},
                                              {Key::F3, ReportKind::TotalConsumptionWithoutCost},
                                              {Key::F2, ReportKind::ListWithoutCost},
                                              {Key::F4, ReportKind::ListWithCost}};
  for (const auto& [key, kind] : steps) {
    if (key) ui.key(key);
    ui.key(Key::F5);
    ASSERT_EQ(printed.documents().back().state, State::Ended);
    fromDialog[kind] = transcriptOf(printed.documents().back());
  }
  ui.key(Key::Escape);

  struct Case {
    ReportKind kind;
    bool list;
    std::vector<MsgAnswer> answers;  // with costs?, total consumption?
  };
  const Case cases[] = {
      {ReportKind::ListWithCost, true, {MsgAnswer::Yes}},
      {ReportKind::TotalConsumptionWithCost, false, {MsgAnswer::Yes, MsgAnswer::Yes}},
      {ReportKind::LevelsWithCost, false, {MsgAnswer::Yes, MsgAnswer::No}},
      {ReportKind::ListWithoutCost, true, {MsgAnswer::No}},
      {ReportKind::TotalConsumptionWithoutCost, false, {MsgAnswer::No, MsgAnswer::Yes}},
      {ReportKind::LevelsWithoutCost, false, {MsgAnswer::No, MsgAnswer::No}},
  };
  const Kalvor3 before = KALVOR3;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const std::size_t documents = printed.documents().size();
    printFromEditor(c.list, c.answers);
    ASSERT_EQ(printed.documents().size(), documents + 1);
    EXPECT_GT(printed.documents().back().pages.size(), 1u);
    EXPECT_EQ(transcriptOf(printed.documents().back()), fromDialog[c.kind]);
    EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA");
    EXPECT_TRUE(enabled("cmdPrint"));
    ui.key(Key::Escape);
  }
  // What the report dialog keeps for its own reports stays as it left it.
  EXPECT_EQ(KALVOR3.Report.ReportProductCode, before.Report.ReportProductCode);
  EXPECT_EQ(KALVOR3.Report.ReportProductName, before.Report.ReportProductName);
}

// The failed job is aborted before the question; Retry prints the report anew from its first page,
// Cancel gives up, and the editor is usable again either way.
TEST_F(EditorReportsTest, AFailingPrinterIsTriedAgainOnRetryAndGivenUpOnCancel) {
  printed.failAt(print::DeviceCall::Text, 5);
  ui.clearShown();
  printFromEditor(false, {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Retry});
  ASSERT_EQ(printed.documents().size(), 2u);
  EXPECT_EQ(printed.documents()[0].state, State::Aborted);
  EXPECT_EQ(printed.documents()[1].state, State::Ended);
  const auto failure = ui.messages().back();
  EXPECT_EQ(toUtf8(failure.title), "PRİNTER HATASI !");
  EXPECT_EQ(toUtf8(failure.text), "Printer hazır değil ! ( Ayarlar doğru mu?! )");
  EXPECT_EQ(failure.buttons, MsgButtons::RetryCancel);
  const std::vector<std::string> held = openFiles();

  printed.failAt(print::DeviceCall::Line, 2);
  ui.answer(MsgAnswer::Yes);
  ui.answer(MsgAnswer::No);
  ui.answer(MsgAnswer::Cancel);
  ui.key(Key::F2);
  ASSERT_EQ(printed.documents().size(), 3u);
  EXPECT_EQ(printed.documents()[2].state, State::Aborted);
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0 BETA");
  EXPECT_TRUE(enabled("cmdPrint"));
  EXPECT_EQ(openFiles(), held);
}

// A build that fails leaves its failure in the title; nothing of the partial tree is printed and no
// cost is written.
TEST_F(EditorReportsTest, AFailedBuildPrintsNothingAndWritesNoCost) {
  {
    Company c;
    RecipeFile recipes(c);
    RecipeRecord huge = recipes.line(1);  // A's first line: B, which a Single cannot multiply up
    huge.Quantity = 3e38f;
    recipes.write(1, huge);
  }
  const std::pair<MsgAnswer, const char*> builds[] = {
      {MsgAnswer::No, "Kademe işlemleri esnasında hata oluştu..."},
      {MsgAnswer::Yes, "Toplam listeleme işlemleri esnasında hata oluştu..."}};
  for (const auto& [totalConsumption, failure] : builds) {
    printFromEditor(false, {MsgAnswer::Yes, totalConsumption});
    EXPECT_TRUE(printed.documents().empty());
    EXPECT_EQ(caption(), failure);
    EXPECT_EQ(Company().record(1).RecipeCost, 0);
    ui.key(Key::Escape);
  }
}

}  // namespace
}  // namespace kv::testing
