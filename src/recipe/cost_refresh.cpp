#include "recipe/cost_refresh.h"

#include "files/file_command.h"
#include "files/files.h"
#include "recipe/level_build.h"
#include "recipe/recipe_files.h"

namespace kv {

namespace {

// Every cost of the refresh reaches the disk in one command: a refresh cut short, by a kill or by a file
// that fails, leaves every cost as it was.
void costEveryProduct(ProductFile& products, std::int16_t count, Date recipeDate, CostRefreshReport& report,
                      LevelBuildReport& builds, MessageSink& messages) {
  const std::string& company = products.company();
  // Every build opens the recipe file anew; holding it open meanwhile lets them share one image of it
  // instead of reading the whole file again for each product.
  FileHandle shared;
  FileCommand command(company);
  if (fileExists(companyFileName(company, RecipeFileKind::Recipes)))
    shared = openRecipeSideFile(company, RecipeFileKind::Recipes);
  LevelBuildPolicy policy = levelBuildFromRecipeFile();
  policy.fileErrorEndsJob = true;
  for (int n = 1; n <= count; ++n) {
    const auto k = static_cast<std::int16_t>(n);
    report.costing(k);
    // A level error is told once for the whole refresh: recipe chains that lead back into each other
    // meet it in nearly every product.
    if (BuildLevelFile({products, k, recipeDate}, policy, messages, builds).levelErrorMet)
      policy.tellsLevelError = false;
  }
  command.commit();
}

}  // namespace

std::optional<FileError> RefreshAllRecipeCosts(ProductFile& products, Date recipeDate, CostRefreshReport& report,
                                               LevelBuildReport& builds, MessageSink& messages) {
  const std::int16_t count = products.recount();
  if (count < 1) return std::nullopt;
  std::optional<FileError> failure;
  report.started();
  try {
    costEveryProduct(products, count, recipeDate, report, builds, messages);
  } catch (const FileError& e) {
    failure = e;
  }
  report.ended();
  return failure;
}

}  // namespace kv
