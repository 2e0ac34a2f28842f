// The working copy ".RCT" of the list reports: the live lines of the active product's list definition,
// copied from ".LTD" in chain order and byte for byte as stored (NextLine still points into ".LTD").
// Unlike the editor's preparation of the same file, nothing is refreshed from the product file and
// nothing is written back.
#pragma once

#include <cstdint>

#include "records/product_file.h"

namespace kv {

struct ListWorkingCopyInput {
  const ProductFile& products;  // the window's open product file, which names the company
  std::int16_t activeRecord = 0;
};

enum class ListWorkingCopyOutcome {
  Copied,         // ".RCT" holds the list, head first
  NothingToList,  // the product has no list definition: ".RCT" is empty
  Failed,         // a file failed, or the list outgrows 32767 lines: no list is left (an old ".RCT"
                  // that could not be set aside stays as it was)
};

// What the copy tells of its run as it goes; the window decides what each stage shows. The run always
// ends.
class ListWorkingCopyReport {
 public:
  virtual ~ListWorkingCopyReport() = default;
  virtual void started() {}
  // Line `line` of ".LTD" was looked at and is not the head.
  virtual void passedOver(std::int32_t line) { (void)line; }
  virtual void ended(ListWorkingCopyOutcome outcome) { (void)outcome; }
};

struct ListWorkingCopyResult {
  ListWorkingCopyOutcome outcome = ListWorkingCopyOutcome::Failed;
  std::int16_t listRecordCount = 0;  // the records of ".RCT"; 0 unless Copied
  std::int32_t head = 0;             // the head line's record in ".LTD"; 0 when none was found
};

// The head is the first live line, in record order, with Sequence 1 and the product's code (trimmed,
// without regard to case) as its owner. A non-empty old ".RCT" becomes "952KLVR.RCT" first, an empty one
// is deleted; when that fails, nothing else is done. `report` hears the stages.
ListWorkingCopyResult PrepareListWorkingCopy(const ListWorkingCopyInput& input, ListWorkingCopyReport& report);

}  // namespace kv
