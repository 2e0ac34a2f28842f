// Inside the file layer: how it matches the names of the working folder's files, and which of them are a
// company's files, the shared backups and a replacement's temporaries. The layer's parts have these through
// files_internal.h; the company lock (company_lock.cpp), which the images hold, takes them from here, and
// its errors and the working folder from their own headers, never from files.h or files_internal.h.
// Nothing outside the file layer includes this.
#pragma once

#include <string>
#include <string_view>

namespace kv::files_internal {

// A name as the layer matches names: without regard to case, Turkish or not (both i's fold to I).
std::string foldName(std::string_view name);
// A temporary file of a replacement ("<company>.<ext>.~new", "~old", numbered): only the replacement
// makes one, never an open.
bool isTemporaryName(std::string_view name);
// The names a command of `company` works with: its files "<company>.<ext>", the fixed backups
// "952KLVR.<ext>", and its temporaries "<company>.<ext>.~new" / ".~old", numbered or not.
bool isCompanyFile(std::string_view name, std::string_view company);
bool isBackupFile(std::string_view name);
bool isTemporaryOf(std::string_view name, std::string_view company);
// A name matches a pattern in which * stands for any run of characters and ? for any one, byte for byte:
// the caller folds both to match without regard to case.
bool globMatch(std::string_view pattern, std::string_view text);

}  // namespace kv::files_internal
