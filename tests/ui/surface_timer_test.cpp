// The drawing surface of the paged screen report, and the timer on the headless clock.
#include <gtest/gtest.h>

#include "test_window.h"

namespace kv::ui::testing {
namespace {

TEST_F(UiTest, PrintAndLineDrawAtTheCurrentPositionInTheChosenScale) {
  ui.start("frmTest");
  frmTest& w = window();
  w.ScaleMode = Scale::Millimetre;
  w.ForeColor = RGB(0, 128, 0);
  w.CurrentX = 10;
  w.CurrentY = 1.5;
  w.Print("Tarih", Form::Stay);
  EXPECT_DOUBLE_EQ(w.CurrentX(), 10 + w.TextWidth("Tarih"));
  w.Print("Sayfa :  3");  // ends the line
  EXPECT_DOUBLE_EQ(w.CurrentX(), 0);
  EXPECT_DOUBLE_EQ(w.CurrentY(), 1.5 + w.TextHeight());
  w.Line(1, 20, 166.1, 20);
  ASSERT_EQ(w.Drawing().size(), 3u);
  const DrawItem& text = w.Drawing()[0];
  const double mm = 96.0 / 25.4;
  EXPECT_DOUBLE_EQ(text.x1, 10 * mm);
  EXPECT_DOUBLE_EQ(text.y1, 1.5 * mm);
  EXPECT_EQ(text.color, QBColor(2));
  EXPECT_EQ(w.Drawing()[2].kind, DrawItem::Kind::Line);
  EXPECT_DOUBLE_EQ(w.Drawing()[2].x2, 166.1 * mm);
  EXPECT_DOUBLE_EQ(w.CurrentX(), 166.1);
  w.Cls();
  EXPECT_TRUE(w.Drawing().empty());
  EXPECT_DOUBLE_EQ(w.CurrentY(), 0);
}

TEST_F(UiTest, TimerTicksAtItsIntervalWhileEnabledAndLoaded) {
  ui.start("frmTest");
  frmTest& w = window();
  w.tmrA.Interval = 1000;
  events().clear();
  ui.advance(999);
  EXPECT_TRUE(eventsOf("frmTest.tmrA").empty());
  ui.advance(2001);
  EXPECT_EQ(eventsOf("frmTest.tmrA").size(), 3u);
  w.tmrA.Enabled = false;
  ui.advance(5000);
  EXPECT_EQ(eventsOf("frmTest.tmrA").size(), 3u);
  w.tmrA.Enabled = true;  // starts counting afresh
  ui.advance(999);
  EXPECT_EQ(eventsOf("frmTest.tmrA").size(), 3u);
  forms().show("frmOther");  // a hidden window's timer goes on
  ui.advance(1);
  EXPECT_EQ(eventsOf("frmTest.tmrA").size(), 4u);
  forms().unload("frmTest");
  ui.advance(10000);
  EXPECT_EQ(eventsOf("frmTest.tmrA").size(), 4u);
}

TEST_F(UiTest, TimerHandlerMayUnloadItsWindow) {
  ui.start("frmTest");
  frmTest& w = window();
  w.tmrA.Interval = 100;
  w.tmrA.Tick = [&] {
    w.Unload();
    forms().show("frmOther");
  };
  ui.advance(1000);
  EXPECT_FALSE(forms().isLoaded("frmTest"));
  EXPECT_EQ(ui.visible(), &window("frmOther"));
}

}  // namespace
}  // namespace kv::ui::testing
