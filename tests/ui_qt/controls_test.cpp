// Each kind of control becomes its widget, shows the model's state, and the window renders.
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "desktop_test.h"
#include "ui/qt/desktop_backend.h"

namespace kv::ui::desktop::testing {
namespace {

TEST_F(DesktopTest, EachControlKindHasAWidgetShowingTheModel) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.txtA.Text = "Çelik"_w;
  w.chkA.Value = 1;
  w.optA.Value = true;
  session.backend().flush();
  QWidget* form = session.widgetOf(w);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Masaüstü"));
  EXPECT_EQ(qobject_cast<QLabel*>(widget(w.lblA))->text(), QString::fromUtf8("Ürün Kodu :"));
  EXPECT_EQ(qobject_cast<QLineEdit*>(widget(w.txtA))->text(), QString::fromUtf8("Çelik"));
  EXPECT_EQ(qobject_cast<QPushButton*>(widget(w.cmdA))->text(), QString::fromUtf8("Kayıtla"));
  EXPECT_TRUE(qobject_cast<QCheckBox*>(widget(w.chkA))->isChecked());
  EXPECT_TRUE(qobject_cast<QRadioButton*>(widget(w.optA))->isChecked());
  EXPECT_EQ(widget(w.optA)->parentWidget(), widget(w.fraA));  // the option stands in its frame
  EXPECT_EQ(qobject_cast<QGroupBox*>(widget(w.fraA))->title(), QString::fromUtf8("Tipi :"));
  EXPECT_EQ(qobject_cast<QComboBox*>(widget(w.cboA))->count(), 1);
  EXPECT_EQ(qobject_cast<QTabWidget*>(widget(w.tabA))->tabText(1), QString::fromUtf8("Parça"));
  EXPECT_NE(qobject_cast<QLabel*>(widget(w.picA)), nullptr);
  EXPECT_NE(qobject_cast<QAbstractScrollArea*>(widget(w.grdA)), nullptr);
  EXPECT_EQ(widget(w.tmrA), nullptr);  // a timer has no widget
  EXPECT_EQ(widget(w.txtA)->geometry(), QRect(170, 40, 200, 24));
}

TEST_F(DesktopTest, WindowRendersItsControlsAndItsDrawing) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  w.grdA.TextMatrix(1, 1) = "Işık"_w;
  w.ScaleMode = Scale::Millimetre;
  w.ForeColor = QBColor(2);
  w.Line(1, 100, 120, 100);
  w.CurrentX = 5;
  w.CurrentY = 80;
  w.Print("Genel Toplam : 1.234,56 TL");
  session.backend().flush();
  const QImage image = session.widgetOf(w)->grab().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(500, 400));
  // The line at 100 mm (378 pixels) is dark green where nothing covers it.
  const int x = qRound(60 * 96 / 25.4), y = qRound(100 * 96 / 25.4);
  bool green = false;
  for (int dy = -1; dy <= 1; ++dy) green = green || image.pixelColor(x, y + dy) == QColor(0, 128, 0);
  EXPECT_TRUE(green);
}

TEST_F(DesktopTest, ClicksAndTheCloseBoxBecomeTheWindowsEvents) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  session.backend().flush();
  clickWidget(widget(w.cmdA));
  EXPECT_NE(std::find(w.log.begin(), w.log.end(), "cmdA_Click"), w.log.end());
  clickWidget(widget(w.chkA));
  EXPECT_EQ(w.chkA.Value(), 1);
  session.widgetOf(w)->close();  // the title-bar close box: the window keeps itself open
  EXPECT_EQ(w.queryUnloads, 1);
  EXPECT_TRUE(w.Loaded());
  EXPECT_TRUE(session.widgetOf(w)->isVisible());
}

TEST_F(DesktopTest, TimerTicksFromTheEventLoop) {
  session.app().forms().show("frmDesk");
  frmDesk& w = window();
  QElapsedTimer waited;
  waited.start();
  while (std::find(w.log.begin(), w.log.end(), "tmrA_Timer") == w.log.end() && waited.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_NE(std::find(w.log.begin(), w.log.end(), "tmrA_Timer"), w.log.end());
}

}  // namespace
}  // namespace kv::ui::desktop::testing
