#include "product/frmIslemler.h"

#include "common/files.h"
#include "common/kalvor3.h"
#include "common/product_record.h"

namespace kv {

using namespace ui;

frmIslemler::frmIslemler() {
  Caption = " KALVOR 952 Uyarlama 3.0  İŞLEMLER"_w;
  Move(0, 0, 258, 186);
  struct Button {
    CommandButton* button;
    const char* caption;
    const char* toolTip;
    int top;
    int tabIndex;
  };
  const Button buttons[] = {
      {&cmdTarih, "Tarih Değiştirme", "Programın işlem tarihini değiştirme", 16, 0},
      {&cmdAlfabetik, "Koda Göre Kayıt Sıralama", "Kayıtları koda göre sıralama", 48, 1},
      {&cmdAdSira, "Ada Göre Kayıt Sıralama", "Kayıtları ada göre sıralama", 80, 2},
      {&cmdDoviz, "Döviz İşlemleri", "Döviz işlemleri", 112, 4},
      {&cmdExit, "Çıkış", "Çıkış (Kapat)", 144, 3},
  };
  for (const Button& b : buttons) {
    b.button->Move(16, b.top, 225, 26);
    b.button->Caption = w(b.caption);
    b.button->ToolTipText = w(b.toolTip);
    b.button->TabIndex = b.tabIndex;
    b.button->KeyDown = [this](int& k, int) { DispatchOperationsKey(k); };
  }
  // The sorts, the date dialog and the rate table come with their own windows.
  cmdTarih.Enabled = false;
  cmdAlfabetik.Enabled = false;
  cmdAdSira.Enabled = false;
  cmdDoviz.Enabled = false;
  cmdExit.Click = [this] { cmdExit_Click(); };
  closeBoxRuns([this] { cmdExit_Click(); });
}

void frmIslemler::Form_Load() { centreOnScreen(*this); }

void frmIslemler::Form_Activate() {
  // Counted by name: another window may have replaced the file since this one was loaded.
  RecordCount = static_cast<std::int16_t>(recordCountByName(KALVOR3.CompanyName + ".DAT", ProductRecord::Length));
}

void frmIslemler::DispatchOperationsKey(int KeyCode) {
  switch (KeyCode) {
    case Key::F10:
      Beep();
      MsgBox("F1 = Tarih Değiştirme...\rF2 = Kayıtları koda göre sıralama...\rF3 = Kayıtları ada göre sıralama...\r"
             "F4 = Döviz işlemleri...\r\rF10 = Tuş Yardımı...\r\rESC = Çıkış..."_w);
      break;
    case Key::Escape: cmdExit_Click(); break;
    default: break;
  }
}

void frmIslemler::cmdExit_Click() {
  Unload();
  Beep();
  forms().show("frmKalvor");
}

}  // namespace kv
