// The two sorts of the product file: the records written anew in code order or in name order, numbered
// 1..n, deleted records left out, the chain and index built afresh (always by code), the old ".DAT" and
// ".ABC" kept as "952KLVR.DAT" and "952KLVR.ABC". The progress goes to the window's title; what fails is
// told through the sink, and then the product file and its index stay as they were.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/alphabetic_chain.h"
#include "common/messages.h"

namespace kv {

// The sorts' insertion rule: a key whose text equals its bucket's first key goes before that record.
InsertPolicy sortInsertPolicy();

// The record order of the code sort: the chain followed from the first bucket's first record, each record
// taken once and deleted ones skipped, then the live records the chain did not reach, in record order.
// `records` is the product file's image (whole 512-byte records), `index` the alphabetic index's.
std::vector<std::int16_t> codeSortOrder(std::span<const std::uint8_t> records, std::span<const std::uint8_t> index);

// The record order of the name sort: the live records with an empty name first, then the others in the
// order that linking their names one by one in record order gives. Nothing when a live record's name
// begins with a character outside the collation (it could not be placed).
std::optional<std::vector<std::int16_t>> nameSortOrder(std::span<const std::uint8_t> records);

enum class SortResult {
  Sorted,
  NothingLive,  // no live record: refused with a beep, nothing written
  Refused,      // a name could not be placed: told, nothing written
  Failed,       // a file failed: told, the old files in place
};

// The company's ".DAT" and ".ABC" must not be open.
SortResult sortByCode(const std::string& company, ProgressSink& progress, MessageSink& sink);
SortResult sortByName(const std::string& company, ProgressSink& progress, MessageSink& sink);

// The records of `order` (numbers in the product file's image) become the new product file, in that order,
// with their chain pointers cleared; the chain and index are built by code with the sorts' rule, and the
// files are swapped. Returns false after it has told a failure.
bool RebuildFromSortedList(const std::string& company, std::span<const std::uint8_t> records,
                           std::span<const std::int16_t> order, ProgressSink& progress, MessageSink& sink);

}  // namespace kv
