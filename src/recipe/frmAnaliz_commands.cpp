// The analysis window's commands: the search by code, the cost roll-up, the hand-overs to the report
// dialog and the recipe service, the jobs the recipe service leaves, the key help and the exit.
#include "base/program_title.h"
#include "files/file_error_message.h"
#include "recipe/cost_refresh.h"
#include "recipe/definition_rebuild.h"
#include "recipe/frmAnaliz.h"
#include "recipe/level_build.h"
#include "recipe/recipe_titles.h"
#include "recipe/working_copy.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

std::string frmAnaliz::typedCode() const { return trim(txtKod.Text()); }

// The commands that work on "the shown product" need the code box to still name record `record`: a code
// edited after the product was shown names no product.
bool frmAnaliz::typedCodeIsShownProduct(std::int16_t record) {
  if (record < 1 || record > Products.count()) return false;
  const std::string code = typedCode();
  return !code.empty() && code == trim(Products.read(record).Code.view());
}

// ---- Search ----

void frmAnaliz::txtKod_KeyPress(int& KeyAscii) {
  if (KeyAscii != Key::Enter || !SearchMode || typedCode().empty()) return;
  FindProductByCode();
  txtKod.SetFocus();
}

// The first press empties the window for a code; the second (or Enter) looks the code up.
void frmAnaliz::cmdAraBul_Click() {
  if (!SearchMode) {
    Beep();
    SearchMode = true;
    ClearProductDisplay();
  } else if (!typedCode().empty()) {
    FindProductByCode();
  } else {
    Beep();
    ShowProduct();
  }
  txtKod.SetFocus();
}

// The first live product in code order whose code begins with the typed text. Nothing found, the window
// shows the record where the walk stopped (the file's last record when that is none).
void frmAnaliz::FindProductByCode() {
  BusyPointer busy(*this);
  const CodeSearchResult found = Products.findByCode(upperCase(typedCode()), CodeMatch::Prefix,
                                                     [](const ProductRecord& r) { return r.Kind >= 0; });
  busy.restore();
  switch (found.status) {
    case CodeSearchResult::Status::Locked:
      Beep();
      MsgBox(codeSearchLockedText(), MsgButtons::Ok, MsgIcon::Exclamation, codeSearchLockedTitle());
      return;  // the search goes on
    case CodeSearchResult::Status::Found: CurrentRecord = found.record; break;
    case CodeSearchResult::Status::NotFound:
      Beep();
      MsgBox("Aranan kayıt bulunamadı!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, KV_PROGRAM_TITLE);
      CurrentRecord = found.leftAt;
      break;
  }
  ShowProduct();
}

// ---- Costing ----

// F5: the shown product's tree into the level file, its cost and date into its record.
void frmAnaliz::cmdHesap_Click() {
  Beep();
  if (typedCode().empty()) return;
  // Not run twice at once; the button comes back as the activation left it.
  const bool wasEnabled = cmdHesap.Enabled();
  cmdHesap.Enabled = false;
  if (CurrentRecord != 0) {
    ActiveRecordNumber = CurrentRecord;
    AnalysisLevelTitles titles(*this, *this);
    BuildLevelFile({Products, CurrentRecord, KALVOR3.RecipeDate}, levelBuildFromRecipeFile(), *this, titles);
  } else {
    MsgBox("Kayıt açılamadığı için işlem iptal edildi!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "! HATA !");
  }
  cmdHesap.Enabled = wasEnabled;
  ShowProduct();
}

// The refresh steps the window through the file: each product is shown (and made the active one) as it is
// costed, the cost command rests meanwhile, and the window comes back to the product it showed before,
// then tells the file that failed, if one did.
void frmAnaliz::refreshAllRecipeCosts() {
  class Shown : public CostRefreshReport {
   public:
    explicit Shown(frmAnaliz& window) : window_(window) {}
    void started() override { window_.cmdHesap.Enabled = false; }
    void costing(std::int16_t record) override {
      window_.Caption = costRefreshTitle(record);
      window_.CurrentRecord = record;
      window_.ShowProduct();
    }
    void ended() override { window_.cmdHesap.Enabled = true; }

   private:
    frmAnaliz& window_;
  };
  const std::int16_t kept = CurrentRecord;
  Shown shown(*this);
  AnalysisLevelTitles builds(*this, *this);
  const std::optional<FileError> failure = RefreshAllRecipeCosts(Products, KALVOR3.RecipeDate, shown, builds, *this);
  CurrentRecord = kept;
  ShowProduct();
  if (failure) tellFileError(*this, *failure);
}

// ---- The jobs of the recipe service ----

bool frmAnaliz::confirmServiceJob(const std::string& text, const std::string& title) {
  return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, title) == MsgAnswer::Yes;
}

// The recipe service leaves its job here. It is cleared first, so that No drops it for good.
void frmAnaliz::handleServiceRequest() {
  const RecipeServiceJob request = KALVOR3.ServiceRequest;
  KALVOR3.ServiceRequest = RecipeServiceJob::None;
  const std::string& company = Products.company();
  auto rebuildQuestion = [](const std::string& which) {
    return "Ana dosyada kayıtlı olmayan "_w + which +
           " tanımları silinecek ve diğer tanımlar yeniden oluşturulacak...\r\rDevam etmek istiyormusunuz?..."_w;
  };
  switch (request) {
    case RecipeServiceJob::RebuildRecipes:
      if (confirmServiceJob(rebuildQuestion("reçete"_w), company + ".REC Yenileme"_w)) {
        RebuildTitles titles(*this, RecipeFileKind::Recipes, company);
        RebuildRecipeFile(Products, *this, titles);
      }
      break;
    case RecipeServiceJob::RebuildListDefinitions:
      if (confirmServiceJob(rebuildQuestion("liste"_w), company + ".LTD Yenileme"_w)) {
        RebuildTitles titles(*this, RecipeFileKind::ListDefinitions, company);
        RebuildListDefinitionFile(Products, *this, titles);
      }
      break;
    case RecipeServiceJob::RefreshRecipeCosts:
      if (confirmServiceJob("Ana dosyanın reçetesi olan tüm kayıtlarının reçete maliyetleri yenilenecek...\r\r"
                            "İşlem uzun sürebilir...\r\rDevam etmek istiyormusunuz?..."_w,
                            "Reçete Maliyetlerinin Yenilenmesi"_w))
        refreshAllRecipeCosts();
      break;
    case RecipeServiceJob::None:
    case RecipeServiceJob::RecipeDateChanged: break;
  }
}

// ---- Hand-overs ----

void frmAnaliz::cmdRecete_Click() { openEditor(false); }
void frmAnaliz::cmdListe_Click() { openEditor(true); }

// F2 and F3: the shown product's recipe or list definition copied out for the editor. The product the
// window last showed must still be the one named in the code box.
void frmAnaliz::openEditor(bool listMode) {
  if (!Products.isOpen()) return;
  if (!typedCodeIsShownProduct(ActiveRecordNumber)) {
    if (!listMode) txtKod.SetFocus();
    return;
  }
  ActiveRecordNumber = CurrentRecord;
  const WorkingCopyInput input{Products, CurrentRecord, listMode};
  WorkingCopyTitles titles(*this);
  const WorkingCopyResult copy = PrepareWorkingCopy(input, *this, titles);
  KALVOR3.Job = recipeJob(input, copy);
  if (copy.outcome == WorkingCopyOutcome::Failed) return;  // it has said so; the editor is not opened
  Products.recount();
  Hide();
  Beep();
  forms().show("frmRecete");
}

// F4: the report dialog on the shown product.
void frmAnaliz::cmdPrint_Click() {
  ActiveRecordNumber = CurrentRecord;
  if (!typedCodeIsShownProduct(CurrentRecord)) {
    txtKod.SetFocus();
    return;
  }
  const ProductRecord shown = Products.read(CurrentRecord);
  KALVOR3.Report = {CurrentRecord, shown.Code.str(), shown.Name.str()};
  Hide();
  Beep();
  forms().show("frmRDizgi");
}

// F6: the recipe service, whose job this window runs when it comes back.
void frmAnaliz::cmdServis_Click() {
  ActivationPending = true;
  Hide();
  Beep();
  forms().show("frmRServis");
}

void frmAnaliz::cmdYardim_Click() {
  Beep();
  MsgBox("FONKSİYON TUŞLARI: \r\rF1    =  Arama\rF2    =  Reçete\rF3    =  Liste\rF4    =  Yazdır\r"
         "F5    =  Hesaplat (Maliyetlendir)\rF6    =  Servis\rF10  =  Yardım\rESC =  Çıkış (Vazgeç)\r\r"
         "AÇIKLAMA: Programın bu bölümü reçete (ürün ağacı) ve liste hazırlamak için kullanılır."_w,
         MsgButtons::Ok, MsgIcon::None, analysisTitle());
  txtKod.SetFocus();
}

// Unloading closes the product file and the index; the main window opens them again when it loads.
void frmAnaliz::cmdCikis_Click() {
  Unload();
  forms().show("frmKalvor");
}

}  // namespace kv
