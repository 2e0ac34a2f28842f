#include "recipe/component_entry.h"

#include "base/text.h"

namespace kv {

ComponentEntry lookUpComponent(const ProductFile& products, std::string_view typed, std::string_view ownCode) {
  ComponentEntry entry;
  const std::string code = upperCase(trim(typed));
  if (code.empty()) return entry;
  if (code == upperCase(trim(ownCode))) {
    entry.status = ComponentEntry::Status::OwnCode;
    return entry;
  }
  const CodeSearchResult found =
      products.findByCode(code, CodeMatch::Exact, [](const ProductRecord& r) { return r.Kind >= 0; });
  if (found.status != CodeSearchResult::Status::Found) {
    entry.status = ComponentEntry::Status::NotFound;
    return entry;
  }
  const ProductRecord product = products.read(found.record);
  entry.status = ComponentEntry::Status::Found;
  entry.row = {found.record,         product.Kind,         trim(product.Code.view()), trim(product.Name.view()), 0,
               trim(product.Unit.view()), product.RecipeCost > 0 ? product.RecipeCost : product.Cost};
  return entry;
}

}  // namespace kv
