#include "common/collation.h"

#include <array>

#include "common/text.h"

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

int bucketOf(std::string_view key) { return key.empty() ? 0 : collationRank(static_cast<unsigned char>(key[0])); }

}  // namespace kv
