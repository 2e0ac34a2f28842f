#include "product/frmServis.h"

#include "common/kalvor3.h"

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
  for (Control* c : Controls())
    if (c->kind() == ControlKind::TextBox || c->kind() == ControlKind::CommandButton)
      c->KeyDown = [this](int& k, int) { DispatchServiceKey(k); };
  cmdExit.Click = [this] { cmdExit_Click(); };
  closeBoxRuns([this] { cmdExit_Click(); });
}

void frmServis::layOut() {
  Caption = " KALVOR 952 Uyarlama 3.0 SERVİS"_w;
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
  // The moves, the search, the repair, the wipe, the rebuild and the key list come with the service's own
  // commands; until then they are disabled.
  for (CommandButton* b : {&cmdTamam, &cmdBirinci, &cmdOnceki, &cmdSonraki, &cmdSonuncu, &cmdSyBir, &cmdSyOnceki,
                           &cmdSySonraki, &cmdSySon, &cmdKayitla, &cmdRebuild, &cmdArama, &cmdTrueSil, &cmdYardim})
    b->Enabled = false;
}

void frmServis::Form_Load() {
  centreOnScreen(*this);
  Products.open(KALVOR3.CompanyName, ProductFile::IndexRule::Leave);
  RecordCount = Products.count() == 0 ? 1 : Products.count();
  const std::int16_t current = KALVOR3.CurrentRecordNumber;
  ServiceRecordNumber = current >= 1 && current <= RecordCount ? current : 1;
  Beep();
}

void frmServis::Form_Activate() { ShowServiceRecord(); }

void frmServis::ShowServiceRecord() {
  Caption = " KALVOR 952 Uyarlama 3.0 SERVİS"_w;
  auto valid = [this](int r) { return r >= 1 && r <= RecordCount; };
  if (!valid(ServiceRecordNumber)) {
    cmdKayitla.Enabled = false;
    Beep();
    return;
  }
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
  auto showNeighbour = [&](int r, TextBox& code, TextBox& name) {
    if (valid(r)) {
      const ProductRecord neighbour = Products.read(static_cast<std::int16_t>(r));
      code.Text = trim(neighbour.Code.view());
      name.Text = trim(neighbour.Name.view());
    } else {
      code.Text = "";
      name.Text = "";
    }
  };
  const int previous = ServiceRecord.ChainPrev;
  const int next = ServiceRecord.ChainNext;
  showNeighbour(previous, bilOncekiKod, bilOncekiAd);
  showNeighbour(next, bilSonrakiKod, bilSonrakiAd);
}

void frmServis::DispatchServiceKey(int KeyCode) {
  if (KeyCode == Key::Escape) cmdExit_Click();
}

void frmServis::cmdExit_Click() {
  Products.close();
  Unload();
  forms().show("frmKalvor");
}

}  // namespace kv
