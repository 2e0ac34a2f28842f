// The level build of one product: its recipe expanded into the level file ".KDM", the costs rolled up
// from the deepest level, and the recipe cost and date written into the product's record. The level file
// it leaves is also what the multi-level recipe reports print.
//
// Three windows run it: the analysis window (F5 and the full refresh), and, through the report
// preparation, the recipe editor and the report dialog before a multi-level report. They differ in where
// the recipe lines come from and whether a failure ends the run; each passes its policy, its message
// boxes as a sink and a report of the stages, whose titles (and how a failure shows) are the window's,
// and reads the level file's count from the result.
#pragma once

#include <cstdint>

#include "base/dates.h"
#include "base/messages.h"
#include "files/files.h"
#include "recipe/recipe_source.h"
#include "records/product_file.h"

namespace kv {

// What a build tells of its run as it goes; the window decides what each stage shows, and how a failure
// shows. A run whose guards fail tells nothing (it beeps); a run that started always ends.
class LevelBuildReport {
 public:
  virtual ~LevelBuildReport() = default;
  // The guards passed: the level file is made anew and the tree walked into it.
  virtual void started() {}
  // The walk is over.
  virtual void walked() {}
  // The level file has lines: their costs are rolled up.
  virtual void rollingUp() {}
  // A file failed, or the tree could not be built or costed; the policy said whether the run goes on.
  // A file error that the policy passes on to the job is not told here: the run just ends.
  virtual void failed() {}
  // The run is over: `ranThrough` when it reached its end (after its one beep; past a failure too, when
  // the run went on), false when a failure cut it short.
  virtual void ended(bool ranThrough) { (void)ranThrough; }
};

// What a build works on: the window's open product file (its count as the window last took it; its
// company's ".REC" and ".KDM" are used), the product to cost and the date the cost is stamped with.
struct LevelBuildInput {
  ProductFile& products;
  std::int16_t activeRecord = 0;
  Date recipeDate;
};

// The store, the guards and what a failure does.
struct LevelBuildPolicy : RecipeSourcePolicy {
  // First guard: the company's ".REC" is listed under its exact name.
  bool checksRecipeFilePresent = false;
  // A failure lets the run go on with the level file it has, writing no cost (a report from the
  // company's files); otherwise the files are closed and the run ends with no cost and a count of 0, so
  // that nothing of a partial tree is reported.
  bool failureGoesOn = false;
  // The run's first level error (a recipe below the deepest level, or one inside itself) is told; false
  // when it was told already in the same job.
  bool tellsLevelError = true;
  // A file error is the job's, not the build's: the build closes its files and throws it on, told
  // nothing (the full refresh: its command undoes every cost, and its window tells the file once).
  bool fileErrorEndsJob = false;
};

// From the company's ".REC", which must be listed under its exact name; a failure ends the run.
LevelBuildPolicy levelBuildFromRecipeFile();
// From the window's open store, which stays open; a failure ends the run (the recipe editor, which would
// print the tree).
LevelBuildPolicy levelBuildFromStore(const FileHandle& store, std::int32_t storeCount);

enum class LevelBuildOutcome {
  GuardFailed,  // no product or no recipe: one beep, nothing written
  Empty,        // the recipe's first line is erased: an empty level file, no cost written
  Costed,       // the level file is built and the cost written
  Failed,       // a failure after the start: no cost written
};

struct LevelBuildResult {
  LevelBuildOutcome outcome = LevelBuildOutcome::GuardFailed;
  // The lines of ".KDM" after the walk; 0 when a guard failed or a failure ended the run, so that a
  // report never prints an earlier product's tree.
  std::int16_t levelRecordCount = 0;
  // The walk left a recipe unexpanded as a level error (told or not, as the policy said).
  bool levelErrorMet = false;
};

// `messages` beeps and shows the level error's message box; `report` hears the stages.
LevelBuildResult BuildLevelFile(const LevelBuildInput& input, const LevelBuildPolicy& policy, MessageSink& messages,
                                LevelBuildReport& report);

}  // namespace kv
