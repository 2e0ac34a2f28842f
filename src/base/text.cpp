#include "base/text.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace kv {

namespace {

// Code points of the bytes 0x80..0xFF. Undefined bytes keep their own value (U+0081 ...).
constexpr std::array<char32_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178,  // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // B8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,  // C0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,  // C8
    0x011E, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,  // D0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF,  // D8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,  // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,  // E8
    0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,  // F0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF,  // F8
};

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
  CaseTables() {
    for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<unsigned char>(i);
    auto pair = [this](unsigned char u, unsigned char l) {
      upper[l] = u;
      lower[u] = l;
    };
    for (int c = 'A'; c <= 'Z'; ++c) pair(static_cast<unsigned char>(c), static_cast<unsigned char>(c + 32));
    // Latin-1 letters À..Þ / à..þ, without × and ÷.
    for (int c = 0xC0; c <= 0xDE; ++c)
      if (c != 0xD7) pair(static_cast<unsigned char>(c), static_cast<unsigned char>(c + 32));
    pair(0x8A, 0x9A);  // Š š
    pair(0x8C, 0x9C);  // Œ œ
    pair(0x9F, 0xFF);  // Ÿ ÿ
    // The Turkish dotted and dotless i: I <-> ı, İ <-> i. Set last, they override the pairs above.
    upper['i'] = 0xDD;
    lower[0xDD] = 'i';
    upper[0xFD] = 'I';
    lower['I'] = 0xFD;
  }
};

const CaseTables& caseTables() {
  static const CaseTables tables;
  return tables;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

char32_t cp1254ToUnicode(unsigned char byte) { return byte < 0x80 ? byte : kHigh[byte - 0x80]; }

std::optional<unsigned char> unicodeToCp1254(char32_t cp) {
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  static const auto reverse = [] {
    std::array<std::pair<char32_t, unsigned char>, 128> table{};
    for (int i = 0; i < 128; ++i) table[i] = {kHigh[i], static_cast<unsigned char>(0x80 + i)};
    return table;
  }();
  for (const auto& [code, byte] : reverse)
    if (code == cp) return byte;
  return std::nullopt;
}

std::string toUtf8(std::string_view cp1254) {
  std::string out;
  out.reserve(cp1254.size() + cp1254.size() / 2);
  for (unsigned char c : cp1254) appendUtf8(out, cp1254ToUnicode(c));
  return out;
}

std::optional<std::string> fromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    std::size_t extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      return std::nullopt;
    }
    if (i + extra >= utf8.size() && extra > 0) return std::nullopt;
    for (std::size_t k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(utf8[i + k]);
      if ((cc & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // An overlong form (C0 AF for "/") is malformed: it would let a character in by the back door.
    static constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kShortest[extra]) return std::nullopt;
    i += extra + 1;
    auto byte = unicodeToCp1254(cp);
    if (!byte) return std::nullopt;
    out.push_back(static_cast<char>(*byte));
  }
  return out;
}

std::string w(std::string_view utf8) {
  auto converted = fromUtf8(utf8);
  if (!converted) {
    std::fprintf(stderr, "internal error: literal has no Windows-1254 form: %.*s\n", static_cast<int>(utf8.size()),
                 utf8.data());
    std::abort();
  }
  return *converted;
}

std::string operator""_w(const char* utf8, std::size_t length) { return w(std::string_view(utf8, length)); }

unsigned char upperChar(unsigned char c) { return caseTables().upper[c]; }
unsigned char lowerChar(unsigned char c) { return caseTables().lower[c]; }

std::string upperCase(std::string_view s) {
  std::string out(s);
  for (auto& ch : out) ch = static_cast<char>(upperChar(static_cast<unsigned char>(ch)));
  return out;
}

std::string lowerCase(std::string_view s) {
  std::string out(s);
  for (auto& ch : out) ch = static_cast<char>(lowerChar(static_cast<unsigned char>(ch)));
  return out;
}

std::string_view trimView(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

std::string trim(std::string_view s) { return std::string(trimView(s)); }

std::string trimLeft(std::string_view s) {
  std::size_t b = 0;
  while (b < s.size() && s[b] == ' ') ++b;
  return std::string(s.substr(b));
}

std::string trimRight(std::string_view s) {
  std::size_t e = s.size();
  while (e > 0 && s[e - 1] == ' ') --e;
  return std::string(s.substr(0, e));
}

std::string fitText(std::string_view s, std::size_t width) {
  std::string out(s.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::string leftText(std::string_view s, std::size_t n) { return std::string(s.substr(0, n)); }

std::string rightText(std::string_view s, std::size_t n) {
  return n >= s.size() ? std::string(s) : std::string(s.substr(s.size() - n));
}

std::string midText(std::string_view s, std::size_t start1, std::size_t n) {
  if (start1 < 1 || start1 > s.size()) return {};
  return std::string(s.substr(start1 - 1, n));
}

std::size_t inText(std::string_view haystack, std::string_view needle) {
  auto pos = haystack.find(needle);
  return pos == std::string_view::npos ? 0 : pos + 1;
}

}  // namespace kv
