#include "product/frmServis.h"

#include "base/numbers.h"
#include "base/program_title.h"
#include "product/data_file_service.h"
#include "records/chain_check.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

namespace {

void placeField(Label& label, TextBox& box, int y, int labelWidth, int boxWidth, const char* caption) {
  label.Move(10, y + 4, labelWidth, 22);
  label.Caption = w(caption);
  box.Move(10 + labelWidth, y, boxWidth, 26);
}

}  // namespace

frmServis::frmServis() {
  layOut();
  wireKeys();
  cmdBirinci.Click = [this] { cmdBirinci_Click(); };
  cmdOnceki.Click = [this] { cmdOnceki_Click(); };
  cmdSonraki.Click = [this] { cmdSonraki_Click(); };
  cmdSonuncu.Click = [this] { cmdSonuncu_Click(); };
  cmdSyBir.Click = [this] { cmdSyBir_Click(); };
  cmdSyOnceki.Click = [this] { cmdSyOnceki_Click(); };
  cmdSySonraki.Click = [this] { cmdSySonraki_Click(); };
  cmdSySon.Click = [this] { cmdSySon_Click(); };
  cmdKayitla.Click = [this] { cmdKayitla_Click(); };
  cmdRebuild.Click = [this] { cmdRebuild_Click(); };
  cmdArama.Click = [this] { cmdArama_Click(); };
  cmdTrueSil.Click = [this] { cmdTrueSil_Click(); };
  cmdYardim.Click = [this] { cmdYardim_Click(); };
  cmdExit.Click = [this] { cmdExit_Click(); };
  cmdTamam.Click = [this] {
    Beep();
    SearchRecordByCode();
  };
  FrameArama.Click = lblArananKod.Click = [this] { bilArananKod.SetFocus(); };
  FrameSy32.Click = [this] { bilPointer.SetFocus(); };
  FrameDat.Click = [this] {
    GoToPointerRecord();
    bilPointer.SetFocus();
  };
  closeBoxRuns([this] { cmdExit_Click(); });
}

void frmServis::wireKeys() {
  // Up and Down move between the boxes; three boxes tidy their own text on every key.
  enum class Tidy { None, Leading, Both };
  struct Entry {
    TextBox* box;
    Control* up;
    Control* down;
    Tidy tidy;
  };
  const Entry entries[] = {
      {&bilKatsayi, &bilKod, &bilPointer, Tidy::Both},
      {&bilKod, &bilPointer, &bilKatsayi, Tidy::Leading},
      {&bilPointer, &bilKatsayi, &bilKod, Tidy::Leading},
      {&bilCurrent, &bilNext, &bilPrevious, Tidy::None},
      {&bilPrevious, &bilNext, &bilNext, Tidy::None},
      {&bilNext, &bilPrevious, &bilPrevious, Tidy::None},
      {&bilOncekiKod, &bilSonrakiKod, &bilSimdikiKod, Tidy::None},
      {&bilSimdikiKod, &bilOncekiKod, &bilSonrakiKod, Tidy::None},
      {&bilSonrakiKod, &bilSimdikiKod, &bilOncekiKod, Tidy::None},
      {&bilOncekiAd, &bilSonrakiAd, &bilSimdikiAd, Tidy::None},
      {&bilSimdikiAd, &bilOncekiAd, &bilSonrakiAd, Tidy::None},
      {&bilSonrakiAd, &bilSimdikiAd, &bilOncekiAd, Tidy::None},
      {&bilArananKod, &cmdTamam, &cmdTamam, Tidy::None},
  };
  for (const Entry& e : entries) {
    e.box->KeyDown = [this, e](int& k, int) {
      if (e.tidy == Tidy::Leading) e.box->Text = trimLeft(e.box->Text());
      if (e.tidy == Tidy::Both) e.box->Text = trim(e.box->Text());
      if (!moveFocusByArrow(k, *e.down, e.up)) DispatchServiceKey(k);
    };
    e.box->KeyPress = [](int& k) { typeOSlashForEAcute(k); };
  }
  bilPointer.KeyPress = [this](int& k) {
    typeOSlashForEAcute(k);
    if (k == Key::Enter) GoToPointerRecord();
  };
  bilArananKod.KeyPress = [this](int& k) {
    typeOSlashForEAcute(k);
    if (k == Key::Enter) SearchRecordByCode();
  };
  for (Control* c : Controls())
    if (c->kind() == ControlKind::CommandButton) c->KeyDown = [this](int& k, int) { DispatchServiceKey(k); };
  cmdTamam.KeyDown = [this](int& k, int) {
    if (k == Key::Up || k == Key::Down)
      bilArananKod.SetFocus();
    else
      DispatchServiceKey(k);
  };
}

void frmServis::layOut() {
  Caption = " " KV_PROGRAM_TITLE " SERVİS"_w;
  Move(0, 0, 720, 390);

  FrameDat.Move(16, 12, 330, 124);
  FrameDat.Caption = "Data Dosyası"_w;
  placeField(lblKatsayi, bilKatsayi, 24, 90, 80, "Durum :");
  placeField(lblKod, bilKod, 56, 90, 220, "Kod : ");
  placeField(lblPointer, bilPointer, 88, 90, 80, "Pointer : ");

  // The search panel covers the record boxes while a search is typed.
  FrameArama.Move(16, 12, 330, 124);
  FrameArama.Caption = "Arama"_w;
  FrameArama.Visible = false;
  lblArananKod.Move(10, 24, 310, 40);
  bilArananKod.Move(10, 88, 220, 26);
  cmdTamam.Move(240, 86, 80, 30);
  cmdTamam.Caption = "Tamam";

  FrameSay.Move(360, 12, 344, 124);
  FrameSay.Caption = "Pointer";
  placeField(lblCurrent, bilCurrent, 24, 130, 90, "Current Pointer :");
  placeField(lblPrevious, bilPrevious, 56, 130, 90, "Previous Pointer :");
  placeField(lblNext, bilNext, 88, 130, 90, "Next Pointer : ");

  const std::tuple<Label*, TextBox*, TextBox*, const char*> rows[] = {
      {&lblOnceki, &bilOncekiKod, &bilOncekiAd, "Önceki Kayıt :"},
      {&lblSimdiki, &bilSimdikiKod, &bilSimdikiAd, "Şimdiki Kayıt :"},
      {&lblSonraki, &bilSonrakiKod, &bilSonrakiAd, "Sonraki Kayıt : "}};
  int y = 148;
  for (auto [label, code, name, caption] : rows) {
    label->Move(26, y + 4, 110, 22);
    label->Caption = w(caption);
    code->Move(136, y, 200, 26);
    name->Move(346, y, 358, 26);
    y += 32;
  }

  FrameSequental.Move(16, 248, 330, 62);
  FrameSequental.Caption = "Kayıt Sırası"_w;
  FrameSy32.Move(360, 248, 344, 62);
  FrameSy32.Caption = "SY-32 Alfabetik Sıra"_w;
  int x = 10;
  for (auto [button, caption] : {std::pair{&cmdBirinci, "İlk"}, std::pair{&cmdOnceki, "Önceki"},
                                 std::pair{&cmdSonraki, "Sonraki"}, std::pair{&cmdSonuncu, "Son"}}) {
    button->Move(x, 22, 74, 28);
    button->Caption = w(caption);
    x += 78;
  }
  x = 10;
  for (auto [button, caption] : {std::pair{&cmdSyBir, "İlk"}, std::pair{&cmdSyOnceki, "Önceki"},
                                 std::pair{&cmdSySonraki, "Sonraki"}, std::pair{&cmdSySon, "Son"}}) {
    button->Move(x, 22, 78, 28);
    button->Caption = w(caption);
    x += 82;
  }

  x = 16;
  for (auto [button, caption] : {std::pair{&cmdKayitla, "Kayıtla"}, std::pair{&cmdRebuild, "Oluştur"},
                                 std::pair{&cmdArama, "Arama"}, std::pair{&cmdTrueSil, "Sil"},
                                 std::pair{&cmdYardim, "Yardım"}, std::pair{&cmdExit, "Çıkış"}}) {
    button->Move(x, 326, 108, 34);
    button->Caption = w(caption);
    x += 116;
  }
}

// The window looks at the files as they are: the index is not renewed, and a tail shorter than a record
// is no record.
void frmServis::openFiles() {
  Products.open(KALVOR3.CompanyName, ProductFile::IndexRule::Leave);
  countRecords();
}

void frmServis::countRecords() {
  const std::int16_t whole = wholeRecords(Products.data());
  RecordCount = whole == 0 ? 1 : whole;
}

void frmServis::Form_Load() {
  centreOnScreen(*this);
  openFiles();
  const std::int16_t current = KALVOR3.CurrentRecordNumber;
  ServiceRecordNumber = current >= 1 && current <= RecordCount ? current : 1;
  Beep();
}

void frmServis::Form_Activate() { ShowServiceRecord(); }

void frmServis::ShowServiceRecord() {
  Caption = " " KV_PROGRAM_TITLE " SERVİS"_w;
  auto valid = [this](int r) { return r >= 1 && r <= RecordCount; };
  if (!valid(ServiceRecordNumber)) {
    cmdKayitla.Enabled = false;
    Beep();
    return;
  }
  cmdKayitla.Enabled = true;
  showRecordBoxes();
  showNeighbours();
}

// Record ServiceRecordNumber, read into ServiceRecord, in the boxes of the record itself.
void frmServis::showRecordBoxes() {
  ServiceRecord = Products.read(ServiceRecordNumber);
  const std::string number = std::to_string(ServiceRecordNumber);
  bilPointer.Text = number;
  bilKod.Text = trim(ServiceRecord.Code.view());
  bilKatsayi.Text = std::to_string(ServiceRecord.Kind);
  bilCurrent.Text = number;
  bilPrevious.Text = std::to_string(ServiceRecord.ChainPrev);
  bilNext.Text = std::to_string(ServiceRecord.ChainNext);
  bilSimdikiKod.Text = trim(ServiceRecord.Code.view());
  bilSimdikiAd.Text = trim(ServiceRecord.Name.view());
}

void frmServis::showNeighbours() {
  auto showNeighbour = [&](int r, TextBox& code, TextBox& name) {
    if (r >= 1 && r <= RecordCount) {
      const ProductRecord neighbour = Products.read(static_cast<std::int16_t>(r));
      code.Text = trim(neighbour.Code.view());
      name.Text = trim(neighbour.Name.view());
    } else {
      code.Text = "";
      name.Text = "";
    }
  };
  showNeighbour(ServiceRecord.ChainPrev, bilOncekiKod, bilOncekiAd);
  showNeighbour(ServiceRecord.ChainNext, bilSonrakiKod, bilSonrakiAd);
}

void frmServis::GoToPointerRecord() {
  const double typed = leadingNumber(bilPointer.Text());
  if (typed >= 1 && typed <= RecordCount) {
    ServiceRecordNumber = *roundToInteger(typed);
    ShowServiceRecord();
  } else {
    bilPointer.Text = std::to_string(ServiceRecordNumber);
  }
}

// ---- Record order ----

void frmServis::cmdBirinci_Click() {
  if (ServiceRecordNumber != 1)
    ServiceRecordNumber = 1;
  else
    Beep();
  ShowServiceRecord();
  cmdOnceki.Enabled = false;
  cmdSonraki.Enabled = canMove();
  bilPointer.SetFocus();
}

void frmServis::cmdOnceki_Click() {
  cmdSonraki.Enabled = canMove();
  if (ServiceRecordNumber != 1) {
    --ServiceRecordNumber;
    ShowServiceRecord();
  } else {
    Beep();
    Caption = " " KV_PROGRAM_TITLE " SERVİS"_w;
    cmdOnceki.Enabled = false;
  }
  bilPointer.SetFocus();
}

void frmServis::cmdSonraki_Click() {
  cmdOnceki.Enabled = canMove();
  if (ServiceRecordNumber != RecordCount) {
    ++ServiceRecordNumber;
    ShowServiceRecord();
  } else {
    Beep();
    Caption = " " KV_PROGRAM_TITLE " SERVİS"_w;
    cmdSonraki.Enabled = false;
  }
  bilPointer.SetFocus();
}

void frmServis::cmdSonuncu_Click() {
  if (ServiceRecordNumber != RecordCount)
    ServiceRecordNumber = RecordCount;
  else
    Beep();
  ShowServiceRecord();
  cmdSonraki.Enabled = false;
  cmdOnceki.Enabled = canMove();
  bilPointer.SetFocus();
}

// ---- Alphabetic order, checked at every step ----

void frmServis::cmdSyBir_Click() {
  if (!canMove()) cmdSyOnceki.Enabled = cmdSySonraki.Enabled = false;
  StepCodeChain(ChainCommand::First);
  bilPointer.SetFocus();
}

void frmServis::cmdSyOnceki_Click() {
  cmdSySonraki.Enabled = canMove();
  StepCodeChain(ChainCommand::Previous);
  bilPointer.SetFocus();
}

void frmServis::cmdSySonraki_Click() {
  cmdSyOnceki.Enabled = canMove();
  StepCodeChain(ChainCommand::Next);
  bilPointer.SetFocus();
}

void frmServis::cmdSySon_Click() {
  if (!canMove()) cmdSyOnceki.Enabled = cmdSySonraki.Enabled = false;
  StepCodeChain(ChainCommand::Last);
  bilPointer.SetFocus();
}

void frmServis::StepCodeChain(ChainCommand ChainMode) {
  const CheckedStep step = checkedChainStep(Products.chainFiles(), RecordCount, ChainMode, ServiceRecordNumber);
  for (int i = 0; i < step.beeps; ++i) Beep();
  showChainButtons(ChainMode, step);
  ServiceRecordNumber = step.record;
  if (step.error == 0)
    ShowServiceRecord();
  else
    MsgBox("Hata Numarası : "_w + std::to_string(step.error), MsgButtons::Ok, MsgIcon::Exclamation,
           "ALFABETİK SIRALAMA HATASI !"_w);
}

// The alphabetic previous and next buttons after a checked step, from where it stands. "Toward" is the
// button on the side the step goes to (previous for first and previous), "away" the other one. An error
// turns off the button toward. First and last: the button toward is on when a record lies beyond the one
// reached on that side; the one away follows the record reached, unless that record is at the end the
// walk started from, where it stays on unless the chain holds one record. Previous and next: the chain's
// ends set the button away (both off in a chain of one record); a neighbour that is no start turns
// previous on, and next on unless it is an end, where next turns it off; previous turns itself off at a
// start.
void frmServis::showChainButtons(ChainCommand command, const CheckedStep& step) {
  const bool startward = command == ChainCommand::First || command == ChainCommand::Previous;
  CommandButton& toward = startward ? cmdSyOnceki : cmdSySonraki;
  CommandButton& away = startward ? cmdSySonraki : cmdSyOnceki;
  if (step.error == 1 || step.error == 2) {
    toward.Enabled = false;
    return;
  }
  if (command == ChainCommand::First || command == ChainCommand::Last) {
    const bool endToward = startward ? step.atStart : step.atEnd;
    toward.Enabled = step.error == 0 && !endToward;
    if (!endToward)
      away.Enabled = !(startward ? step.atEnd : step.atStart);
    else if (!step.chainOfOne)
      away.Enabled = true;
    return;
  }
  if (step.chainOfOne)
    cmdSyOnceki.Enabled = cmdSySonraki.Enabled = false;
  else
    away.Enabled = true;
  if (step.error) {
    toward.Enabled = false;
  } else if (!step.atStart) {
    cmdSyOnceki.Enabled = true;
    if (!step.atEnd)
      cmdSySonraki.Enabled = true;
    else if (command == ChainCommand::Next)
      cmdSySonraki.Enabled = false;
  } else if (command == ChainCommand::Previous) {
    cmdSyOnceki.Enabled = false;
  }
}

// ---- Keys ----

void frmServis::DispatchServiceKey(int KeyCode) {
  // While a search is typed, the keys that lead to a box lead to the search box.
  auto focusOr = [this](TextBox& box) { (FrameArama.Visible() ? bilArananKod : box).SetFocus(); };
  switch (KeyCode) {
    case Key::F1:
      if (cmdKayitla.Enabled()) cmdKayitla_Click();
      break;
    case Key::F2: cmdRebuild_Click(); break;
    case Key::F3: cmdArama_Click(); break;
    case Key::F4: cmdTrueSil_Click(); break;
    case Key::F5: cmdSyBir_Click(); break;
    case Key::F6:
      if (cmdSyOnceki.Enabled()) cmdSyOnceki_Click();
      break;
    case Key::F7:
      if (cmdSySonraki.Enabled()) cmdSySonraki_Click();
      break;
    case Key::F8: cmdSySon_Click(); break;
    case Key::F9: focusOr(bilKod); break;
    case Key::F10: cmdYardim_Click(); break;
    case Key::F11: focusOr(bilPointer); break;
    case Key::F12: focusOr(bilKatsayi); break;
    case Key::PageUp:
      if (cmdOnceki.Enabled()) cmdOnceki_Click();
      break;
    case Key::PageDown:
      if (cmdSonraki.Enabled()) cmdSonraki_Click();
      break;
    case Key::Home: cmdBirinci_Click(); break;
    case Key::End: cmdSonuncu_Click(); break;
    case Key::Escape: cmdExit_Click(); break;
    default: break;
  }
}

void frmServis::cmdYardim_Click() {
  Beep();
  MsgBox("F1 = Kayıtla\rF2 = Yeniden Oluştur\rF3 = Arama\rF4 = Sil\r"
         "F5 = SY-32 / TK-109 sırasına göre, İlk Kayıt\rF6 = SY-32 / TK-109 sırasına göre, Önceki Kayıt\r"
         "F7 = SY-32 / TK-109 sırasına göre, Sonraki Kayıt\rF8 = SY-32 / TK-109 sırasına göre, Son Kayıt\r"
         "F9 = Kod alanına geçiş...\rF10 = Fonksiyon Tuşları (Yardım) \rF11 = Pointer alanına geçiş...\r"
         "F12 = Tip alanına geçiş...\r\rHOME = İlk Kayıt\rEND = Son Kayıt\rPAGE UP = Önceki Kayıt\r"
         "PAGE DOWN = Sonraki Kayıt\r\rESC = Çıkış"_w,
         MsgButtons::Ok, MsgIcon::None, " " KV_PROGRAM_TITLE " SERVİS [ Ekim 2007 ]"_w);
}

void frmServis::cmdExit_Click() {
  Products.close();
  Unload();
  forms().show("frmKalvor");
}

}  // namespace kv
