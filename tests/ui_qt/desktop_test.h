// The desktop back end under Qt's offscreen platform: one QApplication for the test program, a fresh
// session of windows per test, and a window with one control of each kind.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/qt/desktop.h"
#include "ui/ui.h"

namespace kv::ui::desktop::testing {

// The QApplication of the test program, on the offscreen platform unless the environment chose one.
QApplication& qtApplication();

class frmDesk : public Form {
 public:
  frmDesk();

  Frame fraA{*this, "fraA"};
  OptionButton optA{fraA, "optA"};
  Label lblA{*this, "lblA"};
  TextBox txtA{*this, "txtA"};
  CommandButton cmdA{*this, "cmdA"};
  CheckBox chkA{*this, "chkA"};
  ComboBox cboA{*this, "cboA"};
  TabStrip tabA{*this, "tabA"};
  PictureBox picA{*this, "picA"};
  FlexGrid grdA{*this, "grdA"};
  Timer tmrA{*this, "tmrA"};

  std::vector<std::string> log;
  int queryUnloads = 0;
  int activations = 0;

 protected:
  void Form_Activate() override { ++activations; }
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
};

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest();
  frmDesk& window() { return session.app().forms().get<frmDesk>("frmDesk"); }
  QWidget* widget(const Control& c) { return session.widgetOf(c); }
  // A key of the keyboard, as Qt delivers it to the widget.
  void press(QWidget* w, int qtKey, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier);
  void clickWidget(QWidget* w);

  QApplication& qt = qtApplication();
  DesktopSession session;
};

}  // namespace kv::ui::desktop::testing
