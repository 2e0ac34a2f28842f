// How a record reaches the main window: the record-order scan, the boxes, the cost boxes and the kind tabs.
#include "base/program_title.h"
#include "product/frmKalvor.h"

#include "base/numbers.h"

namespace kv {

using namespace ui;

int frmKalvor::selectedTab() const { return TabStrip1.SelectedIndex(); }

void frmKalvor::showRecordTitle(std::int16_t record) {
  Caption =
      " " KV_PROGRAM_TITLE "  Kayıt :"_w + recordNumberText(record) + " /" + recordNumberText(Products.count());
}

void frmKalvor::ShowRecord() {
  std::int16_t& current = RecordShown;
  if (current < 1) return;
  BusyPointer busy(*this);
  const RecordScan scan = Products.scanToFitting(selectedTab(), current, Direction);
  current = scan.record;
  Direction = scan.direction;
  // A scan that turned round at an end of the file has nothing more to show beyond it.
  if (scan.metFirst) cmdOnceki.Enabled = false;
  if (scan.metLast) cmdSonraki.Enabled = false;
  busy.restore();
  if (scan.found) {
    ShowRecordFields(Entry.show(*scan.last, CostDisplay));
    NoRecordShown = false;
    if (!KeepTitle) showRecordTitle(current);
  } else {
    Caption = " " KV_PROGRAM_TITLE "  BETA"_w;
    ClearRecordFields();
    NoRecordShown = true;
  }
  int tab = selectedTab();
  if (tab >= 1 && tab <= 7) TabRecordNumber[tab] = current;
  KeepTitle = SearchMode = false;
  Entry.endEditing();
}

void frmKalvor::ShowRecordFields(const EntryBoxes& boxes) {
  LblTarih.Caption = boxes.updated;
  bilKod.Text = boxes.code;
  bilAd.Text = boxes.name;
  bilAciklama.Text = boxes.description;
  bilBirim.Text = boxes.unit;
  bilUrunGrubu.Text = boxes.group;
  ShowCostFields(boxes);
  switch (boxes.costType) {
    case 1: optSatinAlma.Value = true; break;
    case 2: optYaptirma.Value = true; break;
    case 3: optKalvor.Value = true; break;
    default:
      optSatinAlma.Value = false;
      optYaptirma.Value = false;
      optKalvor.Value = false;
  }
  bilOzelKod.Text = boxes.specialCode;
  bilKatsayi.Text = boxes.coefficient;
  bilTedarikci.Text = boxes.supplier;
  bilBoyutlar.Text = boxes.dimensions;
  bilAgirlik.Text = boxes.weight;
  chkResimVar.Value = boxes.hasPicture ? 1 : 0;
  bilOzelNot.Text = boxes.specialNote;
}

// Empty while the cost display is off.
void frmKalvor::ShowCostFields(const EntryBoxes& boxes) {
  bilMaliyet.Text = boxes.cost;
  bilMTarih.Text = boxes.costDate;
  bilEvrakNo.Text = boxes.documentNo;
}

// The boxes a new entry, a search and a blank window empty; the document number stays.
void frmKalvor::emptyEntryBoxes() {
  for (TextBox* box : {&bilKod, &bilAd, &bilAciklama, &bilBirim, &bilUrunGrubu, &bilKatsayi, &bilMaliyet, &bilMTarih,
                       &bilOzelKod, &bilTedarikci, &bilBoyutlar, &bilAgirlik, &bilOzelNot})
    box->Text = "";
  optSatinAlma.Value = false;
  optYaptirma.Value = false;
  optKalvor.Value = false;
  chkResimVar.Value = 0;
}

void frmKalvor::ClearRecordFields() { emptyEntryBoxes(); }

void frmKalvor::TabStrip1_Click() {
  static const char* const codeCaptions[] = {"", "Ürün Kodu :", "Parça Kodu :", "Y. M. Kodu :", "H. M. Kodu :",
                                             "Gurup Kodu :", "Kit Kodu :", "Kaynak Kodu :"};
  static const char* const nameCaptions[] = {"", "Ürün Adı :", "Parça Adı :", "Y. M. Adı :", "H. M. Adı :",
                                             "Gurup Adı :", "Kit Adı :", "Kaynak Adı :"};
  int tab = selectedTab();
  Kept.CurrentTab = static_cast<std::int16_t>(tab);
  if (tab < 1 || tab > 7) return;
  lblMalKodu.Caption = w(codeCaptions[tab]);
  lblMalAdi.Caption = w(nameCaptions[tab]);
  RecordShown = TabRecordNumber[tab];
  if (RecordShown < 1) {
    // Nothing of this kind was found the last time: show the tab empty rather than the other tab's record.
    Caption = " " KV_PROGRAM_TITLE "  BETA"_w;
    ClearRecordFields();
    NoRecordShown = true;
    KeepTitle = SearchMode = false;
    Entry.endEditing();
    return;
  }
  ShowRecord();
}

void frmKalvor::TabStrip1_KeyDown(int& KeyCode, int Shift) {
  (void)Shift;
  if (!moveFocusByArrow(KeyCode, bilKod, &bilOzelNot)) HandleFunctionKey(KeyCode);
}

void frmKalvor::TabStrip1_KeyPress(int& KeyAscii) {
  if (KeyAscii == Key::Enter) bilKod.SetFocus();
}

}  // namespace kv
