// The total consumption of one product: its recipe flattened level after level, every line whose item has
// a recipe of its own replaced by that recipe's lines with the quantities multiplied down, and then the
// lines of one item added up. The result goes into the level file ".KDM", from which the total
// consumption reports are printed, shown and exported.
//
// The flattening goes in whole passes, as the reports expect it: every line a pass adds carries the pass's
// number as its level and the position its parent had in the list that pass read. A line still carrying
// a recipe after 20 levels stays as it is. A list longer than the level file's 32767 records is a failure:
// nothing is kept of it.
//
// Two windows run it through the report preparation: the report dialog (report kinds 2 and 5) and the
// recipe editor before it prints a total consumption list. They differ in where the recipe lines come
// from and whether one code with two line types makes two items; each passes its policy, its beeps as a
// sink and a report of the stages, whose titles are the window's.
#pragma once

#include <cstdint>

#include "base/messages.h"
#include "files/files.h"
#include "recipe/recipe_source.h"
#include "records/product_file.h"

namespace kv {

// What a build works on: the window's open product file (its company's ".REC", ".KDM" and ".TMP" are
// used; its count as the window last took it bounds the active record, a line's item and the search by
// code), and the product.
struct TotalConsumptionInput {
  ProductFile& products;
  std::int16_t activeRecord = 0;
};

// Where the lines come from, and the habit in which the callers differ besides.
struct TotalConsumptionPolicy : RecipeSourcePolicy {
  // One code with two line types makes two items (the editor's list); otherwise only the code counts.
  bool separatesLineTypes = false;
};

// From the company's ".REC", items by code alone (the report dialog).
TotalConsumptionPolicy totalConsumptionFromRecipeFile();
// From the window's open store, which stays open, items by line type and code (the recipe editor, in
// recipe mode).
TotalConsumptionPolicy totalConsumptionFromStore(const FileHandle& store, std::int32_t storeCount);

enum class TotalConsumptionOutcome {
  GuardFailed,  // no product or no recipe: one beep; the level file is not touched
  Empty,        // the recipe's first line is erased: an empty level file, nothing to list
  Built,        // the level file holds the total consumption
  Failed,       // a file failed, a quantity overflowed or the list outgrew the level file: nothing of
                // the list is kept
};

// What a build tells of its run as it goes; the window decides what each stage shows. A run whose guards
// fail tells nothing (it beeps); a run that started always ends.
class TotalConsumptionReport {
 public:
  virtual ~TotalConsumptionReport() = default;
  // The guards passed: the recipe is flattened.
  virtual void started() {}
  // The recipe is flattened: the lines of one item are added up next.
  virtual void flattened() {}
  // The run is over (after its one beep when it built the list).
  virtual void ended(TotalConsumptionOutcome outcome) { (void)outcome; }
};

struct TotalConsumptionResult {
  TotalConsumptionOutcome outcome = TotalConsumptionOutcome::GuardFailed;
  std::int16_t levelRecordCount = 0;  // the records of ".KDM"; 0 unless Built
};

TotalConsumptionResult BuildTotalConsumptionFile(const TotalConsumptionInput& input,
                                                 const TotalConsumptionPolicy& policy, MessageSink& messages,
                                                 TotalConsumptionReport& report);

}  // namespace kv
