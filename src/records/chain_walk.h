// The one walk along the alphabetic chain of a product file. Browsing in code order, the code searches
// and the list ranges all step from record to record through ChainNext (or ChainPrev) the same way: every
// pointer is checked against the file before it is followed, a record that points to itself ends the
// chain, and the walk gives up at the first record it meets again or after a bounded number of steps, so
// that a looped chain cannot hang the program nor hand a record to its visitor twice.
#pragma once

#include <cstdint>
#include <vector>

#include "files/files.h"
#include "records/product_record.h"

namespace kv {

struct ChainWalkEnd {
  enum class How {
    Found,       // the visitor accepted record `at`
    End,         // `at` is the stop record or points to itself: the walk ran out of records
    OutOfRange,  // a pointer (or the start) outside 1..count; `at` is the last record read, 0 when none
    Locked,      // a record met again, or more steps than the limit: the chain loops
  };
  How how = How::OutOfRange;
  std::int16_t at = 0;
  std::int16_t beyond = 0;  // OutOfRange: the pointer (or start) that led outside the file
};

// Walks from `start` towards the chain's end (forward, along ChainNext) or its start (along ChainPrev),
// reading each record into `rec` and calling visit(record number, rec). The walk stops when visit returns
// true, after the record `stop`, at a record that points to itself, at a pointer outside 1..count, or
// when it would read a record a second time or take a step beyond `limit` steps.
template <class Visit>
ChainWalkEnd walkChain(const FileHandle& products, std::int16_t count, std::int16_t start, bool forward,
                       std::int16_t stop, std::int32_t limit, ProductRecord& rec, Visit&& visit) {
  ChainWalkEnd end;
  std::int32_t steps = 0;
  std::vector<bool> seen(static_cast<std::size_t>(count < 0 ? 0 : count) + 1);
  int r = start;
  while (r >= 1 && r <= count) {
    if (++steps > limit || seen[static_cast<std::size_t>(r)]) {
      end.how = ChainWalkEnd::How::Locked;
      return end;
    }
    seen[static_cast<std::size_t>(r)] = true;
    rec = products.get<ProductRecord>(r);
    end.at = static_cast<std::int16_t>(r);
    if (visit(end.at, static_cast<const ProductRecord&>(rec))) {
      end.how = ChainWalkEnd::How::Found;
      return end;
    }
    const int onward = forward ? rec.ChainNext : rec.ChainPrev;
    if (r == stop || onward == r) {
      end.how = ChainWalkEnd::How::End;
      return end;
    }
    r = onward;
  }
  end.how = ChainWalkEnd::How::OutOfRange;
  end.beyond = static_cast<std::int16_t>(r);
  return end;
}

}  // namespace kv
