// Finding a product by its code through the alphabetic index: the records of the bucket of the code's
// first character are walked along the chain, then those of the bucket of its lower-case form, so that a
// search is blind to the letter case of the first character. Every window that looks a code up (the
// main window's save check and search, the analysis window, the recipe editor) uses this walk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "files/files.h"
#include "records/product_record.h"

namespace kv {

enum class CodeMatch {
  Exact,   // the record's trimmed, upper-cased code equals the search text
  Prefix,  // it begins with the search text
};

struct CodeSearchResult {
  enum class Status { Found, NotFound, Locked } status = Status::NotFound;
  std::int16_t record = 0;  // the record found
  // Where a search that found nothing left its walk, as the analysis window shows it afterwards: the last
  // record of the lower-case bucket when its walk reached it; 0, or a number outside the file, when that
  // walk ran off the chain or there was no second bucket to walk.
  std::int16_t leftAt = 0;
};

// searchText must already be trimmed and upper-cased; an empty text finds nothing. `accept` tells which
// matching records count (live ones, or those of a kind tab). Each bucket's walk is bounded by
// stepLimit steps (twice the record count); a longer walk ends the search as Locked. Pointers leading
// outside 1..recordCount end a bucket's walk. An exact lookup of a code that begins with a character outside
// the collation, which no chain holds, reads the file in record order.
CodeSearchResult findByCode(const FileHandle& products, const FileHandle& index, std::int16_t recordCount,
                            std::string_view searchText, CodeMatch match,
                            const std::function<bool(const ProductRecord&)>& accept, ProductRecord& buffer);

// The texts of the lock error, shared by every window that searches.
std::string codeSearchLockedText();
std::string codeSearchLockedTitle();

}  // namespace kv
