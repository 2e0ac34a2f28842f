// The working commands of the service window: the search by code, the save of what is typed into a
// record, the wipe of a deleted record and the rebuild of the product file.
#include "base/numbers.h"
#include "base/program_title.h"
#include "files/file_error_message.h"
#include "product/data_file_rebuild.h"
#include "product/data_file_service.h"
#include "product/frmServis.h"
#include "product/product_titles.h"
#include "records/kalvor3.h"

namespace kv {

using namespace ui;

// ---- Search ----

void frmServis::cmdArama_Click() {
  Beep();
  FrameArama.Visible = true;
  lblArananKod.Caption = "Aranan kayıtın kodunu (kısmen veya tam) girin."_w;
  bilArananKod.SetFocus();
}

void frmServis::SearchRecordByCode() {
  const std::string key = upperCase(trim(bilArananKod.Text()));
  const std::int16_t found = findCodeInRecordOrder(Products.data(), RecordCount, key);
  FrameArama.Visible = false;
  bilArananKod.Text = "";
  if (found == 0) {
    Beep();
    MsgBox("Aranan kayıt bulunamadı!..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "KAYIT ARAMA");
    return;
  }
  ServiceRecordNumber = found;
  const ProductRecord hit = Products.read(found);
  cmdSonraki.Enabled = found != RecordCount;
  cmdOnceki.Enabled = found != 1;
  cmdSySonraki.Enabled = hit.ChainNext != found;
  cmdSyOnceki.Enabled = hit.ChainPrev != found;
  ShowServiceRecord();
}

// ---- Pointer save ----

// Writes the kind, code, name and pointers as typed into the record, without any test of the chain: it
// is how a chain is mended by hand. Only a number that does not fit a 16-bit field is refused.
void frmServis::cmdKayitla_Click() {
  Beep();
  const double typed = leadingNumber(bilPointer.Text());
  if (typed > 0 && typed <= RecordCount) ServiceRecordNumber = *roundToInteger(typed);
  const std::int16_t n = ServiceRecordNumber;
  if (n < 1 || n > RecordCount) return;
  const std::optional<std::int16_t> kind = roundToInteger(leadingNumber(bilKatsayi.Text()));
  const std::optional<std::int16_t> previous = roundToInteger(leadingNumber(bilPrevious.Text()));
  const std::optional<std::int16_t> next = roundToInteger(leadingNumber(bilNext.Text()));
  if (!kind || !previous || !next) {
    MsgBox("Durum ve pointer alanlarına -32768 ile 32767 arasında bir sayı girilebilir!..."_w, MsgButtons::Ok,
           MsgIcon::Exclamation, "HATA !");
    return;
  }
  ProductRecord r = Products.read(n);
  r.Code = bilKod.Text();
  r.Name = bilSimdikiAd.Text();
  r.Kind = *kind;
  r.ChainPrev = *previous;
  r.ChainNext = *next;
  Products.write(n, r);
  ShowServiceRecord();
  Caption = "Data dosyasındaki "_w + recordNumberText(n) + " numaralı kayıt yenilendi..."_w;
}

// ---- Wipe ----

void frmServis::cmdTrueSil_Click() {
  Beep();
  const std::int16_t n = ServiceRecordNumber;
  if (n < 1 || n > RecordCount) return;
  ProductRecord r = Products.read(n);
  if (isErased(r)) return;
  if (r.Kind >= 0) {
    MsgBox("Bu komut ile yalnızca geçersiz kayıtlar silinebilir..."_w, MsgButtons::Ok, MsgIcon::Exclamation,
           "HATA !  Geçerli kayıt silinmek isteniyor..."_w);
    return;
  }
  if (MsgBox(std::to_string(n) + " numaralı kayıtı gerçekten silmek istiyormusunuz?..."_w, MsgButtons::YesNo,
             MsgIcon::Question, "952 [ TAM SİLME ] 952"_w) != MsgAnswer::Yes)
    return;
  eraseContent(r);
  Products.write(n, r);
  ShowServiceRecord();
  Caption = recordNumberText(n) + " numaralı kayıt tamamen silindi... Kurtarmak olanaksız!..."_w;
}

// ---- Rebuild ----

void frmServis::cmdRebuild_Click() {
  Beep();
  Caption = " DİKKAT !  VERİ TABANI YENİDEN OLUŞTURULACAK..."_w;
  const std::string& company = Products.company();
  const std::string question = "Silinmiş kayıtlar dışındaki tüm kayıtlar\r\n"
                               "32 harf / 109 karakter Türkçe sıralama yöntemine göre yeniden oluşturulacak...\r\n"
                               "\r\n"
                               "Yenileme öncesindeki data dosyası\r\n"_w +
                               company + ".DAT\r\n952KLVR.DAT olarak ve indeks dosyası\r\n"_w + company +
                               ".ABC\r\n952KLVR.ABC olarak yedeklenecek...\r\n\r\nİşlem başlasın mı?..."_w;
  if (MsgBox(question, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) {
    ShowServiceRecord();
    return;
  }
  if (!RebuildDataAndIndex()) return;
  if (ServiceRecordNumber < 1) {
    for (TextBox* box : {&bilPointer, &bilKod, &bilKatsayi, &bilCurrent, &bilPrevious, &bilNext, &bilOncekiKod,
                         &bilOncekiAd, &bilSimdikiKod, &bilSimdikiAd, &bilSonrakiKod, &bilSonrakiAd})
      box->Text = "";
  } else {
    ShowRebuildResult();
  }
}

// The new files are complete before they take the place of the old ones; when anything fails, the window
// says which file and goes on with the files as they were.
bool frmServis::RebuildDataAndIndex() {
  const ProductFile::Replaced done = Products.replace(
      [this](const std::string& company) {
        DataFileRebuildTitles titles(*this, " " KV_PROGRAM_TITLE " SERVİS"_w);
        return rebuildDataAndIndex(company, titles);
      },
      ProductFile::IndexRule::Leave);
  if (done.reopenFailure) {
    LeaveCompany(*this, *done.reopenFailure);
    return false;
  }
  if (!done.job.replaced) {
    countRecords();
    tellFileError(*this, *done.job.failure);
    ShowServiceRecord();
    return false;
  }
  RecordCount = done.job.written;
  ServiceRecordNumber = done.job.written;
  KALVOR3.CurrentRecordNumber = done.job.written;
  bilPointer.SetFocus();
  return true;
}

void frmServis::ShowRebuildResult() {
  showRecordBoxes();
  for (CommandButton* b : {&cmdSyOnceki, &cmdSySonraki, &cmdOnceki, &cmdSonraki}) b->Enabled = true;
  showNeighbours();
}

}  // namespace kv
