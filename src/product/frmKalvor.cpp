// The main window's lifecycle: opening the company's files, activation, a click on the background, and
// closing.
#include "product/frmKalvor.h"

#include "base/clock.h"
#include "base/program_title.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

frmKalvor::frmKalvor() {
  KeyPreview = true;
  closeBoxRuns([this] { cmdCikis_Click(); });
  layOut();
  wireEvents();
  wireKeys();
}

void frmKalvor::Form_Load() {
  centreOnScreen(*this);
  takeCurrentRecord();
  const std::string& company = KALVOR3.CompanyName;
  lblFirma.Caption = company.size() >= 9 ? company.substr(0, 8) : company;

  // Without its product file the window has nothing to show: it is told once, and the program leaves the
  // company for the start-up dialog.
  ProductFile::Opened opened;
  try {
    opened = Products.open(company);
  } catch (const FileError& e) {
    LeaveCompany(*this, e);
    return;
  }
  Beep();
  if (opened.indexRenewed) tellIndexRenewed();

  SearchMode = true;
  Direction = 1;
  if (RecordShown >= 1 && RecordShown <= Products.count()) {
    NoRecordShown = false;
  } else {
    NoRecordShown = true;
    RecordShown = Products.count();
  }
  for (int tab = 1; tab <= 7; ++tab) TabRecordNumber[tab] = RecordShown;
  Caption = " " KV_PROGRAM_TITLE " BETA   [ "_w + company + " ]";

  int tab = Kept.CurrentTab > 0 ? Kept.CurrentTab : 8;
  if (TabStrip1.SelectedIndex() == tab)
    TabStrip1_Click();
  else
    TabStrip1.SelectedIndex = tab;  // runs the tab's click handling
  bilKod.SetFocus();
}

// An index that was not 109 entries long has been replaced by empty buckets. When the product file already
// holds records, they can no longer be found alphabetically until the rebuild has linked them again: say so.
void frmKalvor::tellIndexRenewed() {
  if (Products.count() == 0) return;
  Beep();
  MsgBox("Alfabetik indeks dosyası ("_w + Products.company() +
             ".ABC) hatalı olduğu için boş olarak yeniden oluşturuldu!...  Kayıtları alfabetik sırada bulabilmek "
             "için, 'SERVİS' menüsüne geçip, 'Oluştur' komutunu çalıştırın..."_w,
         MsgButtons::Ok, MsgIcon::Exclamation, "! İNDEKS HATASI !"_w);
}

void frmKalvor::Form_Activate() {
  if (LeavingCompany()) return;
  if (HandedOver) takeCurrentRecord();
  // Another window may have changed the product file (a sort drops deleted records): open it again when
  // it was let go, count it afresh and keep the current record within it. A file that cannot be opened
  // again is told, and the program leaves the company.
  if (!Products.isOpen()) {
    try {
      if (Products.open(KALVOR3.CompanyName).indexRenewed) tellIndexRenewed();
    } catch (const FileError& e) {
      LeaveCompany(*this, e);
      return;
    }
  }
  const std::int16_t count = Products.recount();
  if (RecordShown > count) {
    RecordShown = count;
    if (count == 0) NoRecordShown = true;
  }

  if (RecordShown < 2) {
    OptKayitsal.Value = true;
    if (RecordShown == 0) Entry.forgetShown();
  }
  emptyEntryBoxes();
  Direction = 1;
  if (!Kept.DateInitialised) KALVOR3.StaticDate = clock().today();
  LblTarih.Caption = DateToTurkishText(KALVOR3.StaticDate);
  Kept.DateInitialised = true;
  if (!NoRecordShown) ShowRecord();
}

// The current record crosses to the window that takes the screen; it may come back changed: the service
// window's rebuild leaves the last record it wrote, the product-list grid the product picked there.
void frmKalvor::handCurrentRecordOver() {
  KALVOR3.CurrentRecordNumber = RecordShown;
  HandedOver = true;
}

// A double click in the grid asks for its pick to be shown, even when no record was shown before.
void frmKalvor::takeCurrentRecord() {
  RecordShown = KALVOR3.CurrentRecordNumber;
  if (KALVOR3.RecordPicked) NoRecordShown = false;
  KALVOR3.RecordPicked = false;
  HandedOver = false;
}

void frmKalvor::Form_Click() {
  if (!Entry.newEntry() && !SearchMode) {
    ShowRecord();
  } else if (Entry.newEntry() && typedCode().empty()) {
    Entry.endEditing();
    Caption = " " KV_PROGRAM_TITLE " BETA"_w;
  } else if (SearchMode) {
    FindRecordByCode();
  } else {
    // A click on the window saves the entry, with the same checks as the save button.
    checkAndSave();
  }
}

void frmKalvor::Form_Unload(int& Cancel) {
  (void)Cancel;
  Products.close();
}


}  // namespace kv
