// Encoding and decoding of packed records from one field list. A record type lists its fields once:
//
//   template <class Self, class Visitor> static constexpr void fields(Self& r, Visitor&& v) {
//     v(0, r.Kind); v(2, r.Code); ...
//   }
//
// and the same list serves both directions, so a field can never be written at one offset and read at
// another. The compiler checks the list itself (fieldsFillRecord below): a mistyped offset or width does
// not build.
#pragma once

#include <cstdint>

#include "base/bytes.h"
#include "base/fixed_text.h"
#include "base/numbers.h"

namespace kv {

struct FieldEncoder {
  std::uint8_t* out;
  void operator()(int off, std::int16_t v) const { bytes::putI16(out + off, v); }
  void operator()(int off, std::int32_t v) const { bytes::putI32(out + off, v); }
  void operator()(int off, float v) const { bytes::putF32(out + off, v); }
  void operator()(int off, double v) const { bytes::putF64(out + off, v); }
  void operator()(int off, Currency v) const { bytes::putCurrency(out + off, v); }
  template <std::size_t N>
  void operator()(int off, const FixedText<N>& t) const {
    bytes::putText(out + off, t.view(), N);
  }
};

struct FieldDecoder {
  const std::uint8_t* in;
  void operator()(int off, std::int16_t& v) const { v = bytes::getI16(in + off); }
  void operator()(int off, std::int32_t& v) const { v = bytes::getI32(in + off); }
  void operator()(int off, float& v) const { v = bytes::getF32(in + off); }
  void operator()(int off, double& v) const { v = bytes::getF64(in + off); }
  void operator()(int off, Currency& v) const { v = bytes::getCurrency(in + off); }
  template <std::size_t N>
  void operator()(int off, FixedText<N>& t) const {
    t.assign(std::string_view(reinterpret_cast<const char*>(in + off), N));
  }
};

template <class Rec>
void encodeFields(const Rec& r, std::uint8_t* out) {
  Rec::fields(r, FieldEncoder{out});
}

template <class Rec>
Rec decodeFields(const std::uint8_t* in) {
  Rec r;
  Rec::fields(r, FieldDecoder{in});
  return r;
}

// The bytes a field takes on disk, as FieldEncoder writes it.
constexpr int storedWidth(std::int16_t) { return 2; }
constexpr int storedWidth(std::int32_t) { return 4; }
constexpr int storedWidth(float) { return 4; }
constexpr int storedWidth(double) { return 8; }
constexpr int storedWidth(Currency) { return 8; }
template <std::size_t N>
constexpr int storedWidth(const FixedText<N>&) {
  return static_cast<int>(N);
}

// True when the field list lays the fields one right after the other from offset 0, each as wide as it is
// stored, and the last one ends at the record's length.
template <class Rec>
constexpr bool fieldsFillRecord() {
  int end = 0;
  bool packed = true;
  Rec r{};
  Rec::fields(r, [&](int off, const auto& field) {
    packed = packed && off == end;
    end = off + storedWidth(field);
  });
  return packed && end == Rec::Length;
}

// The offset the field list gives to member `m`, for offsets kept apart from the list; -1 when it is not
// listed.
template <class Rec, class T>
constexpr int listedOffset(T Rec::*m) {
  int at = -1;
  Rec r{};
  Rec::fields(r, [&](int off, const auto& field) {
    if (static_cast<const void*>(&field) == static_cast<const void*>(&(r.*m))) at = off;
  });
  return at;
}

}  // namespace kv
