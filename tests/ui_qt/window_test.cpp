// Windows on the desktop: hand-over inside a handler, activation only by the program, the hourglass.
#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>

#include "desktop_test.h"
#include "ui/qt/desktop_backend.h"

namespace kv::ui::desktop::testing {
namespace {

TEST_F(DesktopTest, ButtonHandlerMayUnloadItsWindowAndShowAnother) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.cmdA.Click = [&] {
    w.Unload();
    forms().show("frmDesk2");
  };
  session.backend().flush();
  QWidget* first = session.widgetOf(w);
  clickWidget(widget(w.cmdA));
  QCoreApplication::processEvents();  // the old widgets go now
  EXPECT_FALSE(session.app().forms().isLoaded("frmDesk"));
  Form& second = session.app().forms().get("frmDesk2");
  EXPECT_TRUE(session.widgetOf(second)->isVisible());
  EXPECT_NE(session.widgetOf(second), first);
}

TEST_F(DesktopTest, ComingBackToTheWindowRunsNoActivateAndNoFocusEvents) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  session.backend().flush();
  const int activations = w.activations;
  w.log.clear();
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(session.widgetOf(w), &activate);
  QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(widget(w.txtA), &focusIn);
  EXPECT_EQ(w.activations, activations);
  EXPECT_TRUE(w.log.empty());
}

TEST_F(DesktopTest, HourglassShowsOverTheWindow) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.MousePointer = Pointer::Hourglass;
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  w.MousePointer = Pointer::Default;
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace kv::ui::desktop::testing
