// The product list dialog: the user chooses the kind of list, its order, its range of codes or record
// numbers and its output, then starts it or returns to the main window, which stayed open behind it.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"
#include "records/product_file.h"
#include "ui/ui.h"

namespace kv {

class frmDizgi : public ui::Form {
 public:
  frmDizgi();

 private:
  // ---- Controls ----
  ui::Frame FrameAlfabetik{*this, "FrameAlfabetik"};
  ui::Label lblBirinci{FrameAlfabetik, "lblBirinci"};
  ui::TextBox txtBirinci{FrameAlfabetik, "txtBirinci"};
  ui::Label lblSonuncu{FrameAlfabetik, "lblSonuncu"};
  ui::TextBox txtSonuncu{FrameAlfabetik, "txtSonuncu"};
  ui::OptionButton OptKayitsal{FrameAlfabetik, "OptKayitsal"};
  ui::OptionButton OptAlfabetik{FrameAlfabetik, "OptAlfabetik"};
  ui::Frame FrameListe{*this, "FrameListe"};
  ui::OptionButton OptEkran{FrameListe, "OptEkran"};
  ui::OptionButton OptYazici{FrameListe, "OptYazici"};
  ui::Frame FramePrint{*this, "FramePrint"};
  ui::OptionButton optKod{FramePrint, "optKod"};
  ui::OptionButton OptMaliyet{FramePrint, "OptMaliyet"};
  ui::OptionButton OptFiyat{FramePrint, "OptFiyat"};
  ui::OptionButton OptSayim{FramePrint, "OptSayim"};
  ui::CommandButton cmdFiltre{*this, "cmdFiltre"};
  ui::CommandButton cmdPrint{*this, "cmdPrint"};
  ui::CommandButton cmdVazgec{*this, "cmdVazgec"};

  // ---- Dialog state ----
  std::int16_t ProductCount = 0;
  std::int16_t ListCount = 0;  // the length of the list built last
  ProductFile Products;  // the dialog's own opening of the product file and index
  FileHandle ListFile;   // ".LST", open while the dialog is active

  void layOut();
  void wireEvents();

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(int& Cancel) override;

  void FrameAlfabetik_Click();
  void OptAlfabetik_Click();
  void OptKayitsal_Click();
  void OptKod_Click();
  void optMaliyet_Click();
  void OptFiyat_Click();
  void OptSayim_Click();
  void txtBirinci_KeyDown(int& KeyCode, int Shift);
  void txtSonuncu_KeyDown(int& KeyCode, int Shift);
  void txtBirinci_KeyPress(int& KeyAscii);
  void txtSonuncu_KeyPress(int& KeyAscii);
  void ListOptionsKeyDown(int KeyCode);
  void showKeyList();

  bool BuildProductListFile();
  void cmdFiltre_Click();
  void cmdPrint_Click();
  void cmdVazgec_Click();
  void abandonEmptyList(const std::string& text);
  void leaveForMainWindow();
  void closeFiles();
  std::string listFileName() const;
};

}  // namespace kv
