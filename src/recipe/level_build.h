// The level build of one product: its recipe expanded into the level file ".KDM", the costs rolled up
// from the deepest level, and the recipe cost and date written into the product's record. The level file
// it leaves is also what the multi-level recipe reports print.
//
// Three windows run it: the analysis window (F5 and the full refresh), and, through the report
// preparation, the recipe editor and the report dialog before a multi-level report. They differ in where
// the recipe lines come from and how a failure is told; each passes its policy, and its window's title and
// message boxes as sinks, and reads the level file's count from the result.
#pragma once

#include <cstdint>

#include "common/dates.h"
#include "common/files.h"
#include "common/messages.h"
#include "common/product_file.h"
#include "recipe/recipe_source.h"

namespace kv {

enum class LevelFailureReport {
  // A beep and a message box; the files are closed, and the run ends with nothing more written.
  MessageBoxEndsRun,
  // The window title tells it, and the run goes on with the level file it has, but writes no cost and
  // ends with the failure in the title.
  TitleGoesOn,
  // The window title tells it and keeps telling it: the files are closed, the run ends with no cost and
  // a count of 0, so that nothing of a partial tree is reported.
  TitleEndsRun,
};

// What a build works on: the window's open product file (its count is the window's; its company's ".REC"
// and ".KDM" are used), the product to cost and the date the cost is stamped with.
struct LevelBuildInput {
  ProductFile* products = nullptr;
  std::int16_t activeRecord = 0;
  Date recipeDate;
};

// The store, the guards and how a failure is told.
struct LevelBuildPolicy : RecipeSourcePolicy {
  // First guard: the company's ".REC" is listed under its exact name.
  bool checksRecipeFilePresent = false;
  LevelFailureReport failureReport = LevelFailureReport::MessageBoxEndsRun;
  // The run's first level error (a recipe below the deepest level, or one inside itself) is told; false
  // when it was told already in the same job.
  bool tellsLevelError = true;
  // A file error is the job's, not the build's: the build closes its files and throws it on, told
  // nothing (the full refresh, whose command then undoes every cost and tells the file once).
  bool fileErrorEndsJob = false;
};

// From the company's ".REC", which must be listed under its exact name, a failure told as `report` says:
// the analysis window ends on a message box, the report dialog goes on with the failure in its title.
LevelBuildPolicy levelBuildFromRecipeFile(LevelFailureReport report);
// From the window's open store, which stays open; a failure ends the run with the failure in the title
// (the recipe editor, which would print the tree).
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

// `title` shows the window title; `messages` beeps and shows the message boxes.
LevelBuildResult BuildLevelFile(const LevelBuildInput& input, const LevelBuildPolicy& policy, MessageSink& messages,
                                ProgressSink& title);

}  // namespace kv
