// Inside the file layer: how it matches the names of the working folder's files, and which of them are a
// replacement's temporaries. The layer's parts have these through files_internal.h; the company lock
// (company_lock.cpp), which the images hold, includes this alone. Nothing outside the file layer includes it.
#pragma once

#include <string>
#include <string_view>

namespace kv::files_internal {

// A name as the layer matches names: without regard to case, Turkish or not (both i's fold to I).
std::string foldName(std::string_view name);
// A temporary file of a replacement ("<company>.<ext>.~new", "~old", numbered): only the replacement
// makes one, never an open.
bool isTemporaryName(std::string_view name);
// A name matches a pattern in which * stands for any run of characters and ? for any one, byte for byte:
// the caller folds both to match without regard to case.
bool globMatch(std::string_view pattern, std::string_view text);

}  // namespace kv::files_internal
