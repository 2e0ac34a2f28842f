// The start-up dialog: the user chooses a company found in the working folder or names a new one; the
// name becomes the base name of every data file of the company.
#pragma once

#include "files/command_recovery.h"
#include "ui/ui.h"

namespace kv {

class frmStart : public ui::Form {
 public:
  frmStart();

 private:
  ui::PictureBox picIcon{*this, "picIcon"};
  ui::Label lblTitle{*this, "lblTitle"};
  ui::Label lblVersion{*this, "lblVersion"};
  ui::Label lblDescription{*this, "lblDescription"};
  ui::Label Label1{*this, "Label1"};
  ui::ComboBox Combo1{*this, "Combo1"};
  ui::CommandButton cmdOK{*this, "cmdOK"};
  ui::Label Label2{*this, "Label2"};

  void Form_Load() override;
  void cmdOK_Click();
  void Combo1_Change();
  void Combo1_Click();
  void Combo1_LostFocus();
  void tellInterruptedCommand(const InterruptedCommand& found);
};

}  // namespace kv
