// Focus moves in the order of Windows; clicks on the window's background are the form's.
#include <gtest/gtest.h>

#include "test_window.h"

namespace kv::ui::testing {
namespace {

using V = std::vector<std::string>;

TEST_F(UiTest, FocusMovesLostFocusBeforeGotFocusAndNotToItself) {
  ui.start("frmTest");
  frmTest& w = window();
  events().clear();
  w.txtA.SetFocus();
  w.txtA.SetFocus();
  ui.click("txtB");
  EXPECT_EQ(events(), (V{"frmTest.optA1_LostFocus", "frmTest.txtA_GotFocus", "frmTest.txtA_LostFocus",
                         "frmTest.txtB_GotFocus", "frmTest.txtB_Click"}));
  EXPECT_EQ(ui.focused(), "txtB");
}

TEST_F(UiTest, GotFocusMayMoveTheFocusOnAtOnce) {
  ui.start("frmTest");
  frmTest& w = window();
  w.txtB.GotFocus = [&] { w.txtA.SetFocus(); };  // a row refused: back to the first box
  events().clear();
  ui.focus("txtB");
  EXPECT_EQ(ui.focused(), "txtA");
  EXPECT_EQ(events(), (V{"frmTest.optA1_LostFocus", "frmTest.txtB_LostFocus", "frmTest.txtA_GotFocus"}));
}

TEST_F(UiTest, DisabledOrHiddenControlsTakeNoFocusAndTabSkipsThem) {
  ui.start("frmTest");
  frmTest& w = window();
  w.txtB.Enabled = false;
  w.txtB.SetFocus();
  EXPECT_EQ(ui.focused(), "optA1");
  w.fraA.Visible = false;  // its options go with it
  w.txtA.SetFocus();
  ui.key(Key::Tab);
  EXPECT_EQ(ui.focused(), "cmdGo");
  ui.key(Key::Tab, Mask::Shift);
  ui.key(Key::Tab, Mask::Shift);
  EXPECT_EQ(ui.focused(), "optB1");
}

TEST_F(UiTest, BackgroundClicksAreTheFormsAndADoubleClickClicksFirst) {
  ui.start("frmTest");
  events().clear();
  ui.clickForm();
  ui.dblClickForm();
  EXPECT_EQ(events(), (V{"frmTest.Form_Click", "frmTest.Form_Click", "frmTest.Form_DblClick"}));
  events().clear();
  ui.dblClick("lblA");  // a label takes its own clicks
  EXPECT_EQ(events(), (V{"frmTest.lblA_Click", "frmTest.lblA_DblClick"}));
  events().clear();
  ui.dblClick("cmdGo");  // a button takes a double click as two clicks
  EXPECT_EQ(eventsOf("frmTest.cmdGo_"), (V{"frmTest.cmdGo_GotFocus", "frmTest.cmdGo_Click", "frmTest.cmdGo_Click"}));
}

TEST_F(UiTest, ShowingAgainKeepsTheFocusWithoutEvents) {
  ui.start("frmTest");
  window().txtB.SetFocus();
  forms().show("frmOther");
  events().clear();
  forms().show("frmTest");
  EXPECT_EQ(ui.focused(), "txtB");
  EXPECT_TRUE(eventsOf("frmTest.txtB").empty());
}

}  // namespace
}  // namespace kv::ui::testing
