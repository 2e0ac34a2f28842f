// The rates typed into the exchange-rate window, as they are stored.
#include <gtest/gtest.h>

#include "product/exchange_rates.h"

namespace kv {
namespace {

TEST(ExchangeRates, ARateIsReadAsTheWindowShowsRates) {
  const std::pair<const char*, std::optional<float>> cases[] = {
      {"3.000", 3000.0f}, {"1.234.567", 1234567.0f}, {"3.000 TL", 3000.0f}, {"3.000,00 TL", 3000.0f},
      {"3.5", 3.5f},      {"3.0001", 3.0f},          {"1.234,5", 1234.5f},  {"abc", std::nullopt},
      {"0.125", 0.13f},   {"1.250", 1250.0f}};  // a point after 0 is a decimal point
  for (const auto& [typed, stored] : cases) EXPECT_EQ(readRate(typed), stored) << typed;
}

}  // namespace
}  // namespace kv
