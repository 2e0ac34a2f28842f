// Change and Click come only with real changes, whether the user or the program made them.
#include <gtest/gtest.h>

#include "test_window.h"

namespace kv::ui::testing {
namespace {

using V = std::vector<std::string>;

TEST_F(UiTest, ChangeFiresWhenTheTextReallyChangesByCodeOrTyping) {
  ui.start("frmTest");
  frmTest& w = window();
  events().clear();
  w.txtA.Text = "abc";
  w.txtA.Text = "abc";  // the same text again: no Change
  w.txtA.Text = "";
  EXPECT_EQ(eventsOf("frmTest.txtA_Change"), (V{"frmTest.txtA_Change abc", "frmTest.txtA_Change "}));
  events().clear();
  w.txtA.SetFocus();
  ui.type("ab");
  ui.key(Key::Back);
  ui.key(Key::Back);
  ui.key(Key::Back);  // nothing left to delete: no Change
  EXPECT_EQ(eventsOf("frmTest.txtA_Change"),
            (V{"frmTest.txtA_Change a", "frmTest.txtA_Change ab", "frmTest.txtA_Change a", "frmTest.txtA_Change "}));
}

TEST_F(UiTest, OptionsAreGroupedByTheirContainerAndClickOnlyWhenSelected) {
  ui.start("frmTest");
  frmTest& w = window();
  events().clear();
  w.optA1.Value = true;
  w.optA1.Value = true;  // already selected: no Click
  w.optB1.Value = true;  // another container: optA1 stays
  EXPECT_EQ(eventsOf("frmTest.opt"), (V{"frmTest.optA1_Click", "frmTest.optB1_Click"}));
  EXPECT_TRUE(w.optA1.Value());
  w.optA2.Value = true;  // same frame: clears optA1, without a Click for it
  EXPECT_FALSE(w.optA1.Value());
  EXPECT_TRUE(w.optB1.Value());
  events().clear();
  w.optA2.Value = false;  // cleared by code: no Click
  EXPECT_TRUE(eventsOf("frmTest.opt").empty());
}

TEST_F(UiTest, ClickingAnOptionSelectsItAndClicksEvenWhenSelected) {
  ui.start("frmTest");
  frmTest& w = window();
  w.optA1.Value = true;
  events().clear();
  ui.click("optA2");
  ui.click("optA2");
  EXPECT_EQ(eventsOf("frmTest.optA2_Click"), (V{"frmTest.optA2_Click", "frmTest.optA2_Click"}));
  EXPECT_FALSE(w.optA1.Value());
}

TEST_F(UiTest, CheckBoxClicksOnChangeAndTogglesOnClickAndSpace) {
  ui.start("frmTest");
  frmTest& w = window();
  events().clear();
  w.chkA.Value = 1;
  w.chkA.Value = 1;
  EXPECT_EQ(eventsOf("frmTest.chkA_Click").size(), 1u);
  ui.click("chkA");
  EXPECT_EQ(w.chkA.Value(), 0);
  ui.key(Key::Space);  // the click gave it the focus
  EXPECT_EQ(w.chkA.Value(), 1);
  EXPECT_EQ(eventsOf("frmTest.chkA_Click").size(), 3u);
}

TEST_F(UiTest, TabStripClicksOnlyOnARealChange) {
  ui.start("frmTest");
  frmTest& w = window();
  EXPECT_EQ(w.tabA.SelectedIndex(), 1);
  events().clear();
  w.tabA.SelectedIndex = 1;
  ui.chooseTab("tabA", 1);
  EXPECT_TRUE(eventsOf("frmTest.tabA_Click").empty());
  ui.chooseTab("tabA", 2);
  EXPECT_EQ(w.tabA.SelectedIndex(), 2);
  ui.key(Key::Left);  // the tab strip has the focus now
  EXPECT_EQ(w.tabA.SelectedIndex(), 1);
  EXPECT_EQ(eventsOf("frmTest.tabA_Click").size(), 2u);
  EXPECT_EQ(w.tabA.TabCaption(2), "İki"_w);
}

TEST_F(UiTest, ComboChoiceClicksWithoutChangeAndTypingChangesWithoutClick) {
  ui.start("frmTest");
  frmTest& w = window();
  events().clear();
  ui.pickItem("cboA", 1);
  EXPECT_EQ(w.cboA.Text(), "DORMELA");
  EXPECT_EQ(w.cboA.ListIndex(), 1);
  EXPECT_EQ(eventsOf("frmTest.cboA_C"), (V{"frmTest.cboA_Click"}));
  events().clear();
  w.cboA.SelStart = 7;
  ui.type("X");
  EXPECT_EQ(w.cboA.ListIndex(), -1);
  EXPECT_EQ(eventsOf("frmTest.cboA_C"), (V{"frmTest.cboA_Change DORMELAX"}));
  events().clear();
  w.cboA.ListIndex = 0;
  w.cboA.ListIndex = 0;
  EXPECT_EQ(eventsOf("frmTest.cboA_C"), (V{"frmTest.cboA_Click"}));
}

}  // namespace
}  // namespace kv::ui::testing
