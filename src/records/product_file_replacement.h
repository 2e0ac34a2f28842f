// Replacing a company's product file ".DAT" and its alphabetic index ".ABC" as a whole, for the jobs that
// build the file anew: the rebuild, the sorts (records in a new order) and the workbook import (records
// read from a workbook). The caller hands over the records in their new order; both files are written
// into temporary files, linked into a fresh chain, and only then do the old files become the backups
// "952KLVR.DAT" and "952KLVR.ABC" and the new ones take their names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "files/files.h"
#include "records/alphabetic_chain.h"

namespace kv {

struct ProductFileReplacement {
  bool replaced = false;
  std::int16_t written = 0;          // records in the new product file
  std::optional<FileError> failure;  // when not replaced: what failed, naming the company's file
};

// `records` holds whole 512-byte product records, at most 32767 of them, in their new order; their chain
// pointers do not matter (a record whose key has no bucket, and a deleted record, is written as it is
// given, out of the chain, with both pointers 0). They become records 1..n of
// the new ".DAT"; the new ".ABC" and the chain are exactly what inserting them one by one in that order
// gives under `policy` (its messages are never shown). The company's ".DAT" and ".ABC" must not be open.
// When any step fails, the live files stay as they were; so do the old backups, unless the failure came
// while the new files were being put in place, after a backup had been refreshed with the old live file.
ProductFileReplacement replaceProductFile(const std::string& company, std::span<const std::uint8_t> records,
                                          const InsertPolicy& policy);

}  // namespace kv
