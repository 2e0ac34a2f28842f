// Reading the numbers typed into the main window's boxes back into a record.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The cost box: a number and, after it, the currency ("12,5 EUR"). The text is upper-cased; the first
// character that is none of blank, ".", ",", and not a digit starts the currency, cut to five characters
// (so "-5 TL" keeps "-5 TL" as its currency, as it always did). No such character: the currency stays as
// stored. A comma counts as decimal point, so the text the window shows reads back to the same cost.
struct CostText {
  float cost = 0;
  std::optional<std::string> currency;
};

// Nothing when the number is too large for the record's field.
std::optional<CostText> readCostText(std::string_view boxText);

// A number of a box stored as a Single (the coefficient); nothing when it is too large for it.
std::optional<float> readSingleBox(std::string_view boxText);

}  // namespace kv
