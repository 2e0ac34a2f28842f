// Keys reach the windows as ordinary events: KeyDown with the virtual-key code, KeyPress with the
// Windows-1254 character, the form first with key preview; the handler may change or cancel the character.
#include <gtest/gtest.h>

#include "base/text.h"
#include "test_window.h"

namespace kv::ui::testing {
namespace {

using V = std::vector<std::string>;

TEST_F(UiTest, KeyPreviewSeesEachKeyBeforeTheControl) {
  ui.start("frmTest");
  frmTest& w = window();
  w.KeyPreview = true;
  w.txtA.SetFocus();
  events().clear();
  ui.type("a");
  EXPECT_EQ(events(), (V{"frmTest.Form_KeyDown 65", "frmTest.txtA_KeyDown 65,0", "frmTest.Form_KeyPress 97",
                         "frmTest.txtA_KeyPress 97", "frmTest.txtA_Change a"}));
  // Without key preview the form sees nothing while a control has the focus.
  w.KeyPreview = false;
  events().clear();
  ui.key(Key::F1);
  EXPECT_EQ(events(), (V{"frmTest.txtA_KeyDown 112,0"}));
}

TEST_F(UiTest, CancelledKeyPressTypesNothing) {
  ui.start("frmTest");
  frmTest& w = window();
  w.KeyPreview = true;
  w.onKeyPress = [](int& k) {
    if (k == Key::Escape) k = 0;
  };
  w.txtA.KeyPress = [](int& k) {
    if (k == 'x') k = 0;
  };
  w.txtA.SetFocus();
  events().clear();
  ui.type("xy");
  ui.key(Key::Escape);
  EXPECT_EQ(w.txtA.Text(), "y");
  EXPECT_EQ(eventsOf("frmTest.txtA_Change"), (V{"frmTest.txtA_Change y"}));
}

TEST_F(UiTest, ChangedKeyPressTypesTheNewCharacter) {
  ui.start("frmTest");
  frmTest& w = window();
  w.txtA.KeyPress = [](int& k) {
    if (k == 233) k = 216;  // é becomes Ø
  };
  w.txtA.SetFocus();
  ui.type("aé");
  EXPECT_EQ(w.txtA.Text(), "aØ"_w);
}

TEST_F(UiTest, AHandlerThatTidiesTheTextLeavesTheCaretWhereTheUserTypesAndOtherContentPutsItAtTheStart) {
  ui.start("frmTest");
  frmTest& w = window();
  // Blanks dropped on every key, as the service window tidies its boxes; upper case on every change.
  w.txtA.KeyDown = [&](int&, int) { w.txtA.Text = trim(w.txtA.Text()); };
  w.txtB.Change = [&] { w.txtB.Text = upperCase(w.txtB.Text()); };
  for (TextBox* box : {&w.txtA, &w.txtB}) {
    box->SetFocus();
    ui.type(" 0-6 ");
    ui.key(Key::Left);
    ui.type("xy");
  }
  EXPECT_EQ(w.txtA.Text(), "0-xy6");
  EXPECT_EQ(w.txtB.Text(), "Y 0-6X ");
}

TEST_F(UiTest, KeyCodesAndCharactersOfTheTurkishKeyboard) {
  ui.start("frmTest");
  window().txtA.SetFocus();
  events().clear();
  ui.type("şİé");
  EXPECT_EQ(eventsOf("frmTest.txtA_KeyPress"),
            (V{"frmTest.txtA_KeyPress 254", "frmTest.txtA_KeyPress 221", "frmTest.txtA_KeyPress 233"}));
  EXPECT_EQ(eventsOf("frmTest.txtA_KeyDown"),
            (V{"frmTest.txtA_KeyDown 186,0", "frmTest.txtA_KeyDown 222,1", "frmTest.txtA_KeyDown 192,1"}));
  events().clear();
  ui.type("ł€");  // ł has no Windows-1254 byte: refused, no event at all; € has one (128)
  EXPECT_EQ(eventsOf("frmTest.txtA_KeyPress"), (V{"frmTest.txtA_KeyPress 128"}));
}

TEST_F(UiTest, TypingKeepsToMaxLengthAndEditsAtTheSelection) {
  ui.start("frmTest");
  frmTest& w = window();
  w.txtA.MaxLength = 4;
  w.txtA.SetFocus();
  ui.type("abcdef");
  EXPECT_EQ(w.txtA.Text(), "abcd");
  w.txtA.SelStart = 1;
  w.txtA.SelLength = 2;
  ui.type("X");
  EXPECT_EQ(w.txtA.Text(), "aXd");
  ui.key(Key::Home);
  ui.key(Key::Delete);
  EXPECT_EQ(w.txtA.Text(), "Xd");
  ui.key(Key::End, Mask::Shift);  // selects to the end
  EXPECT_EQ(w.txtA.SelText(), "Xd");
}

TEST_F(UiTest, PastedTextGoesThroughTheSameFilterAndLimit) {
  ui.start("frmTest");
  frmTest& w = window();
  w.txtA.MaxLength = 6;
  w.txtA.SetFocus();
  ui.setClipboard("Işık ł ok\r\nsecond line");
  ui.paste();
  EXPECT_EQ(w.txtA.Text(), "Işık  "_w);
  EXPECT_EQ(eventsOf("frmTest.txtA_Change").size(), 1u);
}

TEST_F(UiTest, KeysHaveNoBehaviourOfThePlatform) {
  ui.start("frmTest");
  frmTest& w = window();
  w.optA1.SetFocus();
  ui.key(Key::Down);  // arrows do not move between options, focus does not select
  EXPECT_EQ(ui.focused(), "optA1");
  EXPECT_FALSE(w.optA1.Value());
  w.txtA.SetFocus();
  events().clear();
  ui.key(Key::Enter);  // no default button, no beep, no text
  ui.key(Key::Escape);
  ui.key(Key::F10);
  ui.key(Key::F1);
  EXPECT_EQ(w.txtA.Text(), "");
  EXPECT_EQ(ui.beeps(), 0);
  EXPECT_TRUE(eventsOf("frmTest.cmdGo").empty());
  EXPECT_EQ(ui.focused(), "txtA");
  EXPECT_EQ(eventsOf("frmTest.txtA_KeyPress"), (V{"frmTest.txtA_KeyPress 13", "frmTest.txtA_KeyPress 27"}));
}

TEST_F(UiTest, EnterAndSpaceOnAFocusedButtonClickIt) {
  ui.start("frmTest");
  window().cmdGo.SetFocus();
  events().clear();
  ui.key(Key::Enter);
  ui.key(Key::Space);
  EXPECT_EQ(eventsOf("frmTest.cmdGo_Click").size(), 2u);
}

TEST_F(UiTest, FormWithoutFocusedControlGetsTheKeysItself) {
  frmTest& w = window();
  for (Control* c : w.Controls()) c->Enabled = false;
  ui.start("frmTest");
  EXPECT_EQ(w.ActiveControl(), nullptr);
  events().clear();
  ui.key(Key::Enter);
  EXPECT_EQ(events(), (V{"frmTest.Form_KeyDown 13", "frmTest.Form_KeyPress 13"}));
}

}  // namespace
}  // namespace kv::ui::testing
