// A fixed-width text field of a record: always exactly N characters, as the original's fixed-length
// strings were. Assigning a shorter text pads it with blanks, a longer one is cut.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kv {

template <std::size_t N>
class FixedText {
 public:
  static constexpr std::size_t Width = N;

  constexpr FixedText() { chars_.fill(' '); }
  FixedText(std::string_view s) { assign(s); }  // NOLINT: implicit, as a text field takes any text
  FixedText& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  FixedText& operator=(const std::string& s) { return *this = std::string_view(s); }
  FixedText& operator=(const char* s) { return *this = std::string_view(s); }

  void assign(std::string_view s) {
    std::size_t n = s.size() < N ? s.size() : N;
    std::memcpy(chars_.data(), s.data(), n);
    std::memset(chars_.data() + n, ' ', N - n);
  }

  std::string_view view() const { return {chars_.data(), N}; }
  std::string str() const { return std::string(chars_.data(), N); }
  operator std::string_view() const { return view(); }  // NOLINT
  const char* data() const { return chars_.data(); }
  static constexpr std::size_t size() { return N; }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.chars_ == b.chars_; }
  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

 private:
  std::array<char, N> chars_;
};

}  // namespace kv
