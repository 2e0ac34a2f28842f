#include "product/cost_text.h"

#include "base/numbers.h"
#include "base/text.h"

namespace kv {

std::optional<float> readSingleBox(std::string_view boxText) { return toSingle(leadingNumber(boxText)); }

std::optional<CostText> readCostText(std::string_view boxText) {
  std::string text = upperCase(trimView(boxText));
  auto cost = readSingleBox(text);
  if (!cost) return std::nullopt;
  CostText out;
  out.cost = *cost;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == ' ' || c == '.' || c == ',' || (c >= '0' && c <= '9')) continue;
    out.currency = text.substr(i, 5);
    break;
  }
  return out;
}

}  // namespace kv
