#include "reports/report_preparation.h"

#include "recipe/level_build.h"
#include "recipe/total_consumption.h"
#include "reports/list_working_copy.h"

namespace kv {

namespace {

PreparedReport prepared(bool failed, std::int32_t lines) {
  if (failed) return PreparedReport::Failed;
  return lines > 0 ? PreparedReport::Lines : PreparedReport::Nothing;
}

// From the window's store a tree that fails has nothing of it reported, and one code under two line types
// makes two items; from the company's files the report goes on with the tree it has, and the total
// consumption counts items by code alone.
LevelBuildPolicy levelPolicy(const RecipeSourcePolicy& source) {
  if (source.store) return levelBuildFromStore(*source.store, source.storeCount);
  LevelBuildPolicy p = levelBuildFromRecipeFile();
  p.failureGoesOn = true;
  return p;
}

TotalConsumptionPolicy totalConsumptionPolicy(const RecipeSourcePolicy& source) {
  return source.store ? totalConsumptionFromStore(*source.store, source.storeCount) : totalConsumptionFromRecipeFile();
}

}  // namespace

PreparedReport prepareReportFile(ReportKind kind, const ReportPreparationInput& in, MessageSink& messages,
                                 const ReportPreparationStages& stages) {
  if (isList(kind)) {
    if (in.source.store) return PreparedReport::Lines;  // the editor's working copy
    const ListWorkingCopyResult r = PrepareListWorkingCopy({in.products, in.activeRecord}, stages.list);
    return prepared(r.outcome == ListWorkingCopyOutcome::Failed, r.listRecordCount);
  }
  if (isTotalConsumption(kind)) {
    const TotalConsumptionResult r = BuildTotalConsumptionFile({in.products, in.activeRecord},
                                                               totalConsumptionPolicy(in.source), messages,
                                                               stages.totalConsumption);
    return prepared(r.outcome == TotalConsumptionOutcome::Failed, r.levelRecordCount);
  }
  const LevelBuildResult r =
      BuildLevelFile({in.products, in.activeRecord, in.recipeDate}, levelPolicy(in.source), messages, stages.tree);
  return prepared(r.outcome == LevelBuildOutcome::Failed, r.levelRecordCount);
}

}  // namespace kv
