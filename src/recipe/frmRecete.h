// The recipe editor: one product's recipe (".REC") or list definition (".LTD"), edited ten lines at a time
// in a grid of forty boxes through the working copy ".RCT" that the analysis window prepared, and written
// back as a chain when the editor is left.
//
// frmRecete.cpp        controls, loading, activation, unloading and the commands
// frmRecete_grid.cpp   the page: its rows and boxes, scrolling, the status of the current line
// frmRecete_keys.cpp   the key dispatcher, the grid boxes' keys, the component lookup and the cost box
// frmRecete_print.cpp  the print command: the report of the product being edited, on the printer
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "recipe/working_copy.h"
#include "records/product_file.h"
#include "ui/ui.h"

namespace kv {

// Only the print command knows the report kinds (and the rest of the report printer).
enum class ReportKind;

class frmRecete : public ui::Form {
 public:
  frmRecete();

 private:
  // ---- Controls ----
  ui::Label LblAnaKod{*this, "LblAnaKod"};
  ui::Label LblAnaAd{*this, "LblAnaAd"};
  ui::Label LblTarih{*this, "LblTarih"};
  ui::Label LblSayfa{*this, "LblSayfa"};
  ui::Frame FrameTip{*this, "FrameTip"};
  ui::Label LblTip{FrameTip, "LblTip"};
  ui::Label LblKod{*this, "LblKod"};
  ui::Label LblAd{*this, "LblAd"};
  ui::Label LblStok{*this, "LblStok"};
  ui::Label LblBirim{*this, "LblBirim"};
  ui::Label Label1{*this, "Label1"};
  ui::Label Label2{*this, "Label2"};
  ui::Label Label3{*this, "Label3"};
  ui::Label Label4{*this, "Label4"};
  ui::Frame FrameMaliyet{*this, "FrameMaliyet"};
  // Made in the tab order: the buttons, the grid, the cost box, its check box.
  ui::CommandButton cmdKayitla{*this, "cmdKayitla"};
  ui::CommandButton cmdPrint{*this, "cmdPrint"};
  ui::CommandButton cmdCikis{*this, "cmdCikis"};
  std::vector<std::unique_ptr<ui::TextBox>> TextBoxes;  // Text1..Text40: row r, column c is Text(4(r-1)+c)
  ui::TextBox txtPara{FrameMaliyet, "txtPara"};
  ui::CheckBox chkPara{FrameMaliyet, "chkPara"};

  ui::TextBox& Text(int n) { return *TextBoxes[n - 1]; }

  // ---- Window state ----
  ProductFile Products;       // the editor's own opening of the product file
  RecipeEditSession Session{Products};  // the store and the working copy, open while the editor is
                                        // loaded; its lineCount is the editor's line count
  std::int32_t CurrentLine = 0;
  std::int32_t FirstLine = 1;  // the page shows lines FirstLine..FirstLine + 9
  std::int32_t LastLine = 0;
  std::int32_t PageNumber = 1;  // the page the page keys asked for last
  int RowOffset = 0;            // 0..9, the row of the current line
  int Column = 0;               // 0..3: Kod, Ad, Miktar, Birim
  GridPage Page;                // the rows of the shown page
  Date RecipeDate;              // the editor's copy of the recipe date
  std::string DateText;         // the working date that heads the printed pages
  bool WrittenMark = false;     // the page save wrote a row; the next status tells it
  bool SilentSave = false;      // the page keys save without a title
  bool SkipStatus = false;      // the save button leaves the status to the box that takes the focus back
  bool NewLine = false;         // ShowCurrentLineStatus: the current line is a new one
  bool ShowingCost = false;     // the editor itself is writing into the cost box

  // frmRecete.cpp
  void layOut();
  void wireEvents();
  void Form_Load() override;
  void takeLines(bool takes);
  void Form_Activate() override;
  void Form_KeyPress(int& KeyAscii) override;
  void Form_Unload(int& Cancel) override;
  void cmdKayitla_Click();
  void cmdCikis_Click();
  void showDate();

  // frmRecete_grid.cpp
  GridRow& row() { return Page[RowOffset]; }  // the current row
  void ClearGridPage();
  void LoadGridPage();
  void loadRows();
  void ShowGridPage();
  void ReadGridPage();
  void SaveGridPage();
  void DeleteCurrentLine();
  void showPageAgain(bool status);
  void scrollGrid(int step);
  void ScrollGridUp();
  void ScrollGridDown();
  void FocusGridCell();
  void ShowCurrentLineStatus();
  void showNewLine();
  void showExistingLine();
  void ShowItemTypeCaption();

  // frmRecete_keys.cpp
  void HandleFunctionKey(int KeyCode);
  void Text_Change(int Index);
  void Text_GotFocus(int Index);
  void Text_KeyDown(int Index, int& KeyCode);
  void leaveQuantity(int Index);
  bool ValidateComponentCode();
  void txtPara_Change();
  void txtPara_KeyDown(int& KeyCode);
  void txtPara_LostFocus();
  void costBoxEnter();
  void showCost(const std::string& text);
  void chkPara_Click();

  // frmRecete_print.cpp
  void cmdPrint_Click();
  void printReport(ReportKind kind, std::int32_t lines);
};

}  // namespace kv
