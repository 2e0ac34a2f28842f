// The roll-up of a level file: from the deepest level up, the lines of each group are summed and the sum
// becomes the unit cost of the group's parent line, so that a component with its own recipe costs what
// its lines cost.
#pragma once

#include <cstdint>

namespace kv {

struct RolledUpCost {
  double levelZeroSum = 0;   // the sum of the level-0 totals, in record order
  std::int16_t product = 0;  // the product the level file expands (ParentRecord of its first line)
};

// Rolls up the level file open on `levelFile`, whose lines reach down to level `deepest`. For each level
// from the deepest up to 1, in record order, a line with IndexInGroup 1 opens a group: its Total plus
// the Total of every later line with the same parent, summed in a Double, is stored into the parent
// line's UnitCost, and the parent's Total becomes Quantity x UnitCost. Each parent is written as soon as
// its group is summed. Throws LevelRunFailure or FileError; the parents written until then stay.
RolledUpCost rollUpLevelCosts(int levelFile, int deepest);

}  // namespace kv
