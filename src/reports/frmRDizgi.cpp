#include "reports/frmRDizgi.h"

#include <initializer_list>
#include <optional>

#include "base/program_title.h"
#include "files/files.h"
#include "print/print_job.h"
#include "recipe/recipe_titles.h"
#include "records/kalvor3.h"
#include "records/product_record.h"
#include "reports/report_preparation.h"
#include "reports/report_printer.h"
#include "reports/report_titles.h"
#include "reports/report_workbook.h"
#include "sheet/workbook_messages.h"

namespace kv {

using namespace ui;

namespace {
const std::string kNothingToList = "Listelenecek kayıt olmadığından, liste işlemi iptal edildi!..."_w;
const std::string kNothingToExport = "Listelenecek kayıt olmadığından, listenin Excel'e export iptal edildi!..."_w;
}  // namespace

frmRDizgi::frmRDizgi() {
  layOut();
  wireEvents();
}

// Only the two buttons and the screen and printer options hand their keys to the dispatcher; with the
// focus anywhere else the function keys do nothing, as in the original dialog.
void frmRDizgi::wireEvents() {
  for (Control* c : std::initializer_list<Control*>{&cmdPrint, &cmdVazgec, &OptEkran, &OptYazici})
    c->KeyDown = [this](int& k, int) {
      int copy = k;
      HandleDialogKey(copy);
    };
  OptRecete.Click = [this] { OptRecete_Click(); };
  OptListe.Click = [this] { OptListe_Click(); };
  chkTSarf.Click = [this] { chkTSarf_Click(); };
  cmdPrint.Click = [this] { cmdPrint_Click(); };
  cmdVazgec.Click = [this] { cmdVazgec_Click(); };
  closeBoxRuns([this] { cmdVazgec_Click(); });
}

void frmRDizgi::layOut() {
  Caption = " " KV_PROGRAM_TITLE "  BETA"_w;
  Move(0, 0, 420, 196);
  FrameRecete.Move(12, 8, 190, 60);
  OptRecete.Move(10, 22, 80, 24);
  OptRecete.Caption = "Reçete"_w;
  OptListe.Move(100, 22, 80, 24);
  OptListe.Caption = "Liste";
  FrameListe.Move(12, 76, 396, 60);
  int x = 10;
  for (auto [option, caption] : {std::pair{&OptEkran, "Ekrana"}, std::pair{&OptYazici, "Yazıcıya"},
                                 std::pair{&optXLS, "Excel'e"}}) {
    option->Move(x, 22, 110, 24);
    option->Caption = w(caption);
    x += 128;
  }
  FrameFiltre.Move(214, 8, 194, 60);
  chkMaliyet.Move(10, 22, 84, 24);
  chkMaliyet.Caption = "Maliyet";
  chkTSarf.Move(96, 22, 94, 24);
  chkTSarf.Caption = "Toplam Sarf";
  cmdPrint.Move(12, 148, 120, 34);
  cmdPrint.Caption = "Yazdır"_w;
  cmdVazgec.Move(288, 148, 120, 34);
  cmdVazgec.Caption = "Çıkış"_w;
  // The print command first in the tab order, so that it has the focus when the dialog opens.
  int tab = 0;
  for (Control* c : std::initializer_list<Control*>{&cmdPrint, &cmdVazgec, &OptRecete, &OptListe, &OptEkran, &OptYazici,
                                                    &optXLS, &chkMaliyet, &chkTSarf})
    c->TabIndex = tab++;
  // The choices every load starts from, set before the click handlers are wired: the recipe, on the
  // screen, with costs, as total consumption.
  OptRecete.Value = true;
  OptEkran.Value = true;
  chkMaliyet.Value = 1;
  chkTSarf.Value = 1;
}

void frmRDizgi::Form_Load() {
  centreOnScreen(*this);
  Products.open(KALVOR3.CompanyName, ProductFile::IndexRule::Leave);
  Report = KALVOR3.Report;
  ListMode = false;
}

void frmRDizgi::Form_Activate() { Caption = " Kalvor Kodu= "_w + Report.ReportProductCode; }

// Choosing from a key runs the option's or the box's click handler, as a click with the mouse does.
void frmRDizgi::HandleDialogKey(int KeyCode) {
  switch (KeyCode) {
    case Key::F1:
      if (OptEkran.Value())
        OptYazici.Value = true;
      else if (OptYazici.Value())
        optXLS.Value = true;
      else
        OptEkran.Value = true;
      break;
    case Key::F2:
      if (OptRecete.Value())
        OptListe.Value = true;
      else
        OptRecete.Value = true;
      break;
    case Key::F3:
      if (chkTSarf.Value() == 1) {
        chkTSarf.Value = 0;
      } else {
        OptRecete.Value = true;
        chkTSarf.Value = 1;
      }
      break;
    case Key::F4: chkMaliyet.Value = chkMaliyet.Value() == 1 ? 0 : 1; break;
    case Key::F5: cmdPrint_Click(); break;
    case Key::F10: showKeyList(); break;
    case Key::Escape: cmdVazgec_Click(); break;
    default: break;
  }
}

void frmRDizgi::showKeyList() {
  Beep();
  MsgBox("F1 = Ekran/Yazıcı/Excel Seçimi\rF2 = Reçete/Liste Seçimi\rF3 = Toplam Sarf Seçeneği\rF4 = Maliyet Seçeneği\r"
         "F5 = Yazdır\rF10 = Tuş Yardımı\r\rESC = Çıkış"_w,
         MsgButtons::Ok, MsgIcon::None, KV_PROGRAM_TITLE);
}

void frmRDizgi::OptRecete_Click() { ListMode = false; }

// The list definition has one level: total consumption means nothing for it.
void frmRDizgi::OptListe_Click() {
  ListMode = true;
  chkTSarf.Value = 0;
}

void frmRDizgi::chkTSarf_Click() {
  if (OptListe.Value()) chkTSarf.Value = 0;
}

ReportKind frmRDizgi::chosenKind() const {
  return reportKind(chkMaliyet.Value() == 1, ListMode, chkTSarf.Value() == 1);
}

void frmRDizgi::cmdPrint_Click() {
  if (OptEkran.Value()) {
    ShowReportOnScreen();
    return;
  }
  if (optXLS.Value()) {
    ExportReportToExcel();
    return;
  }
  Beep();
  if (Report.ActiveRecordNumber < 1) {
    Beep();
    MsgBox("Kayıt yazdırılamıyor!...\r\r( Aktif Kayıt Numarası = 0 )"_w, MsgButtons::Ok, MsgIcon::Exclamation,
           KV_PROGRAM_TITLE);
    return;
  }
  const ReportKind kind = chosenKind();
  const PreparedReport prepared = prepareWorkingFile(kind);
  if (prepared != PreparedReport::Lines) {
    // A preparation that failed has said so in the title; it gives no report.
    if (prepared == PreparedReport::Nothing) {
      Beep();
      MsgBox("Yazdırılacak kayıt olmadığından, yazma işlemi iptal edildi!..."_w, MsgButtons::Ok, MsgIcon::Exclamation,
             KV_PROGRAM_TITLE);
    }
    return;
  }
  printReport(kind);
}

// The screen and the workbook report the kind chosen here from its working file, built anew; the kind is
// remembered for the report window. Without an active product or without lines nothing is reported.
std::optional<ReportKind> frmRDizgi::prepareChosenReport(const std::string& nothingToList) {
  if (Report.ActiveRecordNumber < 1) {
    Beep();
    MsgBox(nothingToList, MsgButtons::Ok, MsgIcon::Exclamation, KV_PROGRAM_TITLE);
    return std::nullopt;
  }
  const ReportKind kind = chosenKind();
  Report.ReportKind = static_cast<std::int16_t>(kind);
  KALVOR3.Report = Report;
  Caption = " " KV_PROGRAM_TITLE;
  const PreparedReport prepared = prepareWorkingFile(kind);
  if (prepared == PreparedReport::Failed) return std::nullopt;  // the title tells it
  if (prepared == PreparedReport::Nothing) {
    MsgBox(nothingToList, MsgButtons::Ok, MsgIcon::Exclamation, KV_PROGRAM_TITLE);
    return std::nullopt;
  }
  return kind;
}

// This dialog goes, and comes back loaded afresh when the report window closes.
void frmRDizgi::ShowReportOnScreen() {
  if (!prepareChosenReport(kNothingToList)) return;
  forms().show("frmRList");
  Unload();
}

// The dialog stays open; every export builds its working file anew.
void frmRDizgi::ExportReportToExcel() {
  const std::optional<ReportKind> kind = prepareChosenReport(kNothingToExport);
  if (!kind) return;
  Beep();
  sheet::exportAndTell(*this, [this, &kind] {
    BusyPointer busy(*this);
    const ExportedReport done = exportRecipeReport(*kind, Products.company(), Report.ReportProductCode);
    return sheet::WrittenWorkbook(done.file, done.cut);
  });
}

// The working file of the report, built anew from the company's files; a tree that fails shows in the
// title, and the total consumption shows the program's title once its recipe is flattened.
PreparedReport frmRDizgi::prepareWorkingFile(ReportKind kind) {
  LevelBuildTitles tree(*this);
  TotalConsumptionTitles totalConsumption(*this, true);
  ListWorkingCopyTitles list(*this);
  return prepareReportFile(kind, {Products, Report.ActiveRecordNumber, KALVOR3.RecipeDate, {}}, *this,
                           {tree, totalConsumption, list});
}

// A printer that fails has aborted its document: nothing of the report remains, and the dialog says so
// instead of claiming the report printed.
void frmRDizgi::printReport(ReportKind kind) {
  Caption = reportCaption(kind);
  cmdPrint.Enabled = false;
  EnabledAgain again{cmdPrint};
  CaptionOnFailure title{*this, " " KV_PROGRAM_TITLE};
  DateText = DateToTurkishText(KALVOR3.StaticDate);
  const std::optional<PrintedReport> done = print::printJob(
      reportDocumentName(kind, Report.ReportProductCode),
      [&](print::Printer& printer) {
        return printRecipeReport(printer, kind, Products.company(),
                                 {DateText, Report.ReportProductCode, Report.ReportProductName});
      },
      print::PrinterFailureChoice::Tell, *this);
  if (!done) {
    Caption = " " KV_PROGRAM_TITLE;
    return;
  }
  Caption = "Liste yazdırıldı..."_w;
  print::tellWhereDocumentWent(done->document, "rapor", KV_PROGRAM_TITLE, *this);
}

void frmRDizgi::cmdVazgec_Click() {
  Unload();
  forms().show("frmAnaliz");
}

}  // namespace kv
