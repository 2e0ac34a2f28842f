// The main window: product records of seven kinds are created, edited, found, browsed and deleted here,
// with the alphabetic chain kept in step; from here the user reaches every other part of the program.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "product/product_entry.h"
#include "records/product_file.h"
#include "ui/ui.h"

namespace kv {

// What the main window keeps while it is unloaded (the analysis and service windows unload it): it comes
// back on the kind tab it left, and sets the working date to today at its first activation only. The
// forms registry keeps it; the record it comes back on crosses windows in the hand-over.
struct MainWindowKept {
  std::int16_t CurrentTab = 0;   // 1..7, 8 for "Tümü", 0 before the first choice
  bool DateInitialised = false;  // the working date has been set to today
};

class frmKalvor : public ui::Form {
 public:
  frmKalvor();

  // ---- Where the window stands in the product file (public: tests look at it beside the screen) ----
  std::int16_t RecordShown = 0;                   // the record shown, or to be shown
  std::array<std::int16_t, 8> TabRecordNumber{};  // 1..7, the record each kind tab showed last; [0] unused
  bool NoRecordShown = false;  // no record on the screen, or on the next activation none to show again

 private:
  // ---- Controls, in the order of the platform's tab order ----
  ui::Label lblFirma{*this, "lblFirma"};
  ui::Frame FrameTarih{*this, "FrameTarih"};
  ui::Label LblTarih{FrameTarih, "LblTarih"};
  ui::TabStrip TabStrip1{*this, "TabStrip1"};

  ui::Label lblMalKodu{*this, "lblMalKodu"};
  ui::TextBox bilKod{*this, "bilKod"};
  ui::Label lblMalAdi{*this, "lblMalAdi"};
  ui::TextBox bilAd{*this, "bilAd"};
  ui::Label lblAciklama{*this, "lblAciklama"};
  ui::TextBox bilAciklama{*this, "bilAciklama"};
  ui::Label lblBirim{*this, "lblBirim"};
  ui::TextBox bilBirim{*this, "bilBirim"};
  ui::Label lblUrunGrubu{*this, "lblUrunGrubu"};
  ui::TextBox bilUrunGrubu{*this, "bilUrunGrubu"};

  ui::Frame FrameMaliyet{*this, "FrameMaliyet"};
  ui::Label lblMaliyet{FrameMaliyet, "lblMaliyet"};
  ui::TextBox bilMaliyet{FrameMaliyet, "bilMaliyet"};
  ui::Label lblTipi{FrameMaliyet, "lblTipi"};
  ui::OptionButton optSatinAlma{FrameMaliyet, "optSatinAlma"};
  ui::OptionButton optYaptirma{FrameMaliyet, "optYaptirma"};
  ui::OptionButton optKalvor{FrameMaliyet, "optKalvor"};
  ui::Label lblMTarih{FrameMaliyet, "lblMTarih"};
  ui::TextBox bilMTarih{FrameMaliyet, "bilMTarih"};
  ui::Label lblEvrakNo{FrameMaliyet, "lblEvrakNo"};
  ui::TextBox bilEvrakNo{FrameMaliyet, "bilEvrakNo"};

  ui::Label lblOzelKod{*this, "lblOzelKod"};
  ui::TextBox bilOzelKod{*this, "bilOzelKod"};
  ui::Label lblKatsayi{*this, "lblKatsayi"};
  ui::TextBox bilKatsayi{*this, "bilKatsayi"};
  ui::Label lblTedarikci{*this, "lblTedarikci"};
  ui::TextBox bilTedarikci{*this, "bilTedarikci"};
  ui::Label lblBoyutlar{*this, "lblBoyutlar"};
  ui::TextBox bilBoyutlar{*this, "bilBoyutlar"};
  ui::Label lblAgirlik{*this, "lblAgirlik"};
  ui::TextBox bilAgirlik{*this, "bilAgirlik"};
  ui::CheckBox chkResimVar{*this, "chkResimVar"};
  ui::Label lblOzelNot{*this, "lblOzelNot"};
  ui::TextBox bilOzelNot{*this, "bilOzelNot"};

  ui::Frame FrameSira{*this, "FrameSira"};
  ui::CommandButton cmdBirinci{FrameSira, "cmdBirinci"};
  ui::CommandButton cmdOnceki{FrameSira, "cmdOnceki"};
  ui::CommandButton cmdSonraki{FrameSira, "cmdSonraki"};
  ui::CommandButton cmdSonuncu{FrameSira, "cmdSonuncu"};
  ui::OptionButton OptAlfabetik{FrameSira, "OptAlfabetik"};
  ui::OptionButton OptKayitsal{FrameSira, "OptKayitsal"};

  ui::CommandButton cmdYeni{*this, "cmdYeni"};
  ui::CommandButton cmdKayitla{*this, "cmdKayitla"};
  ui::CommandButton cmdAraBul{*this, "cmdAraBul"};
  ui::CommandButton cmdSil{*this, "cmdSil"};
  ui::CommandButton cmdAnaliz{*this, "cmdAnaliz"};
  ui::CommandButton cmdIslemler{*this, "cmdIslemler"};
  ui::CommandButton cmdListe{*this, "cmdListe"};
  ui::CommandButton cmdServis{*this, "cmdServis"};
  ui::CommandButton cmdExport{*this, "cmdExport"};
  ui::CommandButton cmdImport{*this, "cmdImport"};
  ui::CommandButton cmdYardim{*this, "cmdYardim"};
  ui::CommandButton cmdCikis{*this, "cmdCikis"};

  // ---- Window state ----
  MainWindowKept& Kept = ui::forms().kept<MainWindowKept>("frmKalvor");
  ProductFile Products;  // the company's product file and index, open while the window is loaded
  ProductEntry Entry;    // the record shown as boxes, what was edited since, and what a save means
  int Direction = 0;
  bool SearchMode = false;
  bool HandedOver = false;  // the current record crossed to another window, and may come back changed
  bool CostDisplay = false;
  bool KeepTitle = false;

  // ---- Layout (frmKalvor_layout.cpp) ----
  void layOut();
  void wireEvents();

  // ---- Lifecycle (frmKalvor.cpp) ----
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Click() override;
  void Form_Unload(int& Cancel) override;
  void Form_KeyPress(int& KeyAscii) override;
  void tellIndexRenewed();
  void handCurrentRecordOver();
  void takeCurrentRecord();

  // ---- Display and kind tabs (frmKalvor_display.cpp) ----
  void ShowRecord();
  void ShowRecordFields(const EntryBoxes& boxes);
  void ClearRecordFields();
  void ShowCostFields(const EntryBoxes& boxes);
  void TabStrip1_Click();
  void TabStrip1_KeyDown(int& KeyCode, int Shift);
  void TabStrip1_KeyPress(int& KeyAscii);
  int selectedTab() const;
  void showRecordTitle(std::int16_t record);
  void emptyEntryBoxes();

  // ---- New entry and saving (frmKalvor_entry.cpp) ----
  void cmdYeni_Click();
  void bilKod_Change();
  void cmdKayitla_Click();
  void checkAndSave();
  enum class Saved { Yes, Refused, PointerError };
  Saved saveBoxes();
  Saved SaveRecord();
  void tellRefusal(SaveRefusal why);
  bool askToSavePendingEntry(const std::string& title);
  std::string typedCode() const;
  EntryBoxes typedBoxes() const;

  // ---- Finding (frmKalvor_find.cpp) ----
  void cmdAraBul_Click();
  void FindRecordByCode();
  void FindRecordByName();
  void showLockedSearch();

  // ---- Deleting (frmKalvor_delete.cpp) ----
  void cmdSil_Click();
  void refuseDelete();

  // ---- Browsing (frmKalvor_browse.cpp) ----
  void cmdBirinci_Click();
  void cmdOnceki_Click();
  void cmdSonraki_Click();
  void cmdSonuncu_Click();
  bool leavePendingEntry(ChainCommand command);
  void NavigateAlphabetic(ChainCommand command);
  void showChainButtons(ChainCommand command, const ChainStep& step);
  void OptAlfabetik_Click();
  void OptKayitsal_Click();

  // ---- Keys and commands (frmKalvor_keys.cpp) ----
  void HandleFunctionKey(int KeyCode);
  void wireKeys();
  void entryBoxKeyDown(ui::TextBox& box, int& KeyCode, bool trimLeadingBlanks, ui::Control* up, ui::Control& down);
  void entryBoxKeyPress(ui::TextBox& box, int& KeyAscii, ui::Control& next);
  void showKeyList();
  void cmdAnaliz_Click();
  void cmdIslemler_Click();
  void cmdListe_Click();
  void cmdServis_Click();
  void cmdYardim_Click();
  void cmdCikis_Click();

  // ---- The product workbook (frmKalvor_workbook.cpp) ----
  void cmdExport_Click();
  void ExportProductsToExcel();
  void cmdImport_Click();
  void ImportProductsFromExcel();
};

}  // namespace kv
