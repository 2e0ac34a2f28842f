// The list print dialog: prints the list in the layout of its kind, as often as asked, telling in its
// title what it prints and when it is done, with a running clock; it goes back to a new list dialog.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"
#include "lists/list_kind.h"
#include "ui/ui.h"

namespace kv {

class frmLstPrn : public ui::Form {
 public:
  frmLstPrn();

 private:
  ui::Timer cmdSaat{*this, "cmdSaat"};
  ui::CommandButton cmdVazgec{*this, "cmdVazgec"};
  ui::CommandButton cmdYaz{*this, "cmdYaz"};
  ui::Label lblMesaj{*this, "lblMesaj"};
  ui::Label lblSaat{*this, "lblSaat"};

  FileHandle ListFile;
  std::int16_t ListRecordCount = 0;
  ListKind Kind = ListKind::Code;  // the list dialog's kind, taken at the load
  std::string DateText;            // the working date that heads the printed pages

  void Form_Load() override;
  void Form_Activate() override;
  void cmdSaat_Timer();
  void cmdYaz_Click();
  void cmdVazgec_Click();
  void buttonKeyDown(int KeyCode);
  void ShowPrintKeyHelp();
};

}  // namespace kv
