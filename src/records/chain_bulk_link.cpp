#include "records/chain_bulk_link.h"

#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "base/collation.h"
#include "files/files.h"
#include "records/chain_image.h"

namespace kv {

namespace {

// The records of a bucket whose keys are equal (as compareKeys compares them), in chain order: the ones
// placed before the group's first record, the last placed first, then the ones appended, in their order.
struct EqualKeys {
  std::vector<std::int32_t> before;  // reversed
  std::vector<std::int32_t> after;
  std::string firstText;  // the key text of the group's first record
};

// The groups of one bucket, by the rank strings of their keys.
using Bucket = std::map<std::string, EqualKeys>;

// Where the insertion would place record r, with its key, in its bucket as linked so far. It appends a key
// not below the bucket's last key; puts one below the first key first; and goes after the equal keys
// otherwise, unless the sorts' rule puts a key whose text is the first record's before that record.
void place(Bucket& bucket, std::string ranks, std::string_view key, std::int32_t r, const InsertPolicy& policy) {
  const bool beforeFirst = policy.equalFirstGoesBefore && !bucket.empty() &&
                           ranks < std::prev(bucket.end())->first && key == bucket.begin()->second.firstText;
  auto [group, fresh] = bucket.try_emplace(std::move(ranks));
  if (beforeFirst)
    group->second.before.push_back(r);
  else
    group->second.after.push_back(r);
  if (fresh || beforeFirst) group->second.firstText = key;
}

}  // namespace

std::vector<std::int32_t> chainOrder(std::span<const std::string_view> keys, const InsertPolicy& policy) {
  std::vector<Bucket> buckets(kBucketCount + 1);
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (const int b = bucketOf(keys[i]))
      place(buckets[b], rankString(keys[i]), keys[i], static_cast<std::int32_t>(i), policy);
  // The buckets in order, each bucket's groups in key order.
  std::vector<std::int32_t> chain;
  chain.reserve(keys.size());
  for (int b = 1; b <= kBucketCount; ++b)
    for (const auto& [ranks, group] : buckets[b]) {
      chain.insert(chain.end(), group.before.rbegin(), group.before.rend());
      chain.insert(chain.end(), group.after.begin(), group.after.end());
    }
  return chain;
}

void linkAllRecords(const ChainFiles& files, const InsertPolicy& policy, const std::function<bool(int record)>& linked) {
  int count = 0;
  std::vector<std::int16_t> chain;
  std::vector<IndexEntry> entries(kBucketCount + 1);
  {
    const ChainImage image(files);
    count = image.count();
    std::vector<std::string_view> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int r = 1; r <= count; ++r) keys.push_back(!linked || linked(r) ? keyOf(image.keyField(r)) : std::string_view{});
    for (const std::int32_t at : chainOrder(keys, policy)) {
      const auto r = static_cast<std::int16_t>(at + 1);
      IndexEntry& e = entries[bucketOf(keys[at])];
      if (e.First == 0) e.First = r;
      e.Last = r;
      chain.push_back(r);
    }
  }

  // Written in record order; an end of the chain points to itself.
  std::vector<std::int16_t> prev(static_cast<std::size_t>(count) + 1, 0), next(prev.size(), 0);
  for (std::size_t i = 0; i < chain.size(); ++i) {
    prev[chain[i]] = chain[i > 0 ? i - 1 : i];
    next[chain[i]] = chain[i + 1 < chain.size() ? i + 1 : i];
  }
  for (int r = 1; r <= count; ++r)
    if (prev[r] != 0) writeChainPointers(files.recordFile, r, prev[r], next[r]);
  for (int b = 1; b <= kBucketCount; ++b) put(files.indexFile, b, entries[b]);
}

}  // namespace kv
