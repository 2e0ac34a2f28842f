// A window with one control of each kind whose handlers write what they saw into a shared log, for the
// tests of the forms layer. Registered as "frmTest" and as "frmOther" (two windows of the same make).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/headless_driver.h"
#include "ui/ui.h"

namespace kv::ui::testing {

// Every handler of the test windows appends "<window>.<control>_<Event>[ argument]".
std::vector<std::string>& events();
// The log entries that begin with a prefix.
std::vector<std::string> eventsOf(const std::string& prefix);

class frmTest : public Form {
 public:
  frmTest();

  Frame fraA{*this, "fraA"};
  OptionButton optA1{fraA, "optA1"};
  OptionButton optA2{fraA, "optA2"};
  OptionButton optB1{*this, "optB1"};
  TextBox txtA{*this, "txtA"};
  TextBox txtB{*this, "txtB"};
  CommandButton cmdGo{*this, "cmdGo"};
  CheckBox chkA{*this, "chkA"};
  ComboBox cboA{*this, "cboA"};
  TabStrip tabA{*this, "tabA"};
  FlexGrid grdA{*this, "grdA"};
  Timer tmrA{*this, "tmrA"};
  Label lblA{*this, "lblA"};

  // What the window's own events do besides logging; a test sets those it needs.
  std::function<void()> onLoad, onActivate, onClick;
  std::function<void(int& Cancel, int UnloadMode)> onQueryUnload;
  std::function<void(int& Cancel)> onUnload;
  std::function<void(int& KeyCode, int Shift)> onKeyDown;
  std::function<void(int& KeyAscii)> onKeyPress;

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Deactivate() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  void Form_Click() override;
  void Form_DblClick() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_KeyPress(int& KeyAscii) override;

 private:
  void log(const std::string& what) const;
  void wire(Control& c);
};

// A fresh program on the headless back end with the test windows registered; the log starts empty.
class UiTest : public ::testing::Test {
 protected:
  UiTest();
  frmTest& window(const std::string& name = "frmTest") { return ui.app().forms().get<frmTest>(name); }

  HeadlessDriver ui;
};

}  // namespace kv::ui::testing
