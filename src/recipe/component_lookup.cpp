#include "recipe/component_lookup.h"

#include "base/bytes.h"
#include "base/text.h"
#include "files/files.h"
#include "recipe/recipe_files.h"
#include "records/product_record.h"

namespace kv {

std::optional<Component> ComponentLookup::componentOf(const RecipeRecord& line) {
  if (line.ItemRecord < 1 || line.ItemRecord > products_.count()) return std::nullopt;
  std::string key = codeKey(line.Code);
  std::int16_t found = line.ItemRecord;
  ProductRecord product = products_.read(found);
  if (codeKey(product.Code) != key) {
    found = firstLiveWithCode(key);
    if (found == 0) return std::nullopt;
    product = products_.read(found);
  }
  return Component{found, trim(product.Code), product.RecipeNumber};
}

void ComponentLookup::returnChainToOwner(const RecipeRecord& headLine, std::int32_t head) {
  for (std::int16_t r : liveWithCode(codeKey(headLine.OwnerCode))) {
    ProductRecord owner = products_.read(r);
    if (owner.RecipeNumber == head) return;
    if (owner.RecipeNumber == 0) {
      owner.RecipeNumber = head;
      products_.write(r, owner);
      return;
    }
  }
}

std::int16_t ComponentLookup::firstLiveWithCode(const std::string& key) {
  const auto& candidates = liveWithCode(key);
  return candidates.empty() ? 0 : candidates.front();
}

const std::vector<std::int16_t>& ComponentLookup::liveWithCode(const std::string& key) {
  if (!indexed_) {
    indexed_ = true;
    for (int r = 1, n = products_.count(); r <= n; ++r) {
      const std::uint8_t* p = products_.peek(static_cast<std::int16_t>(r)).data();
      if (bytes::getI16(p + product_offsets::Kind) < 0) continue;
      std::string_view code(reinterpret_cast<const char*>(p + product_offsets::Code), product_offsets::CodeWidth);
      byCode_[codeKey(code)].push_back(static_cast<std::int16_t>(r));
    }
  }
  static const std::vector<std::int16_t> none;
  auto it = byCode_.find(key);
  return it == byCode_.end() ? none : it->second;
}

}  // namespace kv
