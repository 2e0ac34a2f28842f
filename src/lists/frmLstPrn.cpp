#include "lists/frmLstPrn.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "base/clock.h"
#include "base/dates.h"
#include "base/program_title.h"
#include "base/text.h"
#include "files/file_error_message.h"
#include "lists/list_kind.h"
#include "lists/list_printer.h"
#include "print/print_job.h"
#include "records/kalvor3.h"
#include "records/product_record.h"

namespace kv {

using namespace ui;

namespace {

struct PrintTitles {
  const char* name;  // UTF-8: the job's, in the print queue
  const char* printing;
  const char* done;
};

const PrintTitles& titlesOf(ListKind kind) {
  static const PrintTitles code{"Kod Listesi", "Kod Listesi yazdırılıyor..", "Kod Listesi yazdırıldı..."};
  static const PrintTitles cost{"Maliyet Listesi", "Maliyet Listesi yazdırılıyor...", "Maliyet Listesi yazdırıldı..."};
  static const PrintTitles price{"Fiyat Listesi", "Fiyat Listesi yazdırılıyor...", "Fiyat Listesi yazdırıldı..."};
  static const PrintTitles count{"Sayım Listesi", "Sayım Listesi yazdırılıyor...", "Sayım Listesi yazdırıldı..."};
  return ofKind(kind, code, cost, price, count);
}

// The time of day as hh:mm:ss.
std::string timeText(double seconds) {
  const long s = static_cast<long>(std::floor(seconds)) % 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  return buf;
}

}  // namespace

frmLstPrn::frmLstPrn() {
  Caption = KV_PROGRAM_TITLE "  LİSTE"_w;
  Move(0, 0, 320, 130);
  lblMesaj.Move(12, 12, 296, 20);
  lblSaat.Move(12, 40, 296, 20);
  cmdYaz.Move(12, 84, 120, 30);
  cmdYaz.Caption = "Yazdır"_w;
  cmdVazgec.Move(188, 84, 120, 30);
  cmdVazgec.Caption = "Çıkış"_w;
  cmdYaz.TabIndex = 0;
  cmdSaat.Interval = 1000;
  cmdSaat.Tick = [this] { cmdSaat_Timer(); };
  cmdYaz.Click = [this] { cmdYaz_Click(); };
  cmdVazgec.Click = [this] { cmdVazgec_Click(); };
  for (CommandButton* b : {&cmdYaz, &cmdVazgec}) b->KeyDown = [this](int& k, int) { buttonKeyDown(k); };
  closeBoxRuns([this] { cmdVazgec_Click(); });
}

void frmLstPrn::Form_Load() {
  centreOnScreen(*this);
  try {
    ListFile.open(KALVOR3.CompanyName + ".LST", ProductRecord::Length);
    ListRecordCount = static_cast<std::int16_t>(ListFile.count());
  } catch (const FileError& e) {
    tellFileError(*this, e);
  }
  Kind = listKindOf(KALVOR3.List.ListKind);
}

void frmLstPrn::Form_Activate() { lblMesaj.Caption = " " KV_PROGRAM_TITLE " BETA"; }

void frmLstPrn::cmdSaat_Timer() { lblSaat.Caption = timeText(clock().secondsSinceMidnight()); }

// A failure aborts the document (nothing of it is printed) and the title then says the list was not
// printed rather than that it was.
void frmLstPrn::cmdYaz_Click() {
  const ListKind kind = Kind;
  const PrintTitles titles = titlesOf(kind);
  cmdYaz.Enabled = false;
  EnabledAgain again{cmdYaz};
  const std::string idle = " " KV_PROGRAM_TITLE " LİSTE"_w;
  CaptionOnFailure title{*this, idle};
  DateText = DateToTurkishText(KALVOR3.StaticDate);
  Caption = w(titles.printing);
  const std::optional<print::PrintedDocument> done = print::printJob(
      w(titles.name),
      [&](print::Printer& printer) {
        return printProductList(printer, kind, ListFile, ListRecordCount, {KALVOR3.CompanyName, DateText});
      },
      print::PrinterFailureChoice::Tell, *this);
  if (!done) {
    Caption = idle;
    return;
  }
  Caption = w(titles.done);
  print::tellWhereDocumentWent(*done, "liste", KV_PROGRAM_TITLE "  LİSTE"_w, *this);
}

// The list dialog comes back freshly loaded, with its first choices.
void frmLstPrn::cmdVazgec_Click() {
  ListFile.close();
  Unload();
  forms().show("frmDizgi");
}

void frmLstPrn::buttonKeyDown(int KeyCode) {
  switch (KeyCode) {
    case Key::F1: cmdYaz_Click(); break;
    case Key::Escape: cmdVazgec_Click(); break;
    case Key::F10: ShowPrintKeyHelp(); break;
    default: break;
  }
}

void frmLstPrn::ShowPrintKeyHelp() {
  Beep();
  MsgBox("F1 = Yazdır...\r\rF10 = Yardım...\r\rESC = Çıkış..."_w, MsgButtons::Ok, MsgIcon::None, "FONKSİYON TUŞLARI"_w);
}

}  // namespace kv
