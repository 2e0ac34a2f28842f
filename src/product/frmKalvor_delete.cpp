// Deleting a product: the record keeps its place with Kind -1 and leaves its bucket and the chain.
#include "base/program_title.h"
#include "product/frmKalvor.h"

namespace kv {

using namespace ui;

void frmKalvor::refuseDelete() {
  MsgBox("Geçerli kayıt olmadığından silinemedi..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "SİLME HATASI !"_w);
  bilKod.SetFocus();
  Entry.endEditing();
}

void frmKalvor::cmdSil_Click() {
  Beep();
  if (NoRecordShown) {
    bilKod.SetFocus();
    return;
  }
  if (Entry.newEntry()) {
    ShowRecord();
    bilKod.SetFocus();
    return;
  }
  std::int16_t& current = RecordShown;
  if (current < 1 || current > Products.count()) {
    refuseDelete();
    return;
  }
  const ProductRecord stored = Products.read(current);
  MsgAnswer answer =
      stored.RecipeNumber > 0
          ? MsgBox("Silmek istediğiniz kayıt reçetesi olan bir kayıt!...\r\rBu kayıt silinirse reçetesine "
                   "erişilemez!...\r\rSilinmesi gerektiğine eminmisiniz?..."_w,
                   MsgButtons::YesNo, MsgIcon::Question, "! DİKKAT !"_w)
          : MsgBox("Bu kayıt silinsin mi?"_w, MsgButtons::YesNo, MsgIcon::Question, KV_PROGRAM_TITLE);
  if (answer != MsgAnswer::Yes) {
    Caption = " " KV_PROGRAM_TITLE " BETA"_w;
    Entry.endEditing();
    bilKod.SetFocus();
    return;
  }
  BusyPointer busy(*this);
  const ProductFile::DeleteResult result = Products.remove(current, this);
  busy.restore();
  if (result == ProductFile::DeleteResult::NotLinked) {
    Beep();
    refuseDelete();
    return;
  }
  emptyEntryBoxes();
  if (result == ProductFile::DeleteResult::PointerError) return;
  if (current == Products.count()) Direction = -1;
  current = static_cast<std::int16_t>(current + Direction);
  ShowRecord();
  bilKod.SetFocus();
}

}  // namespace kv
