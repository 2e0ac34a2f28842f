#include "sheet/reader/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "base/text.h"
#include "sheet/sheet.h"

namespace kv::sheet {

namespace {

// Windows-1254 of every UTF-16 code unit, '\0' where it has none (U+0000 itself is never asked for).
const std::array<char, 65536>& fromUnicode() {
  static const auto table = [] {
    std::array<char, 65536> t{};
    for (int b = 1; b < 256; ++b) t[cp1254ToUnicode(static_cast<unsigned char>(b))] = static_cast<char>(b);
    return t;
  }();
  return table;
}

char byteOf(char32_t cp) {
  if (cp == 0) return '\0';
  const char b = cp < 0x10000 ? fromUnicode()[cp] : '\0';
  return b == '\0' ? '?' : b;
}

// The system's converter name of a code page a workbook names; empty when there is none.
std::string converterName(std::uint16_t id) {
  switch (id) {
    case 367: return "ASCII";
    case 10000: case 10081: case 32768: return "MACINTOSH";  // Turkish Macintosh: Roman with six letters changed
    case 10007: return "MAC-CYRILLIC";
    case 10029: return "MAC-CENTRALEUROPE";
    case 10079: return "MAC-IS";
    case 32769: return "CP1252";
    case 950: return "BIG5";
    case 1361: return "JOHAB";
    default: break;
  }
  if ((id >= 437 && id <= 950) || (id >= 1250 && id <= 1258)) return "CP" + std::to_string(id);
  return {};
}

bool isMultibyte(std::uint16_t id) { return id == 932 || id == 936 || id == 949 || id == 950 || id == 1361; }

// `bytes` through the converter into UTF-8 and on into Windows-1254; a byte it cannot take becomes "?".
void convert(iconv_t cd, std::string_view bytes, std::string& out) {
  std::string utf8;
  char buffer[4096];
  char* in = const_cast<char*>(bytes.data());
  std::size_t left = bytes.size();
  while (left > 0) {
    char* to = buffer;
    std::size_t room = sizeof buffer;
    if (::iconv(cd, &in, &left, &to, &room) == static_cast<std::size_t>(-1) && errno != E2BIG) {
      utf8.append(buffer, static_cast<std::size_t>(to - buffer));
      utf8 += '?';
      ++in, --left;
      ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
      continue;
    }
    utf8.append(buffer, static_cast<std::size_t>(to - buffer));
  }
  out += cp1254FromUtf8Lossy(utf8);
}

struct Converter {
  explicit Converter(const std::string& name) : cd(::iconv_open("UTF-8", name.c_str())) {}
  ~Converter() {
    if (ok()) ::iconv_close(cd);
  }
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd;
};

}  // namespace

CodePage::CodePage(std::uint16_t id) {
  for (int b = 0; b < 256; ++b) table_[b] = static_cast<char>(b);
  const std::string name = id == 1254 ? std::string() : converterName(id);
  if (name.empty()) return;
  const Converter probe(name);
  if (!probe.ok()) return;
  if (isMultibyte(id)) {
    multibyte_ = name;
    return;
  }
  for (int b = 0x80; b < 256; ++b) {
    std::string one;
    const char byte = static_cast<char>(b);
    convert(probe.cd, std::string_view(&byte, 1), one);
    table_[b] = one.size() == 1 ? one[0] : '?';
  }
  if (id == 10081) {
    static const struct {
      unsigned char mac;
      char32_t letter;
    } turkish[] = {{0xDA, U'Ğ'}, {0xDB, U'ğ'}, {0xDC, U'İ'}, {0xDD, U'ı'}, {0xDE, U'Ş'}, {0xDF, U'ş'}, {0xF5, 0xF8A0}};
    for (const auto& t : turkish) table_[t.mac] = byteOf(t.letter);
  }
}

void CodePage::append(std::string_view bytes, std::string& cp1254) const {
  if (!multibyte_.empty()) {
    const Converter c(multibyte_);
    if (c.ok()) return convert(c.cd, bytes, cp1254);
  }
  const std::size_t from = cp1254.size();
  cp1254.resize(from + bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) cp1254[from + i] = table_[static_cast<unsigned char>(bytes[i])];
}

void appendUtf16(const std::uint8_t* units, std::size_t count, std::string& cp1254) {
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t u = static_cast<char32_t>(units[2 * i] | units[2 * i + 1] << 8);
    if (u < 0x80) {
      cp1254 += static_cast<char>(u);
      continue;
    }
    // The high half of a pair takes its low half with it.
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < count && (units[2 * i + 3] & 0xFC) == 0xDC) ++i;
    cp1254 += byteOf(u);
  }
}

void appendLatin1(const std::uint8_t* chars, std::size_t count, std::string& cp1254) {
  for (std::size_t i = 0; i < count; ++i) cp1254 += chars[i] < 0x80 ? static_cast<char>(chars[i]) : byteOf(chars[i]);
}

}  // namespace kv::sheet
