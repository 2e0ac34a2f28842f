#include "product/frmDoviz.h"

#include <tuple>

#include "base/clock.h"
#include "base/numbers.h"
#include "base/program_title.h"
#include "files/file_error_message.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

namespace {

const char* const kTitle = KV_PROGRAM_TITLE " DÖVİZ";
// A date without a rate, and a box that held no number, show the plain zero, not the currency text of 0.
const char* const kNoRate = "0 TL";

// The number a label shows (" 7"); 0 for "Y" or nothing.
std::int16_t shownNumber(const std::string& caption) { return roundToInteger(leadingNumber(caption)).value_or(0); }

}  // namespace

frmDoviz::frmDoviz() {
  layOut();
  wireKeys();
  cmdYeni.Click = [this] { cmdYeni_Click(); };
  cmdGoster.Click = [this] { cmdGoster_Click(); };
  cmdKayitla.Click = [this] { cmdKayitla_Click(); };
  cmdOnceki.Click = [this] { cmdOnceki_Click(); };
  cmdSonraki.Click = [this] { cmdSonraki_Click(); };
  cmdCikis.Click = [this] { cmdCikis_Click(); };
  closeBoxRuns([this] { cmdCikis_Click(); });
}

void frmDoviz::layOut() {
  Caption = KV_PROGRAM_TITLE "  DÖVİZ"_w;
  Move(0, 0, 400, 300);
  FrameTarih.Move(16, 10, 368, 62);
  FrameTarih.Caption = "Tarih"_w;
  txtTarih.Move(12, 24, 240, 26);
  FrameGiris.Move(16, 80, 270, 130);
  FrameGiris.Caption = "Kurlar"_w;
  int y = 24;
  for (auto [label, box, caption] : {std::tuple{&LabelK1, &TextK1, "Euro :"}, std::tuple{&LabelK2, &TextK2, "Dolar :"},
                                     std::tuple{&LabelK3, &TextK3, "Ayar :"}}) {
    label->Move(12, y + 4, 70, 20);
    label->Caption = w(caption);
    box->Move(90, y, 168, 26);
    y += 34;
  }
  LabelNumara.Move(300, 90, 84, 26);
  LabelNumara.BorderStyle = 1;
  int x = 16;
  for (auto [button, caption] : {std::pair{&cmdYeni, "Yeni"}, std::pair{&cmdGoster, "Göster"},
                                 std::pair{&cmdKayitla, "Kayıtla"}, std::pair{&cmdOnceki, "Önceki"},
                                 std::pair{&cmdSonraki, "Sonraki"}, std::pair{&cmdCikis, "Çıkış"}}) {
    button->Move(x, 226, 58, 34);
    button->Caption = w(caption);
    x += 62;
  }
}

void frmDoviz::wireKeys() {
  // Down arrow and Enter go to `down`, Up arrow to `up`; every other key goes to the dispatcher.
  auto moves = [this](TextBox& box, Control& down, Control& up) {
    box.KeyDown = [this, &down, &up](int& k, int) {
      if (!moveFocusByArrow(k, down, &up)) DispatchRatesKey(k);
    };
    box.KeyPress = [&down](int& k) {
      if (k == Key::Enter) down.SetFocus();
    };
  };
  moves(txtTarih, TextK1, TextK3);
  moves(TextK1, TextK2, TextK3);
  moves(TextK2, TextK3, TextK1);
  moves(TextK3, cmdYeni, TextK2);
  // The typed date is put in its normal form when the box is left.
  txtTarih.LostFocus = [this] { ParseRateDate(); };
  for (int i = 0; i < 3; ++i) {
    TextBox* box = rateBoxes()[i];
    box->GotFocus = [this, i] { RateFocusIndex = i; };
    box->LostFocus = [box] { box->Text = trim(box->Text()); };
  }
  for (CommandButton* b : {&cmdYeni, &cmdGoster, &cmdKayitla, &cmdOnceki, &cmdSonraki, &cmdCikis})
    b->KeyDown = [this](int& k, int) { DispatchRatesKey(k); };
}

void frmDoviz::Form_Load() {
  centreOnScreen(*this);
  Rates.open(KALVOR3.CompanyName);
  RateCount = Rates.count();
  const Date d = KALVOR3.StaticDate;
  Day = {static_cast<std::int16_t>(d.year()), static_cast<std::int16_t>(d.month()),
         static_cast<std::int16_t>(d.day())};
  RateDate = d;
  RateRecordNumber = RateCount;
}

void frmDoviz::Form_Activate() {
  txtTarih.Text = rateDayText(Day);
  if (RateCount >= 1) {
    const RateDay opened{static_cast<std::int16_t>(RateDate.year()), static_cast<std::int16_t>(RateDate.month()),
                         static_cast<std::int16_t>(RateDate.day())};
    if (const std::int16_t n = Rates.find(opened))
      showRates(n, Rates.read(n));
    else
      RateRecordNumber = static_cast<std::int16_t>(RateCount + 1);
  }
  buttonStates();
}

// The browse buttons are only ever enabled here; pressing one at its end disables it.
void frmDoviz::buttonStates() {
  if (RateRecordNumber > 1) cmdOnceki.Enabled = true;
  if (RateRecordNumber < RateCount) cmdSonraki.Enabled = true;
}

void frmDoviz::showRates(std::int16_t n, const ExchangeRateRecord& rec) {
  TextK1.Text = currencyText(rec.Euro);
  TextK2.Text = currencyText(rec.Dolar);
  TextK3.Text = currencyText(rec.Ayar);
  LabelNumara.Caption = recordNumberText(n);
  RateRecordNumber = n;
}

void frmDoviz::ParseRateDate() {
  Day = parseRateDay(txtTarih.Text(), Day, clock().today());
  txtTarih.Text = rateDayText(Day);
}

void frmDoviz::ShowRateRecord() {
  if (RateRecordNumber < 1 || RateRecordNumber > RateCount) {
    Beep();
    RateRecordNumber = shownNumber(LabelNumara.Caption());
    return;
  }
  LabelNumara.Caption = "";
  const ExchangeRateRecord rec = Rates.read(RateRecordNumber);
  Day = {rec.Year, rec.Month, rec.Day};
  RateDate = Date::fromYmd(rec.Year, rec.Month, rec.Day);
  txtTarih.Text = rateDayText(Day);
  showRates(RateRecordNumber, rec);
  buttonStates();
}

void frmDoviz::ShowRateOrBlank() {
  if (const std::int16_t n = Rates.find(Day)) {
    showRates(n, Rates.read(n));
  } else {
    for (TextBox* box : rateBoxes()) box->Text = kNoRate;
    LabelNumara.Caption = "Y";
    RateRecordNumber = static_cast<std::int16_t>(RateCount + 1);
  }
  buttonStates();
}

void frmDoviz::FocusRateFields() {
  if (SavedCaptionShown) {
    Caption = " " KV_PROGRAM_TITLE "  DÖVİZ"_w;
    SavedCaptionShown = false;
  }
  rateBoxes()[RateFocusIndex]->SetFocus();
}

void frmDoviz::cmdYeni_Click() {
  Beep();
  txtTarih.Text = "";
  for (TextBox* box : rateBoxes()) box->Text = "";
  RateFocusIndex = 0;
  LabelNumara.Caption = "Y";
  txtTarih.SetFocus();
}

void frmDoviz::cmdGoster_Click() {
  ParseRateDate();
  ShowRateOrBlank();
  FocusRateFields();
}

void frmDoviz::cmdKayitla_Click() {
  BusyPointer busy(*this);
  ParseRateDate();
  const std::int16_t found = Rates.find(Day);
  const std::int16_t n = found != 0 ? found : static_cast<std::int16_t>(RateCount + 1);
  ExchangeRateRecord rec;
  rec.Year = Day.year;
  rec.Month = Day.month;
  rec.Day = Day.day;
  float* values[] = {&rec.Euro, &rec.Dolar, &rec.Ayar};
  for (int i = 0; i < 3; ++i) {
    TextBox* box = rateBoxes()[i];
    const std::optional<float> rate = readRate(box->Text());
    *values[i] = rate.value_or(0);
    if (!rate) box->Text = kNoRate;
  }
  // The record counts only once it is on disk: a failed write leaves the table as it was.
  Rates.write(n, rec);
  if (found == 0) RateCount = n;
  RateRecordNumber = n;
  LabelNumara.Caption = recordNumberText(n);
  busy.restore();
  Beep();
  buttonStates();
  FocusRateFields();
  Caption = "Görünen döviz kurları kayıtlandı..."_w;
  SavedCaptionShown = true;
}

void frmDoviz::DeleteRateRecord() {
  const std::int16_t n = shownNumber(LabelNumara.Caption());
  if (n < 1 || n > RateCount) {
    cmdGoster_Click();
    return;
  }
  if (MsgBox(LabelNumara.Caption() + ". kayıtı silmek istediğinize eminmisiniz?..."_w, MsgButtons::YesNo,
             MsgIcon::Question, w(kTitle)) != MsgAnswer::Yes)
    return;
  BusyPointer busy(*this);
  try {
    Rates.remove(n);
  } catch (const FileError& e) {
    busy.restore();
    tellFileError(*this, e);
    if (Rates.isOpen()) RateCount = Rates.count();
    return;
  }
  RateCount = Rates.count();
  busy.restore();
  if (RateRecordNumber > RateCount) RateRecordNumber = RateCount;
  ShowRateRecord();
}

void frmDoviz::cmdOnceki_Click() {
  if (RateRecordNumber <= 1) {
    Beep();
    cmdOnceki.Enabled = false;
  } else {
    --RateRecordNumber;
    ShowRateRecord();
    if (RateRecordNumber < RateCount) cmdSonraki.Enabled = true;
  }
  FocusRateFields();
}

void frmDoviz::cmdSonraki_Click() {
  if (RateRecordNumber >= RateCount) {
    Beep();
    cmdSonraki.Enabled = false;
  } else {
    ++RateRecordNumber;
    ShowRateRecord();
    if (RateRecordNumber > 0) cmdOnceki.Enabled = true;
  }
  FocusRateFields();
}

void frmDoviz::cmdCikis_Click() {
  Rates.close();
  Unload();
  Beep();
  forms().show("frmIslemler");
}

void frmDoviz::DispatchRatesKey(int KeyCode) {
  switch (KeyCode) {
    case Key::PageDown: cmdSonraki_Click(); break;
    case Key::PageUp: cmdOnceki_Click(); break;
    case Key::End:
      RateRecordNumber = RateCount;
      ShowRateRecord();
      break;
    case Key::Home:
      RateRecordNumber = 1;
      ShowRateRecord();
      break;
    case Key::F1: cmdYeni_Click(); break;
    case Key::F2: cmdGoster_Click(); break;
    case Key::F3: cmdKayitla_Click(); break;
    case Key::F4: DeleteRateRecord(); break;
    case Key::F11: txtTarih.SetFocus(); break;
    case Key::F12: FocusRateFields(); break;
    case Key::F10:
      Beep();
      MsgBox("F1 = Yeni...\rF2 = Göster...\rF3 = Kayıtla...\rF4 = Sil...\rF10 = Tuş Yardımı...\r"
             "F11 = Tarih Alanına Geçiş...\rF12 = Kur Alanına Geçiş...\rPAGE DOWN = Sonraki Kayıt...\r"
             "PAGE UP = Önceki Kayıt...\rEND = Son Kayıt...\rHOME = İlk Kayıt...\rESC = Çıkış..."_w,
             MsgButtons::Ok, MsgIcon::None, w(kTitle));
      break;
    case Key::Escape: cmdCikis_Click(); break;
    default: break;
  }
}

}  // namespace kv
