// The product side of a level build: which product a recipe line names, and the repair of a sub-recipe
// link that names another product's chain.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "records/product_file.h"
#include "records/recipe_record.h"

namespace kv {

struct Component {
  std::int16_t record = 0;
  std::string code;  // trimmed, as stored
  std::int32_t recipeHead = 0;
};

class ComponentLookup {
 public:
  // Only records 1..products.count() are looked at: the count as the window last took it.
  explicit ComponentLookup(ProductFile& products) : products_(products) {}

  // The product at the line's ItemRecord when its code is the line's code; otherwise the first live
  // product, from record 1 on, with the line's code (the line itself is not corrected). None when the
  // ItemRecord lies outside the file or no live product has the code.
  std::optional<Component> componentOf(const RecipeRecord& line);

  // A chain whose head names another owner than the product that pointed to it: the first live product
  // with the head's owner code that owns the chain already or has no recipe gets it back (its
  // RecipeNumber is set to `head` and written).
  void returnChainToOwner(const RecipeRecord& headLine, std::int32_t head);

  // The first live product in record order whose code, trimmed and upper-cased, is `key`; 0 when none.
  std::int16_t firstLiveWithCode(const std::string& key);

 private:
  // The live products with a code, in record order. Built on first use by one pass over the file; a run
  // changes no code or kind, so it stays right for the whole run.
  const std::vector<std::int16_t>& liveWithCode(const std::string& key);

  ProductFile& products_;
  bool indexed_ = false;
  std::unordered_map<std::string, std::vector<std::int16_t>> byCode_;
};

}  // namespace kv
