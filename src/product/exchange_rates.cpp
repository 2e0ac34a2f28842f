#include "product/exchange_rates.h"

#include <cmath>
#include <vector>

#include "base/numbers.h"
#include "base/text.h"
#include "files/file_command.h"
#include "files/file_replacement.h"

namespace kv {

void RatesTable::open(std::string_view company) {
  company_ = std::string(company);
  file_.open(name(), ExchangeRateRecord::Length);
}

void RatesTable::write(std::int16_t n, const ExchangeRateRecord& rec) {
  FileCommand command(company_);
  file_.put(n, rec);
  command.commit();
}

std::int16_t RatesTable::find(const RateDay& day) const {
  const std::int16_t n = count();
  for (std::int16_t i = 1; i <= n; ++i) {
    const ExchangeRateRecord r = read(i);
    if (r.Year == day.year && r.Month == day.month && r.Day == day.day) return i;
  }
  return 0;
}

void RatesTable::remove(std::int16_t n) {
  std::vector<ExchangeRateRecord> kept;
  const std::int16_t total = count();
  kept.reserve(total);
  for (std::int16_t i = 1; i <= total; ++i)
    if (i != n) kept.push_back(read(i));

  FileReplacement replacement(company_);
  try {
    FileHandle fresh(replacement.newContentFor(name(), "952KLVR.DVZ"), ExchangeRateRecord::Length);
    for (std::size_t i = 0; i < kept.size(); ++i) fresh.put(static_cast<std::int32_t>(i + 1), kept[i]);
  } catch (const FileError& e) {
    throw replacement.naming(e);
  }
  file_.close();
  const bool replaced = replacement.commit();
  file_.open(name(), ExchangeRateRecord::Length);
  if (!replaced) throw *replacement.error();
}

namespace {

// The window shows a rate of three thousand as "3.000,00 TL": "." groups thousands. So in a text without a
// comma, a point groups the three digits after it when it follows a whole number of one to three digits
// that does not begin with 0, or such a group ("3.000" is 3000, "1.234.567" 1234567); any other point is
// the decimal point it always was ("3.5", "3.0001", "0.125", "1234.567").
std::string withoutGroupingPoints(std::string_view text) {
  if (text.find(',') != std::string_view::npos) return std::string(text);
  auto isDigit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  std::string out;
  std::size_t digits = 0;  // the digits just before text[i]
  bool afterGroup = false;  // and a grouping point before them
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '.') {
      const std::size_t start = i - digits;
      const bool leading = digits >= 1 && digits <= 3 && text[start] != '0' && (start == 0 || text[start - 1] != '.');
      const bool grouping = (leading || (afterGroup && digits == 3)) && isDigit(i + 1) && isDigit(i + 2) &&
                            isDigit(i + 3) && !isDigit(i + 4);
      digits = 0;
      afterGroup = grouping;
      if (grouping) continue;
    } else if (isDigit(i)) {
      ++digits;
    } else {
      digits = 0;
      afterGroup = false;
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

std::optional<float> readRate(std::string_view text) {
  if (text.find_first_of("0123456789") == std::string_view::npos) return std::nullopt;
  // Two decimals, halves away from zero, as the rates are shown.
  return toSingle(std::round(readCurrencyText(withoutGroupingPoints(text)) * 100.0) / 100.0);
}

}  // namespace kv
