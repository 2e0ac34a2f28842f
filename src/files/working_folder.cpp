#include "files/working_folder.h"

#include <optional>

namespace kv {

namespace {

// Unset until the program or a test chooses the folder.
std::optional<std::filesystem::path>& chosen() {
  static std::optional<std::filesystem::path> folder;
  return folder;
}

}  // namespace

void setWorkingFolder(const std::filesystem::path& folder) { chosen() = folder; }

std::filesystem::path workingFolder() { return chosen() ? *chosen() : std::filesystem::current_path(); }

}  // namespace kv
