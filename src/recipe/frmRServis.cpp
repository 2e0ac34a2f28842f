#include "recipe/frmRServis.h"

#include "common/kalvor3.h"

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
    // The jobs, the date and the workbook exchange come with the recipe service's own issue.
    if (b.button != &cmdExit) b.button->Enabled = false;
  }
  cmdExit.Click = [this] { cmdExit_Click(); };
  closeBoxRuns([this] { cmdExit_Click(); });
}

void frmRServis::Form_Load() { centreOnScreen(*this); }

// Key preview: every key reaches the dispatcher, whichever button has the focus.
void frmRServis::Form_KeyDown(int& KeyCode, int Shift) {
  (void)Shift;
  HandleFunctionKey(KeyCode);
}

void frmRServis::HandleFunctionKey(int KeyCode) {
  if (KeyCode == Key::Escape) cmdExit_Click();
}

// Nothing for the analysis window to do.
void frmRServis::cmdExit_Click() {
  KALVOR3.ServiceRequest = 0;
  Unload();
  forms().show("frmAnaliz");
}

}  // namespace kv
