#include "product/company_names.h"

#include <algorithm>

#include "base/text.h"
#include "files/company_lock.h"
#include "files/command_recovery.h"
#include "files/files.h"

namespace kv {

namespace {

// A file name on disk is at most 255 bytes of UTF-8; the longest company file name adds ".DAT.~new9".
constexpr std::size_t kMaxNameBytes = 255 - 12;

}  // namespace

std::vector<std::string> listCompanies() {
  std::vector<std::string> names;
  for (const std::string& file : listFiles("*.DAT")) {
    try {
      if (fileLengthByName(file) < 1 && !hasCommandSideFiles(companyOfFile(file))) {
        // Not the new, still empty company that another program has open, nor one whose interrupted
        // command its opening is still to put right.
        const CompanyLock ours = CompanyLock::forRecovery(companyOfFile(file));
        deleteFile(file);
        continue;
      }
    } catch (const FileError&) {
      continue;  // an empty file that cannot be deleted is not offered
    }
    std::string name = upperCase(file.substr(0, file.size() - 4));
    if (name.rfind("952", 0) == 0) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string normaliseCompanyName(std::string_view typed) { return upperCase(trimView(typed)); }

bool isValidCompanyName(std::string_view name) {
  static const std::string allowed = "ABCÇDEFGĞHIİJKLMNOÖPQRSŞTUÜVWXYZ0123456789"_w;
  for (char c : name)
    if (allowed.find(c) == std::string::npos) return false;
  if (name.rfind("952", 0) == 0) return false;
  return toUtf8(name).size() <= kMaxNameBytes;
}

}  // namespace kv
