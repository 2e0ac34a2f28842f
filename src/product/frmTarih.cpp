#include "product/frmTarih.h"

#include "base/clock.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

frmTarih::frmTarih() {
  Caption = " Tarih Değişikliği"_w;
  Move(0, 0, 300, 170);
  struct Field {
    Label* label;
    const char* caption;
    TextBox* box;
    const char* text;
    int left;
    int width;
    TextBox* down;
    TextBox* up;
    Control* enter;
  };
  const Field fields[] = {
      {&lblGun, "Gün", &txtGun, "01", 16, 50, &txtAy, &txtYil, &txtAy},
      {&lblAy, "Ay", &txtAy, "Aralık", 76, 110, &txtYil, &txtGun, &txtYil},
      {&lblYil, "Yıl", &txtYil, "1964", 196, 80, &txtGun, &txtAy, &cmdKayit},
  };
  for (const Field& f : fields) {
    f.label->Move(f.left, 16, f.width, 20);
    f.label->Caption = w(f.caption);
    f.box->Move(f.left, 38, f.width, 26);
    f.box->Text = w(f.text);
    f.box->Change = [this] { DateChanged = true; };
    f.box->KeyDown = [this, f](int& k, int) {
      if (!moveFocusByArrow(k, *f.down, f.up)) DispatchDateKey(k);
    };
    f.box->KeyPress = [f](int& k) {
      if (k == Key::Enter) f.enter->SetFocus();
    };
  }
  cmdKayit.Move(16, 92, 120, 34);
  cmdKayit.Caption = "Kayıt"_w;
  cmdCikis.Move(156, 92, 120, 34);
  cmdCikis.Caption = "Çıkış"_w;
  for (CommandButton* b : {&cmdKayit, &cmdCikis}) b->KeyDown = [this](int& k, int) { DispatchDateKey(k); };
  cmdKayit.Click = [this] { cmdKayit_Click(); };
  cmdCikis.Click = [this] { cmdCikis_Click(); };
  closeBoxRuns([this] { cmdCikis_Click(); });
}

void frmTarih::Form_Load() { centreOnScreen(*this); }

// The flag decides which of the two dates this dialog edits.
void frmTarih::Form_Activate() {
  const Date d = KALVOR3.DateFromOperations ? KALVOR3.StaticDate : KALVOR3.RecipeDate;
  Values = {d.day(), d.month(), d.year()};
  fillBoxes();
  txtGun.SetFocus();
}

void frmTarih::fillBoxes() {
  txtGun.Text = std::to_string(Values.day);
  txtAy.Text = turkishMonthName(Values.month);
  txtYil.Text = std::to_string(Values.year);
}

void frmTarih::DispatchDateKey(int KeyCode) {
  switch (KeyCode) {
    case Key::F1: cmdKayit_Click(); break;
    case Key::Escape: cmdCikis_Click(); break;
    case Key::F10:
      Beep();
      MsgBox("F1 = Kayıt\r\nF10 = Tuş Yardımı...\r\nESC = Çıkış..."_w);
      break;
    default: break;
  }
}

void frmTarih::cmdKayit_Click() {
  if (!DateChanged) {
    Beep();
    return;
  }
  const Date today = clock().today();
  Values = readDateDialog(txtGun.Text(), txtAy.Text(), txtYil.Text(), Values, today);
  Beep();
  const Date d = Date::fromYmd(Values.year, Values.month, Values.day);
  std::string quoted = "\"";
  quoted += shortDateText(d) + "\" olarak kayıtlandı..."_w;
  if (KALVOR3.DateFromOperations) {
    KALVOR3.StaticDate = d;
    MsgBox("Statik Tarih "_w + quoted, MsgButtons::Ok, MsgIcon::None, "KALVOR 952 Tarih Değişikliği"_w);
  } else {
    KALVOR3.RecipeDate = d;
    MsgBox("Reçete Tarihi "_w + quoted, MsgButtons::Ok, MsgIcon::None, "KALVOR 952 Tarih Değişikliği"_w);
  }
  // Filling the boxes again counts as a change where the text differs ("ocak" shown as "Ocak").
  DateChanged = false;
  fillBoxes();
  cmdCikis.SetFocus();
}

void frmTarih::cmdCikis_Click() {
  Unload();
  if (KALVOR3.DateFromOperations) {
    Beep();
    forms().show("frmIslemler");
  } else {
    forms().show("frmAnaliz");
  }
}

}  // namespace kv
