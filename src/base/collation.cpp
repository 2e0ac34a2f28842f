#include "base/collation.h"

#include <array>

#include "base/text.h"

namespace kv {

namespace {

const std::array<unsigned char, 256>& rankTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    const std::string& s = collationString();
    for (std::size_t i = 0; i < s.size(); ++i) t[static_cast<unsigned char>(s[i])] = static_cast<unsigned char>(i + 1);
    return t;
  }();
  return table;
}

}  // namespace

const std::string& collationString() {
  static const std::string s =
      " !\"" + w("#$%&'()*+,-./0123456789:;<=>?@AaBbCcÇçDdEeFfGgĞğHhIıİiJjKkLlMmNnOoÖöPpQqRrSsŞşTtUuÜüVvWwXxYyZz"
                 "[\\]^_`{|}~£Ø");
  return s;
}

int collationRank(unsigned char c) { return rankTable()[c]; }

std::string_view keyOf(std::string_view field) { return trimView(field); }

int compareKeys(std::string_view a, std::string_view b) {
  const auto& rank = rankTable();
  std::size_t n = a.size() > b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    int ra = i < a.size() ? rank[static_cast<unsigned char>(a[i])] : 0;
    int rb = i < b.size() ? rank[static_cast<unsigned char>(b[i])] : 0;
    if (ra != rb) return ra < rb ? -1 : 1;
  }
  return 0;
}

std::string rankString(std::string_view key) {
  const auto& rank = rankTable();
  std::string ranks(key.size(), '\0');
  std::size_t end = 0;
  for (std::size_t i = 0; i < key.size(); ++i) {
    ranks[i] = static_cast<char>(rank[static_cast<unsigned char>(key[i])]);
    if (ranks[i] != 0) end = i + 1;
  }
  ranks.resize(end);
  return ranks;
}

int PreparedKey::compare(std::string_view field) const {
  const auto& rank = rankTable();
  std::size_t p = 0, end = field.size();
  while (p < end && field[p] == ' ') ++p;
  // Position i of the key against position p of the field. Where the field turns blank, the rest is looked
  // at once: all blank, and the field's key ends there.
  for (std::size_t i = 0;; ++i, ++p) {
    int rf = 0;
    if (p < end) {
      const auto c = static_cast<unsigned char>(field[p]);
      if (c == ' ' && field.find_first_not_of(' ', p) == std::string_view::npos)
        end = p;
      else
        rf = rank[c];
    }
    const int rk = i < ranks_.size() ? static_cast<unsigned char>(ranks_[i]) : 0;
    if (rk != rf) return rk < rf ? -1 : 1;
    if (p >= end && i >= ranks_.size()) return 0;
  }
}

int bucketOf(std::string_view key) { return key.empty() ? 0 : collationRank(static_cast<unsigned char>(key[0])); }

}  // namespace kv
