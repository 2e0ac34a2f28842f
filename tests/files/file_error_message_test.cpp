// The message a failed file gives the user: the file's name, what failed and why.
#include <gtest/gtest.h>

#include <cerrno>

#include "base/text.h"
#include "files/file_error_message.h"
#include "support/company.h"

namespace kv {
namespace {

TEST(FileErrorMessage, NamesTheFileWhatFailedAndWhy) {
  using K = FileError::Kind;
  struct Case {
    FileOp op;
    K kind;
    int error;
    const char* name;  // UTF-8
    const char* text;  // UTF-8
  };
  const Case cases[] = {
      {FileOp::Write, K::Io, ENOSPC, "KLVR952.ABC", "\"KLVR952.ABC\" dosyasına yazılamadı!...  (Disk dolu)"},
      {FileOp::Open, K::Io, EACCES, "ÇAĞ.DAT", "\"ÇAĞ.DAT\" dosyası açılamadı!...  (Erişim izni yok)"},
      {FileOp::Read, K::Io, EIO, "A.REC", "\"A.REC\" dosyası okunamadı!...  (Okuma/yazma hatası)"},
      {FileOp::Flush, K::Io, EROFS, "A.DAT", "\"A.DAT\" dosyası diske aktarılamadı!...  (Salt okunur disk)"},
      {FileOp::Delete, K::NotFound, 0, "A.KDM", "\"A.KDM\" dosyası silinemedi!...  (Bulunamadı)"},
      {FileOp::Rename, K::InUse, 0, "A.DAT",
       "\"A.DAT\" dosyasının adı değiştirilemedi!...  (Program tarafından kullanılıyor)"},
      {FileOp::Copy, K::Io, EMLINK, "952KLVR.DAT", "\"952KLVR.DAT\" dosyası kopyalanamadı!...  (Sistem hatası 31)"},
      {FileOp::NotOpen, K::BadFileNumber, 0, "A.LST", "\"A.LST\" dosyası açık değil!..."},
      {FileOp::Write, K::BadFileNumber, 0, "", "Dosyaya yazılamadı!...  (Geçersiz dosya numarası)"},
      {FileOp::Read, K::Io, 0, "", "Dosya okunamadı!..."},
      {FileOp::Open, K::LockUnusable, ELOOP, "KLVR952.~LCK",
       "Şirketin kilit dosyası \"KLVR952.~LCK\" kullanılamıyor!...  (Bir bağlantı)\r\rŞirket hiçbir programda açık "
       "değilken bu dosyayı silin veya şirketi kullanan herkesin okuyup yazabileceği bir dosya yapın..."},
      {FileOp::Open, K::LockNotMade, EACCES, "KLVR952.~LCK",
       "Şirketin kilit dosyası \"KLVR952.~LCK\" oluşturulamadı!...  (Erişim izni yok)\r\rŞirketin klasörüne "
       "yazılamıyor: klasöre yazma izni alın veya şirketi yazabildiğiniz bir klasörde açın..."},
      {FileOp::Open, K::LockNotMade, EDQUOT, "KLVR952.~LCK",
       "Şirketin kilit dosyası \"KLVR952.~LCK\" oluşturulamadı!...  (Disk kotası dolu)\r\rDiskte yer açın ve "
       "şirketi yeniden seçin..."},
      {FileOp::Open, K::LockNotMade, EIO, "KLVR952.~LCK",
       "Şirketin kilit dosyası \"KLVR952.~LCK\" oluşturulamadı!...  (Okuma/yazma hatası)\r\rDiski denetleyin ve "
       "şirketi yeniden seçin..."},
  };
  for (const Case& c : cases) {
    const UserMessage m = fileErrorMessage(FileError(c.kind, c.op, w(c.name), c.error));
    EXPECT_EQ(toUtf8(m.text), c.text);
    EXPECT_EQ(m.title, "! DOSYA HATASI !");
  }
}

// Each backup once, however many commands of the event could not renew it.
TEST(FileErrorMessage, NamesTheBackupsNotRenewed) {
  const auto notRenewed = [](const char* name) { return FileError(FileError::Kind::Io, FileOp::Rename, name, EPERM); };
  const UserMessage one = backupsNotRenewedMessage({notRenewed("952KLVR.DVZ"), notRenewed("952KLVR.DVZ")});
  EXPECT_EQ(toUtf8(one.text), "\"952KLVR.DVZ\" yedek dosyası yenilenemedi!...  (Erişim izni yok)\r\rİşlem tamamlandı; "
                              "dosyaların önceki hali bu yedekte saklanmadı...");
  EXPECT_EQ(toUtf8(one.title), "! DİKKAT !");
  EXPECT_EQ(toUtf8(backupsNotRenewedMessage({notRenewed("952KLVR.DAT"), notRenewed("952KLVR.ABC")}).text),
            "\"952KLVR.DAT\", \"952KLVR.ABC\" yedek dosyaları yenilenemedi!...  (Erişim izni yok)\r\rİşlem "
            "tamamlandı; dosyaların önceki hali bu yedeklerde saklanmadı...");
}

TEST(FileErrorMessage, IsToldWithABeepAndTheExclamationIcon) {
  testing::RecordingSink sink;
  tellFileError(sink, FileError(FileError::Kind::Io, FileOp::Write, "A.DAT", ENOSPC));
  EXPECT_EQ(sink.beeps, 1);
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(sink.shown[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(sink.shown[0].text, "\"A.DAT\" dosyasına yazılamadı!...  (Disk dolu)");
}

}  // namespace
}  // namespace kv
