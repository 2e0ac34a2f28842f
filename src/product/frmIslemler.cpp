#include "product/frmIslemler.h"

#include "base/program_title.h"
#include "files/files.h"
#include "product/product_sort.h"
#include "product/product_titles.h"
#include "records/kalvor3.h"
#include "records/product_record.h"

namespace kv {

using namespace ui;

frmIslemler::frmIslemler() {
  Caption = " " KV_PROGRAM_TITLE "  İŞLEMLER"_w;
  Move(0, 0, 258, 186);
  struct Button {
    CommandButton* button;
    const char* caption;
    const char* toolTip;
    int top;  // twips
    int tabIndex;
  };
  const Button buttons[] = {
      {&cmdTarih, "Tarih Değiştirme", "Programın işlem tarihini değiştirme", 240, 0},
      {&cmdAlfabetik, "Koda Göre Kayıt Sıralama", "Kayıtları koda göre sıralama", 720, 1},
      {&cmdAdSira, "Ada Göre Kayıt Sıralama", "Kayıtları ada göre sıralama", 1200, 2},
      {&cmdDoviz, "Döviz İşlemleri", "Döviz işlemleri", 1680, 4},
      {&cmdExit, "Çıkış", "Çıkış (Kapat)", 2160, 3},
  };
  for (const Button& b : buttons) {
    moveTwips(*b.button, 240, b.top, 3375, 375);
    b.button->Caption = w(b.caption);
    b.button->ToolTipText = w(b.toolTip);
    b.button->TabIndex = b.tabIndex;
    b.button->KeyDown = [this](int& k, int) { DispatchOperationsKey(k); };
  }
  // The sorts are offered once the file holds something to sort (Form_Activate).
  cmdAlfabetik.Enabled = false;
  cmdAdSira.Enabled = false;
  cmdTarih.Click = [this] { cmdTarih_Click(); };
  cmdAlfabetik.Click = [this] { cmdAlfabetik_Click(); };
  cmdAdSira.Click = [this] { cmdAdSira_Click(); };
  cmdDoviz.Click = [this] { cmdDoviz_Click(); };
  cmdExit.Click = [this] { cmdExit_Click(); };
  closeBoxRuns([this] { cmdExit_Click(); });
}

void frmIslemler::Form_Load() { centreOnScreen(*this); }

void frmIslemler::Form_Activate() {
  // Counted by name: another window may have replaced the file since this one was loaded.
  RecordCount = static_cast<std::int16_t>(recordCountByName(KALVOR3.CompanyName + ".DAT", ProductRecord::Length));
  if (RecordCount > 1) {
    cmdAlfabetik.Enabled = true;
    cmdAdSira.Enabled = true;
  }
}

void frmIslemler::DispatchOperationsKey(int KeyCode) {
  // The keys run the commands whatever the state of their buttons.
  switch (KeyCode) {
    case Key::F1: cmdTarih_Click(); break;
    case Key::F2: cmdAlfabetik_Click(); break;
    case Key::F3: cmdAdSira_Click(); break;
    case Key::F4: cmdDoviz_Click(); break;
    case Key::F10:
      Beep();
      MsgBox("F1 = Tarih Değiştirme...\rF2 = Kayıtları koda göre sıralama...\rF3 = Kayıtları ada göre sıralama...\r"
             "F4 = Döviz işlemleri...\r\rF10 = Tuş Yardımı...\r\rESC = Çıkış..."_w);
      break;
    case Key::Escape: cmdExit_Click(); break;
    default: break;
  }
}

// The date dialog edits the working date when it comes from here.
void frmIslemler::cmdTarih_Click() {
  KALVOR3.DateFromOperations = true;
  Unload();
  Beep();
  forms().show("frmTarih");
}

// Both sorts ask the same question, naming their order, and show their stages in the window's title; its
// caption comes back when the sort has ended, whatever happened.
void frmIslemler::sortAfterAsking(const char* order, Sort sort) {
  Beep();
  if (MsgBox("Kayıtların ('"_w + KALVOR3.CompanyName + ".DAT' dosyasının) alfabetik kayıt ("_w + order +
                 ") sırasına sokulmasını istiyormusunuz?..."_w,
             MsgButtons::YesNo, MsgIcon::Question, KV_PROGRAM_TITLE " BETA"_w) != MsgAnswer::Yes)
    return;
  BusyPointer busy(*this);
  SortTitles titles(*this, "DİĞER İŞLEMLER"_w);
  sort(KALVOR3.CompanyName, titles, *this);
}

void frmIslemler::cmdAlfabetik_Click() { sortAfterAsking("kod", sortByCode); }

void frmIslemler::cmdAdSira_Click() { sortAfterAsking("ad", sortByName); }

void frmIslemler::cmdDoviz_Click() {
  Unload();
  Beep();
  forms().show("frmDoviz");
}

void frmIslemler::cmdExit_Click() {
  Unload();
  Beep();
  forms().show("frmKalvor");
}

}  // namespace kv
