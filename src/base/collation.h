// The program's own ordering of characters: codes and names are compared by the positions of their
// characters in CollationString, not by byte value or by the locale.
#pragma once

#include <string>
#include <string_view>

namespace kv {

inline constexpr int kBucketCount = 109;

// The 109 characters, Windows-1254: a blank, "!", a double quote, then "#$%&'()*+,-./0123456789:;<=>?@"
// and the letters, each upper case before its lower case, the Turkish letters after their base letters,
// then "[\]^_`{|}~£Ø".
const std::string& collationString();

// Position 1..109 of a character in CollationString (exact, case-sensitive); 0 when it is not there.
int collationRank(unsigned char c);

// A key is its field's text with the blanks at both ends removed.
std::string_view keyOf(std::string_view field);

// Compares two keys position by position by rank; a position beyond the end of a key, or a character
// outside CollationString, counts as rank 0. So a key that is a beginning of another sorts first, and
// "AB" followed by such a character equals "AB". Returns <0, 0 or >0.
int compareKeys(std::string_view a, std::string_view b);

// The ranks of a key's characters as a byte string, without the rank-0 positions at its end: two such
// strings compare as byte strings as compareKeys compares their keys. For sorting many keys.
std::string rankString(std::string_view key);

// A key prepared for comparison with the key fields of many records: compare(field) gives what
// compareKeys(key, keyOf(field)) gives, without trimming the field or building a text.
class PreparedKey {
 public:
  explicit PreparedKey(std::string_view key) : ranks_(rankString(key)) {}
  int compare(std::string_view field) const;

 private:
  std::string ranks_;
};

// The bucket of a key: the rank of its first character; 0 for an empty key or an unknown first character.
int bucketOf(std::string_view key);

}  // namespace kv
