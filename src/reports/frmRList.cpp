#include "reports/frmRList.h"

#include <optional>

#include "base/dates.h"
#include "base/numbers.h"
#include "base/program_title.h"
#include "files/file_error_message.h"
#include "print/ruled_page.h"
#include "print/text_fit.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

frmRList::frmRList() {
  Caption = " " KV_PROGRAM_TITLE " LİSTE"_w;
  moveTwips(*this, 0, 0, 9495, 6795);
}

void frmRList::Form_Load() {
  centreOnScreen(*this);
  Beep();
}

// Every showing of the window starts again at the first page, headed by the working date of the moment,
// as a printed report is. A message box over the window, or another program's window, does not activate
// it again: the page drawn stays on the surface as it is.
void frmRList::Form_Activate() {
  DateText = DateToTurkishText(KALVOR3.StaticDate);
  ScaleMode = Scale::Millimetre;
  LineHeight = TextHeight() + 1;
  HeaderHeight = 3 * LineHeight + 2;
  Paging.direction = 1;
  Paging.pageIndex = 0;
  Form_Click();
}

// Draws the page the paging names, in the report the dialog chose.
void frmRList::Form_Click() {
  const int kind = KALVOR3.Report.ReportKind;
  if (kind >= 1 && kind <= 6) {
    drawPage(static_cast<ReportKind>(kind));
    return;
  }
  MsgBox("Ne tip liste basılacağı belirsiz!...\rListeleme işlemi iptal edildi..."_w, MsgButtons::Ok,
         MsgIcon::Exclamation, "! HATA !");
  Form_DblClick();
}

void frmRList::Form_DblClick() { Unload(); }

void frmRList::Form_KeyDown(int& KeyCode, int) {
  switch (KeyCode) {
    case Key::PageDown: Paging.pageDown(); break;
    case Key::PageUp: Paging.pageUp(); break;
    case Key::Home: Paging.home(); break;
    case Key::End: Paging.end(); break;
    case Key::Escape: Form_DblClick(); return;
    case Key::F10: ShowListKeyHelp(); return;
    default: return;
  }
  Form_Click();
}

// Any character turns the paging forward; Enter also draws the page it names.
void frmRList::Form_KeyPress(int& KeyAscii) {
  Paging.forward();
  if (KeyAscii == Key::Enter) Form_Click();
}

void frmRList::Form_Unload(int&) { forms().show("frmRDizgi"); }

void frmRList::ShowListKeyHelp() {
  Beep();
  MsgBox("PAGE DOWN = Bir sonraki sayfa\rPAGE UP = Bir önceki sayfa\rHOME = İlk sayfa\rEND = Son sayfa\r\r"
         "F10 = Yardım\r\rESC = Çıkış (Ana menüye dönüş)"_w,
         MsgButtons::Ok, MsgIcon::None, "LİSTE MENÜSÜ FONKSİYON TUŞLARI"_w);
}

// A working file that cannot be read gives the page of an empty report, and the user is told which file
// failed; the window stays, and the next paint tries the file again.
void frmRList::drawPage(ReportKind kind) {
  const ScreenLayout& layout = screenLayout(kind);
  Caption = w(layout.title);
  Cls();
  ScreenPage page;
  std::optional<FileError> failure;
  try {
    page = readScreenPage(KALVOR3.CompanyName, kind, Paging);
  } catch (const FileError& e) {
    failure = e;
    page = emptyScreenPage(Paging);
  }
  RecipeReport& report = KALVOR3.Report;
  report.ReportProductCode = fitText(trim(report.ReportProductCode), 20);
  report.ReportProductName = fitText(trim(report.ReportProductName), 40);

  drawHeader(layout, page);
  drawHeadings(layout);
  const int rows = static_cast<int>(page.rows.size());
  drawGrid(layout, rows);
  CurrentY = 2 * LineHeight + 2;
  for (int k = 0; k < rows; ++k) {
    drawRow(layout, page.rows[k]);
    CurrentY = k * LineHeight + HeaderHeight;
  }
  Paging.advance();
  // Under the grid of every page, not only of the last one.
  if (layout.grandTotal != GrandTotalRule::None) drawGrandTotal(page.grandTotal);
  if (failure) tellFileError(*this, *failure);
}

// The date at the left, the page label ending at the header's width, the product between them, 5 mm left
// of the middle. Texts too wide for the line overlap; none is cut.
void frmRList::drawHeader(const ScreenLayout& layout, const ScreenPage& page) {
  const std::string& date = DateText;
  const std::string product = screenHeaderText(KALVOR3.Report.ReportProductCode, KALVOR3.Report.ReportProductName);
  const std::string label = print::pageLabel(page.pageNumber);
  const double gap = layout.headerWidth - (TextWidth(date) + TextWidth(product) + TextWidth(label));
  ForeColor = QBColor(2);
  CurrentY = 1.5;
  CurrentX = layout.headerLeft;
  Print(date, Stay);
  CurrentX = CurrentX() + gap / 2 - 5;
  Print(product, Stay);
  CurrentX = CurrentX() + gap / 2 + 5;
  Print(label);
}

void frmRList::drawHeadings(const ScreenLayout& layout) {
  CurrentY = CurrentY() + 1.2;
  ForeColor = QBColor(4);
  for (const ScreenColumn& column : layout.columns) {
    const std::string heading = w(column.heading);
    CurrentX = column.left + (column.right - column.left - TextWidth(heading)) / 2;
    Print(heading, Stay);
  }
}

// A rule above the headings, one under them and one under each row; the column borders from the first
// rule to the last.
void frmRList::drawGrid(const ScreenLayout& layout, int rows) {
  ForeColor = QBColor(0);
  const int rules = rows + 2;
  for (int i = 1; i <= rules; ++i) Line(layout.ruleLeft, i * LineHeight + 1, layout.ruleRight, i * LineHeight + 1);
  const double top = LineHeight + 1, bottom = rules * LineHeight + 1;
  for (const ScreenColumn& column : layout.columns) Line(column.left, top, column.left, bottom);
  Line(layout.columns.back().right, top, layout.columns.back().right, bottom);
}

void frmRList::drawRow(const ScreenLayout& layout, const std::vector<std::string>& texts) {
  const double y = CurrentY();
  const print::TextMeasure width = [this](std::string_view text) { return TextWidth(text); };
  for (std::size_t i = 0; i < layout.cells.size(); ++i) {
    const ScreenCell& cell = layout.cells[i];
    std::string text = texts[i];
    switch (cell.align) {
      case CellAlign::Left:
        text = print::cutToWidth(std::move(text), cell.limit, width);
        CurrentX = cell.x;
        break;
      case CellAlign::Right:
        text = print::cutToWidth(std::move(text), cell.limit, width);
        CurrentX = cell.x - TextWidth(text);
        break;
      case CellAlign::Centre: CurrentX = cell.x + (cell.limit - TextWidth(text)) / 2; break;
    }
    CurrentY = y;
    Print(text, Stay);
  }
}

// On the row after the last one of the page, ending where the TOPLAM column's numbers end.
void frmRList::drawGrandTotal(float total) {
  const std::string text = "Genel Toplam : " + currencyText(total);
  CurrentX = kScreenTotalEnd - TextWidth(text);
  ForeColor = QBColor(1);
  Print(text);
}

}  // namespace kv
