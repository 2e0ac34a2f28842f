// Finding records: by the beginning of the code through the alphabetic index, or by a piece of the name.
#include "common/code_search.h"
#include "common/files.h"
#include "common/kalvor3.h"
#include "product/frmKalvor.h"
#include "product/record_scan.h"

namespace kv {

using namespace ui;

void frmKalvor::cmdAraBul_Click() {
  Beep();
  cmdOnceki.Enabled = true;
  cmdSonraki.Enabled = true;
  NewEntry = false;
  SearchMode = true;
  emptyEntryBoxes();
  Caption = " KALVOR 952 Uyarlama 3.0  BETA [ Kayıt Arama ] "_w;
  bilKod.SetFocus();
}

void frmKalvor::showLockedSearch() {
  MousePointer = Pointer::Default;
  Beep();
  MsgBox(codeSearchLockedText(), MsgButtons::Ok, MsgIcon::Exclamation, codeSearchLockedTitle());
}

// The first record in code order, of the selected tab, whose code begins with the typed text.
void frmKalvor::searchByCode() {
  if (bilKod.Text().empty()) return;
  const std::string text = upperCase(trim(bilKod.Text()));
  const int tab = selectedTab();
  KALVOR3.ChainStepLimit = 2 * static_cast<std::int32_t>(RecordCount);
  MousePointer = Pointer::Hourglass;
  CodeSearchResult found =
      findByCode(KALVOR3.ProductFileNumber, KALVOR3.IndexFileNumber, RecordCount, text, CodeMatch::Prefix,
                 [tab](const ProductRecord& r) { return fitsTab(r.Kind, tab); }, Record);
  if (found.status == CodeSearchResult::Status::Locked) {
    showLockedSearch();
    return;
  }
  if (found.status == CodeSearchResult::Status::NotFound) {
    MousePointer = Pointer::Default;
    Beep();
    MsgBox("Aranan kayıt bulunamadı!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "KALVOR 952 Uyarlama 3.0"_w);
    ShowRecord();
    return;
  }
  const std::int16_t r = found.record;
  const std::int16_t kind = Record.Kind;
  if (kind >= 1 && kind <= 7) {
    KALVOR3.TabRecordNumber[kind] = r;
    if (selectedTab() == kind)
      TabStrip1_Click();
    else
      TabStrip1.SelectedIndex = kind;  // its click handling shows the record
  } else {
    KALVOR3.CurrentRecordNumber = r;
    ShowRecord();
  }
  if (OptKayitsal.Value()) {
    cmdOnceki.Enabled = KALVOR3.CurrentRecordNumber != 1;
    cmdSonraki.Enabled = KALVOR3.CurrentRecordNumber != RecordCount;
  }
}

// The next record in record order, of the selected tab, whose name contains the typed text; the search
// goes on from the record after the current one and wraps round to record 1.
void frmKalvor::FindRecordByName() {
  if (RecordCount < 2) return;
  MousePointer = Pointer::Hourglass;
  const std::string text = upperCase(trim(bilAd.Text()));
  const int tab = selectedTab();
  const std::int16_t current = KALVOR3.CurrentRecordNumber;
  // From the current record on, so that repeated searches step through the matches, record 1 included.
  const int start = current >= 1 && current < RecordCount ? current + 1 : 1;
  for (int i = 0; i < RecordCount; ++i) {
    int r = (start - 1 + i) % RecordCount + 1;
    get(KALVOR3.ProductFileNumber, r, Record);
    if (!fitsTab(Record.Kind, tab)) continue;
    if (upperCase(trimView(Record.Name.view())).find(text) == std::string::npos) continue;
    KALVOR3.CurrentRecordNumber = static_cast<std::int16_t>(r);
    MousePointer = Pointer::Default;
    ShowRecord();
    return;
  }
  MousePointer = Pointer::Default;
}

}  // namespace kv
