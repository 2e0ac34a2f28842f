#include <optional>

#include "base/program_title.h"
#include "print/print_job.h"
#include "recipe/frmRecete.h"
#include "recipe/recipe_titles.h"
#include "records/kalvor3.h"
#include "reports/report_preparation.h"
#include "reports/report_printer.h"

namespace kv {

using namespace ui;

// F2 and "Yazdır": the report asked for, of the product being edited. The working copy goes back into the
// store first, so that the store holds the chain being edited (editing goes on); only the lines it wrote
// back are reported. A build that fails leaves its failure in the title and prints nothing.
void frmRecete::cmdPrint_Click() {
  Beep();
  if (Session.lineCount < 1) return;
  const std::string title = KV_PROGRAM_TITLE " PRİNTER"_w;
  const MsgAnswer withCosts =
      MsgBox("Yazdırmak istediğiniz liste 'Maliyet Listesi' mi?"_w, MsgButtons::YesNoCancel, MsgIcon::Question, title);
  if (withCosts == MsgAnswer::Cancel) return;
  const std::int32_t lines = Session.WriteBackRecipeLines();
  const bool totalConsumption =
      !Session.job.ListMode &&
      MsgBox("Toplam sarf listesi mi olsun?...", MsgButtons::YesNo, MsgIcon::Question, title) == MsgAnswer::Yes;
  const ReportKind kind = reportKind(withCosts == MsgAnswer::Yes, Session.job.ListMode, totalConsumption);
  if (lines > 0) {
    // From the store the chain was just written into; a list reads the editor's own working copy.
    const ReportPreparationInput input{Products, Session.job.ActiveRecordNumber, RecipeDate,
                                       {&Session.store, Session.storeCount()}};
    LevelBuildTitles tree(*this);
    TotalConsumptionTitles consumption(*this, false);
    ListWorkingCopyReport noList;
    const PreparedReport prepared = prepareReportFile(kind, input, *this, {tree, consumption, noList});
    if (prepared == PreparedReport::Failed) return;
    if (prepared == PreparedReport::Lines) printReport(kind, lines);
  }
  Caption = " " KV_PROGRAM_TITLE " BETA";
  cmdPrint.Enabled = true;
}

// Headed by the product as the editor shows it. A list kind reads the editor's own working copy, which
// stays open; a level kind the level file just built. A printer that fails may be tried again, the report
// from its first page, or given up.
void frmRecete::printReport(ReportKind kind, std::int32_t lines) {
  EnabledAgain again{cmdPrint};
  CaptionOnFailure title{*this, " " KV_PROGRAM_TITLE " BETA"};
  const std::optional<PrintedReport> done = print::printJob(
      reportDocumentName(kind, LblAnaKod.Caption()),
      [&](print::Printer& printer) {
        Caption = reportCaption(kind);
        cmdPrint.Enabled = false;
        DateText = DateToTurkishText(KALVOR3.StaticDate);
        const ReportHeader header{DateText, LblAnaKod.Caption(), LblAnaAd.Caption()};
        return isList(kind) ? printListReport(printer, kind, Session.workingCopy, lines, header)
                            : printRecipeReport(printer, kind, Session.company(), header);
      },
      print::PrinterFailureChoice::RetryOrCancel, *this);
  if (done) print::tellWhereDocumentWent(done->document, "rapor", KV_PROGRAM_TITLE, *this);
}

}  // namespace kv
