#include "recipe/frmAnaliz.h"

#include <initializer_list>
#include <utility>

#include "base/numbers.h"
#include "base/program_title.h"
#include "recipe/recipe_files.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

frmAnaliz::frmAnaliz() {
  Caption = " " KV_PROGRAM_TITLE "  BETA"_w;
  KeyPreview = true;
  closeBoxRuns([this] { cmdCikis_Click(); });
  layOut();
  wireEvents();
}

void frmAnaliz::layOut() {
  Move(0, 0, 640, 362);

  struct Field {
    Frame* frame;
    Control* content;
    const char* caption;
    int left, top, width;
  };
  const int lx = 12, rx = 324, cw = 304;
  const Field fields[] = {
      {&FrameKod, &txtKod, "Kalvor Kodu", lx, 8, cw},
      {&FrameAd, &lblAd, "Kalvor Adı", rx, 8, cw},
      {&FrameBirim, &lblBirim, "Birim", lx, 68, 96},
      {&FrameUrunGrubu, &lblUrunGrubu, "Ürün Gurubu", lx + 104, 68, cw - 104},
      {&FrameOzelKod, &lblOzelKod, "Özel Kod", rx, 68, cw},
      {&FrameMaliyet, &lblMaliyet, "Reçete Maliyeti", lx, 128, cw},
      {&FrameMalTar, &lblMalTar, "Hesaplama Tarihi", rx, 128, cw},
      {&FrameStatikMaliyet, &lblStatikMaliyet, "Giriş Maliyeti", lx, 188, cw},
      {&FrameStatikMTarih, &lblStatikMTarih, "Maliyet Giriş Tarihi", rx, 188, cw},
      {&FrameOlTarih, &lblOlTarih, "Oluşturma Tarihi", lx, 248, cw},
      {&FrameStatikTarih, &lblStatikTarih, "Aktif Tarih", rx, 248, cw},
  };
  for (const Field& f : fields) {
    f.frame->Move(f.left, f.top, f.width, 54);
    f.frame->Caption = w(f.caption);
    f.content->Move(10, 20, f.width - 20, 26);
  }
  txtKod.MaxLength = 20;
  txtKod.FontBold = true;
  txtKod.TabIndex = 0;

  // The commands in the order of their function keys, which is also the Tab order after the code box.
  const std::pair<CommandButton*, const char*> commands[] = {
      {&cmdAraBul, "Arama "}, {&cmdRecete, "Reçete"}, {&cmdListe, "Liste"},   {&cmdPrint, "Yazdır"},
      {&cmdHesap, "Hesaplat"}, {&cmdServis, "Servis"}, {&cmdYardim, "Yardım"}, {&cmdCikis, "Çıkış"}};
  for (int i = 0; i < 8; ++i) {
    CommandButton& b = *commands[i].first;
    b.Move(lx + i * 78, 316, 72, 34);
    b.Caption = w(commands[i].second);
    b.TabIndex = i + 1;
  }
}

void frmAnaliz::wireEvents() {
  for (Control* c : std::initializer_list<Control*>{&txtKod, &cmdAraBul, &cmdCikis, &cmdListe, &cmdPrint,
                                                    &cmdRecete, &cmdServis, &cmdYardim})
    c->KeyDown = [this](int& k, int) { HandleFunctionKey(k); };
  cmdHesap.KeyDown = [this](int& k, int) {
    Beep();
    HandleFunctionKey(k);
  };
  txtKod.KeyPress = [this](int& k) { txtKod_KeyPress(k); };
  cmdAraBul.Click = [this] { cmdAraBul_Click(); };
  cmdHesap.Click = [this] { cmdHesap_Click(); };
  cmdRecete.Click = [this] { cmdRecete_Click(); };
  cmdListe.Click = [this] { cmdListe_Click(); };
  cmdPrint.Click = [this] { cmdPrint_Click(); };
  cmdServis.Click = [this] { cmdServis_Click(); };
  cmdYardim.Click = [this] { cmdYardim_Click(); };
  cmdCikis.Click = [this] { cmdCikis_Click(); };
}

std::string frmAnaliz::analysisTitle() { return " " KV_PROGRAM_TITLE " ANALİZ"_w; }

// ---- Lifecycle ----

void frmAnaliz::Form_Load() {
  centreOnScreen(*this);
  // Without its product file the window has nothing to show: it is told once, and the program leaves the
  // company for the start-up dialog.
  try {
    Products.open(KALVOR3.CompanyName);
  } catch (const FileError& e) {
    LeaveCompany(*this, e);
    return;
  }

  KALVOR3.RecipeDate = KALVOR3.StaticDate;
  KALVOR3.ServiceRequest = RecipeServiceJob::None;
  ActivationPending = true;
  CurrentRecord = KALVOR3.CurrentRecordNumber;
}

void frmAnaliz::Form_Activate() {
  if (LeavingCompany()) return;
  // Costing and reports need the recipe file, under its exact name.
  const bool haveRecipes = listedUnderExactName(companyFileName(Products.company(), RecipeFileKind::Recipes));
  cmdHesap.Enabled = haveRecipes;
  cmdPrint.Enabled = haveRecipes;

  if (!ActivationPending) return;
  ActivationPending = false;
  if (CurrentRecord > Products.count() || CurrentRecord == 0) CurrentRecord = Products.count();
  Beep();
  handleServiceRequest();
  Caption = analysisTitle();
  KeepTitle = true;
  ShowProduct();
  txtKod.SetFocus();
}

void frmAnaliz::Form_Click() {
  Beep();
  if (SearchMode) return;
  ShowProduct();
  txtKod.SetFocus();
}

// Every typed character passes here first.
void frmAnaliz::Form_KeyPress(int& KeyAscii) {
  typeOSlashForEAcute(KeyAscii);
  if (KeyAscii != Key::Escape) return;
  KeyAscii = 0;
  if (SearchMode)
    ShowProduct();
  else
    cmdCikis_Click();
}

void frmAnaliz::Form_Unload(int& Cancel) {
  (void)Cancel;
  Products.close();
}

// ---- Keys ----

void frmAnaliz::HandleFunctionKey(int KeyCode) {
  switch (KeyCode) {
    case Key::F1: cmdAraBul_Click(); break;
    case Key::F2: cmdRecete_Click(); break;
    case Key::F3: cmdListe_Click(); break;
    case Key::F4: cmdPrint_Click(); break;
    case Key::F5: cmdHesap_Click(); break;
    case Key::F6: cmdServis_Click(); break;
    case Key::F10: cmdYardim_Click(); break;
    case Key::F12: Beep(); break;
    case Key::Home: stepTo(1, Products.count() >= 1); break;
    case Key::End: stepTo(Products.count(), Products.count() >= 1); break;
    case Key::PageUp: stepTo(static_cast<std::int16_t>(CurrentRecord - 1), CurrentRecord >= 2); break;
    case Key::PageDown: stepTo(static_cast<std::int16_t>(CurrentRecord + 1), CurrentRecord < Products.count()); break;
    default: break;
  }
}

// A navigation key: to `record` when the step is possible, else a beep and the window's title.
void frmAnaliz::stepTo(std::int16_t record, bool possible) {
  if (possible) {
    CurrentRecord = record;
    ShowProduct();
  } else {
    Beep();
    Caption = analysisTitle();
  }
  txtKod.SetFocus();
}

// ---- Display ----

void frmAnaliz::ShowProduct() {
  ActiveRecordNumber = CurrentRecord;
  SearchMode = false;
  if (CurrentRecord > Products.count() || CurrentRecord < 1) {
    if (Products.count() < 1) {
      Beep();
      return;
    }
    CurrentRecord = Products.count();
  }
  // A deleted record gives its place to the next live one; the display keeps its content when none follows.
  const std::int16_t live = Products.liveFrom(CurrentRecord);
  if (live == 0) {
    CurrentRecord = Products.count();
    Beep();
    MsgBox("Geçerli kayıt olmadığı için görüntülenemiyor..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "! HATA !");
    return;
  }
  CurrentRecord = live;
  Product = Products.read(CurrentRecord);
  showProductFields();
  if (KeepTitle) {
    KeepTitle = false;
    return;
  }
  Caption = " KALVOR 952  Kayıt :"_w + recordNumberText(CurrentRecord) + " /" + recordNumberText(Products.count());
}

void frmAnaliz::showProductFields() {
  txtKod.Text = trim(Product.Code.view());
  lblAd.Caption = trim(Product.Name.view());
  lblBirim.Caption = trim(Product.Unit.view());
  lblUrunGrubu.Caption = trim(Product.ProductGroup.view());
  lblOzelKod.Caption = trim(Product.SpecialCode.view());
  lblMaliyet.Caption = currencyText(Product.RecipeCost);
  lblMalTar.Caption = DateToTurkishText(Product.RecipeDate.view());
  lblStatikMaliyet.Caption = currencyText(Product.Cost);
  lblStatikMTarih.Caption = DateToTurkishText(Product.UpdatedDate.view());
  lblOlTarih.Caption = DateToTurkishText(Product.CreatedDate.view());
  lblStatikTarih.Caption = DateToTurkishText(KALVOR3.RecipeDate);
}

void frmAnaliz::ClearProductDisplay() {
  Caption = SearchMode ? " " KV_PROGRAM_TITLE " BETA [ Kayıt Arama ]"_w : " " KV_PROGRAM_TITLE " BETA"_w;
  txtKod.Text = "";
  for (Label* l : {&lblAd, &lblBirim, &lblUrunGrubu, &lblOzelKod, &lblMaliyet, &lblMalTar, &lblStatikMaliyet,
                   &lblStatikMTarih, &lblOlTarih, &lblStatikTarih})
    l->Caption = "";
}

// This window's own date form: "5 Mart 2008", without the blanks around the shared long form.
std::string frmAnaliz::DateToTurkishText(Date d) const {
  return std::to_string(d.day()) + " " + turkishMonthName(d.month()) + recordNumberText(d.year());
}

// A record's date text; one that is no date (a blank field) is shown as it stands.
std::string frmAnaliz::DateToTurkishText(std::string_view recordDate) const {
  if (auto d = parseShortDate(recordDate)) return DateToTurkishText(*d);
  return std::string(recordDate);
}

}  // namespace kv
