#include "product/record_scan.h"

#include "common/files.h"

namespace kv {

ScanOutcome scanToFittingRecord(int productFile, std::int16_t recordCount, int tab, std::int16_t& current,
                                int& direction, ProductRecord& buffer) {
  ScanOutcome out;
  const std::int32_t limit = 2 * static_cast<std::int32_t>(recordCount);
  for (;;) {
    if (++out.steps > limit) {
      current = 0;
      return out;
    }
    if (current > recordCount) current = recordCount;
    get(productFile, current, buffer);
    if (fitsTab(buffer.Kind, tab)) {
      out.found = true;
      return out;
    }
    int next = current + direction;
    if (recordCount == 1) {
      out.disablePrevious = out.disableNext = true;
      current = 1;
      return out;
    }
    if (next <= 1) {
      current = 1;
      direction = 1;
      out.disablePrevious = true;
    } else if (next >= recordCount) {
      current = recordCount;
      direction = -1;
      out.disableNext = true;
    } else {
      current = static_cast<std::int16_t>(next);
    }
  }
}

}  // namespace kv
