// The rebuild of a company's product file and alphabetic index, the cure for a damaged file, index or
// chain. Every whole record of ".DAT" that is not deleted and has a code is copied, in record order, as
// records 1..n of a new ".DAT", its code left-aligned and everything else as it was; a new ".ABC" and a
// new chain are built over them, exactly as linking each record right after writing it would build them.
// The old files become the backups "952KLVR.DAT" and "952KLVR.ABC".
//
// The new files are complete and on disk before anything live changes. When any step fails, the live
// files stay as they were, and the result names the file that failed (see replaceProductFile).
#pragma once

#include <string>
#include <string_view>

#include "base/messages.h"
#include "records/alphabetic_chain.h"
#include "records/product_file_replacement.h"

namespace kv {

// The data-file service's messages for its linking.
InsertPolicy serviceInsertPolicy();

// What the rebuild tells of its run as it goes; the window decides what each stage shows. Every rebuild
// ends, whatever happened.
class DataFileRebuildReport {
 public:
  virtual ~DataFileRebuildReport() = default;
  // A whole record of the old ".DAT" was read, carried over or not; `code` as stored, blanks and all.
  virtual void recordRead(std::string_view code) { (void)code; }
  // The rebuild is over: `replaced` when the new files are in place; false when a step failed (the
  // result names the file) or the rebuild threw (the exception then goes on).
  virtual void ended(bool replaced) { (void)replaced; }
};

// The company's ".DAT" and ".ABC" must not be open. `report` hears every record read, and the end.
ProductFileReplacement rebuildDataAndIndex(const std::string& company, DataFileRebuildReport& report);

}  // namespace kv
