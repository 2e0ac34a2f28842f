#include "lists/frmListe.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/program_title.h"
#include "base/text.h"
#include "files/file_error_message.h"
#include "lists/grid_workbook.h"
#include "lists/list_file.h"
#include "lists/list_kind.h"
#include "records/kalvor3.h"
#include "sheet/workbook_messages.h"

namespace kv {

using namespace ui;

namespace {

// The grid and the button, in twips; the grid's width is that of the kind.
constexpr int kGridLeft = 200, kGridTop = 240, kGridHeight = 7530;
constexpr int kButtonWidth = 1935, kButtonHeight = 375;

struct Column {
  const char* heading;  // UTF-8
  const char* sample;   // the widest text the column expects
  int extra;            // twips
  int alignment;
};

struct GridKind {
  const char* caption;
  std::array<Column, 5> columns;
};

const GridKind& gridKindOf(ListKind kind) {
  static const char* const kName = "ABCÇDEFGĞHIİJKLMNOÖPQRSŞTUÜVWXYZ";
  static const char* const kCode = "99999999999999999999";
  static const GridKind code{" " KV_PROGRAM_TITLE " KOD LİSTESİ",
                             {{{"Kayıt No.", "Kayit No.", 50, FlexAlign::LeftTop},
                               {"Mal Kodu", kCode, 0, FlexAlign::LeftCenter},
                               {"Mal Adı", kName, 0, FlexAlign::LeftBottom},
                               {"Birim", "METRE", 50, FlexAlign::CenterTop},
                               {"Açıklama", kName, 0, FlexAlign::LeftBottom}}}};
  static const GridKind cost{" " KV_PROGRAM_TITLE " MALİYET LİSTESİ",
                             {{{"Kayıt No.", "Kayit No.", 180, FlexAlign::LeftTop},
                               {"Mal Kodu", kCode, 0, FlexAlign::LeftCenter},
                               {"Mal Adı", kName, 0, FlexAlign::LeftBottom},
                               {"Birim", "METRE", 100, FlexAlign::CenterTop},
                               {"Maliyet", "99,000,000,000 YTL", 50, FlexAlign::CenterBottom}}}};
  static const GridKind price{" " KV_PROGRAM_TITLE " FİYAT LİSTESİ",
                              {{{"Kayıt No.", "Kayit No.", 180, FlexAlign::LeftTop},
                                {"Mal Kodu", kCode, 0, FlexAlign::LeftCenter},
                                {"Mal Adı", kName, 0, FlexAlign::LeftBottom},
                                {"Birim", "METRE", 100, FlexAlign::CenterTop},
                                {"Fiyat", "99,000,000,000 YTL", 50, FlexAlign::CenterBottom}}}};
  static const GridKind count{" " KV_PROGRAM_TITLE " SAYIM LİSTESİ",
                              {{{"Kayıt No.", "Kayit No.", 180, FlexAlign::LeftTop},
                                {"Mal Kodu", kCode, 0, FlexAlign::LeftCenter},
                                {"Mal Adı", kName, 0, FlexAlign::LeftBottom},
                                {"Sayım", "1,000,000,000", 100, FlexAlign::CenterBottom},
                                {"Birim", "METRE", 100, FlexAlign::CenterTop}}}};
  return ofKind(kind, code, cost, price, count);
}

// The five cells of a list record's row after its list position.
std::array<std::string, 4> cellsOf(ListKind kind, const ProductRecord& rec) {
  const std::string code = trim(rec.Code.str()), name = trim(rec.Name.str()), unit = trim(rec.Unit.str());
  switch (kind) {
    case ListKind::Code: return {code, name, unit, trim(rec.Description.str())};
    case ListKind::Cost: return {code, name, unit, costText(rec)};
    case ListKind::Price: return {code, name, unit, priceText(rec)};
    case ListKind::Count: break;
  }
  return {code, name, "", unit};
}

}  // namespace

frmListe::frmListe() {
  FontName = "Arial";
  FontSize = 9;
  MSFlexGrid1.Cols = 5;
  MSFlexGrid1.Rows = 2;
  MSFlexGrid1.FixedRows = 1;
  MSFlexGrid1.FixedCols = 1;
  cmdExcel.Caption = "Excel'e Aktar";
  cmdExcel.Click = [this] { cmdExcel_Click(); };
  KeyPreview = true;
  Sizable = true;
  MSFlexGrid1.Click = [this] { MSFlexGrid1_Click(); };
  MSFlexGrid1.DblClick = [this] { MSFlexGrid1_DblClick(); };
  MSFlexGrid1.KeyPress = [this](int& k) { MSFlexGrid1_KeyPress(k); };
  closeBoxRuns([this] { closeWindow(); });
}

std::string frmListe::listFileName() const { return KALVOR3.CompanyName + ".LST"; }

void frmListe::Form_Load() {
  try {
    ListFile.open(listFileName(), ProductRecord::Length);
    ListRecordCount = static_cast<std::int16_t>(ListFile.count());
  } catch (const FileError& e) {
    tellFileError(*this, e);
    ListRecordCount = 0;
  }
  Kind = listKindOf(KALVOR3.List.ListKind);
  const bool codeList = Kind == ListKind::Code;
  const int gridWidth = codeList ? 11510 : 9610;
  if (codeList) MSFlexGrid1.FontSize = 8;
  const int width = gridWidth + 2 * kGridLeft, height = kGridHeight + 3 * kGridTop + kButtonHeight;
  moveTwips(*this, 0, 0, width, height);
  moveTwips(MSFlexGrid1, kGridLeft, kGridTop, gridWidth, kGridHeight);
  moveTwips(cmdExcel, width - kGridLeft - kButtonWidth, kGridHeight + 2 * kGridTop, kButtonWidth, kButtonHeight);
  FillGrid();
  centreOnScreen(*this);
}

// The grid takes what the window leaves beside and above the button; the button keeps its size, at the
// grid's right end. A window too small for a grid leaves it empty rather than negative.
void frmListe::Form_Resize() {
  const int left = twipsToPixels(kGridLeft), top = twipsToPixels(kGridTop);
  const int buttonWidth = twipsToPixels(kButtonWidth), buttonHeight = twipsToPixels(kButtonHeight);
  const int gridWidth = std::max(0, Width() - 2 * left);
  const int gridHeight = std::max(0, Height() - 3 * top - buttonHeight);
  MSFlexGrid1.Move(left, top, gridWidth, gridHeight);
  cmdExcel.Move(std::max(0, left + gridWidth - buttonWidth), gridHeight + 2 * top, buttonWidth, buttonHeight);
}

// Headings, widths and alignments of the kind, then one row per list record carrying its list position.
// A record that cannot be read leaves its row empty and the fill goes on.
void frmListe::FillGrid() {
  const ListKind kind = Kind;
  const GridKind& g = gridKindOf(kind);
  Caption = w(g.caption);
  GridRow = 1;
  for (int c = 0; c < 5; ++c) {
    const Column& col = g.columns[static_cast<std::size_t>(c)];
    MSFlexGrid1.TextMatrix(0, c) = w(col.heading);
    MSFlexGrid1.ColWidth(c) = static_cast<int>(TextWidth(w(col.sample)) + twipsToPixels(col.extra) + 0.5);
    MSFlexGrid1.ColAlignment(c) = col.alignment;
  }
  Beep();
  MSFlexGrid1.Rows = std::max<int>(2, ListRecordCount + 1);
  for (ListRecordIndex = 1; ListRecordIndex <= ListRecordCount && ListRecordIndex > 0; ++ListRecordIndex) {
    MSFlexGrid1.RowData(GridRow) = ListRecordIndex;
    MSFlexGrid1.TextMatrix(GridRow, 0) = std::to_string(ListRecordIndex);
    try {
      const std::array<std::string, 4> cells = cellsOf(kind, ListFile.get<ProductRecord>(ListRecordIndex));
      for (int c = 1; c < 5; ++c) MSFlexGrid1.TextMatrix(GridRow, c) = cells[static_cast<std::size_t>(c - 1)];
    } catch (const FileError&) {
    }
    ++GridRow;
    if (ListRecordIndex == kMaxRecords16) break;
  }
  MSFlexGrid1.Refresh();
}

void frmListe::Form_KeyDown(int& KeyCode, int Shift) {
  (void)Shift;
  switch (KeyCode) {
    case Key::F1: cmdExcel_Click(); break;
    case Key::F10: ShowListWindowKeyHelp(); break;
    case Key::Escape: closeWindow(); break;
    default: break;
  }
}

// Every cell as the grid shows it, in the order the user sorted it, the headings first. An empty list
// still shows one blank row; there is nothing to export then.
void frmListe::cmdExcel_Click() {
  const int rows = MSFlexGrid1.Rows(), cols = MSFlexGrid1.Cols();
  if (rows <= 1 || ListRecordCount < 1) {
    tell(*this, sheet::nothingToExportMessage(), MsgIcon::Stop);
    return;
  }
  sheet::exportAndTell(*this, [&] {
    BusyPointer busy(*this);
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
      std::vector<std::string>& row = cells[static_cast<std::size_t>(r)];
      row.reserve(static_cast<std::size_t>(cols));
      for (int c = 0; c < cols; ++c) row.push_back(MSFlexGrid1.TextMatrix(r, c)());
    }
    return exportGridWorkbook(cells);
  });
}

void frmListe::ShowListWindowKeyHelp() {
  Beep();
  MsgBox("F1 = Excel'e Aktar\r\rF10 = Yardım\r\rESC = Çıkış (Ana menüye dönüş)"_w, MsgButtons::Ok, MsgIcon::None,
         "LİSTE MENÜSÜ FONKSİYON TUŞLARI"_w);
}

// A click on a heading sorts by that column (on "Kayıt No." back to list order); the grid's current row
// is then picked, as after any click. Costs and prices sort by their amounts, not by their digits.
void frmListe::MSFlexGrid1_Click() {
  if (MSFlexGrid1.MouseRow() == 0) {
    const ListKind kind = Kind;
    const bool amounts = MSFlexGrid1.MouseCol() == 4 && (kind == ListKind::Cost || kind == ListKind::Price);
    if (MSFlexGrid1.MouseCol() == 0) {
      MSFlexGrid1.Col = 0;
      MSFlexGrid1.Sort(FlexSort::NumericAscending);
    } else {
      MSFlexGrid1.Sort(amounts ? FlexSort::NumericAscending : FlexSort::StringNoCaseAscending);
    }
  }
  pickRow();
}

void frmListe::MSFlexGrid1_KeyPress(int& KeyAscii) {
  if (KeyAscii == Key::Enter || KeyAscii == Key::Space) pickRow();
}

void frmListe::MSFlexGrid1_DblClick() {
  pickRow();
  KALVOR3.RecordPicked = true;  // the main window shows the pick when it comes back
  closeWindow();
}

void frmListe::Form_DblClick() { closeWindow(); }

// The row's list position travels with it through every sort; the list record there names the product.
void frmListe::pickRow() {
  MSFlexGrid1.Col = 0;
  MSFlexGrid1.ColSel = 4;
  GridRow = static_cast<std::int16_t>(MSFlexGrid1.Row());
  ListRecordIndex = static_cast<std::int16_t>(MSFlexGrid1.RowData(GridRow));
  if (ListRecordIndex < 1 || ListRecordIndex > ListRecordCount) return;
  try {
    KALVOR3.CurrentRecordNumber = ListFile.get<ProductRecord>(ListRecordIndex).RecordNumber;
  } catch (const FileError& e) {
    tellFileError(*this, e);
  }
}

// Every way out of the window leads back to the main window, which was only hidden.
void frmListe::closeWindow() {
  Unload();
  forms().show("frmKalvor");
}

// However the window goes, the list goes with it.
void frmListe::Form_Unload(int& Cancel) {
  (void)Cancel;
  ListFile.close();
  deleteFileQuietly(listFileName());
}

}  // namespace kv
