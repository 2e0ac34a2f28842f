// The product list file ".LST": copies of the product records a range selects, one after another in list
// order, each carrying the record number it came from and its code trimmed. The filter narrows it, the
// grid shows it and the list printing prints it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/messages.h"
#include "files/files.h"
#include "records/product_file.h"
#include "records/product_record.h"

namespace kv {

enum class ListOrder { Alphabetic, RecordOrder };

// The range as typed in the two boxes (Windows-1254): codes in alphabetic order, record numbers in record
// order (a text in the first box then names the one code to list).
struct ListRange {
  ListOrder order = ListOrder::Alphabetic;
  std::string first;
  std::string last;
};

struct ListBuild {
  std::int16_t count = 0;  // records written, 1..count
  bool ready = false;      // the build came to its normal end
};

// Compares a code with a range bound, both trimmed and upper-cased, by their characters' places in the
// collation; a character the collation lacks ranks below all, a position beyond a text's end ranks as a
// blank. <0, 0 or >0.
int compareWithBound(std::string_view code, std::string_view bound);

// The copy of product record n that a list holds.
ProductRecord listRecordOf(ProductRecord rec, std::int16_t n);

// Builds the list of `range` into `list`, which is emptied first (it stays open on the same name). A
// broken chain or an index that cannot lead the way is told through `sink` (the index notice is followed
// by a list in record order); every walk ends at the first record it meets again, so a looping chain ends
// with the chain message and lists no record twice. Throws FileError when a file fails.
ListBuild buildProductList(const ProductFile& products, FileHandle& list, const ListRange& range, MessageSink& sink);

}  // namespace kv
