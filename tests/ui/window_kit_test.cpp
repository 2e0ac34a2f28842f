// What every window does the same way: the default button, the combo box's selection on focus, the exit
// command of the close box, the hourglass guard and centring.
#include <gtest/gtest.h>

#include <stdexcept>

#include "test_window.h"

namespace kv::ui::testing {
namespace {

using V = std::vector<std::string>;

// A dialog with two buttons, one of them the default, and the two kinds of entry field.
class frmKit : public Form {
 public:
  frmKit() {
    Move(0, 0, 300, 200);
    cmdOK.Default = true;
    for (Control* c : Controls()) {
      const std::string n = c->Name();
      c->Click = [this, n] { log.push_back(n + "_Click"); };
      c->KeyDown = [this, n](int& k, int) { log.push_back(n + "_KeyDown " + std::to_string(k)); };
      c->KeyPress = [this, n](int& k) { log.push_back(n + "_KeyPress " + std::to_string(k)); };
    }
  }
  TextBox txtA{*this, "txtA"};
  ComboBox cboA{*this, "cboA"};
  CommandButton cmdOK{*this, "cmdOK"};
  CommandButton cmdOther{*this, "cmdOther"};
  std::vector<std::string> log;
};

class WindowKitTest : public UiTest {
 protected:
  WindowKitTest() { registerForm("frmKit", [] { return std::make_unique<frmKit>(); }); }
  frmKit& kit() { return ui.app().forms().get<frmKit>("frmKit"); }
};

TEST_F(WindowKitTest, EnterClicksTheDefaultButtonUnlessTheFocusIsOnAButtonOrTheDefaultCannotBeUsed) {
  struct Case {
    const char* focus;
    bool defaultUsable;
    V expected;
  };
  const Case cases[] = {
      {"txtA", true, {"cmdOK_Click"}},
      {"cboA", true, {"cmdOK_Click"}},
      {"cmdOther", true, {"cmdOther_KeyDown 13", "cmdOther_KeyPress 13", "cmdOther_Click"}},
      {"cmdOK", true, {"cmdOK_KeyDown 13", "cmdOK_KeyPress 13", "cmdOK_Click"}},
      {"txtA", false, {"txtA_KeyDown 13", "txtA_KeyPress 13"}},
  };
  ui.start("frmKit");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.focus) + (c.defaultUsable ? "" : ", default disabled"));
    kit().cmdOK.Enabled = c.defaultUsable;
    ui.focus(c.focus);
    kit().log.clear();
    ui.key(Key::Enter);
    EXPECT_EQ(kit().log, c.expected);
    EXPECT_EQ(ui.focused(), c.focus);  // Enter moves no focus
  }
}

TEST_F(WindowKitTest, AWindowHasOneDefaultButtonAtMost) {
  ui.start("frmKit");
  kit().cmdOther.Default = true;
  EXPECT_FALSE(kit().cmdOK.Default());
  ui.focus("txtA");
  kit().log.clear();
  ui.key(Key::Enter);
  EXPECT_EQ(kit().log, V{"cmdOther_Click"});
}

TEST_F(WindowKitTest, AComboBoxSelectsItsWholeTextWhenItGetsTheFocusSoTypingReplacesIt) {
  ui.start("frmKit");
  ComboBox& combo = kit().cboA;
  combo.Text = "KLVR952";
  for (const char* how : {"Tab", "SetFocus", "click"}) {
    SCOPED_TRACE(how);
    ui.focus("txtA");
    combo.SelStart = 3;
    if (how == std::string("Tab"))
      ui.key(Key::Tab);
    else if (how == std::string("SetFocus"))
      combo.SetFocus();
    else
      ui.focus("cboA");
    EXPECT_EQ(combo.SelStart(), 0);
    EXPECT_EQ(combo.SelLength(), 7);
  }
  ui.type("ACME");
  EXPECT_EQ(combo.Text(), "ACME");
}

TEST_F(UiTest, TheCloseBoxRunsTheExitCommandTheWindowNamesAndOnlyThat) {
  ui.start("frmTest");
  frmTest& w = window();
  int exits = 0;
  w.closeBoxRuns([&] { ++exits; });  // an exit that asks and stays
  events().clear();
  ui.closeBox();
  EXPECT_EQ(exits, 1);
  EXPECT_TRUE(events().empty());
  EXPECT_TRUE(w.Visible());
  w.closeBoxRuns([&] {  // an exit back to the other window
    w.Unload();
    forms().show("frmOther");
  });
  ui.closeBox();
  EXPECT_FALSE(forms().isLoaded("frmTest"));
  EXPECT_EQ(ui.visible(), &window("frmOther"));
  EXPECT_FALSE(ui.ended());
}

TEST_F(UiTest, TheBusyPointerComesBackOnEveryWayOutOfTheOperation) {
  ui.start("frmTest");
  frmTest& w = window();
  const auto operation = [&](bool fail) {
    BusyPointer busy(w);
    EXPECT_EQ(w.MousePointer(), Pointer::Hourglass);
    {
      BusyPointer inner(w);  // a nested operation leaves the hourglass to the outer one
    }
    EXPECT_EQ(w.MousePointer(), Pointer::Hourglass);
    if (fail) throw std::runtime_error("disk full");
  };
  operation(false);
  EXPECT_EQ(w.MousePointer(), Pointer::Default);
  EXPECT_THROW(operation(true), std::runtime_error);
  EXPECT_EQ(w.MousePointer(), Pointer::Default);
  // The program's end inside the operation.
  w.cmdGo.Click = [&] {
    BusyPointer busy(w);
    End();
  };
  ui.click("cmdGo");
  EXPECT_TRUE(ui.ended());
}

TEST_F(UiTest, CentringKeepsTheTitleBarOnTheScreen) {
  struct Case {
    int width, height, left, top;
  };
  const Case cases[] = {{400, 300, 312, 234}, {1024, 768, 0, 0}, {1500, 200, 0, 284}};
  ui.setScreen(1024, 768);
  ui.start("frmTest");
  for (const Case& c : cases) {
    window().Move(5, 5, c.width, c.height);
    centreOnScreen(window());
    EXPECT_EQ(window().Left(), c.left) << c.width;
    EXPECT_EQ(window().Top(), c.top) << c.height;
  }
}

}  // namespace
}  // namespace kv::ui::testing
