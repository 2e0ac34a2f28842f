#include "product/program_info.h"

#include <filesystem>
#include <system_error>

#include "base/program_title.h"
#include "base/text.h"

namespace kv {

std::string programVersionLine() { return "Uyarlama " KV_PROGRAM_RELEASE "  Linux sürümü"_w; }

std::string programIconPath() {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  // The checkout's picture beside the build, else the one the install puts into the desktop's icons.
  for (auto dir = self.parent_path(); !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
    for (const char* icon : {"resources/kalvor952.png", "share/icons/hicolor/64x64/apps/kalvor952.png"})
      if (std::filesystem::exists(dir / icon, ec)) return (dir / icon).string();
  }
  return {};
}

}  // namespace kv
