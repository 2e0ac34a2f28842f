// The folder the program works in, chosen once at its start, before its first window: the folder named on
// the command line, else the folder the program was started in, but never the user's home folder itself. A
// start from the desktop's menu is a start in the home folder; the program then works in a folder of its own
// under home, made on first start, so that company files never lie among the user's own. A folder named on
// the command line is always taken as it is.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The program's own folder, under the user's home.
inline constexpr char kOwnFolderName[] = "KALVOR952";

struct FolderChoice {
  std::filesystem::path folder;  // absolute when `current` is; empty for an empty name
  bool own = false;              // the program's own folder: made when it is missing
};

// named: the folder given on the command line, if any; current: the folder the program was started in;
// home: the user's home folder (empty when unknown). Reads nothing but what the folders are.
FolderChoice chooseProgramFolder(const std::optional<std::filesystem::path>& named,
                                 const std::filesystem::path& current, const std::filesystem::path& home);

// The program's start: makes the folder it chooses the file layer's working folder and returns true. A folder
// that is missing, is no folder or cannot be read (the program's own: cannot be made) is told in a message
// box over no window, and false returned: the program ends. More than one argument is told on the terminal.
bool enterProgramFolder(const std::vector<std::string>& args, const std::filesystem::path& current,
                        const std::filesystem::path& home);

// The user's home folder: $HOME, else the one the user database names; empty when neither does.
std::filesystem::path homeFolder();

}  // namespace kv
