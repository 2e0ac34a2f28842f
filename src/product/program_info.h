// What the program says of itself: the version line of the start-up dialog and its icon.
#pragma once

#include <string>

namespace kv {

std::string programVersionLine();
// The icon picture (a UTF-8 path): the checkout's beside the build, or the installed one (64 pixels) in the
// prefix the program is installed in; empty when there is neither.
std::string programIconPath();

}  // namespace kv
