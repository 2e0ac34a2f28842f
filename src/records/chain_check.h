// The checked step along the alphabetic chain of the data-file service window. Unlike browsing in the
// main window, which quietly finds the nearest record of a kind, each step here checks the index and the
// chain on its way and stops at the first thing wrong with a numbered error, so that the user can see
// where a chain is broken and mend it by hand:
//
//    1  no bucket from 2 to 109 has a First inside the file
//    2  no bucket from 109 down to 2 has a Last inside the file
//    3  first: the walk over deleted records reached a record number outside the file
//    4  first: the walk reached a deleted end of the chain (or went round in a ring) before a live record
//    5  last: as 3, walking back
//    6  last: as 4, walking back to the chain's start
//    7  previous, next: the window's record number is below 1 (the step moves to the chain's start)
//    8  previous, next: the window's record number is above the count (the step moves to the chain's end)
//    9  previous, next: the pointer of the window's record lies outside the file
//   10  previous, next: the pointer names a deleted record
//
// First and last walk over deleted records to the nearest live one; previous and next do not skip them.
// A step never writes.
#pragma once

#include <cstdint>

#include "records/alphabetic_chain.h"
#include "records/product_file.h"

namespace kv {

struct CheckedStep {
  // Where the step stands: the record to show, or after an error the record it stopped at (the chain's
  // start after 7, its end after 8, the record it was on after 9 and 10, the last one reached after 3 to
  // 6), from which the next step starts.
  std::int16_t record = 0;
  int error = 0;  // 0: show `record`; else the chain error 1..10
  int beeps = 0;  // first and last beep once for every record they reach
  // Once the chain's ends are known (no error 1 or 2): whether `record` lies in the file and is a start of
  // the chain (the chain's first record, or its ChainPrev points to itself) or an end, and whether the
  // chain's first and last record are one. The window decides from these what its buttons show.
  bool atStart = false;
  bool atEnd = false;
  bool chainOfOne = false;
};

// One step of kind `command` from record `from`, over records 1..count of the files (the window's count:
// the records the file holds whole, or 1 for an empty file, whose record 1 reads as zeros). A walk reaches
// at most count records, so a ring of deleted records ends as error 4 or 6.
CheckedStep checkedChainStep(const ChainFiles& files, std::int16_t count, ChainCommand command, std::int16_t from);

}  // namespace kv
