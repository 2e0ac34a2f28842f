// The editor's keys: the function-key dispatcher that every box and button hands its keys to, the way
// the arrows and Enter lead through the grid, the lookup of a typed component code, and the cost box.
#include "base/numbers.h"
#include "base/program_title.h"
#include "recipe/component_entry.h"
#include "recipe/frmRecete.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

namespace {

constexpr int kColumns = 4;
int rowOf(int Index) { return (Index - 1) / kColumns; }     // 0..9
int columnOf(int Index) { return (Index - 1) % kColumns; }  // 0 Kod, 1 Ad, 2 Miktar, 3 Birim

// The cost box shows plain numbers while it is used and currency texts ("1.234,50 TL") after it; both read
// back to what they show.
double costBoxReading(const std::string& text) {
  const std::string t = trim(text);
  return t.ends_with("TL") ? readCurrencyText(t) : leadingNumber(t);
}

}  // namespace

// With an empty working copy only F10 acts.
void frmRecete::HandleFunctionKey(int KeyCode) {
  if (Session.lineCount == 0 && KeyCode != Key::F10) return;
  auto toPage = [this](std::int32_t page) {
    PageNumber = page;
    SilentSave = true;
    SaveGridPage();
  };
  switch (KeyCode) {
    case Key::PageDown: toPage(PageNumber + 1); break;
    case Key::PageUp: toPage(PageNumber - 1); break;
    case Key::End:
      Beep();
      toPage(pageOfLine(Session.lineCount));
      break;
    case Key::Home:
      Beep();
      toPage(1);
      break;
    case Key::F1:
      Beep();
      Caption = " Kayıt yapılıyor..."_w;
      SaveGridPage();
      break;
    case Key::F2: cmdPrint_Click(); break;
    case Key::F3:
      Beep();
      if (CurrentLine >= 1 && CurrentLine <= Session.lineCount &&
          MsgBox(recordNumberText(CurrentLine) + " numaralı kayıtı silmek istiyormusunuz?"_w, MsgButtons::YesNo,
                 MsgIcon::Question, "KAYIT SİLME"_w) == MsgAnswer::Yes)
        DeleteCurrentLine();
      break;
    case Key::F4:
      Beep();
      chkPara.Value = chkPara.Value() == 0 ? 1 : 0;
      break;
    case Key::F10:
      Beep();
      MsgBox("F1 = Kayıtla...\rF2 = Yazdır...\rF3 = Sil...\rF4 = Maliyet TabStop Seçeneği...\rF10 = Tuş Yardımı...\r\r"
             "ESC = Çıkış..."_w,
             MsgButtons::Ok, MsgIcon::None, KV_PROGRAM_TITLE);
      break;
    default: break;
  }
}

// ---- The grid boxes ----

// Each column has its mirror label; the Miktar label shows the number the box begins with.
void frmRecete::Text_Change(int Index) {
  const std::string& text = Text(Index).Text();
  switch (columnOf(Index)) {
    case 0: LblKod.Caption = text; break;
    case 1: LblAd.Caption = text; break;
    case 2: LblStok.Caption = doubleText(leadingNumber(text)); break;
    default: LblBirim.Caption = text; break;
  }
}

void frmRecete::Text_GotFocus(int Index) {
  RowOffset = rowOf(Index);
  Column = columnOf(Index);
  CurrentLine = FirstLine + RowOffset;
  ShowCurrentLineStatus();
}

// Up and Down move by a row, scrolling at the top and the bottom of the grid; Enter leads through a row as
// Kod (the code looked up), Miktar, then the cost box or the next row. Other keys go to the dispatcher.
void frmRecete::Text_KeyDown(int Index, int& KeyCode) {
  const int r = rowOf(Index);
  switch (KeyCode) {
    case Key::Down:
      if (r < kGridRows - 1) {
        Text(Index + kColumns).SetFocus();
      } else {
        ScrollGridDown();
        Text(Index).SetFocus();
      }
      return;
    case Key::Up:
      if (r > 0) {
        Text(Index - kColumns).SetFocus();
      } else {
        ScrollGridUp();
        Text(Index).SetFocus();
      }
      return;
    case Key::Enter: break;
    default: HandleFunctionKey(KeyCode); return;
  }
  switch (columnOf(Index)) {
    case 0:
      if (ValidateComponentCode()) {
        Text(Index).Text = fitText(Page[r].code, 20);  // the row's code comes back
      } else {
        LblKod.Caption = Text(Index).Text();
        Text(Index + 2).SetFocus();
      }
      break;
    case 1:
      LblAd.Caption = Text(Index).Text();
      Text(Index + 1).SetFocus();
      break;
    case 2:
      LblStok.Caption = Text(Index).Text();
      leaveQuantity(Index);
      break;
    default:
      LblBirim.Caption = Text(Index).Text();
      leaveQuantity(Index);
      break;
  }
}

// After the quantity (or the unit): the cost box when costs are entered, else the next row's code.
void frmRecete::leaveQuantity(int Index) {
  const int r = rowOf(Index);
  if (chkPara.Value() == 1) {
    txtPara.SetFocus();
  } else if (r < kGridRows - 1) {
    Text(kColumns * (r + 1) + 1).SetFocus();
  } else {
    ScrollGridDown();
    Text(kColumns * (kGridRows - 1) + 1).SetFocus();
  }
}

// The code typed into the current row's Kod box: refused when empty, when it is the edited product's own,
// or when no live product carries it; otherwise the row takes the component's code, name, unit, kind,
// record and unit cost (its quantity stays). Returns whether the code was refused.
bool frmRecete::ValidateComponentCode() {
  BusyPointer busy(*this);
  const ComponentEntry entry = lookUpComponent(Products, LblKod.Caption(), LblAnaKod.Caption());
  busy.restore();
  switch (entry.status) {
    case ComponentEntry::Status::Empty: return true;
    case ComponentEntry::Status::OwnCode:
      Beep();
      MsgBox("Bir mal yada parça kodu kendisine ait listede yer alamaz!...\r\r"_w + trim(LblKod.Caption()) +
                 " kodlu giriş iptal edildi..."_w,
             MsgButtons::Ok, MsgIcon::Exclamation, "! GİRİŞ HATASI !"_w);
      return true;
    case ComponentEntry::Status::NotFound:
      Beep();
      MsgBox("Kod bulunamadı!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, KV_PROGRAM_TITLE);
      return true;
    case ComponentEntry::Status::Found: break;
  }
  const int first = kColumns * RowOffset + 1;
  Text(first).Text = entry.row.code;
  Text(first + 1).Text = entry.row.name;
  Text(first + 3).Text = entry.row.unit;
  const float quantity = row().quantity;
  row() = entry.row;
  row().quantity = quantity;
  showCost(singleText(row().cost));
  ShowItemTypeCaption();
  return false;
}

// ---- The cost box ----

// What the user types is the current row's cost; what the editor shows there changes nothing.
void frmRecete::showCost(const std::string& text) {
  ShowingCost = true;
  txtPara.Text = text;
  ShowingCost = false;
}

void frmRecete::txtPara_Change() {
  if (ShowingCost) return;
  row().cost = toSingle(costBoxReading(txtPara.Text())).value_or(0);
}

void frmRecete::txtPara_LostFocus() { showCost(currencyText(row().cost)); }

void frmRecete::txtPara_KeyDown(int& KeyCode) {
  switch (KeyCode) {
    case Key::Enter: costBoxEnter(); break;
    case Key::Down:
    case Key::Up: {
      const int step = KeyCode == Key::Down ? 1 : -1;
      if (RowOffset + step < 0 || RowOffset + step >= kGridRows) {
        Beep();
        break;
      }
      RowOffset += step;
      CurrentLine = FirstLine + RowOffset;
      ShowCurrentLineStatus();
      break;
    }
    default:
      HandleFunctionKey(KeyCode);
      txtPara.SetFocus();
      break;
  }
}

// Enter confirms the current row: it is written into the working copy as the boxes show it (new rows above
// it that are not written yet go first, so that no line is left out), and the cursor goes to the next
// row's code. A row without a code writes nothing.
void frmRecete::costBoxEnter() {
  CurrentLine = FirstLine + RowOffset;
  ReadGridPage();
  const RowsSaved saved = Session.SaveGridRow(FirstLine, Page, RowOffset);
  if (!saved.written) {
    if (!saved.pastLongestChain) {
      Beep();
      return;
    }
    tell(*this, longestChainMessage(), MsgIcon::Exclamation);
    // The cursor goes up to the last line there is; the refused row keeps what was typed.
    if (const std::int32_t last = Session.lineCount - FirstLine; last >= 0 && last < RowOffset) {
      RowOffset = static_cast<int>(last);
      Column = 0;
      FocusGridCell();
    }
    return;
  }
  if (RowOffset < kGridRows - 1)
    ++RowOffset;
  else
    ScrollGridDown();
  Column = 0;
  CurrentLine = FirstLine + RowOffset;
  FocusGridCell();
}

void frmRecete::chkPara_Click() { FocusGridCell(); }

}  // namespace kv
