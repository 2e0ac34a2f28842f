// The report dialog: the user chooses how to report on the product the analysis window was showing (the
// list definition or the recipe, levels or total consumption, with or without costs, screen, printer or
// workbook), then produces the report or returns to the analysis window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "records/kalvor3.h"
#include "records/product_file.h"

#include "reports/report_kind.h"
#include "reports/report_preparation.h"
#include "ui/ui.h"

namespace kv {

class frmRDizgi : public ui::Form {
 public:
  frmRDizgi();

 private:
  ui::Frame FrameRecete{*this, "FrameRecete"};
  ui::OptionButton OptRecete{FrameRecete, "OptRecete"};
  ui::OptionButton OptListe{FrameRecete, "OptListe"};
  ui::Frame FrameListe{*this, "FrameListe"};
  ui::OptionButton OptEkran{FrameListe, "OptEkran"};
  ui::OptionButton OptYazici{FrameListe, "OptYazici"};
  ui::OptionButton optXLS{FrameListe, "optXLS"};
  ui::Frame FrameFiltre{*this, "FrameFiltre"};
  ui::CheckBox chkMaliyet{FrameFiltre, "chkMaliyet"};
  ui::CheckBox chkTSarf{FrameFiltre, "chkTSarf"};
  ui::CommandButton cmdPrint{*this, "cmdPrint"};
  ui::CommandButton cmdVazgec{*this, "cmdVazgec"};

  ProductFile Products;  // the dialog's own opening of the product file
  RecipeReport Report;      // the product the analysis window handed over
  bool ListMode = false;    // the list definition rather than the recipe
  std::string DateText;     // the working date that heads the printed pages

  void layOut();
  void wireEvents();
  void Form_Load() override;
  void Form_Activate() override;
  void HandleDialogKey(int KeyCode);
  void OptRecete_Click();
  void OptListe_Click();
  void chkTSarf_Click();
  void cmdPrint_Click();
  void ShowReportOnScreen();
  void ExportReportToExcel();
  std::optional<ReportKind> prepareChosenReport(const std::string& nothingToList);
  void cmdVazgec_Click();
  void showKeyList();
  ReportKind chosenKind() const;
  PreparedReport prepareWorkingFile(ReportKind kind);
  void printReport(ReportKind kind);
};

}  // namespace kv
