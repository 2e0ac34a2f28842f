// The four product lists and the value texts the grid and the printed list show.
#pragma once

#include <string>

#include "records/product_record.h"

namespace kv {

// ListKind: 1 code, 2 cost, 3 price; every other value is the stock-count list.
enum class ListKind { Code = 1, Cost = 2, Price = 3, Count = 4 };
ListKind listKindOf(int listKind);

// What a table of the four lists holds for `kind`.
template <class T>
const T& ofKind(ListKind kind, const T& code, const T& cost, const T& price, const T& count) {
  switch (kind) {
    case ListKind::Code: return code;
    case ListKind::Cost: return cost;
    case ListKind::Price: return price;
    case ListKind::Count: break;
  }
  return count;
}

// The cost, and the price (cost times coefficient, as a Single), each followed by a blank and the cost's
// currency; empty when the number cannot be formed (a product that overflows a Single).
std::string costText(const ProductRecord& rec);
std::string priceText(const ProductRecord& rec);

}  // namespace kv
