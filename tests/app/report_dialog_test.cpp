// The report dialog's choices, by mouse and by key, and the way back to the analysis window.
#include "app_fixture.h"

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
  EXPECT_TRUE(KALVOR3.ListMode);
  EXPECT_FALSE(ticked("chkTSarf"));
  ui.click("chkTSarf");
  EXPECT_FALSE(ticked("chkTSarf"));
  ui.focus("cmdPrint");
  ui.key(ui::Key::F3);
  EXPECT_TRUE(option("OptRecete"));
  EXPECT_FALSE(KALVOR3.ListMode);
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
  EXPECT_FALSE(KALVOR3.ListReady);
}

}  // namespace
}  // namespace kv::testing
