// Deleting a product: the record keeps its place with Kind -1 and leaves its bucket and the chain.
#include "common/alphabetic_chain.h"
#include "common/collation.h"
#include "common/files.h"
#include "common/kalvor3.h"
#include "product/frmKalvor.h"

namespace kv {

using namespace ui;

void frmKalvor::refuseDelete() {
  MsgBox("Geçerli kayıt olmadığından silinemedi..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "SİLME HATASI !"_w);
  bilKod.SetFocus();
  CodeChanged = false;
}

void frmKalvor::cmdSil_Click() {
  Beep();
  if (KALVOR3.NoRecordShown) {
    bilKod.SetFocus();
    return;
  }
  if (NewEntry) {
    ShowRecord();
    bilKod.SetFocus();
    return;
  }
  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (current < 1 || current > RecordCount) {
    refuseDelete();
    return;
  }
  ProductRecord stored = get<ProductRecord>(KALVOR3.ProductFileNumber, current);
  MsgAnswer answer =
      stored.RecipeNumber > 0
          ? MsgBox("Silmek istediğiniz kayıt reçetesi olan bir kayıt!...\r\rBu kayıt silinirse reçetesine "
                   "erişilemez!...\r\rSilinmesi gerektiğine eminmisiniz?..."_w,
                   MsgButtons::YesNo, MsgIcon::Question, "! DİKKAT !"_w)
          : MsgBox("Bu kayıt silinsin mi?"_w, MsgButtons::YesNo, MsgIcon::Question, "KALVOR 952 Uyarlama 3.0"_w);
  if (answer != MsgAnswer::Yes) {
    Caption = " KALVOR 952 Uyarlama 3.0 BETA"_w;
    NewEntry = false;
    CodeChanged = false;
    bilKod.SetFocus();
    return;
  }
  // A record out of the chain (both pointers 0) is marked deleted as it stands: either its code has no place
  // in the collation, or an insertion left it out. Only one pointer at 0 is damage the service must mend.
  const bool outOfChain = stored.ChainPrev == 0 && stored.ChainNext == 0;
  if (!outOfChain && (stored.ChainPrev == 0 || stored.ChainNext == 0)) {
    Beep();
    refuseDelete();
    return;
  }
  emptyEntryBoxes();
  MousePointer = Pointer::Hourglass;
  if (outOfChain) {
    stored.Kind = -1;
    put(KALVOR3.ProductFileNumber, current, stored);
  } else if (unlinkFromAlphabeticIndex({KALVOR3.ProductFileNumber, KALVOR3.IndexFileNumber, ChainKey::Code}, current,
                                       UnlinkVariant::Delete, this) == UnlinkResult::PointerError) {
    MousePointer = Pointer::Default;
    return;
  }
  MousePointer = Pointer::Default;
  if (current == RecordCount) Direction = -1;
  current = static_cast<std::int16_t>(current + Direction);
  ShowRecord();
  bilKod.SetFocus();
}

}  // namespace kv
