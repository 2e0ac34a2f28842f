// The two sorts of the product file: the records written anew in code order or in name order, numbered
// 1..n, deleted records left out, the chain and index built afresh (always by code), the old ".DAT" and
// ".ABC" kept as "952KLVR.DAT" and "952KLVR.ABC". The progress goes to the window's title; what fails is
// told through the sink, and then the product file and its index stay as they were.
#pragma once

#include <string>

#include "common/alphabetic_chain.h"
#include "common/messages.h"

namespace kv {

// The sorts' insertion rule: a key whose text equals its bucket's first key goes before that record.
InsertPolicy sortInsertPolicy();

enum class SortResult {
  Sorted,
  NothingLive,  // no live record: refused with a beep, nothing written
  Refused,      // a name could not be placed: told, nothing written
  Failed,       // a file failed: told, the old files in place
};

// The company's ".DAT" and ".ABC" must not be open.
SortResult sortByCode(const std::string& company, ProgressSink& progress, MessageSink& sink);
SortResult sortByName(const std::string& company, ProgressSink& progress, MessageSink& sink);

}  // namespace kv
