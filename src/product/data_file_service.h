// The record work of the data-file service window: the product file counted in whole records, the search
// by the beginning of a code in record order (deleted records too), and the erasing of a deleted record's
// content for good.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/files.h"
#include "records/product_record.h"

namespace kv {

// The records that lie whole in an open product file, at most 32767: a tail shorter than a record is no
// record the service looks at, walks through or carries over, nor one that a sort carries over.
std::int16_t wholeRecords(const FileHandle& products);

// The first of records 1..count in record order whose code, trimmed and upper-cased, begins with `key`
// (trimmed and upper-cased by the caller), whatever its kind; 0 when none. An empty key finds record 1.
std::int16_t findCodeInRecordOrder(const FileHandle& products, std::int16_t count, std::string_view key);

// Erases what a deleted record says about its product (code, name, texts, cost, cost date, coefficient,
// cost type, picture flag, chain pointers); its kind, prices, the other dates, its numbers and the recipe
// stay. A record whose cost date is blank has been erased already.
void eraseContent(ProductRecord& r);
bool isErased(const ProductRecord& r);

}  // namespace kv
