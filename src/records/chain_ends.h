// The ends of the alphabetic chain as its index names them. Bucket 1 is the blank, which begins no key, so
// the chain starts at the First of the lowest bucket from 2 up and ends at the Last of the highest bucket
// from 109 down. Browsing, the service window's check, the code sort and the tests' chain check all start
// there.
#pragma once

#include <cstdint>

#include "base/collation.h"

namespace kv {

struct ChainEnds {
  std::int16_t first = 0;  // 0: no bucket names a record
  std::int16_t last = 0;
};

// `entry(b)` gives index entry b. An entry counts only when it names a record in 1..lastRecord; a bucket
// whose entry does not is passed over for the next one.
template <class EntryOf>
ChainEnds chainEnds(EntryOf&& entry, int lastRecord) {
  auto names = [lastRecord](int r) { return r >= 1 && r <= lastRecord; };
  ChainEnds ends;
  for (int b = 2; b <= kBucketCount && ends.first == 0; ++b)
    if (const std::int16_t r = entry(b).First; names(r)) ends.first = r;
  for (int b = kBucketCount; b >= 2 && ends.last == 0; --b)
    if (const std::int16_t r = entry(b).Last; names(r)) ends.last = r;
  return ends;
}

}  // namespace kv
