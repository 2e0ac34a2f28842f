// The other-operations window: the working date, the two sorts of the product file and the exchange-rate
// table are reached from here; its exit leads back to the main window.
#pragma once

#include <cstdint>

#include "product/product_sort.h"
#include "ui/ui.h"

namespace kv {

class frmIslemler : public ui::Form {
 public:
  frmIslemler();

 private:
  ui::CommandButton cmdTarih{*this, "cmdTarih"};
  ui::CommandButton cmdAlfabetik{*this, "cmdAlfabetik"};
  ui::CommandButton cmdAdSira{*this, "cmdAdSira"};
  ui::CommandButton cmdExit{*this, "cmdExit"};
  ui::CommandButton cmdDoviz{*this, "cmdDoviz"};

  std::int16_t RecordCount = 0;

  void Form_Load() override;
  void Form_Activate() override;
  void DispatchOperationsKey(int KeyCode);
  void cmdTarih_Click();
  void cmdAlfabetik_Click();
  void cmdAdSira_Click();
  using Sort = SortResult (*)(const std::string& company, SortReport& report, MessageSink& sink);
  void sortAfterAsking(const char* order, Sort sort);
  void cmdDoviz_Click();
  void cmdExit_Click();
};

}  // namespace kv
