// The editor's page: the rows it holds, the boxes that show them, the page save and the line deletion,
// scrolling by one line, and the status of the current line in the title and the mirror labels.
#include "base/numbers.h"
#include "base/program_title.h"
#include "recipe/frmRecete.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

namespace {

// A quantity as the Miktar boxes show it: nothing for none.
std::string quantityText(float quantity) { return quantity > 0 ? singleText(quantity) : std::string(); }

std::string fieldText(const std::string& text, std::size_t width) { return trim(text).substr(0, width); }

}  // namespace

void frmRecete::ClearGridPage() { Page = GridPage{}; }

// The page of the page number, as far as the working copy holds its lines.
void frmRecete::LoadGridPage() {
  const PageSpan span = pageSpan(PageNumber, Session.lineCount);
  if (span.beep) Beep();
  PageNumber = span.page;
  FirstLine = span.first;
  LastLine = span.last;
  loadRows();
}

void frmRecete::loadRows() { Page = Session.readRows(FirstLine, LastLine); }

void frmRecete::ShowGridPage() {
  LblSayfa.Caption = std::to_string(pageOfLine(CurrentLine));
  for (int r = 0; r < kGridRows; ++r) {
    GridRow& row = Page[r];
    row.code = trim(row.code);
    Text(4 * r + 1).Text = row.code;
    Text(4 * r + 2).Text = trim(row.name);
    Text(4 * r + 3).Text = quantityText(row.quantity);
    Text(4 * r + 4).Text = trim(row.unit);
  }
}

// The boxes into the rows. A quantity box that still shows the row's quantity keeps it exactly; one that
// was typed in is read as it reads (a decimal comma is a decimal point). A row's cost is its own: it comes
// from the lookup, the stored line or what was typed into the cost box for that row, never from the box
// as another row left it; a row without a code costs nothing.
void frmRecete::ReadGridPage() {
  for (int r = 0; r < kGridRows; ++r) {
    GridRow& row = Page[r];
    row.code = fieldText(Text(4 * r + 1).Text(), 20);
    row.name = fieldText(Text(4 * r + 2).Text(), 40);
    const std::string quantity = trim(Text(4 * r + 3).Text());
    if (quantity != quantityText(row.quantity)) row.quantity = toSingle(leadingNumber(quantity)).value_or(0);
    row.unit = fieldText(Text(4 * r + 4).Text(), 5);
  }
  if (row().code.empty()) row().cost = 0;
}

void frmRecete::SaveGridPage() {
  BusyPointer busy(*this);
  ReadGridPage();
  const RowsSaved saved = Session.SaveGridPage(FirstLine, Page);
  busy.restore();
  if (saved.pastLongestChain) {
    tell(*this, longestChainMessage(), MsgIcon::Exclamation);
    // The refused line is gone with the page's reload: the cursor goes to the last line there is.
    PageNumber = pageOfLine(Session.lineCount);
    RowOffset = (Session.lineCount - 1) % kGridRows;
  }
  if (SilentSave) {
    SilentSave = false;
    WrittenMark = false;
  } else if (saved.written) {
    Caption = " Kayıt yapıldı..."_w;
    WrittenMark = true;
  }
  showPageAgain(!SkipStatus);
  FocusGridCell();
}

// F3, after the question: the current line leaves the working copy (and its home in the store is erased).
void frmRecete::DeleteCurrentLine() {
  BusyPointer busy(*this);
  Session.DeleteRecipeLine(CurrentLine);
  showCost("");
  LblTip.Caption = "";
  busy.restore();
  showPageAgain(true);
}

// The page of the page number from the working copy, the cursor on the same row of it.
void frmRecete::showPageAgain(bool status) {
  LoadGridPage();
  ShowGridPage();
  CurrentLine = FirstLine + RowOffset;
  if (status) ShowCurrentLineStatus();
}

// Scrolling moves the page by one line (step -1 up, +1 down) and reloads it from the working copy: what
// was typed into the boxes and not written is replaced by the stored lines. The page number stays.
void frmRecete::scrollGrid(int step) {
  for (GridRow& r : Page) {
    r.code.clear();
    r.name.clear();
    r.unit.clear();
    r.quantity = 0;
  }
  const bool up = step < 0;
  const std::int32_t n = Session.lineCount;
  if (up ? CurrentLine < 1 : CurrentLine > n) {
    CurrentLine = up ? 1 : n;
    Beep();
    ShowCurrentLineStatus();
    return;
  }
  if (up ? FirstLine <= 1 : FirstLine >= n) {
    Beep();
    return;
  }
  FirstLine += step;
  LastLine = std::min(FirstLine + kGridRows - 1, n);
  loadRows();
  ShowGridPage();
  CurrentLine = FirstLine + RowOffset;
  ShowCurrentLineStatus();
}

void frmRecete::ScrollGridUp() { scrollGrid(-1); }
void frmRecete::ScrollGridDown() { scrollGrid(1); }

void frmRecete::FocusGridCell() {
  if (RowOffset < 0 || RowOffset >= kGridRows || Column < 0 || Column > 3) return;
  Text(4 * RowOffset + Column + 1).SetFocus();
}

// Keeps the cursor out of the rows below the first empty one, and shows where it is: a new line (the
// place after the last line, counted once its code is filled) or a line of the working copy.
void frmRecete::ShowCurrentLineStatus() {
  SkipStatus = false;
  NewLine = false;
  std::int32_t& n = Session.lineCount;
  if (CurrentLine > n) {
    if (n == 0) {
      if (RowOffset > 0 || trim(Page[0].code).empty()) {
        Caption = " " KV_PROGRAM_TITLE "  LİSTE"_w;
        Beep();
        Text(1).SetFocus();
        return;
      }
      n = 1;
      NewLine = true;
    } else {
      ReadGridPage();
      if (RowOffset > 0 && Page[RowOffset - 1].code.empty()) {
        // One row up, whose own focus runs this again for it; its outcome is shown again below.
        Beep();
        CurrentLine = n;
        --RowOffset;
        FocusGridCell();
      } else if (RowOffset > 0 || !trim(Session.readLine(n).Code.view()).empty()) {
        NewLine = true;
      } else {
        Beep();
      }
    }
  } else if (CurrentLine < 1) {
    Beep();
    CurrentLine = 1;
  }
  LblSayfa.Caption = std::to_string(pageOfLine(CurrentLine));
  if (NewLine)
    showNewLine();
  else
    showExistingLine();
  ShowItemTypeCaption();
  RecipeDate = KALVOR3.RecipeDate;
  showDate();
}

void frmRecete::showNewLine() {
  std::int32_t& n = Session.lineCount;
  if (CurrentLine > n + 1) ++n;  // the unsaved line above is counted
  Caption = (WrittenMark ? "[ Kayıt yapıldı... ]  YENİ KAYIT :"_w : "[ " KV_PROGRAM_TITLE " LİSTE ]  YENİ KAYIT :"_w) +
            recordNumberText(CurrentLine);
  WrittenMark = false;
  const GridRow& r = row();
  LblKod.Caption = r.code;
  LblAd.Caption = r.name;
  LblStok.Caption = r.quantity != 0 ? singleText(r.quantity) : std::string();
  LblBirim.Caption = r.unit;
  showCost(r.cost != 0 ? singleText(r.cost) : std::string());
}

void frmRecete::showExistingLine() {
  if (!WrittenMark)
    Caption = " " KV_PROGRAM_TITLE "  LİSTE   Kayıt :"_w + recordNumberText(CurrentLine) + " /" +
              recordNumberText(Session.lineCount);
  WrittenMark = false;
  const RecipeRecord line = Session.readLine(CurrentLine);
  LblKod.Caption = trim(line.Code.view());
  LblAd.Caption = trim(line.Name.view());
  LblStok.Caption = trim(quantityText(line.Quantity));
  LblBirim.Caption = trim(line.Unit.view());
  showCost(row().cost != 0 ? singleText(row().cost) : std::string());
}

void frmRecete::ShowItemTypeCaption() {
  static const char* const kinds[] = {"Ürün", "Ürün", "Parça", "Y. Mamul", "H. Madde", "Gurup", "Kit", "Kaynak"};
  const int kind = RowOffset >= 0 && RowOffset < kGridRows ? row().lineType : 0;
  LblTip.Caption = w(kinds[kind >= 1 && kind <= 7 ? kind : 0]);
}

}  // namespace kv
