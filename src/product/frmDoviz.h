// The exchange-rate window: the rates of a date looked up, entered, browsed in the order they were first
// saved, and deleted. Opened from the operations window, to which it goes back.
#pragma once

#include <array>
#include <cstdint>

#include "product/exchange_rates.h"
#include "ui/ui.h"

namespace kv {

class frmDoviz : public ui::Form {
 public:
  frmDoviz();

 private:
  ui::Frame FrameTarih{*this, "FrameTarih"};
  ui::TextBox txtTarih{FrameTarih, "txtTarih"};
  ui::Frame FrameGiris{*this, "FrameGiris"};
  ui::Label LabelK1{FrameGiris, "LabelK1"};
  ui::Label LabelK2{FrameGiris, "LabelK2"};
  ui::Label LabelK3{FrameGiris, "LabelK3"};
  ui::TextBox TextK1{FrameGiris, "TextK1"};
  ui::TextBox TextK2{FrameGiris, "TextK2"};
  ui::TextBox TextK3{FrameGiris, "TextK3"};
  ui::Label LabelNumara{*this, "LabelNumara"};
  ui::CommandButton cmdYeni{*this, "cmdYeni"};
  ui::CommandButton cmdGoster{*this, "cmdGoster"};
  ui::CommandButton cmdKayitla{*this, "cmdKayitla"};
  ui::CommandButton cmdOnceki{*this, "cmdOnceki"};
  ui::CommandButton cmdSonraki{*this, "cmdSonraki"};
  ui::CommandButton cmdCikis{*this, "cmdCikis"};

  RatesTable Rates;
  std::int16_t RateRecordNumber = 0;  // RateCount + 1 while a date without record is shown
  std::int16_t RateCount = 0;
  RateDay Day;    // RateYear, RateMonth, RateDay
  Date RateDate;  // the same date, as the window was opened on it or last showed a record
  int RateFocusIndex = 0;
  bool SavedCaptionShown = false;

  std::array<ui::TextBox*, 3> rateBoxes() { return {&TextK1, &TextK2, &TextK3}; }
  void layOut();
  void wireKeys();
  void Form_Load() override;
  void Form_Activate() override;
  void DispatchRatesKey(int KeyCode);
  void ParseRateDate();
  void showRates(std::int16_t n, const ExchangeRateRecord& rec);
  void ShowRateRecord();
  void ShowRateOrBlank();
  void FocusRateFields();
  void buttonStates();
  void cmdYeni_Click();
  void cmdGoster_Click();
  void cmdKayitla_Click();
  void DeleteRateRecord();
  void cmdOnceki_Click();
  void cmdSonraki_Click();
  void cmdCikis_Click();
};

}  // namespace kv
