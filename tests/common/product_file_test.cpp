// The product-file engine: browsing along the chain against a plain reference, and the rules of saving,
// deleting and the name search.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "common/product_file.h"
#include "common/text.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::checkChain;
using testing::Company;
using testing::TempFolder;

// The record a browsing step should reach, worked out from the chain order alone.
std::int16_t expectedStep(const std::vector<std::int16_t>& order, const Company& c, ChainCommand command,
                          std::int16_t from, int tab) {
  auto fits = [&](std::int16_t r) { return fitsTab(c.record(r).Kind, tab); };
  auto firstFitting = [&](auto begin, auto end) {
    auto it = std::find_if(begin, end, fits);
    return it == end ? std::int16_t{0} : *it;
  };
  switch (command) {
    case ChainCommand::First: return firstFitting(order.begin(), order.end());
    case ChainCommand::Last: return firstFitting(order.rbegin(), order.rend());
    default: break;
  }
  auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return 0;  // not on the chain (deleted, or never linked)
  std::int16_t r = command == ChainCommand::Next ? firstFitting(at + 1, order.end())
                                                 : firstFitting(std::make_reverse_iterator(at), order.rend());
  // At the chain's end the record shown stays, when it fits.
  return r ? r : (fits(from) ? from : 0);
}

TEST(ProductFileTest, ChainStepsReachTheNearestFittingRecordInCodeOrder) {
  const char* const codes[] = {"A1", "a1", "B", "Ç2", "ç", "İNCE", "ıh", "M", "M", "Z9", "0", "€X", "~"};
  for (unsigned seed = 1; seed <= 8; ++seed) {
    TempFolder folder;
    Company c;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pick(0, std::size(codes) - 1), kind(0, 7), coin(0, 4);
    for (int i = 0; i < 40; ++i) c.add(codes[pick(rng)], "", kind(rng));
    ProductFile products;
    products.open(c.name());
    for (std::int16_t r = 1; r <= c.count(); ++r)
      if (coin(rng) == 0) products.remove(r, nullptr);
    const std::vector<std::int16_t> order = checkChain(c.files()).order;
    for (int tab = 1; tab <= kTabAll; ++tab)
      for (auto command : {ChainCommand::First, ChainCommand::Previous, ChainCommand::Next, ChainCommand::Last}) {
        for (std::int16_t from = 0; from <= c.count(); ++from) {
          const ChainStep step = products.step(command, from, tab);
          const std::int16_t want = expectedStep(order, c, command, from, tab);
          ASSERT_EQ(step.status == ChainStep::Status::Found ? step.record : 0, want)
              << "seed " << seed << " tab " << tab << " command " << static_cast<int>(command) << " from " << from;
          if (want) {
            EXPECT_EQ(step.found.Code, c.record(want).Code);
          }
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
  EXPECT_EQ(step.previous, ButtonChange::Disable);
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

TEST(ProductFileTest, ASaveKeepsTheStoredPointersUnlessTheCodeChanges) {
  TempFolder folder;
  Company c;
  c.addAll({{"A1"}, {"B1"}, {"C1"}});
  ProductFile products;
  products.open(c.name());
  ProductRecord r = products.read(2);
  r.Name = "yeni";
  r.ChainPrev = r.ChainNext = 3;  // a stale buffer's pointers are never written
  ASSERT_EQ(products.save(2, r, mainWindowInsertPolicy(true), nullptr), ProductFile::SaveResult::Saved);
  EXPECT_EQ(c.record(2).ChainPrev, 1);
  EXPECT_EQ(c.record(2).ChainNext, 3);
  EXPECT_EQ(c.record(2).Name, r.Name);

  r.Code = "D1";
  ASSERT_EQ(products.save(2, r, mainWindowInsertPolicy(true), nullptr), ProductFile::SaveResult::Saved);
  EXPECT_EQ(checkChain(c.files()).order, (std::vector<std::int16_t>{1, 3, 2}));

  ProductRecord bad = products.read(1);
  bad.ChainNext = 40;
  c.write(1, bad);
  const auto dat = folder.bytes("KLVR952.DAT"), abc = folder.bytes("KLVR952.ABC");
  bad.Code = "E1";
  EXPECT_EQ(products.save(1, bad, mainWindowInsertPolicy(true), nullptr), ProductFile::SaveResult::PointerError);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), dat);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);
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

}  // namespace
}  // namespace kv
