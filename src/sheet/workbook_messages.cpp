#include "sheet/workbook_messages.h"

#include <optional>

#include "base/program_title.h"
#include "base/text.h"
#include "files/file_error_message.h"

namespace kv::sheet {

UserMessage exportFailedMessage() {
  return {"Bu işlemi yapabilmeniz için Microsoft Excel programının bilgisayarınıza yüklenmiş gerekir."_w,
          " ! Microsoft Excel'e Aktarma yapılamıyor !"_w};
}

namespace {

// The import workbook named, then what is wrong with it and that nothing was changed.
UserMessage importRefused(std::string_view workbookName, const std::string& afterName) {
  return {"'"_w + std::string(workbookName) + afterName, " ! Microsoft Excel'den Yükleme yapılamıyor !"_w};
}

}  // namespace

UserMessage importFailedMessage(std::string_view workbookName) {
  return importRefused(workbookName,
                       "' okunamadı: dosya bozuk ya da bir Excel çalışma kitabı değil; hiçbir dosya değiştirilmedi."_w);
}

UserMessage importOldVersionMessage(std::string_view workbookName) {
  return importRefused(workbookName,
                       "' Excel 2.x - 4.0 biçiminde kaydedilmiş; bu eski biçimdeki çalışma kitapları okunmuyor (Excel "
                       "97-2003 ya da .xlsx biçiminde kaydedilmiş olmalı); hiçbir dosya değiştirilmedi."_w);
}

UserMessage importPasswordMessage(std::string_view workbookName) {
  return importRefused(workbookName,
                       "' parola ile korunuyor; parolalı çalışma kitapları okunmuyor (parolasız kaydedilmiş olmalı); "
                       "hiçbir dosya değiştirilmedi."_w);
}

UserMessage readerMissingMessage(std::string_view places) {
  return {"Çalışma kitaplarını okuyan program (kalvor952-sheet-reader) başlatılamadı; arandığı yerler: "_w +
              std::string(places) + ". Program eksik kurulmuş; hiçbir dosya değiştirilmedi."_w,
          " ! Microsoft Excel'den Yükleme yapılamıyor !"_w};
}

UserMessage importLayoutMessage(std::string_view workbookName) {
  return importRefused(workbookName,
                       "' dosyasının sütunları EXCEL'e aktar komutuyla elde edilen formatta değil; hiçbir dosya "
                       "değiştirilmedi."_w);
}

UserMessage workbookWrittenMessage(std::string_view fileName) {
  return {"Kayıtlar \""_w + std::string(fileName) + "\" dosyasına aktarıldı..."_w, KV_PROGRAM_TITLE};
}

UserMessage nothingToExportMessage() {
  return {"Microsoft Excel' e aktarılacak herhangi bir kayıt bulunamadı."_w, "Hata !"_w};
}

UserMessage workbookCutMessage() {
  static_assert(kMaxSheetRows - 1 == 1048575, "the rows the message names");
  return {"Excel çalışma sayfasının satırları yetmediğinden, çalışma kitabına başlık satırının altındaki ilk "
          "1.048.575 satır aktarıldı; geri kalan satırlar aktarılamadı."_w,
          KV_PROGRAM_TITLE};
}

bool exportAndTell(MessageSink& sink, const std::function<WrittenWorkbook()>& write) {
  std::optional<WrittenWorkbook> written;
  try {
    written = write();
  } catch (const SheetError&) {
    tell(sink, exportFailedMessage(), MsgIcon::Exclamation);
    return false;
  } catch (const FileError& e) {
    tellFileError(sink, e);
    return false;
  }
  tell(sink, workbookWrittenMessage(written->file), MsgIcon::None);
  if (written->cut) tell(sink, workbookCutMessage(), MsgIcon::Exclamation);
  return true;
}

bool tellImportProblem(MessageSink& sink, ImportProblem problem, std::string_view workbookName,
                       std::string_view readerPlaces) {
  if (problem == ImportProblem::None) return false;
  sink.beep();
  tell(sink,
       problem == ImportProblem::Layout       ? importLayoutMessage(workbookName)
       : problem == ImportProblem::NoReader   ? readerMissingMessage(readerPlaces)
       : problem == ImportProblem::OldVersion ? importOldVersionMessage(workbookName)
       : problem == ImportProblem::Password   ? importPasswordMessage(workbookName)
                                              : importFailedMessage(workbookName),
       MsgIcon::Exclamation);
  return true;
}

}  // namespace kv::sheet
