// The main window's lifecycle: opening the company's files, activation, a click on the background, and
// closing.
#include "product/frmKalvor.h"

#include "common/alphabetic_chain.h"
#include "common/clock.h"
#include "common/collation.h"
#include "common/files.h"
#include "common/kalvor3.h"

namespace kv {

using namespace ui;

frmKalvor::frmKalvor() {
  KeyPreview = true;
  layOut();
  wireEvents();
  wireKeys();
}

void frmKalvor::Form_Load() {
  Move((Screen().Width - Width()) / 2, (Screen().Height - Height()) / 2);
  const std::string& company = KALVOR3.CompanyName;
  lblFirma.Caption = company.size() >= 9 ? company.substr(0, 8) : company;

  KALVOR3.ProductFileNumber = static_cast<std::int16_t>(nextFreeFileNumber());
  RecordLength = ProductRecord::Length;
  openRandom(KALVOR3.ProductFileNumber, company + ".DAT", RecordLength);
  Beep();
  recountProducts();

  KALVOR3.IndexFileNumber = static_cast<std::int16_t>(nextFreeFileNumber());
  openRandom(KALVOR3.IndexFileNumber, company + ".ABC", IndexEntry::Length);
  checkIndex();

  SearchMode = true;
  Direction = 1;
  if (KALVOR3.CurrentRecordNumber >= 1 && KALVOR3.CurrentRecordNumber <= RecordCount) {
    KALVOR3.NoRecordShown = false;
  } else {
    KALVOR3.NoRecordShown = true;
    KALVOR3.CurrentRecordNumber = RecordCount;
  }
  for (int tab = 1; tab <= 7; ++tab) KALVOR3.TabRecordNumber[tab] = KALVOR3.CurrentRecordNumber;
  Caption = " KALVOR 952 Uyarlama 3.0 BETA   [ "_w + company + " ]";

  int tab = KALVOR3.CurrentTab > 0 ? KALVOR3.CurrentTab : 8;
  if (TabStrip1.SelectedIndex() == tab)
    TabStrip1_Click();
  else
    TabStrip1.SelectedIndex = tab;  // runs the tab's click handling
}

void frmKalvor::recountProducts() {
  RecordCount = static_cast<std::int16_t>(recordCount(KALVOR3.ProductFileNumber));
}

// An index that is not 109 entries long is replaced by empty buckets. When the product file already holds
// records, they can no longer be found alphabetically until the rebuild has linked them again: say so.
void frmKalvor::checkIndex() {
  BucketCount = static_cast<std::int16_t>(recordCount(KALVOR3.IndexFileNumber));
  if (!applyIndexOpeningRule(KALVOR3.IndexFileNumber)) return;
  if (RecordCount == 0) return;
  Beep();
  MsgBox("Alfabetik indeks dosyası ("_w + KALVOR3.CompanyName +
             ".ABC) hatalı olduğu için boş olarak yeniden oluşturuldu!...  Kayıtları alfabetik sırada bulabilmek "
             "için, 'SERVİS' menüsüne geçip, 'Oluştur' komutunu çalıştırın..."_w,
         MsgButtons::Ok, MsgIcon::Exclamation, "! İNDEKS HATASI !"_w);
}

void frmKalvor::Form_Activate() {
  // Another window may have changed the product file (a sort drops deleted records): count it afresh and
  // keep the current record within it.
  recountProducts();
  if (KALVOR3.CurrentRecordNumber > RecordCount) {
    KALVOR3.CurrentRecordNumber = RecordCount;
    if (RecordCount == 0) KALVOR3.NoRecordShown = true;
  }

  if (KALVOR3.CurrentRecordNumber < 2) {
    OptKayitsal.Value = true;
    if (KALVOR3.CurrentRecordNumber == 0) {
      const Date today = clock().today();
      Record = ProductRecord{};
      Record.Kind = static_cast<std::int16_t>(selectedTab());
      Record.CreatedDate = shortDateText(today);
      Record.UpdatedDate = shortDateText(today);
      ShownCost = 0;
    }
  }
  KALVOR3.CollationString = collationString();
  emptyEntryBoxes();
  Direction = 1;
  if (!KALVOR3.DateInitialised) KALVOR3.StaticDate = clock().today();
  LblTarih.Caption = DateToTurkishText(KALVOR3.StaticDate);
  KALVOR3.DateInitialised = true;
  if (!KALVOR3.NoRecordShown) ShowRecord();
}

void frmKalvor::Form_Click() {
  if (!NewEntry && !SearchMode) {
    ShowRecord();
  } else if (NewEntry && bilKod.Text().empty()) {
    NewEntry = false;
    CodeChanged = false;
    Caption = " KALVOR 952 Uyarlama 3.0 BETA"_w;
  } else if (SearchMode) {
    FindRecordByCode();
  } else {
    // A click on the window saves the entry, with the same checks as the save button.
    checkAndSave();
  }
}

void frmKalvor::Form_Unload(int& Cancel) {
  (void)Cancel;
  closeFile(KALVOR3.ProductFileNumber);
  closeFile(KALVOR3.IndexFileNumber);
}


}  // namespace kv
