#include "files/file_names.h"

#include <algorithm>

#include "base/text.h"

namespace kv::files_internal {

namespace {

// The extension of "<stem>.<ext>": one point, a stem and an extension of letters and digits.
bool oneExtension(std::string_view name, std::string_view stem) {
  const std::string f = foldName(name);
  const std::string s = foldName(stem);
  if (f.size() <= s.size() + 1 || f.compare(0, s.size(), s) != 0 || f[s.size()] != '.') return false;
  const std::string_view ext = std::string_view(f).substr(s.size() + 1);
  return ext.find('.') == std::string_view::npos && ext.find('~') == std::string_view::npos;
}

}  // namespace

std::string foldName(std::string_view name) {
  std::string f = upperCase(name);
  for (auto& c : f)
    if (static_cast<unsigned char>(c) == 0xDD) c = 'I';
  return f;
}

bool isTemporaryName(std::string_view name) {
  const std::string folded = foldName(name);
  return folded.find(".~NEW") != std::string::npos || folded.find(".~OLD") != std::string::npos;
}

bool isCompanyFile(std::string_view name, std::string_view company) {
  return !company.empty() && oneExtension(name, company);
}

bool isBackupFile(std::string_view name) { return oneExtension(name, "952KLVR"); }

bool isTemporaryOf(std::string_view name, std::string_view company) {
  if (company.empty()) return false;
  const std::string f = foldName(name);
  for (std::string_view kind : {".~NEW", ".~OLD"}) {
    const std::size_t at = f.rfind(kind);
    if (at == std::string::npos) continue;
    const std::string_view number = std::string_view(f).substr(at + kind.size());
    if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    if (isCompanyFile(std::string_view(f).substr(0, at), company)) return true;
  }
  return false;
}

bool globMatch(std::string_view pattern, std::string_view text) {
  std::size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace kv::files_internal
