// How a file that failed is told to the user: one message, in the program's words, for every window.
#pragma once

#include <vector>

#include "base/messages.h"
#include "files/file_error.h"

namespace kv {

// Title "! DOSYA HATASI !"; the text names the file, what failed and why (Windows-1254), e.g.
//   "KLVR952.ABC" dosyasına yazılamadı!...  (Disk dolu)
UserMessage fileErrorMessage(const FileError& error);

// The system's reason for a failed call (an errno value) as the file messages give it, e.g. "Erişim izni yok"
// (Windows-1254); empty for 0.
std::string systemErrorReason(int systemError);

// Title "! DİKKAT !": the backups a command could not renew (takeBackupsNotRenewed), named once each, e.g.
//   "952KLVR.DAT" yedek dosyası yenilenemedi!...  (Erişim izni yok)
//
//   İşlem tamamlandı; dosyaların önceki hali bu yedekte saklanmadı...
UserMessage backupsNotRenewedMessage(const std::vector<FileError>& notRenewed);

// Beeps, then shows fileErrorMessage with the exclamation icon and an OK button.
void tellFileError(MessageSink& sink, const FileError& error);

}  // namespace kv
