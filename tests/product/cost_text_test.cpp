// The numbers typed into the main window's cost and coefficient boxes, read back for the record.
#include <gtest/gtest.h>

#include "base/text.h"
#include "product/cost_text.h"

namespace kv {
namespace {

TEST(CostTextTest, TheNumberThenTheCurrencyFromTheFirstCharacterThatIsNoDigitOrSeparator) {
  const struct {
    const char* typed;
    std::optional<float> cost;  // nothing: too large for the field
    std::optional<std::string> currency;
  } cases[] = {
      {"12,5 eur", 12.5f, "EUR"},     {"1.250,00 EUR", 1.25f, "EUR"}, {"150", 150.0f, std::nullopt},
      {"-5 TL", -5.0f, "-5 TL"},      {"100 USDOLLAR", 100.0f, "USDOL"}, {" 0 ytl ", 0.0f, "YTL"},
      {"1e39 YTL", std::nullopt, {}}, {"999999999999999999999999999999999999999 YTL", std::nullopt, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::optional<CostText> read = readCostText(w(c.typed));
    ASSERT_EQ(read.has_value(), c.cost.has_value());
    if (!read) continue;
    EXPECT_EQ(read->cost, *c.cost);
    EXPECT_EQ(read->currency, c.currency);
  }
}

}  // namespace
}  // namespace kv
