// The filter dialog: up to three conditions on the list just built (a pattern, the field it is looked
// for in, the side it is looked for at, whether the records that match or those that do not are kept),
// joined two by two; it always hands back to the list dialog.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "lists/list_filter.h"
#include "ui/ui.h"

namespace kv {

class frmFiltre : public ui::Form {
 public:
  frmFiltre();

 private:
  // One condition's row: its side, its pattern and field, its status.
  struct Condition {
    Condition(ui::Form& form, const std::string& k);
    ui::Frame FrameYer;
    ui::OptionButton optSoldan, optSagdan, optOrtadan;
    ui::Frame FrameFiltre;
    ui::TextBox txtFiltre;
    ui::OptionButton optKod, optAd, optUrunGrp, optOzelKod, optTedarikci;
    ui::Frame FrameVarYok;
    ui::OptionButton optOlan, optOlmayan, optYok;

    std::array<ui::OptionButton*, 5> fields() { return {&optKod, &optAd, &optUrunGrp, &optOzelKod, &optTedarikci}; }
    std::array<ui::OptionButton*, 3> sides() { return {&optSoldan, &optSagdan, &optOrtadan}; }
    std::array<ui::OptionButton*, 3> statuses() { return {&optOlan, &optOlmayan, &optYok}; }
    FilterCondition setting();
  };

  Condition c1{*this, "1"};
  ui::Frame FrameVe1{*this, "FrameVe1"};
  ui::OptionButton optVe1{FrameVe1, "optVe1"};
  ui::OptionButton optVeya1{FrameVe1, "optVeya1"};
  Condition c2{*this, "2"};
  ui::Frame FrameVe2{*this, "FrameVe2"};
  ui::OptionButton optVe2{FrameVe2, "optVe2"};
  ui::OptionButton optVeya2{FrameVe2, "optVeya2"};
  Condition c3{*this, "3"};
  ui::CommandButton cmdUygula{*this, "cmdUygula"};
  ui::CommandButton cmdVazgec{*this, "cmdVazgec"};

  std::int16_t ListRecordCount = 0;

  void layOut();
  void layOutCondition(Condition& c, int top);
  void wireEvents();
  void selectDefaults();

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Click() override;
  void Form_KeyPress(int& KeyAscii) override;
  void FilterFormKeyDown(int KeyCode);
  void textKeyDown(int& KeyCode, ui::TextBox& previous, ui::TextBox& next);
  void showKeyList();
  void ClearFilter();
  void ApplyFilter();
  void cmdUygula_Click();
  void cmdVazgec_Click();
  void backToListDialog();
  FilterSettings settings();
  std::string listFileName() const;
};

}  // namespace kv
