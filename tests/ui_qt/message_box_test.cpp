// Message boxes of the desktop: Turkish button captions, lines broken at carriage returns, Esc answers
// No or Cancel. And the plain message when there is no display.
#include "ui/qt/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>

#include "desktop_test.h"

namespace kv::ui::desktop::testing {
namespace {

struct Seen {
  QStringList buttons;
  QString text;
};

// Shows a box, reads it when it is up and presses Esc on it.
MsgAnswer escapeFrom(MsgButtons buttons, Seen& seen) {
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    seen.text = box->text();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &esc);
  });
  return showMessageBox(nullptr, "Birinci satır\rİkinci"_w, buttons, MsgIcon::Question, "BAŞLIK"_w);
}

TEST_F(DesktopTest, MessageBoxesHaveTurkishButtonsAndEscapeAnswersNoOrCancel) {
  Seen yesNo, retry, ok, yesNoCancel;
  EXPECT_EQ(escapeFrom(MsgButtons::YesNo, yesNo), MsgAnswer::No);
  EXPECT_EQ(escapeFrom(MsgButtons::RetryCancel, retry), MsgAnswer::Cancel);
  EXPECT_EQ(escapeFrom(MsgButtons::Ok, ok), MsgAnswer::Ok);
  EXPECT_EQ(escapeFrom(MsgButtons::YesNoCancel, yesNoCancel), MsgAnswer::Cancel);
  const auto u = [](const char* s) { return QString::fromUtf8(s); };
  EXPECT_TRUE(yesNo.buttons.contains(u("Evet")) && yesNo.buttons.contains(u("Hayır")));
  EXPECT_TRUE(retry.buttons.contains(u("Yeniden Dene")) && retry.buttons.contains(u("İptal")));
  EXPECT_EQ(ok.buttons, QStringList{u("Tamam")});
  EXPECT_EQ(yesNo.text, u("Birinci satır\nİkinci"));
}

TEST(Desktop, WithoutADisplayTheProgramSaysSoAndStops) {
  const QByteArray display = qgetenv("DISPLAY"), wayland = qgetenv("WAYLAND_DISPLAY"),
                   platform = qgetenv("QT_QPA_PLATFORM");
  qunsetenv("DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  qunsetenv("QT_QPA_PLATFORM");
  char name[] = "kalvor952";
  char* argv[] = {name, nullptr};
  ::testing::internal::CaptureStderr();
  const int status = runDesktop(1, argv, "frmStart");
  const std::string said = ::testing::internal::GetCapturedStderr();
  if (!display.isEmpty()) qputenv("DISPLAY", display);
  if (!wayland.isEmpty()) qputenv("WAYLAND_DISPLAY", wayland);
  if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
  EXPECT_NE(status, 0);
  EXPECT_NE(said.find("no graphical display"), std::string::npos);
}

}  // namespace
}  // namespace kv::ui::desktop::testing
