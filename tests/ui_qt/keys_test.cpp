// Real key events of Qt become the windows' KeyDown and KeyPress codes; text without a Windows-1254 byte
// is refused, typed or pasted.
#include <QClipboard>
#include <QLineEdit>
#include <algorithm>

#include "desktop_test.h"
#include "ui/qt/desktop_backend.h"
#include "ui/qt/key_map.h"

namespace kv::ui::desktop::testing {
namespace {

using V = std::vector<std::string>;

std::vector<std::string> keysOf(const frmDesk& w) {
  std::vector<std::string> out;
  std::copy_if(w.log.begin(), w.log.end(), std::back_inserter(out),
               [](const std::string& e) { return e.find("_Key") != std::string::npos; });
  return out;
}

TEST_F(DesktopTest, FunctionAndPageKeysGiveTheirVirtualKeyCodes) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.txtA.SetFocus();
  w.log.clear();
  QWidget* edit = widget(w.txtA);
  press(edit, Qt::Key_F1);
  press(edit, Qt::Key_PageDown);
  press(edit, Qt::Key_Home);
  press(edit, Qt::Key_F10);
  EXPECT_EQ(keysOf(w), (V{"txtA_KeyDown 112,0", "txtA_KeyDown 34,0", "txtA_KeyDown 36,0", "txtA_KeyDown 121,0"}));
}

TEST_F(DesktopTest, TurkishCharactersGiveTheirWindows1254Codes) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.txtA.SetFocus();
  w.log.clear();
  QWidget* edit = widget(w.txtA);
  press(edit, Qt::Key_Eacute, QString::fromUtf8("é"));
  press(edit, 0x15E, QString::fromUtf8("ş"));
  press(edit, 0x130, QString::fromUtf8("İ"), Qt::ShiftModifier);
  press(edit, 0x141, QString::fromUtf8("ł"));  // no Windows-1254 byte: refused
  EXPECT_EQ(keysOf(w), (V{"txtA_KeyDown 192,0", "txtA_KeyPress 233", "txtA_KeyDown 186,0", "txtA_KeyPress 254",
                          "txtA_KeyDown 222,1", "txtA_KeyPress 221"}));
  EXPECT_EQ(w.txtA.Text(), "éşİ"_w);
  EXPECT_EQ(qobject_cast<QLineEdit*>(edit)->text(), QString::fromUtf8("éşİ"));
}

TEST_F(DesktopTest, EnterTabAndPasteWorkAsOnWindows) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.txtA.SetFocus();
  w.log.clear();
  QWidget* edit = widget(w.txtA);
  press(edit, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(keysOf(w), (V{"txtA_KeyDown 13,0", "txtA_KeyPress 13"}));
  EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "cmdA_Click"), 0);  // no default button
  QGuiApplication::clipboard()->setText(QString::fromUtf8("Işık ł\nikinci"));
  press(edit, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
  EXPECT_EQ(w.txtA.Text(), "Işık "_w);
  press(edit, Qt::Key_Tab, QStringLiteral("\t"));
  EXPECT_EQ(w.ActiveControl(), &w.cmdA);
  press(widget(w.cmdA), Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "cmdA_Click"), 1);
}

TEST(KeyMap, TranslatesModifiersControlKeysAndTheKeypad) {
  EXPECT_EQ(translateKey(Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01")).character, 1);
  EXPECT_FALSE(translateKey(Qt::Key_X, Qt::AltModifier, QStringLiteral("x")).character);
  EXPECT_FALSE(translateKey(Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f")).character);
  EXPECT_EQ(translateKey(Qt::Key_Delete, Qt::NoModifier, {}).keyCode, Key::Delete);
  EXPECT_EQ(translateKey(Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5")).keyCode, 101);
  EXPECT_EQ(translateKey(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")).character, 27);
  EXPECT_EQ(translateKey(Qt::Key_Up, Qt::ShiftModifier, {}).shift, Mask::Shift);
  EXPECT_EQ(fromQString(QString::fromUtf8("Ağ€ж")), "Ağ€"_w);
}

}  // namespace
}  // namespace kv::ui::desktop::testing
