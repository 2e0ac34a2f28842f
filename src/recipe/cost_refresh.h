// The refresh of every product's recipe cost, run by the analysis window when the recipe service asked
// for it: the analysis window's level build for each record of the product file, deleted or not.
#pragma once

#include <cstdint>
#include <optional>

#include "base/dates.h"
#include "base/messages.h"
#include "files/files.h"
#include "recipe/level_build.h"
#include "records/product_file.h"

namespace kv {

// What the refresh tells of its run as it goes; the window decides what each stage shows. An empty
// product file runs no stage; a run that started always ends.
class CostRefreshReport {
 public:
  virtual ~CostRefreshReport() = default;
  // Products follow, one after the other.
  virtual void started() {}
  // Product `record` is costed next (a deleted one too).
  virtual void costing(std::int16_t record) { (void)record; }
  // The run is over: every cost is on disk, or a file failed and every cost is as it was.
  virtual void ended() {}
};

// Every product of the open product file (counted afresh) is costed with the recipe date, in one command
// on the company's files. A level error is told once for the whole refresh. The first file that fails
// ends the refresh with every cost as it was, and is returned untold, for the window to tell. `builds`
// hears the stages of each product's level build.
std::optional<FileError> RefreshAllRecipeCosts(ProductFile& products, Date recipeDate, CostRefreshReport& report,
                                               LevelBuildReport& builds, MessageSink& messages);

}  // namespace kv
