#include "recipe/recipe_source.h"

#include "recipe/recipe_files.h"

namespace kv {

bool openRecipeSource(const RecipeSourcePolicy& policy, const ProductFile& products, std::int16_t activeRecord,
                      RecipeSource& source) {
  const std::string& company = products.company();
  try {
    if (policy.store) {
      source.store = policy.store;
      source.count = policy.storeCount;
    } else if (fileExists(companyFileName(company, RecipeFileKind::Recipes))) {
      source.ownFile = openRecipeSideFile(company, RecipeFileKind::Recipes);
      source.count = source.ownFile.count();
    }
    if (activeRecord < 1 || activeRecord > products.count()) return false;
    source.product = products.read(activeRecord);
    return isLineNumber(source.product.RecipeNumber, source.count);
  } catch (const FileError&) {
    return false;
  }
}

FileHandle openLevelFileAnew(const std::string& company) {
  const std::string levelName = companyFileName(company, RecipeFileKind::Levels);
  if (fileExists(levelName)) deleteFile(levelName);
  return openRecipeSideFile(company, RecipeFileKind::Levels);
}

}  // namespace kv
