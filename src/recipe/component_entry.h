// The component a recipe line is to name, looked up by the code typed into the editor's grid: the live
// product with exactly that code, trimmed and with letter case ignored (Turkish rules), found through the
// alphabetic index. A product never goes into its own recipe or list definition.
#pragma once

#include <string_view>

#include "recipe/working_copy.h"
#include "records/product_file.h"

namespace kv {

struct ComponentEntry {
  enum class Status {
    Empty,     // nothing typed: refused without a word
    OwnCode,   // the code of the product being edited
    NotFound,  // no live product has it (or the chain could not be walked to the end)
    Found,
  };
  Status status = Status::Empty;
  // Found: the component's record, kind, code, name and unit (trimmed, as the product file holds them)
  // and its unit cost, the recipe cost when it has one above 0, else its entered cost. No quantity.
  GridRow row;
};

ComponentEntry lookUpComponent(const ProductFile& products, std::string_view typed, std::string_view ownCode);

}  // namespace kv
