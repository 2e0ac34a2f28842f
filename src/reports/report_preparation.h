// The working file of a recipe report, made anew before the report is shown, printed or exported: the
// list definition's working copy ".RCT", or the level file ".KDM" with the product's total consumption or
// its tree level by level (which also writes its recipe cost). Every preparation counts its file afresh,
// so that an earlier product's file is never reported.
//
// Two windows prepare it: the report dialog from the company's files, and the recipe editor from its open
// store, into which it has just written the chain it edits; the editor's own working copy is then the
// list definition's working file.
#pragma once

#include <cstdint>

#include "base/dates.h"
#include "base/messages.h"
#include "recipe/level_build.h"
#include "recipe/recipe_source.h"
#include "recipe/total_consumption.h"
#include "records/product_file.h"
#include "reports/list_working_copy.h"
#include "reports/report_kind.h"

namespace kv {

struct ReportPreparationInput {
  ProductFile& products;          // the window's open product file, as the window last counted it
  std::int16_t activeRecord = 0;  // the product reported
  Date recipeDate;                // the date a tree's cost is stamped with
  RecipeSourcePolicy source;      // the window's open store, or none: the company's files
};

enum class PreparedReport {
  Lines,    // the working file holds the report's lines
  Nothing,  // the product has nothing to report
  Failed,   // the preparation failed (its stages said so); there is no report
};

// Who hears the stages of the engine that makes the report's file, for the window to show them.
struct ReportPreparationStages {
  LevelBuildReport& tree;
  TotalConsumptionReport& totalConsumption;
  ListWorkingCopyReport& list;
};

PreparedReport prepareReportFile(ReportKind kind, const ReportPreparationInput& input, MessageSink& messages,
                                 const ReportPreparationStages& stages);

}  // namespace kv
