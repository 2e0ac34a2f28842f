#include "ui/keys.h"

#include "base/text.h"

namespace kv::ui {

namespace {

struct Mapping {
  const char* utf8;  // the characters of one key: unshifted, shifted
  int keyCode;
};

// Keys of the Turkish Q layout whose codes are not the character itself.
constexpr Mapping kTurkishQ[] = {
    {"ıI", 'I'}, {"iİ", 222}, {"ğĞ", 219}, {"üÜ", 221}, {"şŞ", 186}, {"öÖ", 191}, {"çÇ", 220}, {"\"é", 192},
    {"*?", 223}, {"-_", 189}, {",;", 188}, {".:", 190}, {"<>", 226}, {"=", '0'},  {"!", '1'},  {"'", '2'},
    {"^", '3'},  {"+", '4'},  {"%", '5'},  {"&", '6'},  {"/", '7'},  {"(", '8'},  {")", '9'},
};

}  // namespace

KeyStroke keyStrokeOf(unsigned char c) {
  if (c == Key::Back || c == Key::Tab || c == Key::Enter || c == Key::Escape || c == ' ') return {c, 0};
  if (c >= '0' && c <= '9') return {c, 0};
  for (const Mapping& m : kTurkishQ) {
    const std::string chars = w(m.utf8);
    const auto at = chars.find(static_cast<char>(c));
    if (at != std::string::npos) {
      // A single-character entry is a shifted digit key.
      const bool shifted = chars.size() == 1 ? true : at == 1;
      return {m.keyCode, shifted ? Mask::Shift : 0};
    }
  }
  if (c >= 'a' && c <= 'z') return {c - 32, 0};
  if (c >= 'A' && c <= 'Z') return {c, Mask::Shift};
  if (c >= 32) {
    // Any other character (AltGr combinations, Latin-1 letters): the key code of its letter when it has
    // one, else the layout's extra key.
    const unsigned char upper = upperChar(c);
    if (upper >= 'A' && upper <= 'Z') return {upper, upper == c ? Mask::Shift : 0};
    return {223, 0};
  }
  return {};
}

std::optional<unsigned char> characterOfKey(int keyCode, int shift) {
  const bool ctrl = (shift & Mask::Ctrl) != 0;
  const bool alt = (shift & Mask::Alt) != 0;
  switch (keyCode) {
    case Key::Back:
      return 8;
    case Key::Enter:
      return 13;
    case Key::Escape:
      return 27;
    case Key::Space:
      return alt ? std::nullopt : std::optional<unsigned char>(32);
    default:
      break;
  }
  if (alt) return std::nullopt;
  if (keyCode >= 'A' && keyCode <= 'Z') {
    if (ctrl) return static_cast<unsigned char>(keyCode - 'A' + 1);
    if (keyCode == 'I') return (shift & Mask::Shift) ? 'I' : 0xFD;  // the Turkish Q key of ı and I
    return static_cast<unsigned char>((shift & Mask::Shift) ? keyCode : keyCode + 32);
  }
  if (!ctrl && keyCode >= '0' && keyCode <= '9' && !(shift & Mask::Shift)) return static_cast<unsigned char>(keyCode);
  return std::nullopt;
}

std::string typeable(std::string_view utf8) {
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    // One UTF-8 sequence at a time, its length told by its lead byte.
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (const auto one = fromUtf8(utf8.substr(i, n)); one && one->size() == 1) out += *one;
    i += n;
  }
  return out;
}

}  // namespace kv::ui
