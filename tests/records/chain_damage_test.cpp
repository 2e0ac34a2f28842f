// Damaged chains: whatever a few stray pointer or index writes have done to a sound file, every walk over
// the chain ends, never makes a file longer, and when it fails it leaves everything but its own record as
// it found it. Each walk is one row of the table below.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <set>

#include "base/collation.h"
#include "base/text.h"
#include "files/files.h"
#include "records/alphabetic_chain.h"
#include "records/code_search.h"
#include "records/product_file.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::RecordingSink;
using testing::TempFolder;

// What a walk may have changed in the files.
struct Outcome {
  bool failed = false;
  bool appended = false;           // the walk's own record was appended to the product file first
  std::set<int> ownRecords;        // on failure, the records the walk may still have written
  std::set<int> ownEntries;        // on failure, the index entries it may still have written
};

struct Walk {
  const char* name;
  std::function<Outcome(Company&, std::mt19937&, const std::vector<std::string>& codes)> run;
};

// A code that often shares its bucket, or its text, with others: Turkish letters, repeated codes, codes
// that begin with a known one, codes outside the collation.
std::string randomCode(std::mt19937& rng, const std::vector<std::string>& used) {
  if (!used.empty() && rng() % 3 == 0) {
    const std::string& known = used[rng() % used.size()];
    return rng() % 2 ? known : known + testing::randomTurkishCode(rng);
  }
  std::string code = testing::randomTurkishCode(rng);
  if (rng() % 10 == 0) return "é" + code;
  return (rng() % 2 ? "M" : "N") + code;
}

std::vector<std::string> buildSound(Company& c, std::mt19937& rng) {
  std::vector<std::string> used;
  for (int n = std::uniform_int_distribution<int>(1, 10)(rng); n > 0; --n) {
    used.push_back(randomCode(rng, used));
    c.add(used.back());
  }
  return used;
}

std::int16_t randomRecord(Company& c, std::mt19937& rng) {
  return static_cast<std::int16_t>(std::uniform_int_distribution<int>(1, c.count())(rng));
}

Outcome unlink(Company& c, std::mt19937& rng, UnlinkVariant variant) {
  const auto r = randomRecord(c, rng);
  const int b = bucketOf(keyOf(c.record(r).Code.view()));
  const IndexEntry e = b ? c.entry(b) : IndexEntry{};
  RecordingSink sink;
  const auto result = unlinkFromAlphabeticIndex(c.files(), r, variant, &sink);
  Outcome o;
  o.failed = result != UnlinkResult::Unlinked;
  if (result == UnlinkResult::PointerError && variant == UnlinkVariant::Delete) {
    // The deletion marks its record deleted and lets go of its bucket before it checks the pointers.
    o.ownRecords = {r};
    if (e.First == r || e.Last == r) o.ownEntries = {b};
  }
  return o;
}

Outcome find(Company& c, std::mt19937& rng, CodeMatch match) {
  std::string text = upperCase(trim(c.record(randomRecord(c, rng)).Code.view()));
  if (match == CodeMatch::Prefix && text.size() > 1) text.resize(1);
  ProductFile products;
  products.open(c.name(), ProductFile::IndexRule::Leave);
  products.findByCode(text, match, [](const ProductRecord&) { return false; });
  return Outcome{true, false, {}, {}};  // nothing accepted: the walk runs as far as it goes, and writes nothing
}

// A browsing step from a random record (or none) on a random tab; it only reads.
Outcome browse(Company& c, std::mt19937& rng) {
  ProductFile products;
  products.open(c.name(), ProductFile::IndexRule::Leave);
  const auto command = static_cast<ChainCommand>(1 + rng() % 4);
  products.step(command, static_cast<std::int16_t>(rng() % (c.count() + 1)), 1 + static_cast<int>(rng() % kTabAll));
  return Outcome{true, false, {}, {}};
}

const std::vector<Walk>& walks() {
  static const std::vector<Walk> table = {
      {"insertion",
       [](Company& c, std::mt19937& rng, const std::vector<std::string>& codes) {
         const auto r = c.append(testing::makeProduct(randomCode(rng, codes)));
         InsertPolicy policy = toldInsertPolicy();
         policy.equalFirstGoesBefore = rng() % 2;
         RecordingSink sink;
         const auto result = insertIntoAlphabeticIndex(c.files(), r, policy, &sink);
         Outcome o{result != InsertResult::Linked, true, {r}, {}};
         if (result == InsertResult::SortingError || result == InsertResult::CriticalError) {
           EXPECT_EQ(c.record(r).ChainPrev, 0);
           EXPECT_EQ(c.record(r).ChainNext, 0);
           EXPECT_EQ(sink.shown.size(), 1u);
         }
         return o;
       }},
      {"unlink on save", [](Company& c, std::mt19937& rng, const auto&) { return unlink(c, rng, UnlinkVariant::Save); }},
      {"unlink on delete", [](Company& c, std::mt19937& rng, const auto&) { return unlink(c, rng, UnlinkVariant::Delete); }},
      {"exact code search", [](Company& c, std::mt19937& rng, const auto&) { return find(c, rng, CodeMatch::Exact); }},
      {"prefix code search", [](Company& c, std::mt19937& rng, const auto&) { return find(c, rng, CodeMatch::Prefix); }},
      {"browsing step", [](Company& c, std::mt19937& rng, const auto&) { return browse(c, rng); }},
  };
  return table;
}

// The bucket a stray index write hits: that of a record, the next non-empty one above it (where a walk that
// leaves its bucket goes on), or any.
int damagedBucket(Company& c, std::mt19937& rng) {
  int b = bucketOf(keyOf(c.record(randomRecord(c, rng)).Code.view()));
  switch (rng() % 4) {
    case 0:
      return std::uniform_int_distribution<int>(1, kBucketCount)(rng);
    case 1:
      while (b >= 1 && b < kBucketCount && c.entry(++b).First == 0) {
      }
      break;
  }
  return b >= 1 ? b : 1;
}

// One to three stray writes of pointers or index entries, with values around the record range; a pointer
// often to its own record, which ends the chain there.
void damage(Company& c, std::mt19937& rng) {
  std::uniform_int_distribution<int> value(-2, c.count() + 3);
  for (int k = std::uniform_int_distribution<int>(1, 3)(rng); k > 0; --k) {
    auto v = static_cast<std::int16_t>(value(rng));
    if (rng() % 3) {
      const auto r = randomRecord(c, rng);
      auto rec = c.record(r);
      if (rng() % 2)
        rec.ChainNext = rng() % 2 ? r : v;
      else
        rec.ChainPrev = v;
      c.write(r, rec);
    } else {
      const int b = damagedBucket(c, rng);
      auto e = c.entry(b);
      (rng() % 2 ? e.First : e.Last) = v;
      put(c.indexFile(), b, e);
    }
  }
}

// The files after a walk against the files before it, record by record.
void compareFiles(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after, int length,
                  const std::set<int>& own, const std::string& what) {
  for (std::size_t at = 0; at < before.size(); at += static_cast<std::size_t>(length)) {
    const int n = static_cast<int>(at / static_cast<std::size_t>(length)) + 1;
    if (own.count(n)) continue;
    ASSERT_TRUE(std::equal(before.begin() + static_cast<long>(at),
                           before.begin() + static_cast<long>(std::min(before.size(), at + length)),
                           after.begin() + static_cast<long>(at)))
        << what << ": " << n << " of the " << (length == IndexEntry::Length ? "index" : "product file")
        << " changed";
  }
}

// Writes a closed file anew. A new file rather than an emptied one: rewriting a file from its start makes
// some file systems write it out at once, which would make this test slow.
void replace(const TempFolder& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::remove(folder.path() / name);
  folder.write(name, bytes);
}

void startEmpty(const TempFolder& folder) {
  replace(folder, "KLVR952.DAT", {});
  replace(folder, "KLVR952.ABC", {});
}

TEST(ChainDamage, EveryWalkEndsStaysInsideItsFilesAndFailsWithoutSideEffects) {
  TempFolder folder;
  for (unsigned seed = 1; seed <= 2000; ++seed) {
    std::mt19937 rng(seed);
    startEmpty(folder);
    auto c = std::make_unique<Company>();
    const auto codes = buildSound(*c, rng);
    damage(*c, rng);
    const auto dat = folder.bytes("KLVR952.DAT");
    const auto abc = folder.bytes("KLVR952.ABC");
    for (const auto& walk : walks()) {
      const Outcome o = walk.run(*c, rng, codes);
      const std::string what = "seed " + std::to_string(seed) + ", " + walk.name;
      const auto datAfter = folder.bytes("KLVR952.DAT");
      const auto abcAfter = folder.bytes("KLVR952.ABC");
      ASSERT_EQ(datAfter.size(), dat.size() + (o.appended ? ProductRecord::Length : 0)) << what;
      ASSERT_EQ(abcAfter.size(), abc.size()) << what;
      if (o.failed) {
        compareFiles(dat, datAfter, ProductRecord::Length, o.ownRecords, what);
        compareFiles(abc, abcAfter, IndexEntry::Length, o.ownEntries, what);
      }
      if (datAfter != dat || abcAfter != abc) {
        c.reset();
        replace(folder, "KLVR952.DAT", dat);
        replace(folder, "KLVR952.ABC", abc);
        c = std::make_unique<Company>();
      }
    }
  }
}

}  // namespace
}  // namespace kv
