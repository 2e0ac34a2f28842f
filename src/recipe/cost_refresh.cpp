#include "recipe/cost_refresh.h"

#include "common/file_command.h"
#include "common/files.h"
#include "common/numbers.h"
#include "common/text.h"
#include "recipe/level_build.h"
#include "recipe/recipe_files.h"

namespace kv {

void RefreshAllRecipeCosts(ProductFile& products, Date recipeDate, CostRefreshReport& report, MessageSink& messages,
                           ProgressSink& title) {
  const std::int16_t count = products.recount();
  if (count < 1) return;
  const std::string& company = products.company();
  // Every build opens the recipe file anew; holding it open meanwhile lets them share one image of it
  // instead of reading the whole file again for each product.
  FileHandle shared;
  const std::string recipeName = companyFileName(company, RecipeFileKind::Recipes);
  try {
    if (fileExists(recipeName)) shared = openRecipeSideFile(company, RecipeFileKind::Recipes);
  } catch (const FileError&) {
    // Then each build meets the failure itself.
  }
  LevelBuildPolicy policy = levelBuildFromRecipeFile(LevelFailureReport::MessageBoxEndsRun);

  // Every cost of the refresh reaches the disk in one command: a refresh cut short leaves every cost as
  // it was.
  FileCommand command(company);
  report.started();
  for (int n = 1; n <= count; ++n) {
    const auto k = static_cast<std::int16_t>(n);
    title.progress("Kayıt"_w + recordNumberText(k) + " yenilemeye hazırlanıyor..."_w);
    report.costing(k);
    // A level error is told once for the whole refresh: recipe chains that lead back into each other
    // meet it in nearly every product.
    if (BuildLevelFile({products, k, recipeDate}, policy, messages, title).levelErrorMet)
      policy.tellsLevelError = false;
  }
  command.commit();
  report.finished();
}

}  // namespace kv
