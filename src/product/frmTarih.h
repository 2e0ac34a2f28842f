// The date dialog: changes the working date (opened from the operations window) or the recipe date
// (opened from the recipe service), and goes back to the window it came from.
#pragma once

#include <string>

#include "product/date_entry.h"
#include "ui/ui.h"

namespace kv {

class frmTarih : public ui::Form {
 public:
  frmTarih();

 private:
  ui::Label lblGun{*this, "lblGun"};
  ui::Label lblAy{*this, "lblAy"};
  ui::Label lblYil{*this, "lblYil"};
  ui::TextBox txtGun{*this, "txtGun"};
  ui::TextBox txtAy{*this, "txtAy"};
  ui::TextBox txtYil{*this, "txtYil"};
  ui::CommandButton cmdKayit{*this, "cmdKayit"};
  ui::CommandButton cmdCikis{*this, "cmdCikis"};

  bool DateChanged = false;
  DialogDate Values;  // DayValue, MonthValue, YearValue

  void Form_Load() override;
  void Form_Activate() override;
  void fillBoxes();
  void DispatchDateKey(int KeyCode);
  void cmdKayit_Click();
  void cmdCikis_Click();
};

}  // namespace kv
