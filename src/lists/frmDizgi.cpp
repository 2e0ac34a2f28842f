#include "lists/frmDizgi.h"

#include "base/program_title.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "lists/list_file.h"
#include "records/kalvor3.h"
#include "records/product_record.h"

namespace kv {

using namespace ui;

namespace {

constexpr double kFontSize = 9.75;
const char* const kListTitle = KV_PROGRAM_TITLE "  LİSTE";

// The dialog is designed in twips.
void place(Control& c, int left, int top, int width, int height, int tabIndex) {
  moveTwips(c, left, top, width, height);
  c.TabIndex = tabIndex;
  c.FontSize = kFontSize;
}

// The whole code range: nothing before the first code, the highest character twenty times after the last.
std::string highestCode() { return std::string(20, static_cast<char>(kKeyOSlash)); }

// Of two options, selects the second when the first is selected, else the first.
void toggle(OptionButton& first, OptionButton& second) {
  if (first.Value())
    second.Value = true;
  else
    first.Value = true;
}

// The build's messages are read with the ordinary pointer; a build that goes on after one (the list in
// record order after the index notice) has the hourglass again.
class PointerSink : public MessageSink {
 public:
  explicit PointerSink(Form& form) : form_(form) {}
  void beep() override { form_.beep(); }
  MsgAnswer message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
    const int before = form_.MousePointer();
    form_.MousePointer = Pointer::Default;
    const MsgAnswer answer = form_.message(text, buttons, icon, title);
    form_.MousePointer = before;
    return answer;
  }

 private:
  Form& form_;
};

}  // namespace

frmDizgi::frmDizgi() {
  layOut();
  wireEvents();
}

void frmDizgi::layOut() {
  Caption = " " KV_PROGRAM_TITLE "  LİSTE"_w;
  moveTwips(*this, 0, 0, 6495, 2835);

  struct Item {
    CaptionControl* control;
    const char* caption;
    int left, top, width, height, tabIndex;
  };
  const Item items[] = {
      {&FrameAlfabetik, "", 120, 0, 6255, 1215, 0},
      {&lblBirinci, "İlk Kayıt : ", 120, 285, 1095, 255, 16},
      {&lblSonuncu, "Son Kayıt : ", 120, 765, 1095, 255, 17},
      {&OptKayitsal, "Kayıtsal", 4850, 360, 1095, 255, 6},
      {&OptAlfabetik, "Alfabetik", 4850, 720, 1215, 255, 7},
      {&FrameListe, "", 120, 1320, 2175, 615, 14},
      {&OptEkran, "Ekran", 120, 240, 975, 255, 8},
      {&OptYazici, "Yazıcı", 1080, 240, 1020, 300, 9},
      {&FramePrint, "", 2400, 1320, 3975, 615, 15},
      {&optKod, "Kod", 120, 240, 735, 255, 13},
      {&OptMaliyet, "Maliyet", 960, 240, 1095, 255, 10},
      {&OptFiyat, "Fiyat", 2040, 240, 855, 255, 11},
      {&OptSayim, "Sayım", 2920, 240, 900, 255, 12},
      {&cmdFiltre, "Filtre", 120, 2160, 1335, 375, 5},
      {&cmdPrint, "Yazdır", 2520, 2160, 1335, 375, 3},
      {&cmdVazgec, "Vazgeç", 5040, 2160, 1335, 375, 4},
  };
  for (const Item& it : items) {
    place(*it.control, it.left, it.top, it.width, it.height, it.tabIndex);
    it.control->Caption = w(it.caption);
  }
  place(txtBirinci, 1320, 240, 3375, 375, 1);
  place(txtSonuncu, 1320, 720, 3375, 375, 2);
  txtBirinci.FontBold = true;
  txtSonuncu.FontBold = true;
  txtSonuncu.Text = highestCode();
  // Set before the click handlers are wired: the design's choices, not a user's.
  OptAlfabetik.Value = true;
  OptEkran.Value = true;
  optKod.Value = true;
}

// The option buttons have no keys of their own: function keys act in the two boxes and on the commands.
void frmDizgi::wireEvents() {
  FrameAlfabetik.Click = [this] { FrameAlfabetik_Click(); };
  OptAlfabetik.Click = [this] { OptAlfabetik_Click(); };
  OptKayitsal.Click = [this] { OptKayitsal_Click(); };
  optKod.Click = [this] { OptKod_Click(); };
  OptMaliyet.Click = [this] { optMaliyet_Click(); };
  OptFiyat.Click = [this] { OptFiyat_Click(); };
  OptSayim.Click = [this] { OptSayim_Click(); };
  txtBirinci.KeyDown = [this](int& k, int s) { txtBirinci_KeyDown(k, s); };
  txtSonuncu.KeyDown = [this](int& k, int s) { txtSonuncu_KeyDown(k, s); };
  txtBirinci.KeyPress = [this](int& k) { txtBirinci_KeyPress(k); };
  txtSonuncu.KeyPress = [this](int& k) { txtSonuncu_KeyPress(k); };
  for (CommandButton* b : {&cmdFiltre, &cmdPrint, &cmdVazgec})
    b->KeyDown = [this](int& k, int) { ListOptionsKeyDown(k); };
  cmdFiltre.Click = [this] { cmdFiltre_Click(); };
  cmdPrint.Click = [this] { cmdPrint_Click(); };
  cmdVazgec.Click = [this] { cmdVazgec_Click(); };
  closeBoxRuns([this] { cmdVazgec_Click(); });
}

std::string frmDizgi::listFileName() const { return Products.company() + ".LST"; }

// ---- Lifecycle ----

void frmDizgi::Form_Load() {
  centreOnScreen(*this);
  // The main window keeps its own handles on these files: the dialog opens them on numbers of its own.
  Products.open(KALVOR3.CompanyName, ProductFile::IndexRule::Leave);
  deleteFileQuietly(listFileName());
  Beep();
  KALVOR3.List = {1, false};
}

// Every activation, also a return while the dialog was only hidden: the product file may have changed,
// and the list file was closed before the dialog was left.
void frmDizgi::Form_Activate() {
  ProductCount = Products.recount();
  ListFile.open(listFileName(), ProductRecord::Length);
}

// However the dialog goes, it leaves none of its files open, the list file included.
void frmDizgi::Form_Unload(int& Cancel) {
  (void)Cancel;
  closeFiles();
}

// A number is forgotten once closed: closing again (the dialog's unload after its exit) must not reach a
// file that another window has opened on the same number meanwhile.
void frmDizgi::closeFiles() {
  Products.close();
  ListFile.close();
}

// The main window was only hidden: showing it runs its activation, which shows its record again.
void frmDizgi::leaveForMainWindow() {
  closeFiles();
  deleteFileQuietly(listFileName());
  forms().show("frmKalvor");
  Unload();
}

// ---- Options ----

void frmDizgi::FrameAlfabetik_Click() { txtBirinci.SetFocus(); }

void frmDizgi::OptAlfabetik_Click() {
  txtBirinci.Text = "";
  txtSonuncu.Text = highestCode();
}

void frmDizgi::OptKayitsal_Click() {
  txtBirinci.Text = "1";
  txtSonuncu.Text = std::to_string(ProductCount);
}

void frmDizgi::OptKod_Click() { KALVOR3.List.ListKind = 1; }
void frmDizgi::optMaliyet_Click() { KALVOR3.List.ListKind = 2; }
void frmDizgi::OptFiyat_Click() { KALVOR3.List.ListKind = 3; }
void frmDizgi::OptSayim_Click() { KALVOR3.List.ListKind = 4; }

// ---- Keys ----

void frmDizgi::txtBirinci_KeyDown(int& KeyCode, int Shift) {
  (void)Shift;
  if (KeyCode == Key::Up || KeyCode == Key::Down)
    txtSonuncu.SetFocus();
  else
    ListOptionsKeyDown(KeyCode);
}

void frmDizgi::txtSonuncu_KeyDown(int& KeyCode, int Shift) {
  (void)Shift;
  if (KeyCode == Key::Up || KeyCode == Key::Down)
    txtBirinci.SetFocus();
  else
    ListOptionsKeyDown(KeyCode);
}

// ENTER three times from the first box starts the list: first box, last box, Yazdır.
void frmDizgi::txtBirinci_KeyPress(int& KeyAscii) {
  typeOSlashForEAcute(KeyAscii);
  if (KeyAscii == Key::Enter) txtSonuncu.SetFocus();
}

void frmDizgi::txtSonuncu_KeyPress(int& KeyAscii) {
  typeOSlashForEAcute(KeyAscii);
  if (KeyAscii == Key::Enter) cmdPrint.SetFocus();
}

// Selecting an option from a key runs its click handler, as a click with the mouse does.
void frmDizgi::ListOptionsKeyDown(int KeyCode) {
  switch (KeyCode) {
    case Key::F1: cmdPrint_Click(); break;
    case Key::F2: cmdFiltre_Click(); break;
    case Key::F3: toggle(OptEkran, OptYazici); break;
    case Key::F4: toggle(OptKayitsal, OptAlfabetik); break;
    case Key::F5:
      if (OptFiyat.Value())
        OptMaliyet.Value = true;
      else if (OptMaliyet.Value())
        optKod.Value = true;
      else if (optKod.Value())
        OptSayim.Value = true;
      else
        OptFiyat.Value = true;
      break;
    case Key::Home: txtBirinci.SetFocus(); break;
    case Key::End: txtSonuncu.SetFocus(); break;
    case Key::F10: showKeyList(); break;
    case Key::Escape: cmdVazgec_Click(); break;
    default: break;
  }
}

void frmDizgi::showKeyList() {
  Beep();
  MsgBox("F1 = Yazdır...\rF2 = Filtre...\rF3 = Ekran / Yazıcı Seçimi...\rF4 = Alfabetik / Kayıtsal Seçimi...\r"
         "F5 = Liste Seçimi...\rF10 = Tuş yardımı...\rHOME= Başlangıç kodu alanına geçiş...\r"
         "END = Bitiş kodu alanına geçiş...\rESC = Vazgeç... ( Çıkış... )"_w,
         MsgButtons::Ok, MsgIcon::None, w(kListTitle));
}

// ---- Commands ----

// Nothing to list: the dialog says so and returns to the main window.
void frmDizgi::abandonEmptyList(const std::string& text) {
  Beep();
  MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, w(kListTitle));
  leaveForMainWindow();
}

// Builds the list of the chosen range under the hourglass. False when a file failed (the user was told).
bool frmDizgi::BuildProductListFile() {
  BusyPointer busy(*this);
  ListCount = 0;
  try {
    PointerSink sink(*this);
    const ListRange range{OptAlfabetik.Value() ? ListOrder::Alphabetic : ListOrder::RecordOrder, txtBirinci.Text(),
                          txtSonuncu.Text()};
    const ListBuild built = buildProductList(Products, ListFile, range, sink);
    ListCount = built.count;
    if (built.ready) KALVOR3.List.ListReady = true;
    return true;
  } catch (const FileError& e) {
    busy.restore();
    tellFileError(*this, e);
    return false;
  }
}

// A list that is not ready (a broken chain, a range before the first code) leaves the dialog as it was.
void frmDizgi::cmdFiltre_Click() {
  if (ProductCount == 0) {
    abandonEmptyList("Listelenecek kayıt olmadığından\rfiltre işlemi iptal edildi!..."_w);
    return;
  }
  if (!BuildProductListFile() || !KALVOR3.List.ListReady) return;
  ListFile.close();
  Hide();
  forms().show("frmFiltre");
}

// A filtered list waiting is output as it is; otherwise the list is built. What was written before a
// broken chain stopped the build is output too.
void frmDizgi::cmdPrint_Click() {
  if (KALVOR3.List.ListReady) {
    try {
      ListCount = static_cast<std::int16_t>(ListFile.count());
    } catch (const FileError& e) {
      tellFileError(*this, e);
      return;
    }
  } else if (ProductCount == 0) {
    ListCount = 0;
  } else if (!BuildProductListFile()) {
    return;
  }
  if (ListCount == 0) {
    abandonEmptyList("Yazdırılacak kayıt olmadığından\ryazma işlemi iptal edildi!..."_w);
    return;
  }
  closeFiles();
  const bool screen = OptEkran.Value();
  Unload();
  Beep();
  forms().show(screen ? "frmListe" : "frmLstPrn");
}

void frmDizgi::cmdVazgec_Click() { leaveForMainWindow(); }

}  // namespace kv
