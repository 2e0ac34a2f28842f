#include "app/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "base/text.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "ui/application.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

enum class FolderFault { None, Missing, NotAFolder, Unreadable, NotMade };

struct FolderCheck {
  FolderFault fault = FolderFault::None;
  int error = 0;  // the system's, where it said why
};

// Whether the program can work in the folder: it is there (the program's own is made when it is not), it is
// a folder, and its files can be listed and opened. Writing is not asked here: a folder the user may not
// write is told by the start-up dialog, when the company's lock file cannot be made there.
FolderCheck checkFolder(const fs::path& folder, bool make) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    const int error = errno;
    if (error != ENOENT && error != ENOTDIR) return {FolderFault::Unreadable, error};
    if (!make) return {FolderFault::Missing, error};
    if (::mkdir(folder.c_str(), 0777) != 0) return {FolderFault::NotMade, errno};
    return {};
  }
  if (!S_ISDIR(st.st_mode)) return {FolderFault::NotAFolder, 0};
  if (::access(folder.c_str(), R_OK | X_OK) != 0) return {FolderFault::Unreadable, errno};
  return {};
}

std::string faultText(const FolderCheck& check, const fs::path& folder) {
  std::string name(1, '"');
  name += fromUtf8(folder.string()).value_or(folder.string());
  name += '"';
  std::string text;
  switch (check.fault) {
    case FolderFault::None: return "";
    case FolderFault::Missing: return name + " klasörü bulunamadı!..."_w;
    case FolderFault::NotAFolder: return name + " bir klasör değil!..."_w;
    case FolderFault::Unreadable: text = name + " klasörü okunamadı!..."_w; break;
    case FolderFault::NotMade: text = name + " klasörü oluşturulamadı!..."_w; break;
  }
  if (const std::string reason = systemErrorReason(check.error); !reason.empty()) text += "  (" + reason + ")";
  return text;
}

}  // namespace

FolderChoice chooseProgramFolder(const std::optional<fs::path>& named, const fs::path& current,
                                 const fs::path& home) {
  if (named) {
    // An empty name (a script's unset variable) names no folder; it is not taken for the current one.
    if (named->empty()) return {};
    fs::path folder = (current / *named).lexically_normal();
    if (!folder.has_filename() && folder != folder.root_path()) folder = folder.parent_path();
    return {folder};
  }
  std::error_code ec;
  if (!home.empty() && fs::equivalent(current, home, ec)) return {home / kOwnFolderName, true};
  return {current};
}

bool enterProgramFolder(const std::vector<std::string>& args, const fs::path& current, const fs::path& home) {
  if (args.size() > 1) {
    std::fputs("KALVOR 952: usage: kalvor952 [FOLDER]\n", stderr);
    return false;
  }
  std::optional<fs::path> named;
  if (!args.empty()) named = args.front();
  const FolderChoice choice = chooseProgramFolder(named, current, home);
  const FolderCheck check = checkFolder(choice.folder, choice.own);
  if (check.fault != FolderFault::None) {
    ui::Beep();
    ui::MsgBox(faultText(check, choice.folder), MsgButtons::Ok, MsgIcon::Exclamation, "! DİKKAT !"_w);
    return false;
  }
  setWorkingFolder(choice.folder);
  return true;
}

fs::path homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir) return user->pw_dir;
  return {};
}

}  // namespace kv
