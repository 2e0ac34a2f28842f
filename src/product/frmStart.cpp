#include "product/frmStart.h"

#include "base/program_title.h"
#include "files/company_lock.h"
#include "files/command_recovery.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "product/company_names.h"
#include "product/program_info.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

frmStart::frmStart() {
  Caption = " KALVOR 952"_w;
  Move(0, 0, 600, 330);

  picIcon.Move(24, 20, 64, 64);
  picIcon.Picture = programIconPath();
  lblTitle.Move(104, 22, 470, 30);
  lblTitle.Caption = KV_PROGRAM_TITLE " BETA"_w;
  lblTitle.FontSize = 16;
  lblTitle.FontBold = true;
  lblVersion.Move(104, 56, 470, 20);
  lblVersion.Caption = programVersionLine();
  lblDescription.Move(24, 96, 552, 48);
  lblDescription.Caption =
      "Makina İmalatı İçin, Ürün Kodlama, Parça Listeleme, Ürün Ağacı (Reçete) Hazırlama, Otomatik Maliyet "
      "Hesabı ve Fiyatlandırma Programı"_w;

  Label1.Move(24, 164, 200, 24);
  Label1.Caption = "Şirket ADI (Dosya Adı) :"_w;
  Combo1.Move(224, 160, 240, 26);
  Combo1.Text = std::string(kDefaultCompany);
  cmdOK.Move(480, 158, 96, 30);
  cmdOK.Caption = "OK";
  cmdOK.Default = true;

  Label2.Move(24, 204, 552, 110);
  Label2.Caption =
      "Dikkat! Program belirtilen şirket adını data dosyasının adının noktadan önceki kısmı olarak kullanacaktır. "
      "Örnek: Şirket adı \"dormela\" ise, data dosyası adları \"DORMELA.DAT\" olacaktır. Yukarıdaki seçme "
      "kutusunda varsa, mevcut bir şirketi seçin veya yeni bir şirket adı yazın. Şirket adı büyük harfli ve "
      "uzantısı \".DAT\" olarak çalışma dizininde varsa ve geçerliyse, o şirketin data dosyası kullanılır. Şirket "
      "adı boş bırakılırsa \"KLVR952.DAT\" varsayılan data dosyası olarak kullanılır."_w;

  cmdOK.Click = [this] { cmdOK_Click(); };
  Combo1.Change = [this] { Combo1_Change(); };
  Combo1.Click = [this] { Combo1_Click(); };
  Combo1.LostFocus = [this] { Combo1_LostFocus(); };
  // The dialog has no cancel button: its close box ends the program.
  closeBoxRuns([] { End(); });
}

void frmStart::Form_Load() {
  centreOnScreen(*this);
  leaveSession();  // shown, the dialog holds no company: the program has left the one it worked on
  for (const std::string& name : listCompanies()) Combo1.AddItem(name);
  KALVOR3.CompanyName.clear();
}

void frmStart::Combo1_Change() { KALVOR3.CompanyName = normaliseCompanyName(Combo1.Text()); }
void frmStart::Combo1_Click() { KALVOR3.CompanyName = normaliseCompanyName(Combo1.Text()); }
void frmStart::Combo1_LostFocus() { Combo1.Text = KALVOR3.CompanyName; }

void frmStart::cmdOK_Click() {
  if (KALVOR3.CompanyName.empty()) {
    KALVOR3.CompanyName = std::string(kDefaultCompany);
  } else if (!isValidCompanyName(KALVOR3.CompanyName)) {
    Beep();
    MsgBox("Şirket adı aynı zamanda data dosyalarının ortak adı olup, Türkçe ve/veya İngilizce alfabenin büyük "
           "harfleri ve rakamlar dışında karakter içermemelidir! Hatayı düzeltin..."_w,
           MsgButtons::Ok, MsgIcon::Exclamation,
           " ! DİKKAT !  \""_w + KALVOR3.CompanyName + ".DAT\" adı uygun değil!"_w);
    Combo1.SetFocus();
    return;
  }
  // The company is this program's from here until the program leaves it; a company that another program
  // has open keeps the dialog.
  try {
    holdSession(KALVOR3.CompanyName, CompanyLock::forRecovery(KALVOR3.CompanyName));
  } catch (const FileError& e) {
    if (e.kind() != FileError::Kind::Locked) throw;
    Beep();
    MsgBox("\""_w + KALVOR3.CompanyName + "\" şirketi başka bir programda açık!...\r\rŞirketten o programda "
           "çıkın veya başka bir şirket seçin..."_w,
           MsgButtons::Ok, MsgIcon::Exclamation, "! DİKKAT !"_w);
    Combo1.SetFocus();
    return;
  }
  // Before anything reads the company's files, a command that a kill or a power cut interrupted is put
  // right; a failure to do so keeps the dialog, and the company is let go.
  try {
    tellInterruptedCommand(recoverInterruptedCommand(KALVOR3.CompanyName));
  } catch (const FileError&) {
    leaveSession();
    throw;
  }
  Unload();
  forms().show("frmKalvor");
}

void frmStart::tellInterruptedCommand(const InterruptedCommand& found) {
  std::string text;
  switch (found.outcome) {
    case InterruptedCommand::Outcome::None: return;
    case InterruptedCommand::Outcome::PutBack:
      text = "Son işlem yarıda kalmış!...\r\rDosyalar işlemden önceki haline getirildi..."_w;
      break;
    case InterruptedCommand::Outcome::Completed:
      text = "Son işlem yarıda kalmış!...\r\rİşlem tamamlandı; dosyalar işlemin sonundaki haline getirildi..."_w;
      break;
    case InterruptedCommand::Outcome::Damaged:
    case InterruptedCommand::Outcome::Foreign:
      Beep();
      tell(*this, fileErrorMessage(keptAsideError(found)), MsgIcon::Exclamation);
      return;
  }
  Beep();
  MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, "! DİKKAT !"_w);
}

}  // namespace kv
