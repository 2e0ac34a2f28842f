// New entries and saving: the code check against the file, and the writing of the boxes into a record
// with the alphabetic chain kept in step.
#include <optional>

#include "common/clock.h"
#include "common/files.h"
#include "common/kalvor3.h"
#include "common/numbers.h"
#include "product/cost_text.h"
#include "product/frmKalvor.h"
#include "product/main_window_state.h"

namespace kv {

using namespace ui;

namespace {

const std::string& programTitle() {
  static const std::string t = "KALVOR 952 Uyarlama 3.0";
  return t;
}

}  // namespace

// The code as it is checked, compared, stored and linked: trimmed, cut to the field, trimmed again.
std::string frmKalvor::typedCode() const {
  return trim(trimView(bilKod.Text()).substr(0, ProductRecord{}.Code.size()));
}

void frmKalvor::cmdYeni_Click() {
  Beep();
  if (selectedTab() == kTabAll) {
    MsgBox("'Tümü' sekmesinde çalışırken yeni kayıt açılamaz. İlgili sekmeyi seçtikten sonra yeni kayıt açın."_w,
           MsgButtons::Ok, MsgIcon::Exclamation, "! DİKKAT ! Bu sekme ile Yeni Kayıt Açılamaz !"_w);
    return;
  }
  mainWindowState.NoRecordShown = false;
  NewEntry = true;
  SearchMode = false;
  emptyEntryBoxes();
  Caption = " KALVOR 952 Uyarlama 3.0  BETA [ Yeni Kayıt ]"_w;
  bilKod.SetFocus();
}

void frmKalvor::bilKod_Change() { CodeChanged = true; }

void frmKalvor::cmdKayitla_Click() {
  if (SearchMode) {
    Beep();
    bilKod.SetFocus();
    return;
  }
  if (!NewEntry) Caption = " KALVOR 952 Uyarlama 3.0  BETA"_w;
  if (mainWindowState.NoRecordShown) {
    Beep();
    bilKod.SetFocus();
    return;
  }
  Beep();
  checkAndSave();
  bilKod.SetFocus();
}

// Saving is refused on the tab "Tümü": a record's kind is the tab it is saved on.
bool frmKalvor::refuseOnAllTab() {
  if (selectedTab() != kTabAll) return false;
  Beep();
  MsgBox("'Tümü' sekmesinde çalışırken kayıt yapılamaz. İlgili sekmeyi seçtikten sonra kayıt yapın."_w, MsgButtons::Ok,
         MsgIcon::Exclamation, "! DİKKAT ! Bu sekme ile Kayıt Yapılamaz !"_w);
  return true;
}

// Every way of saving goes through here: the save button, a click on the window during an entry. A code
// of blanks alone is no code: nothing is saved, and nothing said.
void frmKalvor::checkAndSave() {
  if (typedCode().empty() || refuseOnAllTab()) return;
  FindRecordByCode();
}

// The typed code among the live records, along the chain; a walk that does not end is told here and gives
// nothing.
std::optional<CodeSearchResult> frmKalvor::lookUpTypedCode() {
  BusyPointer busy(*this);
  CodeSearchResult found = Products.findByCode(upperCase(typedCode()), CodeMatch::Exact,
                                               [](const ProductRecord& r) { return r.Kind >= 0; });
  busy.restore();
  if (found.status == CodeSearchResult::Status::Locked) {
    showLockedSearch();
    return std::nullopt;
  }
  return found;
}

// A new entry is saved only under a code no live record carries.
frmKalvor::Saved frmKalvor::saveNewEntry() {
  auto found = lookUpTypedCode();
  if (!found) return Saved::Refused;
  if (found->status == CodeSearchResult::Status::Found) {
    Beep();
    MsgBox("Girdiğiniz mal kodu kayıtlıdır!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "! YENİ KAYIT HATASI !"_w);
    return Saved::Refused;
  }
  return SaveRecord();
}

void frmKalvor::FindRecordByCode() {
  if (SearchMode) {
    searchByCode();
    return;
  }
  if (NewEntry) {
    if (saveNewEntry() == Saved::Yes) {
      cmdSonraki.Enabled = false;  // the new record is the last one
      ShowRecord();
    }
    return;
  }
  const std::string code = typedCode();
  auto found = lookUpTypedCode();
  if (!found) return;
  const bool isFound = found->status == CodeSearchResult::Status::Found;

  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (isFound && found->record != current) {
    Beep();
    MsgBox("Girdiğiniz kod kayıtlı olduğu için yaptığınız değişiklik iptal edilecek!..."_w, MsgButtons::Ok,
           MsgIcon::Exclamation, "! DÜZELTME HATASI !"_w);
    ShowRecord();
    return;
  }
  if (current < 1 || current > Products.count()) {
    Beep();
    MsgBox("Geçersiz kayıt olduğundan, değişikler işlenemedi!..."_w, MsgButtons::Ok, MsgIcon::Exclamation,
           "! DÜZELTME HATASI !"_w);
    return;
  }
  if (code.empty()) {
    Beep();
    MsgBox("Kod alanı boş bırakılamayacağı için yaptığınız değişiklik iptal edilecek!..."_w, MsgButtons::Ok,
           MsgIcon::Exclamation, "! DÜZELTME HATASI !"_w);
    ShowRecord();
    return;
  }
  if (code != trim(ShownCode) && CodeChanged) {
    Beep();
    if (MsgBox("Kod alanında değişiklik yapmak istediğinize eminmisiniz?..."_w, MsgButtons::YesNo, MsgIcon::Question,
               programTitle()) != MsgAnswer::Yes) {
      ShowRecord();
      return;
    }
  }
  // After the pointer message the record is shown as it is stored; a refused number keeps what was typed.
  if (SaveRecord() != Saved::Refused) ShowRecord();
}

// A box that still shows the text it was given keeps the stored value (see ShownCostText).
bool frmKalvor::costBoxEdited() const { return NewEntry || bilMaliyet.Text() != ShownCostText; }
bool frmKalvor::coefficientBoxEdited() const { return NewEntry || bilKatsayi.Text() != ShownCoefficientText; }

// A number too large for its field is refused before anything is written; the entry stays as typed.
bool frmKalvor::validateNumbers() {
  bool costOk = !costBoxEdited() || trimView(bilMaliyet.Text()).empty() || readCostText(bilMaliyet.Text()).has_value();
  bool coefficientOk = !coefficientBoxEdited() || readSingleBox(bilKatsayi.Text()).has_value();
  if (costOk && coefficientOk) return true;
  Beep();
  MsgBox((costOk ? "Katsayı"_w : "Maliyet"_w) + " alanına girilen sayı çok büyük!...  Kayıt yapılamadı..."_w,
         MsgButtons::Ok, MsgIcon::Exclamation, "! GİRİŞ HATASI !"_w);
  (costOk ? bilKatsayi : bilMaliyet).SetFocus();
  return false;
}

// What a new record gets before the boxes are copied into it. It is built from nothing: the reserved
// fields are blank and zero, not those of the record the code check read last.
void frmKalvor::stampNewRecord() {
  Record = ProductRecord{};
  stampDate(Record, RecordDate::Created, clock().today());
  Record.CostCurrency = "YTL";
  stampDate(Record, RecordDate::Cost, KALVOR3.StaticDate);
  ShownCost = 0;
  KALVOR3.CurrentRecordNumber = static_cast<std::int16_t>(Products.count() + 1);
  Record.RecordNumber = KALVOR3.CurrentRecordNumber;
  Record.RandomNumber = drawRandomIdentity();
}

void frmKalvor::fillRecordFromBoxes() {
  Record.Kind = static_cast<std::int16_t>(selectedTab());
  Record.Code = typedCode();
  Record.Name = trim(bilAd.Text());
  Record.Description = trim(bilAciklama.Text());
  Record.Unit = trim(bilBirim.Text());
  Record.ProductGroup = trim(bilUrunGrubu.Text());
  if (!trimView(bilMaliyet.Text()).empty()) {
    if (costBoxEdited()) {
      CostText cost = *readCostText(bilMaliyet.Text());
      Record.Cost = cost.cost;
      if (cost.currency) Record.CostCurrency = *cost.currency;
    }
    if (optSatinAlma.Value())
      Record.CostType = 1;
    else if (optYaptirma.Value())
      Record.CostType = 2;
    else if (optKalvor.Value())
      Record.CostType = 3;
    Record.DocumentNo = trim(bilEvrakNo.Text());
  }
  if (Record.Cost != ShownCost) stampDate(Record, RecordDate::Cost, KALVOR3.StaticDate);
  Record.SpecialCode = trim(bilOzelKod.Text());
  if (coefficientBoxEdited()) Record.Coefficient = *readSingleBox(trim(bilKatsayi.Text()));
  Record.Supplier = trim(bilTedarikci.Text());
  Record.Dimensions = trim(bilBoyutlar.Text());
  Record.Weight = trim(bilAgirlik.Text());
  Record.HasPicture = static_cast<std::int16_t>(chkResimVar.Value() == 1 ? 1 : 0);
  Record.SpecialNote = trim(bilOzelNot.Text());
  stampDate(Record, RecordDate::Updated, clock().today());
}

// Writes the boxes into record CurrentRecordNumber, or appends a new record; the product file keeps the
// chain in step. Refused: nothing written, the window keeps what was typed.
frmKalvor::Saved frmKalvor::SaveRecord() {
  if (NewEntry && Products.count() >= kMaxRecords16) {
    Beep();
    MsgBox("Data dosyası en fazla 32767 kayıt alabilir!...  Yeni kayıt yapılamadı..."_w, MsgButtons::Ok,
           MsgIcon::Exclamation, "! YENİ KAYIT HATASI !"_w);
    return Saved::Refused;
  }
  if (!validateNumbers()) return Saved::Refused;

  BusyPointer busy(*this);
  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (NewEntry) {
    stampNewRecord();
  } else {
    if (typedCode() == trim(ShownCode)) CodeChanged = false;
    Record = Products.read(current);
  }
  fillRecordFromBoxes();
  const InsertPolicy policy = mainWindowInsertPolicy(false);
  if (NewEntry) {
    current = Products.append(Record, policy, this);
    NewEntry = false;
  } else if (Products.save(current, Record, policy, this) == ProductFile::SaveResult::PointerError) {
    return Saved::PointerError;
  }
  busy.restore();
  KeepTitle = true;
  Caption = " Kayıt yapıldı...  Kayıt Numarası :"_w + recordNumberText(current);
  CodeChanged = false;
  return Saved::Yes;
}

// A pending new entry, when the user leaves it and agrees to save it, is checked as the save button checks
// it; a refusal keeps the entry as typed and the caller abandons its command.
bool frmKalvor::savePendingEntry() {
  if (typedCode().empty() || refuseOnAllTab()) return false;
  return saveNewEntry() == Saved::Yes;
}

// The question of a command that leaves a new entry with a code. Returns false when the command must be
// abandoned (the save was refused).
bool frmKalvor::askToSavePendingEntry(const std::string& title) {
  if (MsgBox("Yeni giriş tamamlanmadı!  Kayıtlansınmı?"_w, MsgButtons::YesNo, MsgIcon::Question, title) !=
      MsgAnswer::Yes)
    return true;
  return savePendingEntry();
}

}  // namespace kv
