#include "reports/frmRDizgi.h"

#include <initializer_list>

#include "common/files.h"
#include "common/kalvor3.h"
#include "common/product_record.h"

namespace kv {

using namespace ui;

frmRDizgi::frmRDizgi() {
  layOut();
  for (Control* c : {static_cast<Control*>(&cmdPrint), static_cast<Control*>(&cmdVazgec),
                     static_cast<Control*>(&OptEkran), static_cast<Control*>(&OptYazici)})
    c->KeyDown = [this](int& k, int) { HandleDialogKey(k); };
  cmdVazgec.Click = [this] { cmdVazgec_Click(); };
  closeBoxRuns([this] { cmdVazgec_Click(); });
}

void frmRDizgi::layOut() {
  Caption = " KALVOR 952 Uyarlama 3.0  BETA"_w;
  Move(0, 0, 420, 196);
  FrameRecete.Move(12, 8, 190, 60);
  OptRecete.Move(10, 22, 80, 24);
  OptRecete.Caption = "Reçete"_w;
  OptListe.Move(100, 22, 80, 24);
  OptListe.Caption = "Liste";
  FrameListe.Move(12, 76, 396, 60);
  int x = 10;
  for (auto [option, caption] : {std::pair{&OptEkran, "Ekrana"}, std::pair{&OptYazici, "Yazıcıya"},
                                 std::pair{&optXLS, "Excel'e"}}) {
    option->Move(x, 22, 110, 24);
    option->Caption = w(caption);
    x += 128;
  }
  FrameFiltre.Move(214, 8, 194, 60);
  chkMaliyet.Move(10, 22, 84, 24);
  chkMaliyet.Caption = "Maliyet";
  chkTSarf.Move(96, 22, 94, 24);
  chkTSarf.Caption = "Toplam Sarf";
  cmdPrint.Move(12, 148, 120, 34);
  cmdPrint.Caption = "Yazdır"_w;
  cmdVazgec.Move(288, 148, 120, 34);
  cmdVazgec.Caption = "Çıkış"_w;
  // The print command first in the tab order, so that it has the focus when the dialog opens.
  int tab = 0;
  for (Control* c : std::initializer_list<Control*>{&cmdPrint, &cmdVazgec, &OptRecete, &OptListe, &OptEkran, &OptYazici,
                                                    &optXLS, &chkMaliyet, &chkTSarf})
    c->TabIndex = tab++;
  // The choices every load starts from: the recipe, on the screen, with costs, as total consumption.
  OptRecete.Value = true;
  OptEkran.Value = true;
  chkMaliyet.Value = 1;
  chkTSarf.Value = 1;
  // Producing the reports comes with the report issue; until then the command is disabled.
  cmdPrint.Enabled = false;
}

void frmRDizgi::Form_Load() {
  centreOnScreen(*this);
  ProductCount = static_cast<std::int16_t>(recordCountByName(KALVOR3.CompanyName + ".DAT", ProductRecord::Length));
  KALVOR3.ListReady = false;
  KALVOR3.ListMode = false;
}

void frmRDizgi::Form_Activate() { Caption = " Kalvor Kodu= "_w + KALVOR3.ReportProductCode; }

void frmRDizgi::HandleDialogKey(int KeyCode) {
  if (KeyCode == Key::Escape) cmdVazgec_Click();
}

void frmRDizgi::cmdVazgec_Click() {
  KALVOR3.ListReady = false;
  Unload();
  forms().show("frmAnaliz");
}

}  // namespace kv
