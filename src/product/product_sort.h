// The two sorts of the product file: the records written anew in code order or in name order, numbered
// 1..n, deleted records left out, the chain and index built afresh (always by code), the old ".DAT" and
// ".ABC" kept as "952KLVR.DAT" and "952KLVR.ABC". The stages go to the window's report; what fails is told
// through the sink, and then the product file and its index stay as they were.
#pragma once

#include <cstdint>
#include <string>

#include "base/messages.h"
#include "records/alphabetic_chain.h"

namespace kv {

// The sorts' insertion rule: a key whose text equals its bucket's first key goes before that record.
InsertPolicy sortInsertPolicy();

enum class SortResult {
  Sorted,
  NothingLive,  // no live record: refused with a beep, nothing written
  Refused,      // a name could not be placed: told, nothing written
  Failed,       // a file failed: told, the old files in place
};

// What a sort tells of its run as it goes; the window decides what each stage shows. A sort that stops
// tells no more stages; every sort ends, whatever happened (sorted, stopped, refused, or thrown).
class SortReport {
 public:
  virtual ~SortReport() = default;
  // The files are read next.
  virtual void started() {}
  // The code sort: the live records are taken in the order of the chain.
  virtual void codesOrdered() {}
  // The name sort: the live records are taken by their names; namesPlaced follows when every name could
  // be placed.
  virtual void namesRead() {}
  virtual void namesPlaced() {}
  // The `records` live records are written, in their new order, as the new product file.
  virtual void writing(std::int16_t records) { (void)records; }
  // The new files are in place.
  virtual void sorted() {}
  // The sort is over, after what it told through the sink: its result, Failed when it threw (the
  // exception then goes on).
  virtual void ended(SortResult result) { (void)result; }
};

// The company's ".DAT" and ".ABC" must not be open.
SortResult sortByCode(const std::string& company, SortReport& report, MessageSink& sink);
SortResult sortByName(const std::string& company, SortReport& report, MessageSink& sink);

}  // namespace kv
