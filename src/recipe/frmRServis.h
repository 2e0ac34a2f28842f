// The recipe service: the maintenance commands of the recipe side. It runs none of the jobs itself: it
// leaves the job for the analysis window (KALVOR3.ServiceRequest) and goes back to it. The workbook
// exchange of the recipe and list-definition files runs here, and the window stays open after it.
#pragma once

#include "records/kalvor3.h"
#include "ui/ui.h"

namespace kv {

class frmRServis : public ui::Form {
 public:
  frmRServis();

 private:
  ui::CommandButton cmdTarih{*this, "cmdTarih"};
  ui::CommandButton cmdRTanim{*this, "cmdRTanim"};
  ui::CommandButton cmdLTanim{*this, "cmdLTanim"};
  ui::CommandButton cmdADMaliyet{*this, "cmdADMaliyet"};
  ui::CommandButton cmdRecExport{*this, "cmdRecExport"};
  ui::CommandButton cmdRecImport{*this, "cmdRecImport"};
  ui::CommandButton cmdLtdExport{*this, "cmdLtdExport"};
  ui::CommandButton cmdLtdImport{*this, "cmdLtdImport"};
  ui::CommandButton cmdExit{*this, "cmdExit"};

  bool ListMode = false;  // the exchange works on the list definitions (".LTD") rather than the recipes

  void Form_Load() override;
  void Form_Activate() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void HandleFunctionKey(int KeyCode);
  void leaveFor(RecipeServiceJob request, const char* next);
  void cmdTarih_Click();
  void cmdRTanim_Click();
  void cmdLTanim_Click();
  void cmdADMaliyet_Click();
  void cmdExit_Click();
  void cmdRecExport_Click();
  void cmdLtdExport_Click();
  void cmdRecImport_Click();
  void cmdLtdImport_Click();
  bool confirmed(bool listMode, const char* question, const char* title);
  void askToExport(bool listMode);
  void askToImport(bool listMode);
  void ExportDefinitionsToExcel();
  void ImportDefinitionsFromExcel();
};

}  // namespace kv
