// The folder that holds the company files: every name the file layer is given is of a file in it.
#pragma once

#include <filesystem>

namespace kv {

// The folder that holds the company files: the current directory unless set.
void setWorkingFolder(const std::filesystem::path& folder);
std::filesystem::path workingFolder();

}  // namespace kv
