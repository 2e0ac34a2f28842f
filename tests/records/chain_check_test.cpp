// The checked step of the service window: every numbered chain error on a file damaged just so, and on
// sound files the walk in either direction meets the chain exactly as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "base/collation.h"
#include "files/files.h"
#include "records/chain_check.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

void setPointers(Company& c, std::int16_t n, std::int16_t kind, std::int16_t prev, std::int16_t next) {
  ProductRecord r = c.record(n);
  r.Kind = kind;
  r.ChainPrev = prev;
  r.ChainNext = next;
  c.write(n, r);
}

TEST(ChainCheck, EachDamageGivesItsNumberedErrorAndLeavesTheStepWhereItStopped) {
  // Records 1 A, 2 B, 3 C linked in that order: the chain 1 -> 2 -> 3, its ends pointing to themselves.
  struct Case {
    const char* damage;
    std::function<void(Company&)> harm;
    ChainCommand command;
    std::int16_t from;
    int error;
    std::int16_t stoppedAt;
  };
  auto clearIndex = [](bool firsts, bool lasts) {
    return [=](Company& c) {
      for (int b = 1; b <= kBucketCount; ++b) {
        IndexEntry e = c.entry(b);
        if (firsts) e.First = 0;
        if (lasts) e.Last = 0;
        put(c.indexFile(), b, e);
      }
    };
  };
  // Marked deleted with the chain left standing, as a damaged file may hold them.
  auto deleteAllInPlace = [](Company& c) {
    for (std::int16_t r = 1; r <= 3; ++r) setPointers(c, r, -1, c.record(r).ChainPrev, c.record(r).ChainNext);
  };
  const Case cases[] = {
      {"empty index", clearIndex(true, true), ChainCommand::Next, 2, 1, 2},
      {"no bucket's last", clearIndex(false, true), ChainCommand::First, 2, 2, 2},
      {"deleted start, next 0", [](Company& c) { setPointers(c, 1, -1, 0, 0); }, ChainCommand::First, 3, 3, 0},
      {"every record deleted", deleteAllInPlace, ChainCommand::First, 2, 4, 3},
      {"ring of deleted, forwards",
       [](Company& c) {
         setPointers(c, 1, -1, 2, 2);
         setPointers(c, 2, -1, 1, 1);
       },
       ChainCommand::First, 3, 4, 2},
      {"deleted end, prev 0", [](Company& c) { setPointers(c, 3, -1, 0, 0); }, ChainCommand::Last, 1, 5, 0},
      {"every record deleted, back", deleteAllInPlace, ChainCommand::Last, 2, 6, 1},
      {"ring of deleted, backwards",
       [](Company& c) {
         setPointers(c, 3, -1, 2, 2);
         setPointers(c, 2, -1, 3, 3);
       },
       ChainCommand::Last, 1, 6, 2},
      {"number below the file", [](Company&) {}, ChainCommand::Previous, 0, 7, 1},
      {"number above the file", [](Company&) {}, ChainCommand::Next, 4, 8, 3},
      {"pointer outside the file", [](Company& c) { setPointers(c, 2, 1, 1, 99); }, ChainCommand::Next, 2, 9, 2},
      {"pointer to a deleted record", [](Company& c) { setPointers(c, 1, -1, 0, 0); }, ChainCommand::Previous, 2,
       10, 2},
  };
  for (const Case& k : cases) {
    TempFolder folder;
    Company c;
    c.addAll({{"A"}, {"B"}, {"C"}});
    k.harm(c);
    const CheckedStep step = checkedChainStep(c.files(), 3, k.command, k.from);
    EXPECT_EQ(step.error, k.error) << k.damage;
    EXPECT_EQ(step.record, k.stoppedAt) << k.damage;
  }
}

TEST(ChainCheck, OnSoundFilesTheStepsWalkTheChainBothWays) {
  std::mt19937 rng(111);
  for (int round = 0; round < 30; ++round) {
    TempFolder folder;
    Company c;
    const int n = 1 + static_cast<int>(rng() % 60);
    for (int i = 0; i < n; ++i) c.add(testing::randomTurkishCode(rng));
    for (int i = 0; i < n / 4; ++i)
      unlinkFromAlphabeticIndex(c.files(), static_cast<std::int16_t>(1 + rng() % n), UnlinkVariant::Delete, nullptr);
    const std::vector<std::int16_t> order = testing::checkChain(c.files()).order;
    const auto count = static_cast<std::int16_t>(n);
    auto walk = [&](ChainCommand start, ChainCommand onward) {
      std::vector<std::int16_t> seen;
      CheckedStep step = checkedChainStep(c.files(), count, start, 1);
      while (step.error == 0 && (seen.empty() || seen.back() != step.record)) {
        EXPECT_EQ(step.atStart, step.record == order.front());
        EXPECT_EQ(step.atEnd, step.record == order.back());
        EXPECT_EQ(step.chainOfOne, order.size() == 1);
        seen.push_back(step.record);
        step = checkedChainStep(c.files(), count, onward, step.record);
      }
      EXPECT_EQ(step.error, order.empty() ? 1 : 0);
      return seen;
    };
    EXPECT_EQ(walk(ChainCommand::First, ChainCommand::Next), order);
    std::vector<std::int16_t> back = walk(ChainCommand::Last, ChainCommand::Previous);
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, order);
  }
}

}  // namespace
}  // namespace kv
