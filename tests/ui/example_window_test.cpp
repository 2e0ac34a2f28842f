// The example window of ui.h, written as a window of the program is written, and driven as a test drives
// one.
#include <gtest/gtest.h>

#include "test_window.h"

namespace kv::ui::testing {
namespace {

class frmOrnek : public Form {
 public:
  frmOrnek() {
    Caption = " KALVOR 952"_w;
    Move(0, 0, 420, 160);
    KeyPreview = true;
    bilKod.Move(10, 10, 200, 24);
    cmdKayitla.Move(10, 50, 120, 30);
    cmdKayitla.Caption = "Kayıtla"_w;
    bilKod.KeyPress = [this](int& k) { bilKod_KeyPress(k); };
    cmdKayitla.Click = [this] { cmdKayitla_Click(); };
  }

 private:
  TextBox bilKod{*this, "bilKod"};
  CommandButton cmdKayitla{*this, "cmdKayitla"};
  void Form_Load() override { Move((Screen().Width - Width()) / 2, (Screen().Height - Height()) / 2); }
  void Form_KeyPress(int& KeyAscii) override {
    if (KeyAscii == Key::Escape) End();
  }
  void bilKod_KeyPress(int& KeyAscii) {
    if (KeyAscii == 233) KeyAscii = 216;
  }
  void cmdKayitla_Click() {
    if (MsgBox("Emin misiniz?"_w, MsgButtons::YesNo) == MsgAnswer::Yes) {
      Unload();
      forms().show("frmKalvor");
    }
  }
};

TEST_F(UiTest, ExampleWindowWorksAsItsHeaderSays) {
  registerForm("frmOrnek", [] { return std::make_unique<frmOrnek>(); });
  registerForm("frmKalvor", [] { return std::make_unique<frmTest>(); });
  ui.setScreen(1024, 768);
  ui.start("frmOrnek");
  EXPECT_EQ(ui.visible()->Left(), 302);
  ui.type("ACé");
  EXPECT_EQ(ui.get<TextBox>("bilKod").Text(), "ACØ"_w);
  ui.answer(MsgAnswer::No);
  ui.click("cmdKayitla");
  EXPECT_TRUE(forms().isLoaded("frmOrnek"));
  ui.answer(MsgAnswer::Yes);
  ui.click("cmdKayitla");
  EXPECT_FALSE(forms().isLoaded("frmOrnek"));
  EXPECT_EQ(ui.visible()->Name(), "frmKalvor");
  ui.key(Key::Escape);  // the test window does nothing with Esc
  EXPECT_FALSE(ui.ended());
}

}  // namespace
}  // namespace kv::ui::testing
