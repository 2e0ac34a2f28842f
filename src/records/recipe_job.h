// What the analysis window hands to the recipe editor when it has copied a product's chain out for it.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

// The recipe job: the analysis window fills it when it has copied a product's chain out for the recipe
// editor (F2, F3), and the editor takes it at its load.
struct RecipeJob {
  std::int16_t ActiveRecordNumber = 0;  // the product whose chain is edited
  bool ListMode = false;                // its list definition (".LTD") rather than its recipe (".REC")
  // The owner of the chain as the working copy names it: its code trimmed and upper-cased, its random
  // number; in list mode the chain's head in ".LTD" (0 when it has none).
  std::string OwnerCode;
  std::int32_t OwnerRandomNumber = 0;
  std::int32_t ListHead = 0;
};

}  // namespace kv
