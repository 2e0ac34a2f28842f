// The level build of one product: its recipe expanded into the level file ".KDM", the costs rolled up
// from the deepest level, and the recipe cost and date written into the product's record. The level file
// it leaves is also what the multi-level recipe reports print.
//
// Three windows run it: the analysis window (F5 and the full refresh), the recipe editor before it prints
// a multi-level report, and the report dialog before a multi-level report. They differ in where the
// recipe lines come from, which guard comes first, how a failure is told, and who keeps the level-file
// count; each passes its policy, and its window's title and message boxes as sinks.
//
// Reads KALVOR3.CompanyName, ActiveRecordNumber, RecipeDate and ProductFileNumber (the open product file).
// Leaves the last recipe line read in KALVOR3.RecipeRec and the last level line written in LevelRec.
#pragma once

#include <cstdint>

#include "common/messages.h"

namespace kv {

enum class LevelFailureReport {
  // A beep and a message box; the files are closed, and the run ends with nothing more written.
  MessageBoxEndsRun,
  // The window title tells it; the run goes on with the level file it has, but writes no cost.
  TitleGoesOn,
};

struct LevelBuildPolicy {
  std::int16_t productCount = 0;  // the window's product record count
  // 0: the run opens CompanyName ".REC" itself and closes it at the end of the walk. Otherwise the
  // window's open store of `storeCount` lines, which stays open.
  int storeFile = 0;
  std::int32_t storeCount = 0;
  // First guard: CompanyName ".REC" is listed under its exact name.
  bool checksRecipeFilePresent = false;
  LevelFailureReport failureReport = LevelFailureReport::MessageBoxEndsRun;
  // KALVOR3.RecipeStart follows the line being read (set to the product's RecipeNumber by the guard).
  bool currentLineInRecipeStart = false;
  // The window's level-file count: set at the end of the walk, and to 0 when a guard fails, so that a
  // report never prints an earlier product's tree.
  std::int16_t* levelRecordCount = nullptr;
};

// F5 and the full refresh of the analysis window.
LevelBuildPolicy analysisLevelBuild(std::int16_t productCount);
// The recipe editor, in recipe mode, with its store open.
LevelBuildPolicy editorLevelBuild(int storeFile, std::int32_t storeCount, std::int16_t productCount,
                                  std::int16_t& levelRecordCount);
// The report dialog.
LevelBuildPolicy reportDialogLevelBuild(std::int16_t productCount, std::int16_t& levelRecordCount);

enum class LevelBuildOutcome {
  GuardFailed,  // no product or no recipe: one beep, nothing written
  Empty,        // the recipe's first line is erased: an empty level file, no cost written
  Costed,       // the level file is built and the cost written
  Failed,       // a failure after the start: no cost written
};

struct LevelBuildResult {
  LevelBuildOutcome outcome = LevelBuildOutcome::GuardFailed;
  // The lines of ".KDM" after the walk; 0 when a guard failed or a failure ended the run.
  std::int16_t levelRecordCount = 0;
};

// `title` shows the window title; `messages` beeps and shows the message boxes.
LevelBuildResult BuildLevelFile(const LevelBuildPolicy& policy, MessageSink& messages, ProgressSink& title);

}  // namespace kv
