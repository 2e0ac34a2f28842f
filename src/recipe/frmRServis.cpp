#include "recipe/frmRServis.h"

#include "base/program_title.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "recipe/definition_workbook.h"
#include "recipe/recipe_files.h"
#include "records/kalvor3.h"
#include "records/recipe_record.h"
#include "sheet/workbook_messages.h"

namespace kv {

using namespace ui;

namespace {
const char* const kImportWorkbook = "KLVR952.XLS";
// The window's title, which an export or import puts back.
const char* const kTitle = " " KV_PROGRAM_TITLE "  ANALİZ";
}  // namespace

frmRServis::frmRServis() {
  Caption = w(kTitle);
  KeyPreview = true;
  moveTwips(*this, 0, 0, 4935, 4950);
  struct Button {
    CommandButton* button;
    const char* caption;
    const char* toolTip;
    int top;
  };
  const Button buttons[] = {
      {&cmdTarih, "Tarih Değiştirme", "Reçete/Liste  işlem tarihini değiştirme", 240},
      {&cmdRTanim, "Reçete Tanımlarını Yenileme", "REC dosyasını yeniden oluşturma", 720},
      {&cmdLTanim, "Liste Tanımlarını Yenileme", "LTD dosyasını yeniden oluşturma", 1200},
      {&cmdADMaliyet, "Ana Dosya Reçete Maliyetlerini Yenileme", "DAT dosyası reçete maliyetlerini yenileme", 1680},
      {&cmdRecExport, "Reçete Tanımlarını Excel'e Aktarma", "XLS dosyasına export", 2280},
      {&cmdRecImport, "Reçete Tanımlarını Excel'den Yükleme", "KLVR952.XLS dosyasından import", 2760},
      {&cmdLtdExport, "Liste Tanımlarını Excel'e Aktarma", "XLS dosyasına export", 3240},
      {&cmdLtdImport, "Liste Tanımlarını Excel'den Yükleme", "KLVR952.XLS dosyasından import", 3720},
      {&cmdExit, "Çıkış", "Reçete/Liste servis menüsünden çıkış", 4320},
  };
  for (const Button& b : buttons) {
    moveTwips(*b.button, 240, b.top, 4455, 375);
    b.button->Caption = w(b.caption);
    b.button->ToolTipText = w(b.toolTip);
  }
  cmdTarih.Click = [this] { cmdTarih_Click(); };
  cmdRTanim.Click = [this] { cmdRTanim_Click(); };
  cmdLTanim.Click = [this] { cmdLTanim_Click(); };
  cmdADMaliyet.Click = [this] { cmdADMaliyet_Click(); };
  cmdRecExport.Click = [this] { cmdRecExport_Click(); };
  cmdLtdExport.Click = [this] { cmdLtdExport_Click(); };
  cmdRecImport.Click = [this] { cmdRecImport_Click(); };
  cmdLtdImport.Click = [this] { cmdLtdImport_Click(); };
  cmdExit.Click = [this] { cmdExit_Click(); };
  closeBoxRuns([this] { cmdExit_Click(); });
}

void frmRServis::Form_Load() { centreOnScreen(*this); }

namespace {

// A definition file counts when the folder holds it under exactly its name and it holds a whole line.
bool holdsDefinitions(bool listMode) {
  const std::string name = companyFileName(KALVOR3.CompanyName, definitionStore(listMode));
  return listedUnderExactName(name) && fileLengthByName(name) >= RecipeRecord::Length;
}

}  // namespace

// Only ever disables: every showing starts with all buttons as designed.
void frmRServis::Form_Activate() {
  if (!holdsDefinitions(false)) {
    cmdRTanim.Enabled = false;
    cmdADMaliyet.Enabled = false;
    cmdRecExport.Enabled = false;
  }
  if (!holdsDefinitions(true)) {
    cmdLTanim.Enabled = false;
    cmdLtdExport.Enabled = false;
  }
  // The name must be the workbook's exactly, letter case included.
  if (!listedUnderExactName(kImportWorkbook)) {
    cmdRecImport.Enabled = false;
    cmdLtdImport.Enabled = false;
  }
}

// Key preview: every key reaches the dispatcher, whichever button has the focus.
void frmRServis::Form_KeyDown(int& KeyCode, int Shift) {
  (void)Shift;
  HandleFunctionKey(KeyCode);
}

void frmRServis::HandleFunctionKey(int KeyCode) {
  // A command whose button is disabled answers its key with a beep.
  auto ifEnabled = [this](CommandButton& button, void (frmRServis::*command)()) {
    if (button.Enabled())
      (this->*command)();
    else
      Beep();
  };
  switch (KeyCode) {
    case Key::F1: cmdTarih_Click(); break;
    case Key::F2: ifEnabled(cmdRTanim, &frmRServis::cmdRTanim_Click); break;
    case Key::F3: ifEnabled(cmdLTanim, &frmRServis::cmdLTanim_Click); break;
    case Key::F4: ifEnabled(cmdADMaliyet, &frmRServis::cmdADMaliyet_Click); break;
    case Key::F5: ifEnabled(cmdRecExport, &frmRServis::cmdRecExport_Click); break;
    case Key::F6: ifEnabled(cmdLtdExport, &frmRServis::cmdLtdExport_Click); break;
    case Key::F7: ifEnabled(cmdRecImport, &frmRServis::cmdRecImport_Click); break;
    case Key::F8: ifEnabled(cmdLtdImport, &frmRServis::cmdLtdImport_Click); break;
    case Key::F10:
      Beep();
      MsgBox("F1 = Tarih Değiştirme...\rF2 = Reçete Tanımlarını Yenileme...\rF3 = Liste Tanımlarını Yenileme...\r"
             "F4 = Ana Dosya Reçete Maliyetlerini Yenileme...\r\rF5 = Reçete Tanımlarını XLS Dosyasına Aktarma...\r"
             "F6 = Liste Tanımlarını XLS Dosyasına Aktarma...\rF7 = Reçete Tanımlarını KLVR952.XLS Dosyasından "
             "Yükleme...\rF8 = Liste Tanımlarını KLVR952.XLS Dosyasından Yükleme...\r\rF10 = Tuş Yardımı...\r\r"
             "ESC = Çıkış..."_w);
      break;
    case Key::Escape: cmdExit_Click(); break;
    default: break;
  }
}

// The job is left for the analysis window, which runs it when it is shown again.
void frmRServis::leaveFor(RecipeServiceJob request, const char* next) {
  KALVOR3.ServiceRequest = request;
  Unload();
  forms().show(next);
}

// The date dialog then edits the recipe date and goes back to the analysis window.
void frmRServis::cmdTarih_Click() {
  KALVOR3.DateFromOperations = false;
  leaveFor(RecipeServiceJob::RecipeDateChanged, "frmTarih");
}
void frmRServis::cmdRTanim_Click() { leaveFor(RecipeServiceJob::RebuildRecipes, "frmAnaliz"); }
void frmRServis::cmdLTanim_Click() { leaveFor(RecipeServiceJob::RebuildListDefinitions, "frmAnaliz"); }
void frmRServis::cmdADMaliyet_Click() { leaveFor(RecipeServiceJob::RefreshRecipeCosts, "frmAnaliz"); }
void frmRServis::cmdExit_Click() { leaveFor(RecipeServiceJob::None, "frmAnaliz"); }

void frmRServis::cmdRecExport_Click() { askToExport(false); }
void frmRServis::cmdLtdExport_Click() { askToExport(true); }
void frmRServis::cmdRecImport_Click() { askToImport(false); }
void frmRServis::cmdLtdImport_Click() { askToImport(true); }

// Each exchange asks first, after a beep; any answer but Yes changes nothing.
bool frmRServis::confirmed(bool listMode, const char* question, const char* title) {
  Beep();
  return MsgBox(companyFileName(KALVOR3.CompanyName, definitionStore(listMode)) + w(question), MsgButtons::YesNo, MsgIcon::Question,
                w(title)) == MsgAnswer::Yes;
}

void frmRServis::askToExport(bool listMode) {
  if (!confirmed(listMode, " dosyasındaki kayıtları Excel dosyasına aktarmak istiyormusunuz?", "EXCEL'e Export"))
    return;
  Caption = " EXCEL'e aktarma yapılıyor..."_w;
  ListMode = listMode;
  ExportDefinitionsToExcel();
  Caption = w(kTitle);
}

void frmRServis::askToImport(bool listMode) {
  if (!confirmed(listMode, " dosyasındaki kayıtları Excel'den yenilemek istiyormusunuz?", "EXCEL'den Import"))
    return;
  ListMode = listMode;
  ImportDefinitionsFromExcel();
}

void frmRServis::ExportDefinitionsToExcel() {
  Beep();
  const bool listMode = ListMode;
  if (definitionLineCount(KALVOR3.CompanyName, listMode) < 1) {
    tell(*this, sheet::nothingToExportMessage(), MsgIcon::Stop);
    return;
  }
  sheet::exportAndTell(*this, [this, listMode] {
    BusyPointer busy(*this);
    return exportDefinitionWorkbook(KALVOR3.CompanyName, listMode);
  });
}

// The workbook is read and checked whole before the store is touched: a workbook that cannot be read or is
// laid out otherwise leaves the store as it was and says why.
void frmRServis::ImportDefinitionsFromExcel() {
  Beep();
  const std::string& company = KALVOR3.CompanyName;
  const bool listMode = ListMode;
  if (definitionLineCount(company, listMode) >= 1) {
    const std::string store = companyFileName(company, definitionStore(listMode));
    const std::string backup = backupFileName(definitionStore(listMode));
    const char* what = listMode ? "liste" : "reçete";
    const std::string text =
        "Microsoft Excel'den alınacak kayıtlar "_w + store +
        " dosyasına kayıtlanacak; kayıt formatının yanlış olması durumunda, hatalı kayıt yapılmış olacak. (Doğru "
        "kayıt formatı EXCEL'e aktar komutuyla elde edilen EXCEL dosyasının sütun, sayı-yazı formatıdır.) EXCEL "
        "dosyasında bu programla ilgili, uyumsuz ve hatalı format kullanılması durumunda, program doğru "
        "çalışmayabilir ve data kaybı olur.\r\rKALVOR 952 programı "_w +
        w(what) + " tanım dosyasının yenilemeden önceki halinin kopyesini '"_w + backup +
        "' olarak kaydedecek. Bu dosyanın adını "_w + store +
        " olarak değiştirirseniz, dosyaları kurtarmış olursunuz; veya Excel dosyasından yüklenen yeni dosyayı "
        "kullanabilirsiniz.\r\rExcel'den yükleme işlemine devam etmek istiyormusunuz?"_w;
    const std::string title = "! DİKKAT ! EXCEL'den alınan kayıt "_w + company +
                              (listMode ? " liste"_w : " reçete"_w) + " tanımları dosyasını değiştirecek..."_w;
    if (MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, title) != MsgAnswer::Yes) return;
  }

  BusyPointer busy(*this);
  const DefinitionWorkbook book = readDefinitionWorkbook(kImportWorkbook);
  if (book.problem != sheet::ImportProblem::None) {
    busy.restore();
    sheet::tellImportProblem(*this, book.problem, kImportWorkbook, book.readerPlaces);
    return;
  }
  const std::optional<FileError> failure = importDefinitionLines(company, listMode, book.lines);
  busy.restore();
  Caption = w(kTitle);
  if (failure) tellFileError(*this, *failure);
}

}  // namespace kv
