#include "test_window.h"

#include <gtest/gtest.h>

namespace kv::ui::testing {

std::vector<std::string>& events() {
  static std::vector<std::string> log;
  return log;
}

std::vector<std::string> eventsOf(const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& e : events())
    if (e.rfind(prefix, 0) == 0) out.push_back(e);
  return out;
}

frmTest::frmTest() {
  Caption = "Test";
  Move(0, 0, 400, 300);
  optA1.Caption = "A1";
  optA2.Caption = "A2";
  cboA.AddItem("KLVR952");
  cboA.AddItem("DORMELA");
  tabA.AddTab("Bir");
  tabA.AddTab("İki"_w);
  grdA.Cols = 3;
  for (Control* c : Controls()) wire(*c);
  txtA.Change = [this] { log("txtA_Change " + txtA.Text()); };
  txtB.Change = [this] { log("txtB_Change " + txtB.Text()); };
  cboA.Change = [this] { log("cboA_Change " + cboA.Text()); };
  tmrA.Tick = [this] { log("tmrA_Timer"); };
}

void frmTest::log(const std::string& what) const { events().push_back(Name() + "." + what); }

void frmTest::wire(Control& c) {
  const std::string n = c.Name();
  c.Click = [this, n] { log(n + "_Click"); };
  c.DblClick = [this, n] { log(n + "_DblClick"); };
  c.GotFocus = [this, n] { log(n + "_GotFocus"); };
  c.LostFocus = [this, n] { log(n + "_LostFocus"); };
  c.KeyDown = [this, n](int& k, int s) { log(n + "_KeyDown " + std::to_string(k) + "," + std::to_string(s)); };
  c.KeyPress = [this, n](int& k) { log(n + "_KeyPress " + std::to_string(k)); };
}

void frmTest::Form_Load() {
  log("Form_Load");
  if (onLoad) onLoad();
}

void frmTest::Form_Activate() {
  log("Form_Activate");
  if (onActivate) onActivate();
}

void frmTest::Form_Deactivate() { log("Form_Deactivate"); }

void frmTest::Form_QueryUnload(int& Cancel, int UnloadMode) {
  log("Form_QueryUnload " + std::to_string(UnloadMode));
  if (onQueryUnload) onQueryUnload(Cancel, UnloadMode);
}

void frmTest::Form_Unload(int& Cancel) {
  log("Form_Unload");
  if (onUnload) onUnload(Cancel);
}

void frmTest::Form_Click() {
  log("Form_Click");
  if (onClick) onClick();
}

void frmTest::Form_DblClick() { log("Form_DblClick"); }

void frmTest::Form_KeyDown(int& KeyCode, int Shift) {
  log("Form_KeyDown " + std::to_string(KeyCode));
  if (onKeyDown) onKeyDown(KeyCode, Shift);
}

void frmTest::Form_KeyPress(int& KeyAscii) {
  log("Form_KeyPress " + std::to_string(KeyAscii));
  if (onKeyPress) onKeyPress(KeyAscii);
}

UiTest::UiTest() {
  events().clear();
  registerForm("frmTest", [] { return std::make_unique<frmTest>(); });
  registerForm("frmOther", [] { return std::make_unique<frmTest>(); });
}

}  // namespace kv::ui::testing
