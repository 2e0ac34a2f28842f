#include "files/file_error_message.h"

#include <algorithm>
#include <cerrno>

#include "base/text.h"

namespace kv {

namespace {

struct OpWords {
  const char* afterName;  // follows the quoted name
  const char* alone;      // when the file has no name (a bare file number)
};

OpWords wordsOf(FileOp op) {
  switch (op) {
    case FileOp::Open: return {" dosyası açılamadı", "Dosya açılamadı"};
    case FileOp::Read: return {" dosyası okunamadı", "Dosya okunamadı"};
    case FileOp::Write: return {" dosyasına yazılamadı", "Dosyaya yazılamadı"};
    case FileOp::Flush: return {" dosyası diske aktarılamadı", "Dosya diske aktarılamadı"};
    case FileOp::FlushFolder: return {" dosyalarının klasör bilgisi diske aktarılamadı", "Klasör diske aktarılamadı"};
    case FileOp::Delete: return {" dosyası silinemedi", "Dosya silinemedi"};
    case FileOp::Rename: return {" dosyasının adı değiştirilemedi", "Dosyanın adı değiştirilemedi"};
    case FileOp::Copy: return {" dosyası kopyalanamadı", "Dosya kopyalanamadı"};
    case FileOp::NotOpen: break;
  }
  return {" dosyası açık değil", "Dosya açık değil"};
}

// The system's reason for a failed call, in a few words (UTF-8); empty for none.
std::string systemReason(int systemError) {
  switch (systemError) {
    case 0: return "";
    case ENOSPC: return "Disk dolu";
    case EDQUOT: return "Disk kotası dolu";
    case EACCES:
    case EPERM: return "Erişim izni yok";
    case EROFS: return "Salt okunur disk";
    case EIO: return "Okuma/yazma hatası";
    case ENOENT: return "Bulunamadı";
    case EISDIR: return "Bir klasör";
    case ELOOP: return "Bir bağlantı";
    case ENXIO: return "Bir dosya değil";  // a device, a pipe or a socket where a file belongs
    case EAGAIN: return "Başka bir program kullanıyor";  // a lock another program keeps
    default: return "Sistem hatası " + std::to_string(systemError);
  }
}

// Why, in a few words (UTF-8): the system's reason, else the layer's own; empty when there is none to say.
std::string reasonOf(const FileError& e) {
  if (e.systemError() != 0) return systemReason(e.systemError());
  if (e.op() == FileOp::NotOpen) return "";
  switch (e.kind()) {
    case FileError::Kind::NotFound: return "Bulunamadı";
    case FileError::Kind::InUse: return "Program tarafından kullanılıyor";
    case FileError::Kind::AlreadyExists: return "Bu adda bir dosya var";
    case FileError::Kind::BadRecordNumber: return "Geçersiz kayıt numarası";
    case FileError::Kind::BadFileNumber: return "Geçersiz dosya numarası";
    case FileError::Kind::BadName: return "Geçersiz dosya adı";
    case FileError::Kind::Locked: return "Şirket başka bir programda açık";
    case FileError::Kind::LockUnusable:
    case FileError::Kind::LockNotMade:
    case FileError::Kind::SideFileDamaged:
    case FileError::Kind::SideFileForeign: break;
    case FileError::Kind::Unfinished: return "Son işlem, şirket yeniden açıldığında tamamlanacak";
    case FileError::Kind::Io: break;
  }
  return "";
}

// "  (<why>)" after a message's first sentence, or nothing when there is no reason to give.
std::string because(const FileError& e) {
  const std::string reason = reasonOf(e);
  return reason.empty() ? std::string() : "  (" + w(reason) + ")";
}

}  // namespace

UserMessage fileErrorMessage(const FileError& error) {
  // The company cannot be kept from a second program: it is refused, and the user is told how to mend it.
  if (error.kind() == FileError::Kind::LockUnusable) {
    std::string text = "Şirketin kilit dosyası \""_w + error.fileName() + "\" kullanılamıyor!..."_w;
    text += because(error);
    text += "\r\rŞirket hiçbir programda açık değilken bu dosyayı silin veya şirketi kullanan herkesin okuyup "
            "yazabileceği bir dosya yapın..."_w;
    return {text, "! DOSYA HATASI !"};
  }
  // The company cannot be kept from a second program either: the user is told what keeps the file from
  // being made.
  if (error.kind() == FileError::Kind::LockNotMade) {
    std::string text = "Şirketin kilit dosyası \""_w + error.fileName() + "\" oluşturulamadı!..."_w;
    text += because(error);
    switch (error.systemError()) {
      case EACCES:
      case EPERM:
        text += "\r\rŞirketin klasörüne yazılamıyor: klasöre yazma izni alın veya şirketi yazabildiğiniz bir "
                "klasörde açın..."_w;
        break;
      case ENOSPC:
      case EDQUOT: text += "\r\rDiskte yer açın ve şirketi yeniden seçin..."_w; break;
      default: text += "\r\rDiski denetleyin ve şirketi yeniden seçin..."_w; break;
    }
    return {text, "! DOSYA HATASI !"};
  }
  // A side file that could not be applied: the same words wherever it is met, the opening or a command.
  if (error.kind() == FileError::Kind::SideFileDamaged || error.kind() == FileError::Kind::SideFileForeign) {
    return {"Son işlem yarıda kalmış, ancak kayıt dosyası \""_w + error.fileName() +
                (error.kind() == FileError::Kind::SideFileDamaged ? "\" bozuk!...\r\r"_w
                                                                   : "\" bu dosyalara ait değil!...\r\r"_w) +
                "Dosyalara dokunulmadı; kayıt dosyası \""_w + error.keptAs() +
                "\" adıyla saklandı. Dosyaları Veri Dosyası Servisi ile denetleyin..."_w,
            "! DİKKAT !"_w};
  }
  const OpWords words = wordsOf(error.op());
  std::string text = error.fileName().empty() ? w(words.alone) : "\"" + error.fileName() + "\"" + w(words.afterName);
  text += "!...";
  text += because(error);
  return {text, "! DOSYA HATASI !"};
}

std::string systemErrorReason(int systemError) { return w(systemReason(systemError)); }

UserMessage backupsNotRenewedMessage(const std::vector<FileError>& notRenewed) {
  std::vector<std::string> names;
  for (const FileError& e : notRenewed)
    if (std::find(names.begin(), names.end(), e.fileName()) == names.end()) names.push_back(e.fileName());
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
  text += names.size() == 1 ? " yedek dosyası yenilenemedi!..."_w : " yedek dosyaları yenilenemedi!..."_w;
  if (!notRenewed.empty()) text += because(notRenewed.front());
  text += names.size() == 1 ? "\r\rİşlem tamamlandı; dosyaların önceki hali bu yedekte saklanmadı..."_w
                            : "\r\rİşlem tamamlandı; dosyaların önceki hali bu yedeklerde saklanmadı..."_w;
  return {text, "! DİKKAT !"_w};
}

void tellFileError(MessageSink& sink, const FileError& error) {
  sink.beep();
  tell(sink, fileErrorMessage(error), MsgIcon::Exclamation);
}

}  // namespace kv
