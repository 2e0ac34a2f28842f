// The main window's keys on the desktop back end: real Qt key events reach the same commands as on the
// headless back end.
#include <QMessageBox>
#include <QTimer>

#include "desktop_test.h"
#include "product/frmKalvor.h"
#include "product/windows.h"
#include "records/kalvor3.h"
#include "support/company.h"
#include "ui/textbox.h"

namespace kv::ui::desktop::testing {
namespace {

class MainWindowKeysOnTheDesktop : public DesktopTest {
 protected:
  void SetUp() override {
    KALVOR3 = Kalvor3{};
    registerProductWindows();
    {
      kv::testing::Company c;
      c.addAll({{"U1", "Bir", 1}, {"U2", "İki", 1}, {"U3", "Üç", 1}});
    }
    KALVOR3.CompanyName = "KLVR952";
    KALVOR3.CurrentRecordNumber = 1;
    session.app().forms().kept<MainWindowKept>("frmKalvor").CurrentTab = 1;
    session.app().run([] { forms().show("frmKalvor"); });
  }
  Form& main() { return session.app().forms().get("frmKalvor"); }
  TextBox& box(const char* name) { return dynamic_cast<TextBox&>(*main().control(name)); }
  QWidget* codeBox() { return widget(box("bilKod")); }
  std::string code() { return box("bilKod").Text(); }
  std::string title() { return toUtf8(main().Caption()); }

  kv::testing::TempFolder folder;
};

TEST_F(MainWindowKeysOnTheDesktop, BrowsingKeysMoveThroughTheRecords) {
  ASSERT_EQ(code(), "U1");
  press(codeBox(), Qt::Key_PageDown);
  EXPECT_EQ(code(), "U2");
  press(codeBox(), Qt::Key_End);
  EXPECT_EQ(code(), "U3");
  press(codeBox(), Qt::Key_PageUp);
  EXPECT_EQ(code(), "U2");
  press(codeBox(), Qt::Key_Home);
  EXPECT_EQ(code(), "U1");
  EXPECT_EQ(title(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 3");
}

TEST_F(MainWindowKeysOnTheDesktop, FunctionKeysRunTheirCommands) {
  press(codeBox(), Qt::Key_F12);
  EXPECT_EQ(toUtf8(box("bilMaliyet").Text()), "0 YTL");
  press(codeBox(), Qt::Key_F8);
  EXPECT_TRUE(dynamic_cast<OptionButton&>(*main().control("OptAlfabetik")).Value());
  press(codeBox(), Qt::Key_F1);
  EXPECT_EQ(title(), " KALVOR 952 Uyarlama 3.0  BETA [ Yeni Kayıt ]");
  press(codeBox(), Qt::Key_Escape, QStringLiteral("\x1b"));
  EXPECT_EQ(code(), "U1");
  press(codeBox(), Qt::Key_F3);
  EXPECT_EQ(title(), " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] ");
  press(codeBox(), Qt::Key_U, QStringLiteral("U"), Qt::ShiftModifier);
  press(codeBox(), Qt::Key_3, QStringLiteral("3"));
  press(codeBox(), Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(code(), "U3");
}

TEST_F(MainWindowKeysOnTheDesktop, F10ShowsTheKeyList) {
  QString text;
  QTimer::singleShot(0, [&text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    text = box->text();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &esc);
  });
  press(codeBox(), Qt::Key_F10);
  EXPECT_TRUE(text.startsWith(QString::fromUtf8("F1 = Yeni Kayıt\nF2 = Kayıtla")));
}

TEST_F(MainWindowKeysOnTheDesktop, TypedEAcuteBecomesTheLastCharacterOfTheCollation) {
  press(codeBox(), Qt::Key_F3);
  press(codeBox(), Qt::Key_Eacute, QString::fromUtf8("é"));
  EXPECT_EQ(toUtf8(code()), "Ø");
}

}  // namespace
}  // namespace kv::ui::desktop::testing
