// Linking a whole file at once, for the jobs that build a chain afresh (data-file rebuild, import, sorts).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "records/alphabetic_chain.h"

namespace kv {

// Links every record of files.recordFile into a fresh chain and writes all 109 entries of files.indexFile:
// exactly the pointers and entries that inserting the records one by one in record order into an empty
// index gives, equal keys placed by policy.equalFirstGoesBefore as the insertion places them (the messages
// of the policy are never needed: a chain built afresh meets no damage). Records whose key has no bucket
// (empty, or beginning with a character outside the collation) are left as they are. O(n log n); a file
// that cannot be written throws FileError, with the files left part-written, as the jobs write new files.
// `linked`, when given, says which records (1..count) take part: the others are left out of the chain as if
// their key had no bucket (a deleted record carried into a new file keeps its code but no place).
void linkAllRecords(const ChainFiles& files, const InsertPolicy& policy,
                    const std::function<bool(int record)>& linked = {});

// The chain that inserting the keys one by one, in the order given, into an empty index yields, as
// positions in `keys` in chain order; keys without a bucket are left out. O(n log n).
std::vector<std::int32_t> chainOrder(std::span<const std::string_view> keys, const InsertPolicy& policy);

}  // namespace kv
