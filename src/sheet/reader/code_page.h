// The texts of a legacy workbook as Windows-1254: the 8-bit texts of an Excel 5 or 95 workbook in the code
// page it names (Windows, DOS and Macintosh code pages among them), and the UTF-16 texts of an Excel 97
// workbook. A character that Windows-1254 lacks becomes "?".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::sheet {

class CodePage {
 public:
  // A workbook that names no code page, or one this system does not know, is read as Windows-1254.
  explicit CodePage(std::uint16_t id = 1254);
  void append(std::string_view bytes, std::string& cp1254) const;

 private:
  std::array<char, 256> table_{};
  std::string multibyte_;  // the converter's name for a code page of more than one byte a character
};

// A UTF-16 code unit (a surrogate pair as one "?"), and a character of the Latin-1 range, as Windows-1254.
void appendUtf16(const std::uint8_t* units, std::size_t count, std::string& cp1254);
void appendLatin1(const std::uint8_t* chars, std::size_t count, std::string& cp1254);

}  // namespace kv::sheet
