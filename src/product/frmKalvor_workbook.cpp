// The product workbook: the records of the chosen tab out to a new workbook ("Excel'e"), and the product
// file rebuilt from the workbook "KLVR952.XLS" of the working folder ("Excel'den").
#include "base/program_title.h"
#include "files/file_error_message.h"
#include "product/frmKalvor.h"
#include "product/product_workbook.h"
#include "sheet/workbook_messages.h"

namespace kv {

using namespace ui;


void frmKalvor::cmdExport_Click() {
  Beep();
  if (RecordShown < 1 || Products.count() < 2) return;
  const MsgAnswer answer =
      MsgBox(Products.company() + ".DAT dosyasındaki kayıtları Excel dosyasına aktarmak istiyormusunuz?"_w,
             MsgButtons::YesNo, MsgIcon::Question, "EXCEL'e Export"_w);
  if (answer == MsgAnswer::Yes) {
    Caption = " EXCEL'e aktarma yapılıyor... (Lütfen bekleyin...)"_w;
    ExportProductsToExcel();
    showRecordTitle(RecordShown);
  }
  bilKod.SetFocus();
}

void frmKalvor::ExportProductsToExcel() {
  Beep();
  Products.recount();
  if (Products.count() < 1) {
    tell(*this, sheet::nothingToExportMessage(), MsgIcon::Stop);
    return;
  }
  sheet::exportAndTell(*this, [this] {
    BusyPointer busy(*this);
    return exportProductWorkbook(Products, selectedTab());
  });
}

void frmKalvor::cmdImport_Click() {
  Beep();
  // The name must be the workbook's exactly, letter case included.
  if (!fileExists(kTransferWorkbook) || diskName(kTransferWorkbook) != kTransferWorkbook) {
    MsgBox(Products.company() +
               ".DAT dosyasının Excel karşılığı 'KLVR952.XLS' çalışma dizininde bulunamadı!\r\rData dosyasının "
               "Excel'den yüklenebilmesi için gerekli XLS dosyasının Excel'e export yapılarak elde edilen XLS "
               "dosyasıyla aynı formatta olması ve KALVOR 952 programının çalışma dizininde 'KLVR952.XLS' adıyla "
               "bulunması gerekmektedir..."_w,
           MsgButtons::Ok, MsgIcon::Exclamation, " EXCEL'den Import yapılamıyor..."_w);
  } else if (MsgBox(Products.company() + ".DAT dosyasındaki kayıtları Excel'den yenilemek istiyormusunuz?"_w,
                    MsgButtons::YesNo, MsgIcon::Question, "EXCEL'den Import"_w) == MsgAnswer::Yes) {
    ImportProductsFromExcel();
  }
  bilKod.SetFocus();
}

void frmKalvor::ImportProductsFromExcel() {
  const std::string company = Products.company();
  if (Products.recount() >= 1) {
    Beep();
    const std::string text =
        "Microsoft Excel'den alınacak kayıtlar "_w + company +
        ".DAT dosyasına kayıtlanacak; kayıt formatının yanlış olması durumunda, hatalı kayıt yapılmış olacak. "
        "(Doğru kayıt formatı EXCEL'e aktar komutuyla elde edilen EXCEL dosyasının sütun, sayı-yazı formatıdır.) "
        "EXCEL dosyasında bu programla ilgili, uyumsuz ve hatalı format kullanılması durumunda, program doğru "
        "çalışmayabilir ve data kaybı olur.\r\rKALVOR 952 programı data dosyasının yenilemeden önceki halinin "
        "kopyesini '952KLVR.DAT' ve indeks dosyasının yenilemeden önceki kopyesini '952KLVR.ABC' olarak "
        "kaydedecek. Bu dosyaların adını "_w +
        company + ".DAT ve " + company +
        ".ABC olarak değiştirirseniz, dosyaları kurtarmış olursunuz; veya Excel dosyasından yüklenen yeni dosyayı "
        "ve onun otomatik oluşturulan indeks dosyasını kullanabilirsiniz.\r\rExcel'den yükleme işlemine devam "
        "etmek istiyormusunuz?"_w;
    if (MsgBox(text, MsgButtons::YesNo, MsgIcon::Question,
               "! DİKKAT ! EXCEL'den alınan kayıt "_w + company + " data dosyasını değiştirecek..."_w) != MsgAnswer::Yes)
      return;
  }

  // The workbook is read and checked whole before any file is touched.
  BusyPointer busy(*this);
  const ProductWorkbook book = readProductWorkbook();
  if (book.problem != sheet::ImportProblem::None) {
    busy.restore();
    sheet::tellImportProblem(*this, book.problem, kTransferWorkbook, book.readerPlaces);
    return;
  }
  const ProductFile::Replaced done = Products.replace(
      [&book](const std::string& name) { return importProductRecords(name, book.records); },
      ProductFile::IndexRule::Apply);
  busy.restore();
  if (done.reopenFailure) {
    LeaveCompany(*this, *done.reopenFailure);
    return;
  }
  if (!done.job.replaced) {
    tellFileError(*this, *done.job.failure);
    ShowRecord();
    return;
  }
  if (book.cut)
    MsgBox("'KLVR952.XLS' dosyasında bir data dosyasının alabileceğinden fazla satır var; ilk 32767 satır "
           "yüklendi."_w,
           MsgButtons::Ok, MsgIcon::Exclamation, "EXCEL'den Import"_w);
  RecordShown = Products.count();
  if (Products.count() >= 1) {
    ShowRecord();
  } else {
    ClearRecordFields();
    NoRecordShown = true;
    Caption = " " KV_PROGRAM_TITLE "  BETA"_w;
  }
}

}  // namespace kv
