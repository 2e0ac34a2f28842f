// Text as the program keeps it: one byte per character in the Turkish Windows code page (Windows-1254),
// exactly as it lies in the data files. UTF-8 appears only at the edges (screen, file names, workbooks,
// printer output) and in the source code's own literals, which go through the _w conversion below.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Unicode code point of a Windows-1254 byte. The seven bytes that the code page leaves undefined
// (81, 8D, 8E, 8F, 90, 9D, 9E) map to the same value in the U+0080 block, so every byte round-trips.
char32_t cp1254ToUnicode(unsigned char byte);

// The Windows-1254 byte of a code point, or nothing when the code page has no such character.
std::optional<unsigned char> unicodeToCp1254(char32_t cp);

// Whole texts. toUtf8 never fails. fromUtf8 fails on malformed UTF-8 or on a character with no byte.
std::string toUtf8(std::string_view cp1254);
std::optional<std::string> fromUtf8(std::string_view utf8);

// Source literals: "Kayıt yapıldı"_w is the Windows-1254 text of a UTF-8 literal. A literal that cannot
// be converted is a programming error and stops the program at once.
std::string operator""_w(const char* utf8, std::size_t length);
std::string w(std::string_view utf8);

// Turkish letter case over Windows-1254: i <-> İ, ı <-> I, and the other letters in pairs.
unsigned char upperChar(unsigned char c);
unsigned char lowerChar(unsigned char c);
std::string upperCase(std::string_view s);
std::string lowerCase(std::string_view s);

// Blank trimming as the original did it: only the blank (32) counts, not tabs.
std::string_view trimView(std::string_view s);
std::string trim(std::string_view s);
std::string trimLeft(std::string_view s);
std::string trimRight(std::string_view s);

// A fixed-width field: cut to width, padded with blanks on the right.
std::string fitText(std::string_view s, std::size_t width);

// The first n characters, the last n characters, the characters from a 1-based position.
std::string leftText(std::string_view s, std::size_t n);
std::string rightText(std::string_view s, std::size_t n);
std::string midText(std::string_view s, std::size_t start1, std::size_t n = std::string_view::npos);

// 1-based position of needle in haystack, 0 when absent (an empty needle is found at 1).
std::size_t inText(std::string_view haystack, std::string_view needle);

}  // namespace kv
