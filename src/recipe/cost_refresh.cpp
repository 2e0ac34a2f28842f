#include "recipe/cost_refresh.h"

#include "common/files.h"
#include "common/kalvor3.h"
#include "common/numbers.h"
#include "common/text.h"
#include "recipe/level_build.h"
#include "recipe/recipe_files.h"
#include "recipe/scoped_file.h"

namespace kv {

void RefreshAllRecipeCosts(CostRefreshWindow& window, MessageSink& messages, ProgressSink& title) {
  const std::int16_t kept = window.currentRecord();
  const auto count = static_cast<std::int16_t>(recordCount(KALVOR3.ProductFileNumber));
  window.setRecordCount(count);
  if (count > 0) {
    // Every build opens the recipe file anew; holding it open meanwhile lets them share one image of it
    // instead of reading the whole file again for each product.
    ScopedFile shared;
    const std::string recipeName = companyFileName(KALVOR3.CompanyName, RecipeFileKind::Recipes);
    try {
      if (fileExists(recipeName)) shared.open(KALVOR3.CompanyName, RecipeFileKind::Recipes);
    } catch (const FileError&) {
      // Then each build meets the failure itself.
    }
    const LevelBuildPolicy policy = analysisLevelBuild(count);

    window.enableCostCommand(false);
    for (int n = 1; n <= count; ++n) {
      const auto k = static_cast<std::int16_t>(n);
      title.progress("Kayıt"_w + recordNumberText(k) + " yenilemeye hazırlanıyor..."_w);
      window.setCurrentRecord(k);
      window.showProduct();
      KALVOR3.ActiveRecordNumber = k;  // the record asked for, even when a deleted one was skipped on show
      BuildLevelFile(policy, messages, title);
    }
    window.enableCostCommand(true);
  }
  window.setCurrentRecord(kept);
  window.showProduct();
}

}  // namespace kv
