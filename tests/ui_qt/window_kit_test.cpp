// On the desktop: Enter clicks the window's default button, which is drawn as such, and a combo box that
// gets the focus shows its whole text selected, so that typing replaces it.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "desktop_test.h"
#include "ui/qt/desktop_backend.h"

namespace kv::ui::desktop::testing {
namespace {

TEST_F(DesktopTest, EnterInABoxClicksTheDefaultButtonInstead) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.cmdA.Default = true;
  w.txtA.SetFocus();
  session.backend().flush();
  EXPECT_TRUE(qobject_cast<QPushButton*>(widget(w.cmdA))->isDefault());
  w.log.clear();
  press(widget(w.txtA), Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(w.log, std::vector<std::string>{"cmdA_Click"});
  EXPECT_EQ(w.ActiveControl(), &w.txtA);
}

TEST_F(DesktopTest, AComboBoxTakingTheFocusShowsItsTextSelectedAndTypingReplacesIt) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.cboA.Text = "KLVR952";
  w.chkA.SetFocus();
  session.backend().flush();
  press(widget(w.chkA), Qt::Key_Tab, QStringLiteral("\t"));
  ASSERT_EQ(w.ActiveControl(), &w.cboA);
  QLineEdit* edit = qobject_cast<QComboBox*>(widget(w.cboA))->lineEdit();
  EXPECT_EQ(edit->selectedText(), QStringLiteral("KLVR952"));
  press(edit, Qt::Key_A, QStringLiteral("A"), Qt::ShiftModifier);
  EXPECT_EQ(w.cboA.Text(), "A");
  EXPECT_EQ(edit->text(), QStringLiteral("A"));
}

}  // namespace
}  // namespace kv::ui::desktop::testing
