// New entries and saving: the window's side of the entry model. It reads the boxes, asks the model what a
// save means and turns the answer into messages, questions and boxes.
#include "base/numbers.h"
#include "base/program_title.h"
#include "product/frmKalvor.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

std::string frmKalvor::typedCode() const { return ProductEntry::codeOf(bilKod.Text()); }

EntryBoxes frmKalvor::typedBoxes() const {
  EntryBoxes b;
  b.code = bilKod.Text();
  b.name = bilAd.Text();
  b.description = bilAciklama.Text();
  b.unit = bilBirim.Text();
  b.group = bilUrunGrubu.Text();
  b.cost = bilMaliyet.Text();
  b.costDate = bilMTarih.Text();
  b.documentNo = bilEvrakNo.Text();
  b.costType = optSatinAlma.Value() ? 1 : optYaptirma.Value() ? 2 : optKalvor.Value() ? 3 : 0;
  b.specialCode = bilOzelKod.Text();
  b.coefficient = bilKatsayi.Text();
  b.supplier = bilTedarikci.Text();
  b.dimensions = bilBoyutlar.Text();
  b.weight = bilAgirlik.Text();
  b.hasPicture = chkResimVar.Value() == 1;
  b.specialNote = bilOzelNot.Text();
  return b;
}

void frmKalvor::cmdYeni_Click() {
  Beep();
  if (selectedTab() == kTabAll) {
    MsgBox("'Tümü' sekmesinde çalışırken yeni kayıt açılamaz. İlgili sekmeyi seçtikten sonra yeni kayıt açın."_w,
           MsgButtons::Ok, MsgIcon::Exclamation, "! DİKKAT ! Bu sekme ile Yeni Kayıt Açılamaz !"_w);
    return;
  }
  NoRecordShown = false;
  Entry.beginNewEntry();
  SearchMode = false;
  emptyEntryBoxes();
  Caption = " " KV_PROGRAM_TITLE "  BETA [ Yeni Kayıt ]"_w;
  bilKod.SetFocus();
}

void frmKalvor::bilKod_Change() { Entry.codeTyped(); }

void frmKalvor::cmdKayitla_Click() {
  if (SearchMode) {
    Beep();
    bilKod.SetFocus();
    return;
  }
  if (!Entry.newEntry()) Caption = " " KV_PROGRAM_TITLE "  BETA"_w;
  if (NoRecordShown) {
    Beep();
    bilKod.SetFocus();
    return;
  }
  Beep();
  checkAndSave();
  bilKod.SetFocus();
}

// The save button and a click on the window during an entry: the boxes saved, then the record shown as it
// now lies in the file.
void frmKalvor::checkAndSave() {
  const bool isNew = Entry.newEntry();
  const Saved saved = saveBoxes();
  if (saved == Saved::Yes && isNew) cmdSonraki.Enabled = false;  // the new record is the last one
  // After the pointer message the record is shown as it is stored; a refusal keeps what was typed.
  if (saved == Saved::Yes || saved == Saved::PointerError) ShowRecord();
}

// Every way of saving goes through here, a new entry saved on leaving it included: the code check, and a
// changed code confirmed, before SaveRecord. An edit whose code is another record's, or whose change of
// code the user declines, is discarded: the record comes back as it is stored.
frmKalvor::Saved frmKalvor::saveBoxes() {
  SaveCheck check;
  {
    BusyPointer busy(*this);
    check = Entry.check(Products, bilKod.Text(), selectedTab(), RecordShown);
  }
  if (check.kind == SaveCheck::Kind::Refused) {
    tellRefusal(check.refusal);
    if (check.refusal == SaveRefusal::CodeOfAnother) ShowRecord();
    return Saved::Refused;
  }
  if (check.kind == SaveCheck::Kind::CodeChange) {
    Beep();
    if (MsgBox("Kod alanında değişiklik yapmak istediğinize eminmisiniz?..."_w, MsgButtons::YesNo, MsgIcon::Question,
               KV_PROGRAM_TITLE) != MsgAnswer::Yes) {
      ShowRecord();
      return Saved::Refused;
    }
  }
  return SaveRecord();
}

// Writes the boxes into record CurrentRecordNumber, or appends a new record; the product file keeps the
// chain in step. Refused: nothing written, the window keeps what was typed.
frmKalvor::Saved frmKalvor::SaveRecord() {
  const EntryRecord record =
      Entry.build(Products, typedBoxes(), selectedTab(), RecordShown, KALVOR3.StaticDate);
  if (record.refusal != SaveRefusal::None) {
    tellRefusal(record.refusal);
    return Saved::Refused;
  }
  BusyPointer busy(*this);
  RecordShown = record.number;
  if (Entry.write(Products, record, this) == ProductFile::SaveResult::PointerError) return Saved::PointerError;
  busy.restore();
  KeepTitle = true;
  Caption = " Kayıt yapıldı...  Kayıt Numarası :"_w + recordNumberText(record.number);
  return Saved::Yes;
}

// Why a save was refused, in the window's words; a code of blanks alone is no code, and nothing is said.
void frmKalvor::tellRefusal(SaveRefusal why) {
  auto refuse = [this](const std::string& text, const std::string& title) {
    Beep();
    MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, title);
  };
  switch (why) {
    case SaveRefusal::None:
    case SaveRefusal::NoCode: break;
    case SaveRefusal::AllTab:
      refuse("'Tümü' sekmesinde çalışırken kayıt yapılamaz. İlgili sekmeyi seçtikten sonra kayıt yapın."_w,
             "! DİKKAT ! Bu sekme ile Kayıt Yapılamaz !"_w);
      break;
    case SaveRefusal::ChainLocked: showLockedSearch(); break;
    case SaveRefusal::CodeTaken: refuse("Girdiğiniz mal kodu kayıtlıdır!..."_w, "! YENİ KAYIT HATASI !"_w); break;
    case SaveRefusal::CodeOfAnother:
      refuse("Girdiğiniz kod kayıtlı olduğu için yaptığınız değişiklik iptal edilecek!..."_w, "! DÜZELTME HATASI !"_w);
      break;
    case SaveRefusal::NoSuchRecord:
      refuse("Geçersiz kayıt olduğundan, değişikler işlenemedi!..."_w, "! DÜZELTME HATASI !"_w);
      break;
    case SaveRefusal::FileFull:
      refuse("Data dosyası en fazla 32767 kayıt alabilir!...  Yeni kayıt yapılamadı..."_w, "! YENİ KAYIT HATASI !"_w);
      break;
    case SaveRefusal::CostTooLarge:
    case SaveRefusal::CoefficientTooLarge: {
      // The entry stays as typed, with the focus in the box to mend.
      const bool cost = why == SaveRefusal::CostTooLarge;
      refuse((cost ? "Maliyet"_w : "Katsayı"_w) + " alanına girilen sayı çok büyük!...  Kayıt yapılamadı..."_w,
             "! GİRİŞ HATASI !"_w);
      (cost ? bilMaliyet : bilKatsayi).SetFocus();
      break;
    }
  }
}

// The question of a command that leaves a new entry with a code. A "Yes" is checked as the save button
// checks it. Returns false when the command must be abandoned: the save was refused, and the entry stays
// as typed.
bool frmKalvor::askToSavePendingEntry(const std::string& title) {
  if (MsgBox("Yeni giriş tamamlanmadı!  Kayıtlansınmı?"_w, MsgButtons::YesNo, MsgIcon::Question, title) !=
      MsgAnswer::Yes)
    return true;
  return saveBoxes() == Saved::Yes;
}

}  // namespace kv
