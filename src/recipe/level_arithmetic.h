// The arithmetic of the cost roll-up, in one place: totals are rounded to Singles, sums are kept in
// Doubles, and a value that a Single cannot hold (an overflow, or a damaged quantity that is not a number)
// fails the run instead of becoming a stored cost.
#pragma once

#include <optional>
#include <stdexcept>

#include "base/numbers.h"

namespace kv {

// A failure of a level build after it has started: it takes the caller's failure path.
class LevelRunFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A Double sum stored into a Single field.
inline float storedSingle(double value) {
  std::optional<float> f = toSingle(value);
  if (!f) throw LevelRunFailure("a cost does not fit a Single");
  return *f;
}

// Quantity times unit cost: the product of two Singles is exact in a Double, so this is the Single
// product rounded once.
inline float lineTotal(float quantity, float unitCost) {
  return storedSingle(static_cast<double>(quantity) * static_cast<double>(unitCost));
}

}  // namespace kv
