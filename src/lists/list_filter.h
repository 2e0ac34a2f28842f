// The list filter: up to three conditions on five fields of the list's records, joined two by two by
// "Ve" (the next condition narrows the result so far) or "Veya" (what the next condition keeps of the
// whole list is appended to it, repeats included).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "files/files.h"
#include "records/product_record.h"

namespace kv {

enum class FilterField { Code, Name, ProductGroup, SpecialCode, Supplier };
enum class MatchSide { Left, Right, Middle };       // Soldan, Sağdan, Ortadan
enum class MatchStatus { Matching, NotMatching, Off };  // Olan, Olmayan, Yok
enum class FilterJoin { And, Or };                  // Ve, Veya

struct FilterCondition {
  FilterField field = FilterField::Code;
  MatchSide side = MatchSide::Left;
  MatchStatus status = MatchStatus::Off;
  std::string pattern;  // Windows-1254, as typed
  bool inUse() const { return status != MatchStatus::Off; }
};

struct FilterSettings {
  std::array<FilterCondition, 3> conditions;
  std::array<FilterJoin, 2> joins{FilterJoin::And, FilterJoin::And};
  bool anyInUse() const;
};

// Whether a condition in use keeps the record: the field and the pattern compared without regard to
// case, the field without its blanks, the pattern without its trailing ones.
bool conditionKeeps(const FilterCondition& c, const ProductRecord& rec);

// The positions (0-based, in result order, repeats included) of the records the filter leaves of
// `list`. Joined by "Veya", they may be more than a list file holds.
std::vector<std::int32_t> filteredPositions(const std::vector<ProductRecord>& list, const FilterSettings& s);

// The unfiltered copy of the list the filter keeps while it works, whatever the company.
inline constexpr const char* kUnfilteredListName = "952Kalvor.LST";

// What a filter left in the list file: its record count, and whether the result had more records than
// a list file holds, so that only the first of them are there.
struct FilterOutcome {
  std::int32_t count = 0;
  bool cut = false;
};

// Narrows the list file `listName` (closed) by `s`: it then holds the result, or is deleted when nothing
// is left. Written through "<company>.TMP" and renamed into place, so a failing write leaves the list as
// it was. Throws FileError.
FilterOutcome filterListFile(const std::string& company, const std::string& listName, const FilterSettings& s);

}  // namespace kv
