// Little-endian packing of record fields, byte-exact with the files the original program wrote.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/numbers.h"

namespace kv::bytes {

inline std::int16_t getI16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}
inline std::int32_t getI32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                   (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}
inline std::int64_t getI64(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return static_cast<std::int64_t>(v);
}
inline float getF32(const std::uint8_t* p) {
  std::uint32_t u = static_cast<std::uint32_t>(getI32(p));
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline double getF64(const std::uint8_t* p) {
  std::uint64_t u = static_cast<std::uint64_t>(getI64(p));
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}
inline Currency getCurrency(const std::uint8_t* p) { return Currency{getI64(p)}; }

inline void putI16(std::uint8_t* p, std::int16_t v) {
  auto u = static_cast<std::uint16_t>(v);
  p[0] = static_cast<std::uint8_t>(u);
  p[1] = static_cast<std::uint8_t>(u >> 8);
}
inline void putI32(std::uint8_t* p, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}
inline void putI64(std::uint8_t* p, std::int64_t v) {
  auto u = static_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}
inline void putF32(std::uint8_t* p, float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  putI32(p, static_cast<std::int32_t>(u));
}
inline void putF64(std::uint8_t* p, double d) {
  std::uint64_t u;
  std::memcpy(&u, &d, 8);
  putI64(p, static_cast<std::int64_t>(u));
}
inline void putCurrency(std::uint8_t* p, Currency c) { putI64(p, c.raw); }
// Fixed-width text: cut to the width, padded with blanks.
inline void putText(std::uint8_t* p, std::string_view s, std::size_t width) {
  std::size_t n = s.size() < width ? s.size() : width;
  std::memcpy(p, s.data(), n);
  std::memset(p + n, ' ', width - n);
}

}  // namespace kv::bytes
