// The rebuild of a definition store: the recipe file ".REC" or the list-definition file ".LTD" written
// anew from the product file. For every product, in record order, its chain is found, checked line by
// line against the product, and copied as one run of consecutive lines, head first, renumbered and
// relinked, with the owner fields taken from the product; erased lines, lines no chain reaches and lines
// after the first one that fails are dropped. The recipe rebuild also points every product's RecipeNumber
// at its new head. The old store is kept as "952KLVR.REC" / "952KLVR.LTD", a non-empty working copy
// ".RCT" as "952KLVR.RCT", and ".RCT" is gone afterwards.
//
// The analysis window runs it when the recipe service asked for it, with itself as the message sink and
// its titles as the report of the stages, and counts its product file again afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "base/messages.h"
#include "recipe/recipe_files.h"
#include "records/product_file.h"
#include "records/product_record.h"
#include "records/recipe_record.h"

namespace kv {

enum class RebuildOutcome {
  Rebuilt,       // the new store is in place and its line count was told
  StoreMissing,  // there is no store to rebuild: told, nothing changed
  Failed,        // a file failed: told, and the store, the products and ".RCT" are as they were
};

struct RebuildResult {
  RebuildOutcome outcome = RebuildOutcome::Failed;
  std::int32_t storeCount = 0;  // lines in the new store; 0 unless rebuilt
};

// What the rebuild tells of its run as it goes; the window decides what each stage shows. The run always
// ends, after its closing message.
class RebuildReport {
 public:
  virtual ~RebuildReport() = default;
  virtual void started() {}
  // Product `record`'s chain is copied into the new store.
  virtual void productDone(std::int16_t record) { (void)record; }
  // Every chain is copied: the products and the store are replaced next.
  virtual void copied() {}
  // The new store is in place; its line count is told next.
  virtual void finished() {}
  virtual void ended() {}
};

// store: RecipeFileKind::Recipes or RecipeFileKind::ListDefinitions. `products` is the window's open
// product file; it is counted afresh. `report` hears the stages and the product being worked on;
// `messages` beeps and shows the closing count or what failed.
RebuildResult RebuildDefinitionFile(RecipeFileKind store, ProductFile& products, MessageSink& messages,
                                    RebuildReport& report);
RebuildResult RebuildRecipeFile(ProductFile& products, MessageSink& messages, RebuildReport& report);
RebuildResult RebuildListDefinitionFile(ProductFile& products, MessageSink& messages, RebuildReport& report);

// The chain heads of a store as the rebuild finds them: for a product, the first line in record order
// that passes headsChainForRebuild. A literal scan from record 1 for every product is quadratic; this
// index is built in one pass. A head passes by the owner's code or by its record and random number, so
// the index keeps the first live head under each code and under each (record, random number), and the
// answer is the smaller of the two.
class RebuildHeads {
 public:
  // Takes line `number` of the store into account; lines come in record order.
  void add(std::int32_t number, const RecipeRecord& line);
  // The head of the chain of the product stored at .DAT record ownerRecord; 0 when there is none.
  std::int32_t first(std::int16_t ownerRecord, const ProductRecord& owner) const;

 private:
  static std::uint64_t identity(std::int16_t record, std::int32_t randomNumber);

  std::unordered_map<std::string, std::int32_t> byCode_;
  std::unordered_map<std::uint64_t, std::int32_t> byIdentity_;
};

}  // namespace kv
