#include "lists/frmFiltre.h"

#include "base/program_title.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "lists/list_file.h"
#include "records/kalvor3.h"
#include "records/product_record.h"

namespace kv {

using namespace ui;

namespace {

const char* const kFilterTitle = " " KV_PROGRAM_TITLE " FİLTRE";

// Selects the choice after the selected one, the first after the last.
template <std::size_t N>
void selectNext(const std::array<OptionButton*, N>& group) {
  for (std::size_t i = 0; i < N; ++i)
    if (group[i]->Value()) {
      group[(i + 1) % N]->Value = true;
      return;
    }
}

template <std::size_t N>
int selectedIn(const std::array<OptionButton*, N>& group) {
  for (std::size_t i = 0; i < N; ++i)
    if (group[i]->Value()) return static_cast<int>(i);
  return 0;
}

void placeOptions(std::initializer_list<std::pair<OptionButton*, const char*>> options, int left, int top, int step,
                  bool across) {
  int at = 0;
  for (const auto& [option, caption] : options) {
    moveTwips(*option, left + (across ? at : 0), top + (across ? 0 : at), 1215, 255);
    option->Caption = w(caption);
    at += step;
  }
}

}  // namespace

frmFiltre::Condition::Condition(Form& form, const std::string& k)
    : FrameYer(form, "FrameYer" + k),
      optSoldan(FrameYer, "optSoldan" + k),
      optSagdan(FrameYer, "optSagdan" + k),
      optOrtadan(FrameYer, "optOrtadan" + k),
      FrameFiltre(form, "FrameFiltre" + k),
      txtFiltre(FrameFiltre, "txtFiltre" + k),
      optKod(FrameFiltre, "optKod" + k),
      optAd(FrameFiltre, "optAd" + k),
      optUrunGrp(FrameFiltre, "optUrunGrp" + k),
      optOzelKod(FrameFiltre, "optOzelKod" + k),
      optTedarikci(FrameFiltre, "optTedarikci" + k),
      FrameVarYok(form, "FrameVarYok" + k),
      optOlan(FrameVarYok, "optOlan" + k),
      optOlmayan(FrameVarYok, "optOlmayan" + k),
      optYok(FrameVarYok, "optYok" + k) {}

FilterCondition frmFiltre::Condition::setting() {
  return {static_cast<FilterField>(selectedIn(fields())), static_cast<MatchSide>(selectedIn(sides())),
          static_cast<MatchStatus>(selectedIn(statuses())), txtFiltre.Text()};
}

frmFiltre::frmFiltre() {
  layOut();
  selectDefaults();
  wireEvents();
}

void frmFiltre::layOutCondition(Condition& c, int top) {
  const std::string k = c.txtFiltre.Name().substr(9);
  moveTwips(c.FrameYer, 120, top, 1455, 1215);
  placeOptions({{&c.optSoldan, "Soldan"}, {&c.optSagdan, "Sağdan"}, {&c.optOrtadan, "Ortadan"}}, 120, 240, 300, false);
  moveTwips(c.FrameFiltre, 1680, top, 4095, 1250);
  c.FrameFiltre.Caption = "Filtre " + k;
  moveTwips(c.txtFiltre, 120, 360, 2535, 405);
  c.txtFiltre.FontBold = true;
  placeOptions({{&c.optKod, "Ürün Kodu"}, {&c.optAd, "Ürün Adı"}}, 120, 840, 1290, true);
  placeOptions({{&c.optUrunGrp, "Ürün Grp"}, {&c.optOzelKod, "Özel Kod"}, {&c.optTedarikci, "Tedarikçi"}}, 2775, 240,
               300, false);
  moveTwips(c.FrameVarYok, 5880, top, 1455, 1215);
  placeOptions({{&c.optOlan, "Olan"}, {&c.optOlmayan, "Olmayan"}, {&c.optYok, "Yok"}}, 120, 240, 300, false);
}

void frmFiltre::layOut() {
  Caption = w(kFilterTitle);
  moveTwips(*this, 0, 0, 7470, 5895);
  layOutCondition(c1, 90);
  layOutCondition(c2, 1950);
  layOutCondition(c3, 3810);
  moveTwips(FrameVe1, 2520, 1380, 1815, 555);
  moveTwips(FrameVe2, 2520, 3240, 1815, 555);
  placeOptions({{&optVe1, "Ve"}, {&optVeya1, "Veya"}}, 120, 240, 840, true);
  placeOptions({{&optVe2, "Ve"}, {&optVeya2, "Veya"}}, 120, 240, 840, true);
  moveTwips(cmdUygula, 120, 5280, 1575, 375);
  cmdUygula.Caption = "Uygula";
  moveTwips(cmdVazgec, 5760, 5280, 1575, 375);
  cmdVazgec.Caption = "Vazgeç"_w;
  // The boxes first, so that the first box has the focus when the dialog opens.
  int tab = 0;
  for (Control* c : std::initializer_list<Control*>{&c1.txtFiltre, &c2.txtFiltre, &c3.txtFiltre, &cmdUygula, &cmdVazgec})
    c->TabIndex = tab++;
  KeyPreview = true;
}

void frmFiltre::selectDefaults() {
  c1.optSoldan.Value = true;
  c1.optKod.Value = true;
  c1.optYok.Value = true;
  optVe1.Value = true;
  c2.optSoldan.Value = true;
  c2.optAd.Value = true;
  c2.optYok.Value = true;
  optVe2.Value = true;
  c3.optSoldan.Value = true;
  c3.optUrunGrp.Value = true;
  c3.optYok.Value = true;
}

// A click anywhere in a condition's row puts the cursor into its box; a click on a join into the box of
// the condition below it. Every option hands its keys to the dialog's key map.
void frmFiltre::wireEvents() {
  auto focusOnClick = [this](Control& c, TextBox& box) { c.Click = [&box] { box.SetFocus(); }; };
  for (Condition* c : {&c1, &c2, &c3}) {
    for (Control* x : std::initializer_list<Control*>{&c->FrameYer, &c->FrameFiltre, &c->FrameVarYok}) focusOnClick(*x, c->txtFiltre);
    for (OptionButton* o : {&c->optSoldan, &c->optSagdan, &c->optOrtadan, &c->optKod, &c->optAd, &c->optUrunGrp,
                            &c->optOzelKod, &c->optTedarikci, &c->optOlan, &c->optOlmayan, &c->optYok})
      focusOnClick(*o, c->txtFiltre);
  }
  for (Control* x : std::initializer_list<Control*>{&FrameVe1, &optVe1, &optVeya1}) focusOnClick(*x, c2.txtFiltre);
  for (Control* x : std::initializer_list<Control*>{&FrameVe2, &optVe2, &optVeya2}) focusOnClick(*x, c3.txtFiltre);
  for (Control* c : Controls())
    if (c->kind() == ControlKind::OptionButton || c->kind() == ControlKind::CommandButton)
      c->KeyDown = [this](int& k, int) { FilterFormKeyDown(k); };
  c1.txtFiltre.KeyDown = [this](int& k, int) { textKeyDown(k, c3.txtFiltre, c2.txtFiltre); };
  c2.txtFiltre.KeyDown = [this](int& k, int) { textKeyDown(k, c1.txtFiltre, c3.txtFiltre); };
  c3.txtFiltre.KeyDown = [this](int& k, int) { textKeyDown(k, c2.txtFiltre, c1.txtFiltre); };
  // ENTER walks down the boxes to Uygula; it does not run the filter.
  c1.txtFiltre.KeyPress = [this](int& k) { if (k == Key::Enter) c2.txtFiltre.SetFocus(); };
  c2.txtFiltre.KeyPress = [this](int& k) { if (k == Key::Enter) c3.txtFiltre.SetFocus(); };
  c3.txtFiltre.KeyPress = [this](int& k) { if (k == Key::Enter) cmdUygula.SetFocus(); };
  cmdUygula.Click = [this] { cmdUygula_Click(); };
  cmdVazgec.Click = [this] { cmdVazgec_Click(); };
  closeBoxRuns([this] { cmdVazgec_Click(); });
}

std::string frmFiltre::listFileName() const { return KALVOR3.CompanyName + ".LST"; }

// ---- Lifecycle ----

void frmFiltre::Form_Load() {
  centreOnScreen(*this);
  ListRecordCount = static_cast<std::int16_t>(recordCountByName(listFileName(), ProductRecord::Length));
  Beep();
}

// An empty list has nothing to filter: it goes, and the list dialog builds anew.
void frmFiltre::Form_Activate() {
  if (ListRecordCount != 0) return;
  MsgBox("Listelenecek kayıt olmadığından\rfiltre işlemi iptal edildi!..."_w, MsgButtons::Ok, MsgIcon::Exclamation,
         w(kFilterTitle));
  deleteFileQuietly(listFileName());
  KALVOR3.List.ListReady = false;
  backToListDialog();
}

void frmFiltre::backToListDialog() {
  Unload();
  forms().show("frmDizgi");
}

void frmFiltre::Form_Click() { ClearFilter(); }

void frmFiltre::Form_KeyPress(int& KeyAscii) { typeOSlashForEAcute(KeyAscii); }

// ---- Keys ----

void frmFiltre::textKeyDown(int& KeyCode, TextBox& previous, TextBox& next) {
  if (!moveFocusByArrow(KeyCode, next, &previous)) FilterFormKeyDown(KeyCode);
}

// Selecting a choice from a key runs its click, which puts the cursor into that condition's box.
void frmFiltre::FilterFormKeyDown(int KeyCode) {
  switch (KeyCode) {
    case Key::Escape: cmdVazgec_Click(); break;
    case Key::F1: ApplyFilter(); break;
    case Key::F2: ClearFilter(); break;
    case Key::F3: selectNext(c1.fields()); break;
    case Key::F4: selectNext(c2.fields()); break;
    case Key::F5: selectNext(c1.sides()); break;
    case Key::F6: selectNext(c1.statuses()); break;
    case Key::F7: selectNext(c2.sides()); break;
    case Key::F8: selectNext(c2.statuses()); break;
    case Key::F9:
      if (optVe1.Value())
        optVeya1.Value = true;
      else
        optVe1.Value = true;
      break;
    case Key::F10: showKeyList(); break;
    case Key::F11: c1.txtFiltre.SetFocus(); break;
    case Key::F12: c2.txtFiltre.SetFocus(); break;
    default: break;
  }
}

void frmFiltre::showKeyList() {
  Beep();
  MsgBox("F1 = Uygula...\rF2 = Temizle...\rF3 = 1. Filtre alanı seçimi...\rF4 = 2. Filtre alanı seçimi...\r"
         "F5 = 1. Karşılaştırma tarafı seçimi...\rF6 = 2. Karşılaştırma tarafı seçimi...\r"
         "F7 = 1. Uygulama durumu seçimi...\rF8 = 2. Uygulama durumu seçimi...\r"
         "F9 = 1. SERİ/PARALEL Filtre işlemi seçimi...\rF10 = Tuş yardımı...\r"
         "F11 = İmleç 1. filtre dizgi alanına...\rF12 = İmleç 2. filtre dizgi alanına...\r"
         "ESC = Vazgeç... ( Çıkış... )"_w,
         MsgButtons::Ok, MsgIcon::None, KV_PROGRAM_TITLE "  FİLTRE"_w);
}

void frmFiltre::ClearFilter() {
  Beep();
  for (Condition* c : {&c1, &c2, &c3}) c->txtFiltre.Text = "";
  selectDefaults();
}

// ---- Commands ----

FilterSettings frmFiltre::settings() {
  return {{c1.setting(), c2.setting(), c3.setting()},
          {optVe1.Value() ? FilterJoin::And : FilterJoin::Or, optVe2.Value() ? FilterJoin::And : FilterJoin::Or}};
}

// The list file then holds what the conditions leave and is ready for output; when nothing is left it
// goes, and the list dialog builds the list anew.
void frmFiltre::ApplyFilter() {
  const FilterSettings s = settings();
  if (!s.anyInUse()) {
    Beep();
    c1.txtFiltre.SetFocus();
    return;
  }
  FilterOutcome left;
  {
    BusyPointer busy(*this);
    try {
      left = filterListFile(KALVOR3.CompanyName, listFileName(), s);
    } catch (const FileError& e) {
      busy.restore();
      tellFileError(*this, e);
      return;
    }
  }
  if (left.count == 0) {
    Beep();
    MsgBox("Listelenecek kayıt olmadığından\rfiltre işlemi iptal edildi!..."_w, MsgButtons::Ok, MsgIcon::Exclamation,
           w(kFilterTitle));
  }
  if (left.cut) {
    Beep();
    MsgBox("Filtre sonucu 32767 kaydı aştığından\rlisteye ilk 32767 kayıt alındı!..."_w, MsgButtons::Ok,
           MsgIcon::Exclamation, w(kFilterTitle));
  }
  KALVOR3.List.ListReady = left.count > 0;
  backToListDialog();
}

void frmFiltre::cmdUygula_Click() { ApplyFilter(); }

// The unfiltered list stays on disk, but the list dialog builds it again before its next output.
void frmFiltre::cmdVazgec_Click() {
  KALVOR3.List.ListReady = false;
  backToListDialog();
}

}  // namespace kv
