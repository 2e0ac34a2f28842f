#include "base/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/text.h"

namespace kv {

namespace {

// Half to even, whatever the current rounding mode of the floating-point unit.
double roundHalfEven(double v) {
  double r = std::round(v);  // halves away from zero
  if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
  return r;
}

// Formats with `digits` significant digits in the program's general form.
std::string generalText(double value, int digits, int fixedFrom, int fixedTo) {
  if (value == 0.0 || !std::isfinite(value)) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    return "0";
  }
  // Locale-independent: the program's own profile decides separators, never the host's.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
  // buf: [-]d.dddddde[+-]xx
  std::string s(buf, res.ptr);
  bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  auto epos = s.find('e');
  int exponent = std::atoi(s.c_str() + epos + 1);
  std::string mantissa;
  for (char c : s.substr(0, epos))
    if (c != '.') mantissa.push_back(c);
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= fixedFrom && exponent <= fixedTo) {
    if (exponent < 0) {
      out += "0,";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += mantissa;
    } else {
      std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
      if (mantissa.size() <= intDigits) {
        out += mantissa;
        out.append(intDigits - mantissa.size(), '0');
      } else {
        out += mantissa.substr(0, intDigits);
        out += ',';
        out += mantissa.substr(intDigits);
      }
    }
  } else {
    out += mantissa.substr(0, 1);
    if (mantissa.size() > 1) {
      out += ',';
      out += mantissa.substr(1);
    }
    char ebuf[16];
    std::snprintf(ebuf, sizeof ebuf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += ebuf;
  }
  return out;
}

// The power of ten of the first significant digit of a non-zero number text such as "-0.05e3" (1), to
// tell an overflow from an underflow: "0,000...1" is tiny even without an exponent, "1000...e-10" is not.
// The exponent saturates far beyond the range of a double.
long long decimalMagnitude(std::string_view number) {
  std::size_t e = number.find('e');
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::size_t j = e + 1;
    bool negative = j < number.size() && number[j] == '-';
    if (j < number.size() && (number[j] == '-' || number[j] == '+')) ++j;
    for (; j < number.size(); ++j) exponent = std::min(exponent * 10 + (number[j] - '0'), 1000000LL);
    if (negative) exponent = -exponent;
  }
  long long integerDigits = 0, leadingFractionZeros = 0;
  bool significant = false, fraction = false;
  for (char c : number.substr(0, e)) {
    if (c == '.') {
      fraction = true;
    } else if (c >= '1' && c <= '9') {
      if (!fraction) ++integerDigits;
      significant = true;
      if (fraction) break;
    } else if (c == '0') {
      if (!fraction && significant) ++integerDigits;
      if (fraction && !significant) ++leadingFractionZeros;
    }
  }
  return (integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1)) + exponent;
}

// The leading number of a text as from_chars reads it ("-12.5e3"; a plus sign kept), "" when the text
// has none.
std::string leadingNumberText(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s.push_back(c);

  std::size_t i = 0;
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
  bool digits = false, point = false;
  while (i < s.size()) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      number.push_back(c);
      digits = true;
    } else if ((c == '.' || c == ',') && !point) {
      number.push_back('.');
      point = true;
    } else {
      break;
    }
    ++i;
  }
  if (!digits) return {};
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    std::size_t start = j;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') exponent.push_back(s[j++]);
    if (j > start) number += exponent;
  }
  return number;
}

}  // namespace

std::optional<Currency> Currency::fromDouble(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double scaled = roundHalfEven(value * 10000.0);
  // The largest Currency is 922337203685477,5807; doubles near it are coarser than one unit, so the
  // range check keeps well inside the int64 range.
  if (scaled >= 9.2233720368547758e18 || scaled < -9.2233720368547758e18) return std::nullopt;
  return Currency{static_cast<std::int64_t>(scaled)};
}

std::optional<std::int16_t> roundToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double r = roundHalfEven(value);
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> roundToLong(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double r = roundHalfEven(value);
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::optional<float> toSingle(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  float f = static_cast<float>(value);
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

std::string recordNumberText(long long n) {
  std::string text = n < 0 ? "" : " ";
  text += std::to_string(n);
  return text;
}

std::string singleText(float value) { return generalText(static_cast<double>(value), 7, -4, 6); }
std::string doubleText(double value) { return generalText(value, 15, -4, 14); }

std::string currencyText(double value) {
  if (!std::isfinite(value)) return doubleText(value) + " TL";
  double scaled = std::round(std::fabs(value) * 100.0);  // halves away from zero, as amounts are shown
  bool negative = value < 0 && scaled > 0;
  // The exact digits of the amount in hundredths: an integer type would overflow beyond 1,8E+17.
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, scaled, std::chars_format::fixed, 0);
  std::string cents(buf, res.ptr);
  if (cents.size() < 3) cents.insert(0, 3 - cents.size(), '0');
  std::string digits = cents.substr(0, cents.size() - 2);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back('.');
    grouped.push_back(digits[i]);
  }
  return (negative ? "-" : "") + grouped + "," + cents.substr(cents.size() - 2) + " TL";
}

double leadingNumber(std::string_view text) {
  const std::string number = leadingNumberText(text);
  if (number.empty()) return 0.0;
  double value = 0.0;
  const char* first = number.c_str();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  auto res = std::from_chars(first, number.c_str() + number.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large becomes infinite, so that callers can refuse it; too small is zero.
    bool negative = number[0] == '-';
    if (decimalMagnitude(number) < 0) return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
  return value;
}

// Digit by digit, so that every amount of the whole range comes back, which a double cannot promise.
std::optional<Currency> Currency::fromText(std::string_view text) {
  const std::string number = leadingNumberText(text);
  std::string digits;  // the significant ones
  for (char c : std::string_view(number).substr(0, number.find('e')))
    if ((c >= '1' && c <= '9') || (c == '0' && !digits.empty())) digits.push_back(c);
  if (digits.empty()) return Currency{};
  // How many of them make the count of ten-thousandths; at most 19 fit.
  const long long whole = decimalMagnitude(number) + 5;
  if (whole > 19) return std::nullopt;
  std::uint64_t units = 0;
  for (long long i = 0; i < whole; ++i) {
    const auto at = static_cast<std::size_t>(i);
    units = units * 10 + (at < digits.size() ? static_cast<std::uint64_t>(digits[at] - '0') : 0);
  }
  if (whole >= 0 && static_cast<std::size_t>(whole) < digits.size()) {
    // Beyond four decimals: halves to even, as every amount is rounded.
    const std::string_view rest = std::string_view(digits).substr(static_cast<std::size_t>(whole));
    const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string_view::npos;
    if (rest[0] > '5' || (rest[0] == '5' && (beyondHalf || units % 2 == 1))) ++units;
  }
  const bool negative = number[0] == '-';
  const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  if (units > limit) return std::nullopt;
  return Currency{static_cast<std::int64_t>(negative ? 0 - units : units)};
}

std::string Currency::exactText() const {
  const std::uint64_t units = raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
  std::string s = raw < 0 ? "-" : "";
  s += std::to_string(units / 10000);
  if (const std::uint64_t fraction = units % 10000; fraction != 0) {
    std::string decimals = std::to_string(10000 + fraction).substr(1);
    decimals.erase(decimals.find_last_not_of('0') + 1);
    s += "," + decimals;
  }
  return s;
}

double readCurrencyText(std::string_view text) {
  std::string t = upperCase(trimView(text));
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, "TL") == 0) t.resize(t.size() - 2);
  std::string s;
  bool hasComma = t.find(',') != std::string::npos;
  for (char c : t) {
    if (c == '.' && hasComma) continue;  // grouping
    s.push_back(c);
  }
  return leadingNumber(s);
}

}  // namespace kv
