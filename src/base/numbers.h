// Numbers as the program stores, shows and reads them. One regional profile for the whole program:
// decimal comma, "." grouping, " TL" after amounts. The host locale is never consulted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Currency: a 64-bit integer holding the value times 10,000, as on disk.
struct Currency {
  std::int64_t raw = 0;

  // Rounds to four decimals, halves to even; nothing when the value is not finite or out of range.
  static std::optional<Currency> fromDouble(double value);
  // A text read exactly by the leading-number rule, rounded to four decimals, halves to even; a text
  // without a number gives 0, one out of range nothing.
  static std::optional<Currency> fromText(std::string_view text);
  double toDouble() const { return static_cast<double>(raw) / 10000.0; }
  // Every digit of the amount, with a decimal comma and no exponent ("-12,5", "922337203685477,5807").
  std::string exactText() const;
  friend bool operator==(Currency, Currency) = default;
};

// Nearest whole number, halves to even; nothing when it does not fit (or the value is not finite).
std::optional<std::int16_t> roundToInteger(double value);
std::optional<std::int32_t> roundToLong(double value);

// A number stored into a Single; nothing when it is not finite or too large for a Single.
std::optional<float> toSingle(double value);

// Record number text: the digits with one leading blank when not negative (" 7", "-3").
std::string recordNumberText(long long n);

// General number text of a Single: at most 7 significant digits, no grouping, decimal comma, exponent
// form below 1E-04 and from 1E+07 on ("12,5", "1,234568E+07", "1E-05", "0").
std::string singleText(float value);
// The same for a Double, with 15 significant digits.
std::string doubleText(double value);

// Currency text: two decimals, "." grouping, decimal comma, " TL" ("1.234,56 TL", "0 TL" is not used:
// zero gives "0,00 TL").
std::string currencyText(double value);

// The leading-number rule: blanks are skipped wherever they stand, then an optional sign, digits with at
// most one decimal point and an optional exponent (E or D). A comma counts as a decimal point just like a
// full stop, so every number the program shows reads back to the same value ("12,50 EUR" reads 12,5;
// "1.250,00 EUR" reads 1,25). No leading number gives 0.
double leadingNumber(std::string_view text);

// Reads a currency text back, grouping and symbol included ("1.234,56 TL" reads 1234,56).
double readCurrencyText(std::string_view text);

}  // namespace kv
