#include "recipe/cost_rollup.h"

#include <vector>

#include "files/files.h"
#include "recipe/level_arithmetic.h"
#include "records/recipe_record.h"

namespace kv {

RolledUpCost rollUpLevelCosts(int levelFile, int deepest) {
  const std::int32_t count = recordCount(levelFile);
  std::vector<LevelRecord> lines(static_cast<std::size_t>(count) + 1);
  for (std::int32_t r = 1; r <= count; ++r) lines[r] = get<LevelRecord>(levelFile, r);

  // For every line, the next later line with the same parent: a group is summed by following these
  // links instead of scanning the rest of the file, in the same order and with the same values.
  std::vector<std::int32_t> nextWithSameParent(static_cast<std::size_t>(count) + 1, 0);
  std::vector<std::int32_t> laterOfParent(65536, 0);
  for (std::int32_t r = count; r >= 1; --r) {
    std::int32_t& slot = laterOfParent[static_cast<std::uint16_t>(lines[r].ParentLevelRecord)];
    nextWithSameParent[r] = slot;
    slot = r;
  }

  for (int level = deepest; level >= 1; --level) {
    for (std::int32_t r = 1; r <= count; ++r) {
      if (lines[r].Level != level || lines[r].IndexInGroup != 1) continue;
      const std::int32_t parent = lines[r].ParentLevelRecord;
      double sum = lines[r].Total;
      for (std::int32_t s = nextWithSameParent[r]; s != 0; s = nextWithSameParent[s]) sum += lines[s].Total;
      if (parent < 1 || parent > count) continue;
      LevelRecord& p = lines[parent];
      p.UnitCost = storedSingle(sum);
      p.Total = lineTotal(p.Quantity, p.UnitCost);
      put(levelFile, parent, p);
    }
  }

  RolledUpCost result;
  if (count >= 1) result.product = lines[1].ParentRecord;
  for (std::int32_t r = 1; r <= count; ++r)
    if (lines[r].Level == 0) result.levelZeroSum += lines[r].Total;
  return result;
}

}  // namespace kv
