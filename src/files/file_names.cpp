#include "files/file_names.h"

#include "base/text.h"

namespace kv::files_internal {

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
