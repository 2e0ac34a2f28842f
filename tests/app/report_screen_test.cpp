// The recipe reports on the screen: the report dialog's "Ekrana" opens the report window, which shows the
// working file twenty rows a page and pages with the keyboard; checked against the working file itself.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>

#include "app_fixture.h"
#include "base/numbers.h"
#include "pump_reports.h"
#include "reports/report_kind.h"
#include "support/file_faults.h"

namespace kv::testing {
namespace {

namespace Key = ui::Key;

// One drawn page, in millimetres: the texts of each line of the surface (by their y), and the rules.
struct DrawnPage {
  std::map<double, std::vector<std::string>> lines;  // trimmed UTF-8 texts, left to right as drawn
  std::map<double, ui::Color> colours;                // of the first text of each line
  int horizontalRules = 0;
  // The lines of the table's rows: everything under the header line and the headings.
  std::vector<std::vector<std::string>> rows() const {
    std::vector<std::vector<std::string>> out;
    for (auto it = std::next(lines.begin(), 2); it != lines.end(); ++it)
      if (it->second.front().rfind("Genel Toplam", 0) != 0) out.push_back(it->second);
    return out;
  }
  std::string grandTotal() const {
    for (const auto& [y, texts] : lines)
      if (texts.front().rfind("Genel Toplam", 0) == 0) return texts.front();
    return "";
  }
};

DrawnPage drawnPage(const std::vector<ui::DrawItem>& drawing) {
  DrawnPage page;
  const double mm = ui::pixelsPerUnit(ui::Scale::Millimetre);
  for (const ui::DrawItem& item : drawing) {
    if (item.kind == ui::DrawItem::Kind::Line) {
      page.horizontalRules += item.y1 == item.y2;
      continue;
    }
    const double y = std::round(item.y1 / mm * 100) / 100;
    page.colours.emplace(y, item.color);
    page.lines[y].push_back(trim(toUtf8(item.text)));
  }
  return page;
}

// The working file's rows as the report shows them: the code (trimmed) and, for the cost reports, the
// grand total's text.
struct WorkingFile {
  std::vector<std::string> codes;
  float grandTotal = 0;
};

WorkingFile workingFile(const TempFolder& folder, ReportKind kind) {
  WorkingFile out;
  if (isList(kind)) {
    const std::vector<std::uint8_t> b = folder.bytes("KLVR952.RCT");
    for (std::size_t at = 0; at + RecipeRecord::Length <= b.size(); at += RecipeRecord::Length) {
      const RecipeRecord r = RecipeRecord::decode(b.data() + at);
      out.codes.push_back(trim(toUtf8(r.Code.str())));
      out.grandTotal += r.Total;
    }
  } else {
    for (const LevelRecord& r : readLevelFile(folder)) {
      out.codes.push_back(trim(toUtf8(r.Code.str())));
      if (kind != ReportKind::LevelsWithCost || r.Level == 0) out.grandTotal += r.Total;
    }
  }
  return out;
}

class ReportScreenTest : public AppTest {
 protected:
  ReportScreenTest() {
    makePumpCompany();
    openAnalysisOn(1);
    ui.key(Key::F4);
  }
  // From the report dialog's first choices (total consumption with cost, on the screen): the keys, then F5.
  void showOnScreen(const std::vector<int>& keys) {
    for (int key : keys) ui.key(key);
    ui.key(Key::F5);
    ASSERT_EQ(visibleName(), "frmRList");
  }
  DrawnPage page() { return drawnPage(ui.visible()->Drawing()); }
  std::string pageLabel() { return page().lines.begin()->second.back(); }

  // The page on screen is page `number` of the file: its rows in order, each showing its code, ruled
  // above and below, with the grand total of the file under it in the cost reports.
  void expectPage(int number, ReportKind kind) {
    SCOPED_TRACE("page " + std::to_string(number));
    const WorkingFile file = workingFile(folder, kind);
    const DrawnPage drawn = page();
    EXPECT_EQ(pageLabel(), "Sayfa :  " + std::to_string(number));
    const std::size_t first = static_cast<std::size_t>(number - 1) * 20;
    const std::size_t count = std::min<std::size_t>(20, file.codes.size() - first);
    const auto rows = drawn.rows();
    ASSERT_EQ(rows.size(), count);
    for (std::size_t k = 0; k < count; ++k)
      EXPECT_NE(std::find(rows[k].begin(), rows[k].end(), file.codes[first + k]), rows[k].end()) << k;
    EXPECT_EQ(drawn.horizontalRules, static_cast<int>(count) + 2);
    if (hasCost(kind)) {
      EXPECT_EQ(drawn.grandTotal(), "Genel Toplam : " + toUtf8(currencyText(file.grandTotal)));
      EXPECT_EQ(drawn.colours.rbegin()->second, ui::QBColor(1));
    } else {
      EXPECT_EQ(drawn.grandTotal(), "");
    }
    EXPECT_EQ(drawn.colours.begin()->second, ui::QBColor(2));
    EXPECT_EQ(std::next(drawn.colours.begin())->second, ui::QBColor(4));
  }
};

TEST_F(ReportScreenTest, EachReportShowsItsWorkingFileTwentyRowsAPage) {
  struct Case {
    std::vector<int> keys;
    ReportKind kind;
    const char* title;
  };
  const Case cases[] = {
      {{}, ReportKind::TotalConsumptionWithCost, "KALVOR 952 Uyarlama 3.0 TOPLAM SARF LİSTESİ"},
      {{Key::F3}, ReportKind::LevelsWithCost, "KALVOR 952 Uyarlama 3.0 KADEMELİ LİSTE"},
      {{Key::F2}, ReportKind::ListWithCost, "KALVOR 952 Uyarlama 3.0 LİSTE"},
      {{Key::F4}, ReportKind::TotalConsumptionWithoutCost, "KALVOR 952 Uyarlama 3.0 TOPLAM SARF LİSTESİ"},
      {{Key::F3, Key::F4}, ReportKind::LevelsWithoutCost, "KALVOR 952 Uyarlama 3.0 KADEMELİ LİSTE"},
      {{Key::F2, Key::F4}, ReportKind::ListWithoutCost, "KALVOR 952 Uyarlama 3.0 LİSTE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    showOnScreen(c.keys);
    EXPECT_EQ(caption(), c.title);
    EXPECT_EQ(page().lines.begin()->second.front(), "5 Mart 2008");  // the working date; nothing was printed
    expectPage(1, c.kind);
    ui.key(Key::End);
    expectPage(3, c.kind);
    ui.key(Key::PageUp);
    expectPage(2, c.kind);
    ui.key(Key::Escape);
    ASSERT_EQ(visibleName(), "frmRDizgi");  // loaded afresh, on its first choices
  }
}

// A press of a key draws the page the table gives (three pages): forward past the end wraps to the first
// page, backward before the first to the last; the first key against the direction draws the same page.
TEST_F(ReportScreenTest, ThePageKeysWrapAtBothEnds) {
  showOnScreen({});
  const std::pair<int, int> presses[] = {{Key::PageDown, 2}, {Key::PageDown, 3}, {Key::PageDown, 1},
                                         {Key::PageUp, 1},   {Key::PageUp, 3},   {Key::PageUp, 2},
                                         {Key::Home, 1},     {Key::End, 3},      {Key::PageDown, 1},
                                         {Key::Enter, 2}};
  for (const auto& [key, number] : presses) {
    ui.key(key);
    EXPECT_EQ(pageLabel(), "Sayfa :  " + std::to_string(number)) << "key " << key;
  }
  ui.key(Key::PageUp);  // against the direction: the same page
  EXPECT_EQ(pageLabel(), "Sayfa :  2");
  ui.key('A');  // turns forward without drawing
  EXPECT_EQ(pageLabel(), "Sayfa :  2");
  ui.clickForm();  // the page after the one before the page on screen
  EXPECT_EQ(pageLabel(), "Sayfa :  1");
}

// The help box over the window leaves the page drawn as it was: nothing is painted again.
TEST_F(ReportScreenTest, ThePageStaysDrawnUnderTheHelpBox) {
  showOnScreen({Key::F3});
  ui.key(Key::PageDown);
  const std::vector<ui::DrawItem> before = ui.visible()->Drawing();
  ui.clearShown();
  ui.key(Key::F10);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(toUtf8(ui.messages()[0].title), "LİSTE MENÜSÜ FONKSİYON TUŞLARI");
  EXPECT_EQ(drawnPage(ui.visible()->Drawing()).lines, drawnPage(before).lines);
  EXPECT_EQ(ui.visible()->Drawing().size(), before.size());
}

// A working file that cannot be read gives the page of an empty report and says which file failed; the
// window stays, and the next page key reads the file again.
TEST_F(ReportScreenTest, AnUnreadableWorkingFileGivesAnEmptyPage) {
  showOnScreen({});
  ui.clearShown();
  {
    FailOn locked(FileOp::Open, "KLVR952.KDM", EACCES);
    ui.key(Key::PageDown);
    ASSERT_EQ(visibleName(), "frmRList");
    EXPECT_TRUE(page().rows().empty());
    EXPECT_EQ(page().horizontalRules, 2);
    EXPECT_EQ(page().grandTotal(), "Genel Toplam : " + toUtf8(currencyText(0)));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(toUtf8(ui.messages()[0].text).find("KLVR952.KDM"), std::string::npos);
  }
  ui.key(Key::Home);
  expectPage(1, ReportKind::TotalConsumptionWithCost);
}

// A product without a recipe has nothing to show: the dialog says so and stays.
TEST_F(ReportScreenTest, NothingToShowKeepsTheDialog) {
  ui.key(Key::Escape);
  ui.key(Key::End);  // X43, a part
  ui.key(Key::F4);
  ui.clearShown();
  for (const std::vector<int>& keys : {std::vector<int>{}, {Key::F3}, {Key::F2}}) {
    for (int key : keys) ui.key(key);
    ui.key(Key::F5);
    EXPECT_EQ(visibleName(), "frmRDizgi");
    EXPECT_EQ(messages().back(), "KALVOR 952 Uyarlama 3.0|Listelenecek kayıt olmadığından, liste işlemi iptal edildi!...");
  }
}

TEST_F(ReportScreenTest, AReportOfAnUnknownKindClosesItsWindow) {
  showOnScreen({});
  KALVOR3.Report.ReportKind = 7;
  ui.clearShown();
  ui.key(Key::Home);
  EXPECT_EQ(messages(), (std::vector<std::string>{"! HATA !|Ne tip liste basılacağı belirsiz!...\rListeleme işlemi iptal edildi..."}));
  EXPECT_EQ(visibleName(), "frmRDizgi");
}

}  // namespace
}  // namespace kv::testing
