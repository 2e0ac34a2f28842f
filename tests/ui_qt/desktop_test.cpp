#include "desktop_test.h"

#include <QMouseEvent>
#include <cstdlib>

namespace kv::ui::desktop::testing {

namespace {

QApplication* g_app = nullptr;

// The QApplication goes when the tests are over, before the program's exit takes Qt's own statics away.
class QtEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete g_app;
    g_app = nullptr;
  }
};

[[maybe_unused]] const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "kv_tests_ui_qt";
  static char* argv[] = {name, nullptr};
  if (!g_app) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_app = new QApplication(argc, argv);
  }
  return *g_app;
}

frmDesk::frmDesk() {
  Caption = "Masaüstü"_w;
  Move(0, 0, 500, 400);
  fraA.Move(10, 10, 150, 60);
  fraA.Caption = "Tipi :"_w;
  optA.Move(10, 20, 120, 24);
  optA.Caption = "Satın Alma"_w;
  lblA.Move(170, 10, 200, 24);
  lblA.Caption = "Ürün Kodu :"_w;
  txtA.Move(170, 40, 200, 24);
  cmdA.Move(10, 80, 120, 30);
  cmdA.Caption = "Kayıtla"_w;
  chkA.Move(140, 80, 120, 24);
  chkA.Caption = "Resimli";
  cboA.Move(270, 80, 150, 24);
  cboA.AddItem("KLVR952");
  tabA.Move(10, 120, 300, 40);
  tabA.AddTab("Ürün"_w);
  tabA.AddTab("Parça"_w);
  picA.Move(320, 120, 32, 32);
  grdA.Move(10, 170, 300, 120);
  grdA.Cols = 3;
  grdA.Rows = 4;
  tmrA.Interval = 10;
  for (Control* c : Controls()) {
    const std::string n = c->Name();
    c->Click = [this, n] { log.push_back(n + "_Click"); };
    c->GotFocus = [this, n] { log.push_back(n + "_GotFocus"); };
    c->KeyDown = [this, n](int& k, int s) {
      log.push_back(n + "_KeyDown " + std::to_string(k) + "," + std::to_string(s));
    };
    c->KeyPress = [this, n](int& k) { log.push_back(n + "_KeyPress " + std::to_string(k)); };
  }
  txtA.Change = [this] { log.push_back("txtA_Change " + txtA.Text()); };
  tmrA.Tick = [this] { log.push_back("tmrA_Timer"); };
}

void frmDesk::Form_QueryUnload(int& Cancel, int UnloadMode) {
  ++queryUnloads;
  if (UnloadMode == UnloadMode::CloseBox) Cancel = 1;  // this window keeps itself open
}

DesktopTest::DesktopTest() {
  registerForm("frmDesk", [] { return std::make_unique<frmDesk>(); });
  registerForm("frmDesk2", [] { return std::make_unique<frmDesk>(); });
}

void DesktopTest::press(QWidget* w, int qtKey, const QString& text, Qt::KeyboardModifiers mods) {
  QKeyEvent down(QEvent::KeyPress, qtKey, mods, text);
  QCoreApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, qtKey, mods, text);
  QCoreApplication::sendEvent(w, &up);
}

void DesktopTest::clickWidget(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  const QPointF global = w->mapToGlobal(at);
  QMouseEvent down(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &down);
  QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &up);
}

}  // namespace kv::ui::desktop::testing
