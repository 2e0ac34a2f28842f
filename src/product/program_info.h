// What the program says of itself: the version line of the start-up dialog and its icon.
#pragma once

#include <string>

namespace kv {

std::string programVersionLine();
// The icon picture (a UTF-8 path), or empty when it is not installed beside the program.
std::string programIconPath();

}  // namespace kv
