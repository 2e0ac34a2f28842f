#include "lists/list_filter.h"

#include <string_view>

#include "base/text.h"
#include "lists/list_file.h"

namespace kv {

namespace {

std::string fieldOf(const ProductRecord& rec, FilterField f) {
  switch (f) {
    case FilterField::Code: return rec.Code.str();
    case FilterField::Name: return rec.Name.str();
    case FilterField::ProductGroup: return rec.ProductGroup.str();
    case FilterField::SpecialCode: return rec.SpecialCode.str();
    case FilterField::Supplier: return rec.Supplier.str();
  }
  return {};
}

bool matches(std::string_view v, std::string_view p, MatchSide side) {
  switch (side) {
    case MatchSide::Left: return v.size() >= p.size() && v.substr(0, p.size()) == p;
    case MatchSide::Right: return v.size() >= p.size() && v.substr(v.size() - p.size()) == p;
    case MatchSide::Middle: return !v.empty() && v.find(p) != std::string_view::npos;
  }
  return false;
}

// The join that brings condition k (1 or 2) in after the conditions before it.
FilterJoin joinBefore(const FilterSettings& s, int k) {
  return k == 1 || s.conditions[1].inUse() ? s.joins[static_cast<std::size_t>(k - 1)] : s.joins[0];
}

}  // namespace

bool FilterSettings::anyInUse() const {
  for (const FilterCondition& c : conditions)
    if (c.inUse()) return true;
  return false;
}

bool conditionKeeps(const FilterCondition& c, const ProductRecord& rec) {
  const std::string v = upperCase(trim(fieldOf(rec, c.field)));
  const std::string p = upperCase(trimRight(c.pattern));
  return matches(v, p, c.side) == (c.status == MatchStatus::Matching);
}

// Each condition looks at each record once; the joins then only combine what they kept.
std::vector<std::int32_t> filteredPositions(const std::vector<ProductRecord>& list, const FilterSettings& s) {
  const std::int32_t n = static_cast<std::int32_t>(list.size());
  std::vector<std::int32_t> result;
  bool started = false;
  for (int k = 0; k < 3; ++k) {
    const FilterCondition& c = s.conditions[static_cast<std::size_t>(k)];
    if (!c.inUse()) continue;
    std::vector<char> keeps(list.size());
    for (std::int32_t i = 0; i < n; ++i) keeps[static_cast<std::size_t>(i)] = conditionKeeps(c, list[static_cast<std::size_t>(i)]);
    if (started && joinBefore(s, k) == FilterJoin::And) {
      std::erase_if(result, [&keeps](std::int32_t i) { return !keeps[static_cast<std::size_t>(i)]; });
    } else {
      for (std::int32_t i = 0; i < n; ++i)
        if (keeps[static_cast<std::size_t>(i)]) result.push_back(i);
    }
    started = true;
  }
  return result;
}

FilterOutcome filterListFile(const std::string& company, const std::string& listName, const FilterSettings& s) {
  std::vector<ProductRecord> list;
  {
    const FileHandle in(listName, ProductRecord::Length);
    list.reserve(static_cast<std::size_t>(in.count()));
    for (std::int32_t r = 1; r <= in.count(); ++r) list.push_back(in.get<ProductRecord>(r));
  }
  std::vector<std::int32_t> kept = filteredPositions(list, s);
  // A list file holds no more records than a record number can count.
  const bool cut = kept.size() > static_cast<std::size_t>(kMaxRecords16);
  if (cut) kept.resize(static_cast<std::size_t>(kMaxRecords16));

  const std::string scratch = company + ".TMP";
  if (fileExists(scratch)) deleteFile(scratch);
  try {
    FileHandle out(scratch, ProductRecord::Length);
    std::int32_t n = 0;
    for (std::int32_t i : kept) out.put(++n, list[static_cast<std::size_t>(i)]);
  } catch (const FileError&) {
    deleteFileQuietly(scratch);
    throw;
  }
  // Only a run that needed the unfiltered copy made one, and it let it go at its end.
  const bool copyMade = s.conditions[0].inUse() && s.conditions[1].inUse() && s.conditions[2].inUse() &&
                        s.joins[1] == FilterJoin::Or;
  if (copyMade && fileExists(kUnfilteredListName)) deleteFile(kUnfilteredListName);
  if (kept.empty()) {
    deleteFile(scratch);
    deleteFile(listName);
    return {};
  }
  replaceFile(scratch, listName);
  return {static_cast<std::int32_t>(kept.size()), cut};
}

}  // namespace kv
