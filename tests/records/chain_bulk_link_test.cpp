// Linking a whole file at once against linking its records one by one in record order: the same bytes,
// for both rules for equal keys and both keys, over random files full of equal keys.
#include <gtest/gtest.h>

#include <random>

#include "base/collation.h"
#include "files/files.h"
#include "records/alphabetic_chain.h"
#include "records/chain_bulk_link.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

// Texts that collide: equal as keys though their texts differ ("é" is outside the collation, a blank
// inside counts), empty ones, ones without a bucket, and random ones.
std::string collidingText(std::mt19937& rng) {
  static const std::vector<std::string> pool = {"M", "Mé", "M é", "M1", "M1é", "ş", "Ş", "A", "a", "", "é", " "};
  if (rng() % 3) return pool[rng() % pool.size()];
  return testing::randomTurkishCode(rng);
}

// A file of n records with stray pointers, and two copies of it: one linked into a fresh index one record
// after another, one linked at once over an index full of stray entries.
void compareWithOneByOne(std::mt19937& rng, int n, ChainKey key, bool sorts) {
  TempFolder folder;
  Company one("ONE"), all("ALL");
  std::uniform_int_distribution<int> stray(-3, n + 3);
  for (int i = 0; i < n; ++i) {
    auto rec = testing::makeProduct(collidingText(rng), collidingText(rng));
    rec.ChainPrev = static_cast<std::int16_t>(stray(rng));
    rec.ChainNext = static_cast<std::int16_t>(stray(rng));
    one.append(rec);
    all.append(rec);
  }
  for (int b = 1; b <= kBucketCount; ++b)
    put(all.indexFile(), b, IndexEntry{static_cast<std::int16_t>(stray(rng)), static_cast<std::int16_t>(stray(rng))});

  InsertPolicy policy;
  policy.equalFirstGoesBefore = sorts;
  const ChainFiles oneFiles{one.dataFile(), one.indexFile(), key};
  for (int r = 1; r <= n; ++r)
    ASSERT_NE(insertIntoAlphabeticIndex(oneFiles, static_cast<std::int16_t>(r), policy, nullptr),
              InsertResult::CriticalError);
  linkAllRecords({all.dataFile(), all.indexFile(), key}, policy);

  const std::string what = std::to_string(n) + " records, " + (key == ChainKey::Code ? "codes" : "names") +
                           (sorts ? ", the sorts' rule" : "");
  EXPECT_EQ(folder.bytes("ONE.DAT"), folder.bytes("ALL.DAT")) << what;
  EXPECT_EQ(folder.bytes("ONE.ABC"), folder.bytes("ALL.ABC")) << what;
}

TEST(ChainBulkLink, LinksAsInsertingEveryRecordInRecordOrderDoes) {
  std::mt19937 rng(952);
  for (ChainKey key : {ChainKey::Code, ChainKey::Name})
    for (bool sorts : {false, true}) {
      for (int round = 0; round < 40; ++round) compareWithOneByOne(rng, 1 + static_cast<int>(rng() % 40), key, sorts);
      compareWithOneByOne(rng, 3000, key, sorts);
    }
}

TEST(ChainBulkLink, AnEmptyFileGetsAnEmptyIndex) {
  TempFolder folder;
  Company c;
  put(c.indexFile(), 5, IndexEntry{3, 4});
  linkAllRecords(c.files(), InsertPolicy{});
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), std::vector<std::uint8_t>(436, 0));
}

}  // namespace
}  // namespace kv
