// The recipe editor: one product's recipe (".REC") or list definition (".LTD"), edited through the working
// copy ".RCT" that the analysis window prepared, and written back as a chain when the editor is left.
#pragma once

#include "common/product_file.h"
#include "recipe/working_copy.h"
#include "ui/ui.h"

namespace kv {

class frmRecete : public ui::Form {
 public:
  frmRecete();

 private:
  ui::Label LblAnaKod{*this, "LblAnaKod"};
  ui::Label LblAnaAd{*this, "LblAnaAd"};
  ui::Label LblTarih{*this, "LblTarih"};
  ui::CommandButton cmdKayitla{*this, "cmdKayitla"};
  ui::CommandButton cmdPrint{*this, "cmdPrint"};
  ui::CommandButton cmdCikis{*this, "cmdCikis"};

  ProductFile Products;       // the editor's own opening of the product file
  RecipeEditSession Session;  // the store and the working copy, open while the editor is loaded

  void layOut();
  void Form_Load() override;
  void Form_Activate() override;
  void Form_KeyPress(int& KeyAscii) override;
  void Form_Unload(int& Cancel) override;
  void cmdCikis_Click();
};

}  // namespace kv
