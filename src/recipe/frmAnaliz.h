// The production analysis window: the hub of the recipe work for one product at a time. The main window
// unloads itself and shows it; the user steps through the product file here, and leaves with ESC back to
// the main window, which loads afresh.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/dates.h"
#include "records/product_file.h"
#include "records/product_record.h"
#include "ui/ui.h"

namespace kv {

class frmAnaliz : public ui::Form {
 public:
  frmAnaliz();

 private:
  // ---- Controls: the product's fields, each in a frame captioned with its name, then the commands ----
  ui::Frame FrameKod{*this, "FrameKod"};
  ui::TextBox txtKod{FrameKod, "txtKod"};
  ui::Frame FrameAd{*this, "FrameAd"};
  ui::Label lblAd{FrameAd, "lblAd"};
  ui::Frame FrameBirim{*this, "FrameBirim"};
  ui::Label lblBirim{FrameBirim, "lblBirim"};
  ui::Frame FrameUrunGrubu{*this, "FrameUrunGrubu"};
  ui::Label lblUrunGrubu{FrameUrunGrubu, "lblUrunGrubu"};
  ui::Frame FrameOzelKod{*this, "FrameOzelKod"};
  ui::Label lblOzelKod{FrameOzelKod, "lblOzelKod"};
  ui::Frame FrameMaliyet{*this, "FrameMaliyet"};
  ui::Label lblMaliyet{FrameMaliyet, "lblMaliyet"};
  ui::Frame FrameMalTar{*this, "FrameMalTar"};
  ui::Label lblMalTar{FrameMalTar, "lblMalTar"};
  ui::Frame FrameStatikMaliyet{*this, "FrameStatikMaliyet"};
  ui::Label lblStatikMaliyet{FrameStatikMaliyet, "lblStatikMaliyet"};
  ui::Frame FrameStatikMTarih{*this, "FrameStatikMTarih"};
  ui::Label lblStatikMTarih{FrameStatikMTarih, "lblStatikMTarih"};
  ui::Frame FrameOlTarih{*this, "FrameOlTarih"};
  ui::Label lblOlTarih{FrameOlTarih, "lblOlTarih"};
  ui::Frame FrameStatikTarih{*this, "FrameStatikTarih"};
  ui::Label lblStatikTarih{FrameStatikTarih, "lblStatikTarih"};

  ui::CommandButton cmdAraBul{*this, "cmdAraBul"};
  ui::CommandButton cmdRecete{*this, "cmdRecete"};
  ui::CommandButton cmdListe{*this, "cmdListe"};
  ui::CommandButton cmdPrint{*this, "cmdPrint"};
  ui::CommandButton cmdHesap{*this, "cmdHesap"};
  ui::CommandButton cmdServis{*this, "cmdServis"};
  ui::CommandButton cmdYardim{*this, "cmdYardim"};
  ui::CommandButton cmdCikis{*this, "cmdCikis"};

  // ---- Window state ----
  ProductFile Products;  // the company's product file and index, open while the window is loaded
  std::int16_t CurrentRecord = 0;
  std::int16_t ActiveRecordNumber = 0;  // the product last shown: the one F2 and F3 may hand over
  bool SearchMode = false;
  bool KeepTitle = false;
  bool ActivationPending = false;
  ProductRecord Product;  // the record last read

  void layOut();
  void wireEvents();

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Click() override;
  void Form_KeyPress(int& KeyAscii) override;
  void Form_Unload(int& Cancel) override;
  static std::string analysisTitle();
  void handleServiceRequest();
  bool confirmServiceJob(const std::string& text, const std::string& title);
  void refreshAllRecipeCosts();

  void HandleFunctionKey(int KeyCode);
  void stepTo(std::int16_t record, bool possible);
  void ShowProduct();
  void showProductFields();
  void ClearProductDisplay();
  std::string DateToTurkishText(Date d) const;
  std::string DateToTurkishText(std::string_view recordDate) const;
  std::string typedCode() const;
  bool typedCodeIsShownProduct(std::int16_t record);

  // ---- Commands (frmAnaliz_commands.cpp) ----
  void txtKod_KeyPress(int& KeyAscii);
  void cmdAraBul_Click();
  void FindProductByCode();
  void cmdHesap_Click();
  void cmdRecete_Click();
  void cmdListe_Click();
  void openEditor(bool listMode);
  void cmdPrint_Click();
  void cmdServis_Click();
  void cmdYardim_Click();
  void cmdCikis_Click();
};

}  // namespace kv
