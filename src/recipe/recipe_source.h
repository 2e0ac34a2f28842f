// Where a run that builds the level file reads the product's recipe: the window's open store, or the
// company's ".REC", which the run opens itself. The policy fields the level build and the total
// consumption share.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"
#include "records/product_file.h"
#include "records/product_record.h"

namespace kv {

struct RecipeSourcePolicy {
  // None: the run opens the company's ".REC" itself (a missing one is a product without a recipe) and
  // closes it at the end. Otherwise the window's open store of `storeCount` lines, which stays open.
  const FileHandle* store = nullptr;
  std::int32_t storeCount = 0;
};

// The recipe lines of one run and the product whose recipe it reads.
struct RecipeSource {
  const FileHandle* store = nullptr;  // the policy's store, or none when the run opened ".REC"
  FileHandle ownFile;                 // when the run opens ".REC" itself
  std::int32_t count = 0;
  ProductRecord product;

  const FileHandle& lines() const { return store ? *store : ownFile; }
};

// The guard of a run: takes the policy's store, or opens the ".REC" of the products' company when it
// exists, and counts it; reads the product at `activeRecord` when it lies in 1..products.count(). True
// when the product's RecipeNumber names a line of the recipe lines; a file failure is false.
bool openRecipeSource(const RecipeSourcePolicy& policy, const ProductFile& products, std::int16_t activeRecord,
                      RecipeSource& source);

// The company's level file ".KDM" made anew: an earlier one is deleted first.
FileHandle openLevelFileAnew(const std::string& company);

}  // namespace kv
