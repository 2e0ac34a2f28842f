// Finding records: by the beginning of the code through the alphabetic index, or by a piece of the name.
#include "base/program_title.h"
#include "product/frmKalvor.h"

namespace kv {

using namespace ui;

void frmKalvor::cmdAraBul_Click() {
  Beep();
  cmdOnceki.Enabled = true;
  cmdSonraki.Enabled = true;
  Entry.dropNewEntry();
  SearchMode = true;
  emptyEntryBoxes();
  Caption = " " KV_PROGRAM_TITLE "  BETA [ Kayıt Arama ] "_w;
  bilKod.SetFocus();
}

void frmKalvor::showLockedSearch() {
  Beep();
  MsgBox(codeSearchLockedText(), MsgButtons::Ok, MsgIcon::Exclamation, codeSearchLockedTitle());
}

// The first record in code order, of the selected tab, whose code begins with the typed text.
void frmKalvor::FindRecordByCode() {
  if (bilKod.Text().empty()) return;
  const std::string text = upperCase(trim(bilKod.Text()));
  const int tab = selectedTab();
  BusyPointer busy(*this);  // until the record found is shown
  CodeSearchResult found =
      Products.findByCode(text, CodeMatch::Prefix, [tab](const ProductRecord& r) { return fitsTab(r.Kind, tab); });
  if (found.status == CodeSearchResult::Status::Locked) {
    busy.restore();
    showLockedSearch();
    return;
  }
  if (found.status == CodeSearchResult::Status::NotFound) {
    busy.restore();
    Beep();
    MsgBox("Aranan kayıt bulunamadı!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, KV_PROGRAM_TITLE);
    ShowRecord();
    return;
  }
  const std::int16_t r = found.record;
  const std::int16_t kind = Products.read(r).Kind;
  if (kind >= 1 && kind <= 7) {
    TabRecordNumber[kind] = r;
    if (selectedTab() == kind)
      TabStrip1_Click();
    else
      TabStrip1.SelectedIndex = kind;  // its click handling shows the record
  } else {
    RecordShown = r;
    ShowRecord();
  }
  if (OptKayitsal.Value()) {
    cmdOnceki.Enabled = RecordShown != 1;
    cmdSonraki.Enabled = RecordShown != Products.count();
  }
}

// The next record in record order, of the selected tab, whose name contains the typed text.
void frmKalvor::FindRecordByName() {
  if (Products.count() < 2) return;
  std::int16_t r;
  {
    BusyPointer busy(*this);
    r = Products.findByName(upperCase(trim(bilAd.Text())), RecordShown, selectedTab());
  }
  if (r == 0) return;
  RecordShown = r;
  ShowRecord();
}

}  // namespace kv
