// Loading, showing, hiding and unloading windows, and the end of the program.
#include <gtest/gtest.h>

#include "files/files.h"
#include "support/company.h"
#include "test_window.h"

namespace kv::ui::testing {
namespace {

using V = std::vector<std::string>;

TEST_F(UiTest, FirstShowLoadsThenActivatesThenFocusesTheFirstControl) {
  ui.start("frmTest");
  EXPECT_EQ(events(), (V{"frmTest.Form_Load", "frmTest.Form_Activate", "frmTest.optA1_GotFocus"}));
  EXPECT_EQ(ui.visible(), &window());
}

TEST_F(UiTest, HiddenWindowKeepsItsStateAndOnlyActivatesWhenShownAgain) {
  ui.start("frmTest");
  frmTest& first = window();
  first.txtA.Text = "kept";
  forms().show("frmOther");  // only one window is visible: showing another hides the first
  EXPECT_FALSE(first.Visible());
  EXPECT_TRUE(first.Loaded());
  events().clear();
  forms().show("frmTest");
  EXPECT_EQ(&window(), &first);
  EXPECT_EQ(first.txtA.Text(), "kept");
  EXPECT_EQ(events(), (V{"frmOther.Form_Deactivate", "frmTest.Form_Activate"}));
  // Showing the window that is already active runs nothing.
  events().clear();
  first.Show();
  EXPECT_TRUE(events().empty());
}

TEST_F(UiTest, UnloadRunsItsEventsAndTheNextUseLoadsAfresh) {
  ui.start("frmTest");
  window().txtA.Text = "gone";
  forms().show("frmOther");
  events().clear();
  forms().unload("frmTest");
  EXPECT_EQ(events(), (V{"frmTest.Form_QueryUnload 1", "frmTest.Form_Unload"}));
  EXPECT_FALSE(forms().isLoaded("frmTest"));
  events().clear();
  frmTest& again = window();  // a reference loads it
  EXPECT_EQ(events(), (V{"frmTest.Form_Load"}));
  EXPECT_EQ(again.txtA.Text(), "");
}

TEST_F(UiTest, UnloadCancelledByTheWindowKeepsIt) {
  ui.start("frmTest");
  window().onUnload = [](int& cancel) { cancel = 1; };
  window().Unload();
  EXPECT_TRUE(forms().isLoaded("frmTest"));
  EXPECT_TRUE(window().Visible());
}

TEST_F(UiTest, HandlerMayUnloadItsOwnWindowAndShowAnother) {
  ui.start("frmTest");
  frmTest& first = window();
  bool stillThere = false;
  first.cmdGo.Click = [&] {
    first.Unload();
    forms().show("frmOther");
    // The window object lives until the handler returns; its controls may still be read.
    first.txtA.Text = "after unload";
    stillThere = first.txtA.Text() == "after unload";
  };
  events().clear();
  ui.click("cmdGo");
  EXPECT_TRUE(stillThere);
  EXPECT_FALSE(forms().isLoaded("frmTest"));
  EXPECT_EQ(ui.visible(), &window("frmOther"));
  EXPECT_EQ(eventsOf("frmTest.Form_"), (V{"frmTest.Form_QueryUnload 1", "frmTest.Form_Unload"}));
  EXPECT_FALSE(ui.ended());
}

TEST_F(UiTest, KeystrokeStopsWhenItsKeyDownUnloadsTheWindow) {
  ui.start("frmTest");
  frmTest& w = window();
  w.txtA.SetFocus();
  w.txtA.KeyDown = [&](int&, int) {
    w.Unload();
    forms().show("frmOther");
  };
  events().clear();
  ui.type("x");
  EXPECT_TRUE(eventsOf("frmTest.txtA_KeyPress").empty());
  EXPECT_TRUE(eventsOf("frmTest.txtA_Change").empty());
}

TEST_F(UiTest, CloseBoxUnloadsByDefaultAndTheLastWindowEndsTheProgram) {
  ui.start("frmTest");
  ui.closeBox();
  EXPECT_EQ(eventsOf("frmTest.Form_QueryUnload"), (V{"frmTest.Form_QueryUnload 0"}));
  EXPECT_FALSE(forms().isLoaded("frmTest"));
  EXPECT_TRUE(ui.ended());
}

TEST_F(UiTest, CloseBoxCanDoWhatTheWindowsExitCommandDoes) {
  ui.start("frmTest");
  frmTest& w = window();
  w.cmdGo.Click = [&] {  // the window's exit command: back to the other window
    w.Unload();
    forms().show("frmOther");
  };
  w.onQueryUnload = [&](int& cancel, int mode) {
    if (mode == UnloadMode::CloseBox) {
      cancel = 1;
      w.cmdGo.Click();
    }
  };
  ui.closeBox();
  EXPECT_FALSE(forms().isLoaded("frmTest"));
  EXPECT_EQ(ui.visible(), &window("frmOther"));
  EXPECT_FALSE(ui.ended());
}

TEST_F(UiTest, EndStopsTheHandlerAtOnceWithoutUnloadEvents) {
  ui.start("frmTest");
  bool after = false;
  window().cmdGo.Click = [&] {
    End();
    after = true;
  };
  events().clear();
  ui.click("cmdGo");
  EXPECT_TRUE(ui.ended());
  EXPECT_FALSE(after);
  EXPECT_TRUE(eventsOf("frmTest.Form_").empty());
  EXPECT_EQ(ui.visible(), nullptr);
  ui.key(Key::Enter);  // nothing reaches an ended program
}

TEST_F(UiTest, EndClosesTheFilesTheProgramHeldOpen) {
  kv::testing::TempFolder folder;
  ui.start("frmTest");
  openRandom(1, "DENEME.DAT", 4);
  window().cmdGo.Click = [] { End(); };
  ui.click("cmdGo");
  EXPECT_FALSE(isOpen(1));
}

}  // namespace
}  // namespace kv::ui::testing
