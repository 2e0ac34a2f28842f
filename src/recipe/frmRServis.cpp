#include "recipe/frmRServis.h"

#include "common/files.h"
#include "common/kalvor3.h"
#include "common/recipe_record.h"

namespace kv {

using namespace ui;

frmRServis::frmRServis() {
  Caption = " KALVOR 952 Uyarlama 3.0  ANALİZ"_w;
  KeyPreview = true;
  moveTwips(*this, 0, 0, 4935, 4950);
  struct Button {
    CommandButton* button;
    const char* caption;
    const char* toolTip;
    int top;
  };
  const Button buttons[] = {
      {&cmdTarih, "Tarih Değiştirme", "Reçete/Liste  işlem tarihini değiştirme", 240},
      {&cmdRTanim, "Reçete Tanımlarını Yenileme", "REC dosyasını yeniden oluşturma", 720},
      {&cmdLTanim, "Liste Tanımlarını Yenileme", "LTD dosyasını yeniden oluşturma", 1200},
      {&cmdADMaliyet, "Ana Dosya Reçete Maliyetlerini Yenileme", "DAT dosyası reçete maliyetlerini yenileme", 1680},
      {&cmdRecExport, "Reçete Tanımlarını Excel'e Aktarma", "XLS dosyasına export", 2280},
      {&cmdRecImport, "Reçete Tanımlarını Excel'den Yükleme", "KLVR952.XLS dosyasından import", 2760},
      {&cmdLtdExport, "Liste Tanımlarını Excel'e Aktarma", "XLS dosyasına export", 3240},
      {&cmdLtdImport, "Liste Tanımlarını Excel'den Yükleme", "KLVR952.XLS dosyasından import", 3720},
      {&cmdExit, "Çıkış", "Reçete/Liste servis menüsünden çıkış", 4320},
  };
  for (const Button& b : buttons) {
    moveTwips(*b.button, 240, b.top, 4455, 375);
    b.button->Caption = w(b.caption);
    b.button->ToolTipText = w(b.toolTip);
  }
  // The workbook exchange comes with the workbook layer; until then its buttons stay disabled.
  for (CommandButton* b : {&cmdRecExport, &cmdRecImport, &cmdLtdExport, &cmdLtdImport}) b->Enabled = false;
  cmdTarih.Click = [this] { cmdTarih_Click(); };
  cmdRTanim.Click = [this] { cmdRTanim_Click(); };
  cmdLTanim.Click = [this] { cmdLTanim_Click(); };
  cmdADMaliyet.Click = [this] { cmdADMaliyet_Click(); };
  cmdExit.Click = [this] { cmdExit_Click(); };
  closeBoxRuns([this] { cmdExit_Click(); });
}

void frmRServis::Form_Load() { centreOnScreen(*this); }

namespace {

// A definition file counts when the folder holds it under exactly its name and it holds a whole line.
bool holdsDefinitions(const std::string& name) {
  return fileExists(name) && diskName(name) == name && fileLengthByName(name) >= RecipeRecord::Length;
}

}  // namespace

// Only ever disables: every showing starts with all buttons as designed.
void frmRServis::Form_Activate() {
  if (!holdsDefinitions(KALVOR3.CompanyName + ".REC")) {
    cmdRTanim.Enabled = false;
    cmdADMaliyet.Enabled = false;
    cmdRecExport.Enabled = false;
  }
  if (!holdsDefinitions(KALVOR3.CompanyName + ".LTD")) {
    cmdLTanim.Enabled = false;
    cmdLtdExport.Enabled = false;
  }
}

// Key preview: every key reaches the dispatcher, whichever button has the focus.
void frmRServis::Form_KeyDown(int& KeyCode, int Shift) {
  (void)Shift;
  HandleFunctionKey(KeyCode);
}

void frmRServis::HandleFunctionKey(int KeyCode) {
  // A command whose button is disabled answers its key with a beep.
  auto ifEnabled = [this](CommandButton& button, void (frmRServis::*command)()) {
    if (button.Enabled())
      (this->*command)();
    else
      Beep();
  };
  switch (KeyCode) {
    case Key::F1: cmdTarih_Click(); break;
    case Key::F2: ifEnabled(cmdRTanim, &frmRServis::cmdRTanim_Click); break;
    case Key::F3: ifEnabled(cmdLTanim, &frmRServis::cmdLTanim_Click); break;
    case Key::F4: ifEnabled(cmdADMaliyet, &frmRServis::cmdADMaliyet_Click); break;
    // The workbook commands are not there yet: their buttons are disabled.
    case Key::F5:
    case Key::F6:
    case Key::F7:
    case Key::F8: Beep(); break;
    case Key::F10:
      Beep();
      MsgBox("F1 = Tarih Değiştirme...\rF2 = Reçete Tanımlarını Yenileme...\rF3 = Liste Tanımlarını Yenileme...\r"
             "F4 = Ana Dosya Reçete Maliyetlerini Yenileme...\r\rF5 = Reçete Tanımlarını XLS Dosyasına Aktarma...\r"
             "F6 = Liste Tanımlarını XLS Dosyasına Aktarma...\rF7 = Reçete Tanımlarını KLVR952.XLS Dosyasından "
             "Yükleme...\rF8 = Liste Tanımlarını KLVR952.XLS Dosyasından Yükleme...\r\rF10 = Tuş Yardımı...\r\r"
             "ESC = Çıkış..."_w);
      break;
    case Key::Escape: cmdExit_Click(); break;
    default: break;
  }
}

// The job is left for the analysis window, which runs it when it is shown again.
void frmRServis::leaveFor(std::int16_t request, const char* next) {
  KALVOR3.ServiceRequest = request;
  Unload();
  forms().show(next);
}

// The date dialog then edits the recipe date and goes back to the analysis window.
void frmRServis::cmdTarih_Click() {
  KALVOR3.DateFromOperations = false;
  leaveFor(1, "frmTarih");
}
void frmRServis::cmdRTanim_Click() { leaveFor(2, "frmAnaliz"); }
void frmRServis::cmdLTanim_Click() { leaveFor(3, "frmAnaliz"); }
void frmRServis::cmdADMaliyet_Click() { leaveFor(4, "frmAnaliz"); }
void frmRServis::cmdExit_Click() { leaveFor(0, "frmAnaliz"); }

}  // namespace kv
