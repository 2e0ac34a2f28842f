// New entries and saving: the code check against the file, and the writing of the boxes into a record
// with the alphabetic chain kept in step.
#include <optional>

#include "common/alphabetic_chain.h"
#include "common/clock.h"
#include "common/code_search.h"
#include "common/files.h"
#include "common/kalvor3.h"
#include "common/numbers.h"
#include "product/cost_text.h"
#include "product/frmKalvor.h"
#include "product/record_scan.h"

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
  KALVOR3.NoRecordShown = false;
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
  if (KALVOR3.NoRecordShown) {
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
  KALVOR3.ChainStepLimit = 2 * static_cast<std::int32_t>(RecordCount);
  MousePointer = Pointer::Hourglass;
  CodeSearchResult found =
      findByCode(KALVOR3.ProductFileNumber, KALVOR3.IndexFileNumber, RecordCount, upperCase(typedCode()),
                 CodeMatch::Exact, [](const ProductRecord& r) { return r.Kind >= 0; }, Record);
  MousePointer = Pointer::Default;
  if (found.status == CodeSearchResult::Status::Locked) {
    showLockedSearch();
    return std::nullopt;
  }
  return found;
}

// A new entry is saved only under a code no live record carries.
bool frmKalvor::saveNewEntry() {
  auto found = lookUpTypedCode();
  if (!found) return false;
  if (found->status == CodeSearchResult::Status::Found) {
    Beep();
    MsgBox("Girdiğiniz mal kodu kayıtlıdır!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "! YENİ KAYIT HATASI !"_w);
    return false;
  }
  return SaveRecord();
}

void frmKalvor::FindRecordByCode() {
  if (SearchMode) {
    searchByCode();
    return;
  }
  if (NewEntry) {
    if (saveNewEntry()) {
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
  if (current < 1 || current > RecordCount) {
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
  if (SaveRecord()) ShowRecord();
}

// A number too large for its field is refused before anything is written; the entry stays as typed.
bool frmKalvor::validateNumbers() {
  bool costOk = trimView(bilMaliyet.Text()).empty() || readCostText(bilMaliyet.Text()).has_value();
  bool coefficientOk = readSingleBox(bilKatsayi.Text()).has_value();
  if (costOk && coefficientOk) return true;
  Beep();
  MsgBox((costOk ? "Katsayı"_w : "Maliyet"_w) + " alanına girilen sayı çok büyük!...  Kayıt yapılamadı..."_w,
         MsgButtons::Ok, MsgIcon::Exclamation, "! GİRİŞ HATASI !"_w);
  (costOk ? bilKatsayi : bilMaliyet).SetFocus();
  return false;
}

// What a new record gets before the boxes are copied into it.
void frmKalvor::stampNewRecord() {
  // A new record is built from nothing: the reserved fields are blank and zero, not those of the record the
  // code check read last.
  Record = ProductRecord{};
  const Date today = clock().today();
  const Date costDate = KALVOR3.StaticDate;
  Record.CreatedDay = static_cast<std::int16_t>(today.day());
  Record.CreatedMonth = static_cast<std::int16_t>(today.month());
  Record.CreatedYear = static_cast<std::int16_t>(today.year());
  Record.CreatedDate = shortDateText(today);
  Record.CostLocal = Currency{};
  Record.CostCurrency = "YTL";
  Record.Cost = 0;
  Record.CostType = 0;
  Record.DocumentNo = "";
  Record.CostDate = shortDateText(costDate);
  Record.CostDay = static_cast<std::int16_t>(costDate.day());
  Record.CostMonth = static_cast<std::int16_t>(costDate.month());
  Record.CostYear = static_cast<std::int16_t>(costDate.year());
  Record.RecipeCost = 0;
  Record.RecipeCostLocal = Currency{};
  Record.RecipeDate = "";
  Record.RecipeDay = Record.RecipeMonth = Record.RecipeYear = 0;
  Record.Price = 0;
  Record.PriceCurrency = "";
  Record.PriceDate = "";
  Record.PriceDay = Record.PriceMonth = Record.PriceYear = 0;
  Record.ChainPrev = Record.ChainNext = 0;
  Record.Coefficient = 0;
  ShownCost = 0;
  KALVOR3.CurrentRecordNumber = static_cast<std::int16_t>(RecordCount + 1);
  Record.RecordNumber = KALVOR3.CurrentRecordNumber;
  Record.RandomNumber = drawRandomIdentity();
  Record.RecipeNumber = 0;
}

void frmKalvor::fillRecordFromBoxes() {
  Record.Kind = static_cast<std::int16_t>(selectedTab());
  Record.Code = typedCode();
  Record.Name = trim(bilAd.Text());
  Record.Description = trim(bilAciklama.Text());
  Record.Unit = trim(bilBirim.Text());
  Record.ProductGroup = trim(bilUrunGrubu.Text());
  if (!trimView(bilMaliyet.Text()).empty()) {
    CostText cost = *readCostText(bilMaliyet.Text());
    Record.Cost = cost.cost;
    if (cost.currency) Record.CostCurrency = *cost.currency;
    if (optSatinAlma.Value())
      Record.CostType = 1;
    else if (optYaptirma.Value())
      Record.CostType = 2;
    else if (optKalvor.Value())
      Record.CostType = 3;
    Record.DocumentNo = trim(bilEvrakNo.Text());
  }
  if (Record.Cost != ShownCost) {
    const Date d = KALVOR3.StaticDate;
    Record.CostDate = shortDateText(d);
    Record.CostDay = static_cast<std::int16_t>(d.day());
    Record.CostMonth = static_cast<std::int16_t>(d.month());
    Record.CostYear = static_cast<std::int16_t>(d.year());
  }
  Record.SpecialCode = trim(bilOzelKod.Text());
  Record.Coefficient = *readSingleBox(trim(bilKatsayi.Text()));
  Record.Supplier = trim(bilTedarikci.Text());
  Record.Dimensions = trim(bilBoyutlar.Text());
  Record.Weight = trim(bilAgirlik.Text());
  Record.HasPicture = static_cast<std::int16_t>(chkResimVar.Value() == 1 ? 1 : 0);
  Record.SpecialNote = trim(bilOzelNot.Text());
  const Date today = clock().today();
  Record.UpdatedDay = static_cast<std::int16_t>(today.day());
  Record.UpdatedMonth = static_cast<std::int16_t>(today.month());
  Record.UpdatedYear = static_cast<std::int16_t>(today.year());
  Record.UpdatedDate = shortDateText(today);
}

// Writes the boxes into record CurrentRecordNumber, or appends a new record, and keeps the chain in step.
// Returns false when it refused or stopped; the window then keeps what was typed.
bool frmKalvor::SaveRecord() {
  if (NewEntry && RecordCount >= kMaxRecords16) {
    Beep();
    MsgBox("Data dosyası en fazla 32767 kayıt alabilir!...  Yeni kayıt yapılamadı..."_w, MsgButtons::Ok,
           MsgIcon::Exclamation, "! YENİ KAYIT HATASI !"_w);
    return false;
  }
  if (!validateNumbers()) return false;

  MousePointer = Pointer::Hourglass;
  const ChainFiles chain{KALVOR3.ProductFileNumber, KALVOR3.IndexFileNumber, ChainKey::Code};
  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (!NewEntry) {
    if (typedCode() == trim(ShownCode)) CodeChanged = false;
    get(KALVOR3.ProductFileNumber, current, Record);
    if (CodeChanged) {
      // A record that was never linked (its code had no place in the collation) is simply linked anew.
      if (unlinkFromAlphabeticIndex(chain, current, UnlinkVariant::Save, this) == UnlinkResult::PointerError) {
        MousePointer = Pointer::Default;
        return false;
      }
      get(KALVOR3.ProductFileNumber, current, Record);
      // Out of the chain until it is linked at its new place; a new code that has no place in the collation
      // leaves it out for good, and then it must not point at its former neighbours.
      Record.ChainPrev = Record.ChainNext = 0;
    }
  } else {
    stampNewRecord();
  }
  fillRecordFromBoxes();
  put(KALVOR3.ProductFileNumber, current, Record);

  MousePointer = Pointer::Default;
  KeepTitle = true;
  Caption = " Kayıt yapıldı...  Kayıt Numarası :"_w + recordNumberText(current);
  QuietInsert = false;
  if (NewEntry) {
    RecordCount = current;
    insertIntoAlphabeticIndex(chain, current, mainWindowInsertPolicy(QuietInsert), this);
    NewEntry = false;
  } else if (CodeChanged) {
    insertIntoAlphabeticIndex(chain, current, mainWindowInsertPolicy(QuietInsert), this);
  }
  CodeChanged = false;
  return true;
}

// A pending new entry, when the user leaves it and agrees to save it, is checked as the save button checks
// it; a refusal keeps the entry as typed and the caller abandons its command.
bool frmKalvor::savePendingEntry() {
  if (typedCode().empty() || refuseOnAllTab()) return false;
  return saveNewEntry();
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
