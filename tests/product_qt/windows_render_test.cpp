// The product windows on the desktop back end under Qt's offscreen platform: each renders to an image.
#include <QImage>
#include <QPixmap>

#include "common/files.h"
#include "common/kalvor3.h"
#include "desktop_test.h"
#include "lists/windows.h"
#include "product/windows.h"
#include "recipe/windows.h"
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
  EXPECT_EQ(start.width(), 600);

  KALVOR3.CompanyName = "KLVR952";
  KALVOR3.CurrentRecordNumber = 1;
  KALVOR3.CurrentTab = 1;
  session.app().run([] {
    forms().unload("frmStart");
    forms().show("frmKalvor");
  });
  QImage main = render("frmKalvor");
  ASSERT_FALSE(main.isNull());
  EXPECT_EQ(main.width(), 940);
}

TEST_F(ProductWindowsOnTheDesktop, TheWindowsTheMainWindowHandsOverToRender) {
  {
    kv::testing::Company c;
    c.add("KASNAK", "Kasnak", 1);
  }
  KALVOR3.CompanyName = "KLVR952";
  KALVOR3.CurrentRecordNumber = 1;
  for (const char* name : {"frmAnaliz", "frmDizgi", "frmIslemler", "frmServis"}) {
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
