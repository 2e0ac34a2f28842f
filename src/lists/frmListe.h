// The product list on the screen: one grid row per list record in the columns of the list's kind, sorted
// by a click on a heading; a row picked by a click, ENTER or SPACE becomes the main window's current
// record, and a double click on it also closes the grid so that the main window shows that product. The
// grid as shown goes to a new workbook ("Excel'e Aktar", F1).
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"
#include "lists/list_kind.h"
#include "records/product_record.h"
#include "ui/ui.h"

namespace kv {

class frmListe : public ui::Form {
 public:
  frmListe();

 private:
  ui::FlexGrid MSFlexGrid1{*this, "MSFlexGrid1"};
  ui::CommandButton cmdExcel{*this, "cmdExcel"};

  FileHandle ListFile;
  std::int16_t ListRecordCount = 0;
  std::int16_t ListRecordIndex = 0;
  std::int16_t GridRow = 0;
  ListKind Kind = ListKind::Code;  // the list dialog's kind, taken at the load

  void Form_Load() override;
  void Form_Resize() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_DblClick() override;
  void Form_Unload(int& Cancel) override;
  void FillGrid();
  void ShowListWindowKeyHelp();
  void cmdExcel_Click();
  void MSFlexGrid1_Click();
  void MSFlexGrid1_KeyPress(int& KeyAscii);
  void MSFlexGrid1_DblClick();
  void pickRow();
  void closeWindow();
  std::string listFileName() const;
};

}  // namespace kv
