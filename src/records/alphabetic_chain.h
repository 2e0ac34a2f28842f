// The alphabetic chain: the records of a product file (or of the sorts' list file) linked in key order
// through their ChainPrev and ChainNext fields, with an index of 109 buckets, one per character of
// CollationString, holding the first and last record of each initial character.
//
// One implementation serves every caller: the main window, the data-file rebuild and the sorts. They
// differ in the files, the key field and what the user is told; those come in as parameters.
//
// Every pointer and index entry is checked against the file before it is followed, and every walk is
// bounded, so a damaged file ends the operation with its message and never loops or writes outside the
// file. An operation finds its whole way (repairs it makes on the way included) before it writes
// anything: an insertion either links the record completely or leaves the chain as it was, with the
// record written out of the chain (both pointers 0). When a write fails, what the operation had already
// written is put back.
#pragma once

#include <cstdint>
#include <optional>

#include "base/messages.h"

namespace kv {

enum class ChainKey { Code, Name };

struct ChainFiles {
  int recordFile = 0;  // 512-byte product records
  int indexFile = 0;   // 109 IndexEntry buckets
  ChainKey key = ChainKey::Code;
};

struct InsertPolicy {
  // Shown (after a beep) when the walk inside a bucket runs off the end of the chain and no higher bucket
  // holds records. None: nothing is shown.
  std::optional<UserMessage> sortingError;
  // Shown (after a beep) when a pointer or an index entry lies outside the file, when a walk does not end,
  // or when a file operation fails. None: nothing is shown.
  std::optional<UserMessage> criticalError;
  // The sorts place a key whose text equals that of its bucket's first record before that record.
  bool equalFirstGoesBefore = false;
};

// An insertion that tells its errors and how to mend them (the main window's saves), and one that tells
// nothing (the workbook import, which links a whole new file and is told by its own result).
InsertPolicy toldInsertPolicy();
InsertPolicy quietInsertPolicy();

enum class InsertResult {
  Linked,
  NoBucket,      // the key is empty or begins with a character outside CollationString: left out, silently
  SortingError,  // left out of the chain
  CriticalError, // left out of the chain
};

// Links record `record` (already written with its final key) into the chain and its bucket. A write that
// fails (FileError) ends it as a CriticalError.
InsertResult insertIntoAlphabeticIndex(const ChainFiles& files, std::int16_t record, const InsertPolicy& policy,
                                       MessageSink* sink);

enum class UnlinkVariant {
  Save,    // before a changed code is linked again: the pointers are checked before anything is written
  Delete,  // the record is written as deleted (Kind -1, pointers 0) before its neighbours are relinked
};

enum class UnlinkResult {
  Unlinked,
  NotInChain,    // both pointers 0: the record was never linked; nothing was written
  PointerError,  // a pointer outside the file: the pointer message was shown
};

// Takes record `record` out of its bucket and out of the chain. A write that fails throws its FileError
// after what was written has been put back.
UnlinkResult unlinkFromAlphabeticIndex(const ChainFiles& files, std::int16_t record, UnlinkVariant variant,
                                       MessageSink* sink);

// The opening rule of an index: when it does not hold exactly 109 entries, entries 1..109 are written
// empty. Returns true when it did so.
bool applyIndexOpeningRule(int indexFile);

}  // namespace kv
