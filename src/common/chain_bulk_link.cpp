#include "common/chain_bulk_link.h"

#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "common/chain_image.h"
#include "common/collation.h"
#include "common/files.h"

namespace kv {

namespace {

// The records of a bucket whose keys are equal (as compareKeys compares them), in chain order: the ones
// placed before the group's first record, the last placed first, then the ones appended, in their order.
struct EqualKeys {
  std::vector<std::int16_t> before;  // reversed
  std::vector<std::int16_t> after;
  std::string firstText;  // the key text of the group's first record
};

// The groups of one bucket, by the rank strings of their keys.
using Bucket = std::map<std::string, EqualKeys>;

// Where the insertion would place record r, with its key, in its bucket as linked so far. It appends a key
// not below the bucket's last key; puts one below the first key first; and goes after the equal keys
// otherwise, unless the sorts' rule puts a key whose text is the first record's before that record.
void place(Bucket& bucket, std::string ranks, std::string_view key, std::int16_t r, const InsertPolicy& policy) {
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

void linkAllRecords(const ChainFiles& files, const InsertPolicy& policy) {
  std::vector<Bucket> buckets(kBucketCount + 1);
  int count = 0;
  {
    const ChainImage image(files);
    count = image.count();
    for (int r = 1; r <= count; ++r) {
      const std::string_view key = keyOf(image.keyField(r));
      if (const int b = bucketOf(key)) place(buckets[b], rankString(key), key, static_cast<std::int16_t>(r), policy);
    }
  }

  // The chain: the buckets in order, each bucket's groups in key order.
  std::vector<std::int16_t> chain;
  std::vector<IndexEntry> entries(kBucketCount + 1);
  for (int b = 1; b <= kBucketCount; ++b) {
    const std::size_t start = chain.size();
    for (const auto& [ranks, group] : buckets[b]) {
      chain.insert(chain.end(), group.before.rbegin(), group.before.rend());
      chain.insert(chain.end(), group.after.begin(), group.after.end());
    }
    if (chain.size() > start) entries[b] = {chain[start], chain.back()};
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
