// The product-file engine: browsing along the chain, and appending, saving and deleting, against plain
// references over random files; the rules of deleting, a damaged save and the name search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "base/text.h"
#include "records/product_file.h"
#include "support/company.h"
#include "support/file_faults.h"

namespace kv {
namespace {

using testing::checkChain;
using testing::Company;
using testing::RecordingSink;
using testing::TempFolder;

// Where a browsing step should stand, worked out from the chain order alone: the records its walk passes
// (from a chain's end, or those beyond the record it steps from; a record at the chain's end points to
// itself, so the walk reads it once more), the first of them that fits, and otherwise, for previous and
// next, the record stepped from when it still fits.
struct Expected {
  ChainStep::Status status = ChainStep::Status::NotFound;
  std::int16_t record = 0;  // the record found, or the last one the walk passed
  bool noneFitsBeyond = false;
};

Expected expectedStep(const std::vector<std::int16_t>& order, const Company& c, ChainCommand command,
                      std::int16_t from, int tab) {
  if (order.empty()) return {ChainStep::Status::NoChain};
  Expected e;
  std::vector<std::int16_t> way = order;
  if (command == ChainCommand::Previous || command == ChainCommand::Next) {
    const auto at = std::find(order.begin(), order.end(), from);
    if (at == order.end()) return e;
    way = command == ChainCommand::Next ? std::vector<std::int16_t>(at + 1, order.end())
                                        : std::vector<std::int16_t>(order.begin(), at);
    if (way.empty()) way = {from};
  }
  if (command == ChainCommand::Previous || command == ChainCommand::Last) std::reverse(way.begin(), way.end());
  auto fits = [&](std::int16_t r) { return fitsTab(c.record(r).Kind, tab); };
  e.record = way.back();
  if (const auto hit = std::find_if(way.begin(), way.end(), fits); hit != way.end()) {
    e.status = ChainStep::Status::Found;
    e.record = *hit;
  } else if (command == ChainCommand::Previous || command == ChainCommand::Next) {
    e.noneFitsBeyond = true;
    if (fits(from)) {
      e.status = ChainStep::Status::Found;
      e.record = from;
    }
  }
  return e;
}

TEST(ProductFileTest, ChainStepsReachTheNearestFittingRecordInCodeOrder) {
  const char* const codes[] = {"A1", "a1", "B", "Ç2", "ç", "İNCE", "ıh", "M", "M", "Z9", "0", "€X", "~"};
  for (unsigned seed = 1; seed <= 12; ++seed) {
    TempFolder folder;
    Company c;
    std::mt19937 rng(seed);
    // Some files hold a few records only: chains of none, one and two records.
    const int records = seed % 4 == 0 ? static_cast<int>(seed / 4) : 40;
    std::uniform_int_distribution<int> pick(0, std::size(codes) - 1), kind(0, 7), coin(0, 4);
    for (int i = 0; i < records; ++i) c.add(codes[pick(rng)], "", kind(rng));
    ProductFile products;
    products.open(c.name());
    for (std::int16_t r = 1; r <= c.count(); ++r)
      if (coin(rng) == 0) products.remove(r, nullptr);
    const std::vector<std::int16_t> order = checkChain(c.files()).order;
    for (int tab = 1; tab <= kTabAll; ++tab)
      for (auto command : {ChainCommand::First, ChainCommand::Previous, ChainCommand::Next, ChainCommand::Last}) {
        for (std::int16_t from = 0; from <= c.count(); ++from) {
          SCOPED_TRACE("seed " + std::to_string(seed) + " tab " + std::to_string(tab) + " command " +
                       std::to_string(static_cast<int>(command)) + " from " + std::to_string(from));
          const ChainStep step = products.step(command, from, tab);
          const Expected want = expectedStep(order, c, command, from, tab);
          ASSERT_EQ(step.status, want.status);
          ASSERT_EQ(step.record, want.record);
          if (want.status == ChainStep::Status::Found) {
            EXPECT_EQ(step.found.Code, c.record(want.record).Code);
          }
          EXPECT_EQ(step.noneFitsBeyond, want.noneFitsBeyond);
          if (want.record) {
            EXPECT_EQ(step.atStart, want.record == order.front());
            EXPECT_EQ(step.atEnd, want.record == order.back());
          }
          EXPECT_EQ(step.chainOfOne, order.size() == 1);
        }
      }
  }
}

TEST(ProductFileTest, ALoopedChainLocksTheStep) {
  TempFolder folder;
  Company c;
  c.addAll({{"A"}, {"B"}, {"C"}});
  ProductRecord b = c.record(2);
  b.ChainNext = 1;  // A -> B -> A ...
  c.write(2, b);
  ProductFile products;
  products.open(c.name());
  const ChainStep step = products.step(ChainCommand::First, 0, 5);
  EXPECT_EQ(step.status, ChainStep::Status::Locked);
}

TEST(ProductFileTest, OnlyARecordThatWasNeverLinkableIsDeletedOutOfTheChain) {
  struct Case {
    const char* code;
    std::int16_t prev, next;
    ProductFile::DeleteResult result;
  };
  const Case cases[] = {
      {"€X", 0, 0, ProductFile::DeleteResult::Deleted},    // no bucket: never on the chain
      {"B1", 0, 0, ProductFile::DeleteResult::NotLinked},  // its bucket may still name it
      {"B1", 2, 0, ProductFile::DeleteResult::NotLinked},
      {"€X", 2, 0, ProductFile::DeleteResult::NotLinked},
      {"€X", 1, 1, ProductFile::DeleteResult::Deleted},    // linked by hand: unlinked, no bucket touched
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.code);
    TempFolder folder;
    Company c;
    c.add("A1");
    ProductRecord r = testing::makeProduct(k.code);
    r.ChainPrev = k.prev;
    r.ChainNext = k.next;
    c.append(r);
    const auto dat = folder.bytes("KLVR952.DAT"), abc = folder.bytes("KLVR952.ABC");
    ProductFile products;
    products.open(c.name());
    EXPECT_EQ(products.remove(2, nullptr), k.result);
    EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);
    if (k.result == ProductFile::DeleteResult::NotLinked) {
      EXPECT_EQ(folder.bytes("KLVR952.DAT"), dat);
    } else {
      EXPECT_EQ(c.record(2).Kind, -1);
      EXPECT_EQ(c.record(2).Code, r.Code);
    }
  }
}

// A record whose pointers lie outside the file cannot leave its place: a change of code writes nothing.
TEST(ProductFileTest, ASaveOfAChangedCodeWithDamagedPointersWritesNothing) {
  TempFolder folder;
  Company c;
  c.addAll({{"A1"}, {"B1"}, {"C1"}});
  ProductFile products;
  products.open(c.name());
  ProductRecord bad = products.read(1);
  bad.ChainNext = 40;
  c.write(1, bad);
  const auto dat = folder.bytes("KLVR952.DAT"), abc = folder.bytes("KLVR952.ABC");
  bad.Code = "E1";
  EXPECT_EQ(products.save(1, bad, quietInsertPolicy(), nullptr), ProductFile::SaveResult::PointerError);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), dat);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);
}

// New records, saves with the same or another code (from a buffer with stale pointers) and deletions, in
// random order, codes outside the collation among them: every record holds what was written, and the chain
// checker finds one sound chain after every step, without a message on the way.
TEST(ProductFileTest, RandomAppendsSavesAndDeletesKeepTheRecordsAndOneSoundChain) {
  const char* const codes[] = {"A1", "a1", "B", "Ç2", "ç", "İNCE", "ince", "ıh", "I", "M", "Z9", "0", "€X", "é1", "Ø"};
  auto withoutPointers = [](ProductRecord r) {
    r.ChainPrev = r.ChainNext = 0;
    std::vector<std::uint8_t> bytes(ProductRecord::Length);
    r.encode(bytes.data());
    return bytes;
  };
  for (unsigned seed = 1; seed <= 8; ++seed) {
    TempFolder folder;
    Company c;
    ProductFile products;
    products.open(c.name());
    RecordingSink sink;
    const InsertPolicy policy = toldInsertPolicy();
    std::vector<ProductRecord> model;  // record n at model[n - 1]
    std::mt19937 rng(seed);
    auto random = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto product = [&] {
      ProductRecord r = testing::makeProduct(codes[random(std::size(codes))], "ad " + std::to_string(rng()), random(8));
      r.ChainPrev = r.ChainNext = static_cast<std::int16_t>(1 + random(5));  // never trusted
      return r;
    };
    for (int step = 0; step < 120; ++step) {
      std::vector<std::int16_t> live;
      for (std::size_t i = 0; i < model.size(); ++i)
        if (model[i].Kind >= 0) live.push_back(static_cast<std::int16_t>(i + 1));
      const int action = live.empty() ? 0 : random(4);
      if (action == 0) {
        ProductRecord r = product();
        const std::int16_t n = products.append(r, policy, &sink);
        ASSERT_EQ(n, static_cast<int>(model.size() + 1));
        r.RecordNumber = n;
        model.push_back(r);
      } else {
        const std::int16_t n = live[random(static_cast<int>(live.size()))];
        if (action == 3) {
          ASSERT_EQ(products.remove(n, &sink), ProductFile::DeleteResult::Deleted);
          model[n - 1].Kind = -1;
        } else {
          ProductRecord r = product();
          if (action == 1) r.Code = model[n - 1].Code;
          ASSERT_EQ(products.save(n, r, policy, &sink), ProductFile::SaveResult::Saved);
          model[n - 1] = r;
        }
      }
      const testing::ChainReport report = checkChain(c.files());
      ASSERT_TRUE(report.sound) << "seed " << seed << " step " << step << ": " << report.problems.front();
      ASSERT_EQ(products.count(), static_cast<int>(model.size()));
      for (std::size_t i = 0; i < model.size(); ++i)
        ASSERT_EQ(withoutPointers(c.record(static_cast<std::int16_t>(i + 1))), withoutPointers(model[i]))
            << "seed " << seed << " step " << step << " record " << i + 1;
    }
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(sink.beeps, 0);
  }
}

// Record numbers are 16-bit: a full file takes no record 32768.
TEST(ProductFileTest, AFullFileTakesNoNewRecord) {
  TempFolder folder;
  folder.write("KLVR952.DAT", std::vector<std::uint8_t>(static_cast<std::size_t>(kMaxRecords16) * 512, 0));
  ProductFile products;
  products.open("KLVR952");
  EXPECT_EQ(products.append(testing::makeProduct("A"), quietInsertPolicy(), nullptr), 0);
  EXPECT_EQ(products.count(), kMaxRecords16);
  EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), static_cast<std::size_t>(kMaxRecords16) * 512);
}

TEST(ProductFileTest, TheNameSearchGoesOnAfterTheCurrentRecordAndWrapsRound) {
  TempFolder folder;
  Company c;
  c.addAll({{"A", "Kasnak"}, {"B", "Mil"}, {"C", "kasnak yatağı", 2}, {"D", "Büyük kasnak"}});
  ProductFile products;
  products.open(c.name());
  const std::string kasnak = upperCase(w("kasnak"));
  struct Case {
    std::int16_t current;
    int tab;
    std::int16_t found;
  };
  for (const Case& k : {Case{1, 1, 4}, Case{2, 1, 4}, Case{4, 1, 1}, Case{0, 1, 1}, Case{1, kTabAll, 3},
                        Case{3, 2, 3}, Case{2, 5, 0}})
    EXPECT_EQ(products.findByName(kasnak, k.current, k.tab), k.found) << k.current << " " << k.tab;
  EXPECT_EQ(products.findByName("", 1, 1), 2);  // an empty text is in every name
}

TEST(ProductFileTest, TheFirstLiveRecordFromAPlaceOn) {
  TempFolder folder;
  Company c;
  c.addAll({{"A", "", -1}, {"B"}, {"C", "", -1}, {"D", "", 0}, {"E", "", -1}});
  ProductFile products;
  products.open(c.name());
  for (auto [from, live] : {std::pair{0, 2}, {1, 2}, {2, 2}, {3, 4}, {5, 0}, {6, 0}})
    EXPECT_EQ(products.liveFrom(static_cast<std::int16_t>(from)), live) << from;
}

// A whole-file job runs while the window's files are closed; they are opened again and counted afresh,
// and a file that cannot be opened again is told in the result, not thrown.
TEST(ProductFileTest, AReplacementRunsOnClosedFilesAndOpensThemAgain) {
  TempFolder folder;
  Company().addAll({{"B"}, {"A"}});
  ProductFile products;
  products.open("KLVR952");
  const ProductFile::Replaced done = products.replace(
      [&](const std::string& company) {
        EXPECT_FALSE(products.isOpen());
        std::vector<std::uint8_t> one(ProductRecord::Length);
        testing::makeProduct("C").encode(one.data());
        return replaceProductFile(company, one, InsertPolicy{});
      },
      ProductFile::IndexRule::Apply);
  EXPECT_TRUE(done.job.replaced);
  EXPECT_FALSE(done.reopenFailure);
  ASSERT_EQ(products.count(), 1);
  EXPECT_EQ(trimView(products.read(1).Code.view()), "C");

  testing::FailOn locked(FileOp::Open, "KLVR952.DAT", EACCES);
  const ProductFile::Replaced refused =
      products.replace([](const std::string&) { return ProductFileReplacement{}; }, ProductFile::IndexRule::Apply);
  EXPECT_TRUE(refused.reopenFailure);
  EXPECT_FALSE(products.isOpen());
}

}  // namespace
}  // namespace kv
