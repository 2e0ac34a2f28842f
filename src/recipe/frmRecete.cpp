#include "recipe/frmRecete.h"

#include "common/kalvor3.h"
#include "recipe/recipe_files.h"

namespace kv {

using namespace ui;

frmRecete::frmRecete() {
  KeyPreview = true;
  layOut();
  cmdCikis.Click = [this] { cmdCikis_Click(); };
  closeBoxRuns([this] { cmdCikis_Click(); });
}

void frmRecete::layOut() {
  Caption = " KALVOR 952 Uyarlama 3.0  BETA"_w;
  Move(0, 0, 640, 420);
  LblAnaKod.Move(16, 12, 220, 24);
  LblAnaKod.FontBold = true;
  LblAnaAd.Move(246, 12, 378, 24);
  LblTarih.Move(16, 44, 300, 24);
  int x = 16;
  for (auto [button, caption] :
       {std::pair{&cmdKayitla, "Kayıtla"}, std::pair{&cmdPrint, "Yazdır"}, std::pair{&cmdCikis, "Çıkış"}}) {
    button->Move(x, 372, 110, 34);
    button->Caption = w(caption);
    x += 120;
  }
  // The grid, its page save and the reports come with the editor's own issue; until then the editor only
  // opens the working copy and writes it back.
  cmdKayitla.Enabled = false;
  cmdPrint.Enabled = false;
}

void frmRecete::Form_Load() {
  centreOnScreen(*this);
  Products.open(KALVOR3.CompanyName, ProductFile::IndexRule::Leave);
  Session.company = KALVOR3.CompanyName;
  Session.products = &Products;
  Session.activeRecord = KALVOR3.ActiveRecordNumber;
  Session.listMode = KALVOR3.ListMode;
  Session.ownerCode = KALVOR3.OwnerCode;
  Session.ownerRandomNumber = KALVOR3.OwnerRandomNumber;
  Session.listHead = KALVOR3.ListHead;
  Session.recipeDate = KALVOR3.RecipeDate;
  Session.open();
}

void frmRecete::Form_Activate() {
  Products.recount();
  LblTarih.Caption = DateToTurkishText(Session.recipeDate);
  const std::int16_t active = Session.activeRecord;
  if (active < 1 || active > Products.count()) return;
  const ProductRecord product = Products.read(active);
  LblAnaKod.Caption = trim(product.Code.view());
  LblAnaAd.Caption = trim(product.Name.view());
}

void frmRecete::Form_KeyPress(int& KeyAscii) {
  typeOSlashForEAcute(KeyAscii);
  if (KeyAscii != Key::Escape) return;
  KeyAscii = 0;
  cmdCikis_Click();
}

// The working copy goes back into the store as a chain; an emptied one erases the product's chain. Empty
// files are not left behind.
void frmRecete::Form_Unload(int& Cancel) {
  (void)Cancel;
  const bool hadLines = Session.WriteBackRecipeLines() > 0;
  if (!hadLines) Session.EraseRecipeChain();
  const bool storeEmpty = Session.storeCount() == 0;
  const std::string copyName = Session.workingCopy.name(), storeName = Session.store.name();
  Session.workingCopy.close();
  Session.store.close();
  if (!hadLines && fileExists(copyName)) deleteFile(copyName);
  if (storeEmpty && fileExists(storeName)) deleteFile(storeName);
  Products.close();
}

void frmRecete::cmdCikis_Click() {
  Unload();
  forms().show("frmAnaliz");
}

}  // namespace kv
