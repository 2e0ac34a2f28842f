// Finding a code through the alphabetic index.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "base/collation.h"
#include "base/text.h"
#include "files/files.h"
#include "records/code_search.h"
#include "records/product_file.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

class CodeSearchTest : public ::testing::Test {
 protected:
  CodeSearchResult find(std::string_view typedUtf8, CodeMatch m) {
    ProductFile products;
    products.open(c.name());
    return products.findByCode(upperCase(w(typedUtf8)), m, [](const ProductRecord& r) { return r.Kind >= 0; });
  }
  TempFolder folder;
  Company c;
};

// On random files, with deleted records and codes outside the collation among them, a search finds what a
// plain look along the chain finds: the first accepted record whose code (trimmed, upper-cased) equals or
// begins with the text, whatever the letter case of its first character; an exact lookup then also looks
// through the records that no chain holds, so that the duplicate check sees a code outside the collation.
TEST(CodeSearchProperty, FindsWhatAPlainLookAlongTheChainFinds) {
  const char* const codes[] = {"A1", "a1", "AB", "ab2", "B", "Ç2", "ç", "İNCE", "inç", "I", "ıh", "M", "m",
                               "Z9", "0", "€X", "€", "é1", "Ø"};
  for (unsigned seed = 1; seed <= 8; ++seed) {
    TempFolder folder;
    Company c;
    std::mt19937 rng(seed);
    auto random = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int i = 0; i < 30; ++i) {
      const char* code = codes[random(std::size(codes))];
      if (bucketOf(w(code)) == 0)
        c.append(testing::makeProduct(code, "", random(4)));
      else
        c.add(code, "", random(4));
    }
    ProductFile products;
    products.open(c.name());
    for (std::int16_t r = 1; r <= c.count(); ++r)
      if (random(5) == 0) products.remove(r, nullptr);
    const std::vector<std::int16_t> order = testing::checkChain(c.files()).order;
    std::vector<std::int16_t> inRecordOrder(static_cast<std::size_t>(c.count()));
    std::iota(inRecordOrder.begin(), inRecordOrder.end(), std::int16_t{1});

    for (const char* typed : codes)
      for (std::size_t length : {std::size_t{1}, std::size_t{20}})
        for (CodeMatch match : {CodeMatch::Exact, CodeMatch::Prefix})
          for (int kind : {-1, 2}) {
            const std::string text = upperCase(w(typed)).substr(0, length);
            auto accepted = [&](const ProductRecord& r) { return r.Kind >= 0 && (kind < 0 || r.Kind == kind); };
            auto fits = [&](std::int16_t r) {
              const ProductRecord rec = c.record(r);
              const std::string code = upperCase(trim(rec.Code.view()));
              return accepted(rec) && (match == CodeMatch::Exact ? code == text : code.starts_with(text));
            };
            auto want = std::find_if(order.begin(), order.end(), fits);
            std::int16_t expected = want == order.end() ? 0 : *want;
            if (!expected && match == CodeMatch::Exact) {
              auto any = std::find_if(inRecordOrder.begin(), inRecordOrder.end(), fits);
              expected = any == inRecordOrder.end() ? 0 : *any;
            }
            const CodeSearchResult found = products.findByCode(text, match, accepted);
            ASSERT_EQ(found.status == CodeSearchResult::Status::Found ? found.record : 0, expected)
                << "seed " << seed << " text " << toUtf8(text) << " exact " << (match == CodeMatch::Exact)
                << " kind " << kind;
          }
    // An empty text finds nothing.
    EXPECT_EQ(products.findByCode("", CodeMatch::Prefix, [](const ProductRecord&) { return true; }).status,
              CodeSearchResult::Status::NotFound);
  }
}

TEST_F(CodeSearchTest, ALoopedChainLocksInsteadOfHanging) {
  c.addAll({{"M1"}, {"M2"}, {"M3"}});
  auto rec = c.record(2);
  rec.ChainNext = 1;
  c.write(2, rec);
  EXPECT_EQ(find("MX", CodeMatch::Prefix).status, CodeSearchResult::Status::Locked);
}

TEST_F(CodeSearchTest, APointerOutsideTheFileEndsTheWalk) {
  c.addAll({{"M1"}, {"M2"}, {"M3"}});
  auto rec = c.record(1);
  rec.ChainNext = 3000;
  c.write(1, rec);
  EXPECT_EQ(find("M3", CodeMatch::Exact).status, CodeSearchResult::Status::NotFound);
}

}  // namespace
}  // namespace kv
