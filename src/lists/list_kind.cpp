#include "lists/list_kind.h"

#include <optional>

#include "base/numbers.h"
#include "base/text.h"

namespace kv {

namespace {

std::string withCurrency(std::optional<float> value, const ProductRecord& rec) {
  if (!value) return {};
  return singleText(*value) + " " + trim(rec.CostCurrency.str());
}

}  // namespace

ListKind listKindOf(int listKind) {
  return listKind >= 1 && listKind <= 3 ? static_cast<ListKind>(listKind) : ListKind::Count;
}

std::string costText(const ProductRecord& rec) { return withCurrency(toSingle(rec.Cost), rec); }

std::string priceText(const ProductRecord& rec) {
  return withCurrency(toSingle(static_cast<double>(rec.Cost) * static_cast<double>(rec.Coefficient)), rec);
}

}  // namespace kv
