// Focus moves in the order of Windows; clicks on the window's background are the form's.
#include <gtest/gtest.h>

#include <functional>

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

// The second press of a double click reaches its window only while that window is still shown: a first
// click that closes it leaves nothing of it to press (its controls are destroyed).
TEST_F(UiTest, BackgroundClicksAreTheFormsAndADoubleClickClicksFirst) {
  // The handler's own log, then the window closed for another.
  const auto closing = [](frmTest& w, std::function<void()>& handler) {
    handler = [&w, logged = handler] {
      if (logged) logged();
      w.Unload();
      forms().show("frmOther");
    };
  };
  struct Case {
    const char* what;
    std::function<void(frmTest&)> arrange;
    std::function<void()> doubleClick;
    const char* seen;  // the log entries that hold this
    V want;
  };
  const Case cases[] = {
      {"the window's background", nullptr, [&] {
         ui.clickForm();
         ui.dblClickForm();
       }, "",
       {"frmTest.Form_Click", "frmTest.Form_Click", "frmTest.Form_DblClick"}},
      {"a label takes its own clicks", nullptr, [&] { ui.dblClick("lblA"); }, "",
       {"frmTest.lblA_Click", "frmTest.lblA_DblClick"}},
      {"a button takes a double click as two clicks", nullptr, [&] { ui.dblClick("cmdGo"); }, "frmTest.cmdGo_",
       {"frmTest.cmdGo_GotFocus", "frmTest.cmdGo_Click", "frmTest.cmdGo_Click"}},
      {"a button that closes its window", [&](frmTest& w) { closing(w, w.cmdGo.Click); },
       [&] { ui.dblClick("cmdGo"); }, "cmdGo_Click", {"frmTest.cmdGo_Click"}},
      {"a background that closes its window", [&](frmTest& w) { closing(w, w.onClick); },
       [&] { ui.dblClickForm(); }, "Click", {"frmTest.Form_Click"}},
      {"a grid that closes its window", [&](frmTest& w) { closing(w, w.grdA.Click); },
       [&] { ui.dblClickCell("grdA", 1, 1); }, "Click", {"frmTest.grdA_Click"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    ui.start("frmTest");
    if (k.arrange) k.arrange(window());
    events().clear();
    k.doubleClick();
    V seen;
    for (const std::string& e : events())
      if (e.find(k.seen) != std::string::npos) seen.push_back(e);
    EXPECT_EQ(seen, k.want);
  }
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
