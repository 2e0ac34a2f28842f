#include "recipe/frmRecete.h"

#include "base/numbers.h"
#include "base/program_title.h"
#include "recipe/recipe_files.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

namespace {

std::vector<std::unique_ptr<TextBox>> makeGridBoxes(Form& form) {
  std::vector<std::unique_ptr<TextBox>> boxes;
  for (int n = 1; n <= 4 * kGridRows; ++n) boxes.push_back(std::make_unique<TextBox>(form, "Text" + std::to_string(n)));
  return boxes;
}

// The grid in twips: ten rows one below the other, four columns.
constexpr int kGridTop = 720, kRowHeight = 285;
constexpr int kColumnLeft[4] = {120, 1920, 7200, 8160};
constexpr int kColumnWidth[4] = {1695, 5175, 855, 735};

}  // namespace

frmRecete::frmRecete() : TextBoxes(makeGridBoxes(*this)) {
  KeyPreview = true;
  layOut();
  wireEvents();
}

void frmRecete::layOut() {
  Caption = " " KV_PROGRAM_TITLE "  BETA"_w;
  moveTwips(*this, 0, 0, 9135, 4800);
  moveTwips(LblAnaKod, 120, 120, 1695, 285);
  LblAnaKod.FontBold = true;
  moveTwips(LblAnaAd, 1920, 120, 5175, 285);
  moveTwips(LblTarih, 7080, 120, 1935, 285);
  Label* headers[4] = {&Label1, &Label2, &Label3, &Label4};
  Label* mirrors[4] = {&LblKod, &LblAd, &LblStok, &LblBirim};
  const char* captions[4] = {"Kod", "Ad", "Miktar", "Birim"};
  for (int c = 0; c < 4; ++c) {
    moveTwips(*headers[c], kColumnLeft[c], 450, kColumnWidth[c], 255);
    headers[c]->Caption = captions[c];
    moveTwips(*mirrors[c], kColumnLeft[c], kGridTop + kGridRows * kRowHeight + 90, kColumnWidth[c], 285);
    mirrors[c]->BorderStyle = 1;
    for (int r = 0; r < kGridRows; ++r)
      moveTwips(Text(4 * r + c + 1), kColumnLeft[c], kGridTop + r * kRowHeight, kColumnWidth[c], kRowHeight);
  }
  moveTwips(FrameTip, 120, 4020, 1695, 600);
  FrameTip.Caption = "Tip";
  moveTwips(LblTip, 120, 240, 1455, 285);
  moveTwips(FrameMaliyet, 1920, 4020, 2535, 600);
  FrameMaliyet.Caption = "Maliyet";
  moveTwips(chkPara, 120, 270, 255, 255);
  chkPara.Value = 0;
  moveTwips(txtPara, 480, 240, 1935, 285);
  moveTwips(LblSayfa, 4560, 4200, 1200, 285);
  int x = 5880;
  for (auto [button, caption] :
       {std::pair{&cmdKayitla, "Kayıtla"}, std::pair{&cmdPrint, "Yazdır"}, std::pair{&cmdCikis, "Çıkış"}}) {
    moveTwips(*button, x, 4110, 975, 420);
    button->Caption = w(caption);
    x += 1080;
  }
}

void frmRecete::wireEvents() {
  cmdKayitla.Click = [this] { cmdKayitla_Click(); };
  cmdPrint.Click = [this] { cmdPrint_Click(); };
  cmdCikis.Click = [this] { cmdCikis_Click(); };
  for (CommandButton* button : {&cmdKayitla, &cmdPrint, &cmdCikis})
    button->KeyDown = [this](int& KeyCode, int) { HandleFunctionKey(KeyCode); };
  for (int n = 1; n <= 4 * kGridRows; ++n) {
    Text(n).Change = [this, n] { Text_Change(n); };
    Text(n).GotFocus = [this, n] { Text_GotFocus(n); };
    Text(n).KeyDown = [this, n](int& KeyCode, int) { Text_KeyDown(n, KeyCode); };
  }
  txtPara.Change = [this] { txtPara_Change(); };
  txtPara.KeyDown = [this](int& KeyCode, int) { txtPara_KeyDown(KeyCode); };
  txtPara.LostFocus = [this] { txtPara_LostFocus(); };
  chkPara.Click = [this] { chkPara_Click(); };
  closeBoxRuns([this] { cmdCikis_Click(); });
}

// The session is told what it edits before any file is opened: leaving an editor whose load failed still
// names its files. Until both files are open the editor takes no lines, so that one whose load failed
// (the layer has told which file) never takes a line it could not keep.
void frmRecete::Form_Load() {
  centreOnScreen(*this);
  Session.job = KALVOR3.Job;
  Session.recipeDate = RecipeDate = KALVOR3.RecipeDate;
  FirstLine = 1;
  takeLines(false);
  Products.open(KALVOR3.CompanyName, ProductFile::IndexRule::Leave);
  Session.open();
  takeLines(true);
}

// The grid, the cost box and the save button; without them the editor can only be left.
void frmRecete::takeLines(bool takes) {
  for (auto& box : TextBoxes) box->Enabled = takes;
  FrameMaliyet.Enabled = takes;
  cmdKayitla.Enabled = takes;
}

// The product and the first page; with lines the cursor starts in the first code box.
void frmRecete::Form_Activate() {
  Products.recount();
  ClearGridPage();
  showDate();
  const std::int16_t active = Session.job.ActiveRecordNumber;
  if (active >= 1 && active <= Products.count()) {
    const ProductRecord product = Products.read(active);
    LblAnaKod.Caption = trim(product.Code.view());
    LblAnaAd.Caption = trim(product.Name.view());
  }
  CurrentLine = FirstLine;
  PageNumber = pageOfLine(FirstLine);
  LblSayfa.Caption = std::to_string(PageNumber);
  if (Session.lineCount == 0) return;
  LastLine = std::min(FirstLine + kGridRows - 1, Session.lineCount);
  loadRows();
  ShowGridPage();
  Text(1).SetFocus();
}

void frmRecete::showDate() { LblTarih.Caption = DateToTurkishText(RecipeDate); }

void frmRecete::Form_KeyPress(int& KeyAscii) {
  typeOSlashForEAcute(KeyAscii);
  if (KeyAscii != Key::Escape) return;
  KeyAscii = 0;
  cmdCikis_Click();
}

// Only lines that reached the working copy go back: a line typed but never written is not stored.
void frmRecete::Form_Unload(int& Cancel) {
  (void)Cancel;
  Session.finish();
  Products.close();
}

// F1 and "Kayıtla": the shown page into the working copy.
void frmRecete::cmdKayitla_Click() {
  Caption = " Kayıt yapılıyor..."_w;
  SkipStatus = true;
  SaveGridPage();
}

// An editor whose edit could not be stored (a full disk) stays, so that the user can make room and leave
// again; the file message has told what failed.
void frmRecete::cmdCikis_Click() {
  Unload();
  if (!Loaded()) forms().show("frmAnaliz");
}

}  // namespace kv
