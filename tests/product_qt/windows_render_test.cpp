// The product windows on the desktop back end under Qt's offscreen platform: each renders to an image.
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>

#include "desktop_test.h"
#include "files/files.h"
#include "lists/windows.h"
#include "product/frmKalvor.h"
#include "product/windows.h"
#include "recipe/windows.h"
#include "records/kalvor3.h"
#include "support/company.h"

namespace kv::ui::desktop::testing {
namespace {

class ProductWindowsOnTheDesktop : public ::testing::Test {
 protected:
  ProductWindowsOnTheDesktop() {
    KALVOR3 = Kalvor3{};
    registerProductWindows();
    registerRecipeWindows();
    registerListWindows();
  }
  QImage render(std::string_view name) {
    Form& form = session.app().forms().get(name);
    QWidget* w = session.widgetOf(form);
    if (!w) return {};
    return w->grab().toImage();
  }

  kv::testing::TempFolder folder;
  QApplication& qt = qtApplication();
  DesktopSession session;
};

TEST_F(ProductWindowsOnTheDesktop, TheStartDialogAndTheMainWindowRender) {
  {
    kv::testing::Company c;
    c.add("KASNAK", "Kasnak", 1);
  }
  session.app().run([] { forms().show("frmStart"); });
  QImage start = render("frmStart");
  ASSERT_FALSE(start.isNull());

  KALVOR3.CompanyName = "KLVR952";
  KALVOR3.CurrentRecordNumber = 1;
  session.app().forms().kept<MainWindowKept>("frmKalvor").CurrentTab = 1;
  session.app().run([] {
    forms().unload("frmStart");
    forms().show("frmKalvor");
  });
  QImage main = render("frmKalvor");
  ASSERT_FALSE(main.isNull());
}

// As a new user would: the name typed at once replaces the offered one, and Enter accepts it.
TEST_F(ProductWindowsOnTheDesktop, TheStartDialogTakesATypedNameAndEnter) {
  session.app().run([] { forms().show("frmStart"); });
  Form& start = session.app().forms().get("frmStart");
  QLineEdit* edit = qobject_cast<QComboBox*>(session.widgetOf(*start.control("Combo1")))->lineEdit();
  const auto press = [&](int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(edit, &down);
  };
  press(Qt::Key_A, QStringLiteral("a"));
  press(Qt::Key_C, QStringLiteral("c"));
  EXPECT_EQ(edit->text(), QStringLiteral("ac"));
  press(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(KALVOR3.CompanyName, "AC");
  ASSERT_NE(session.app().forms().visible(), nullptr);
  EXPECT_EQ(session.app().forms().visible()->Name(), "frmKalvor");
}

TEST_F(ProductWindowsOnTheDesktop, TheWindowsTheMainWindowHandsOverToRender) {
  {
    kv::testing::Company c;
    c.add("KASNAK", "Kasnak", 1);
  }
  KALVOR3.CompanyName = "KLVR952";
  KALVOR3.CurrentRecordNumber = 1;
  for (const char* name :
       {"frmAnaliz", "frmDizgi", "frmIslemler", "frmServis", "frmTarih", "frmDoviz", "frmRServis"}) {
    session.app().run([name] { forms().show(name); });
    EXPECT_FALSE(render(name).isNull()) << name;
    session.app().run([name] {
      forms().show("frmStart");
      forms().unload(name);
    });
    closeAllFiles();
  }
}

}  // namespace
}  // namespace kv::ui::desktop::testing
