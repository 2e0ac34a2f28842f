// Finding a code through the alphabetic index.
#include <gtest/gtest.h>

#include "common/code_search.h"
#include "common/product_file.h"
#include "common/files.h"
#include "common/text.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

class CodeSearchTest : public ::testing::Test {
 protected:
  CodeSearchResult find(std::string_view typedUtf8, CodeMatch m, int kindOnly = -1) {
    ProductFile products;
    products.open(c.name());
    return products.findByCode(upperCase(w(typedUtf8)), m, [&](const ProductRecord& r) {
      return r.Kind >= 0 && (kindOnly < 0 || r.Kind == kindOnly);
    });
  }
  TempFolder folder;
  Company c;
};

TEST_F(CodeSearchTest, UpperCaseBucketComesBeforeLowerCase) {
  c.addAll({{"ayna"}, {"AKS"}, {"B1"}});
  auto r = find("a", CodeMatch::Prefix);
  EXPECT_EQ(r.status, CodeSearchResult::Status::Found);
  EXPECT_EQ(r.record, 2);
  auto exact = find("AYNA", CodeMatch::Exact);
  EXPECT_EQ(exact.record, 1);
}

TEST_F(CodeSearchTest, TheTurkishDottedIFindsBothCases) {
  c.addAll({{"ibre"}, {"İNCE"}});
  EXPECT_EQ(find("inc", CodeMatch::Prefix).record, 2);
  EXPECT_EQ(find("İBRE", CodeMatch::Exact).record, 1);
}

TEST_F(CodeSearchTest, DeletedAndUnacceptedRecordsAreSkippedAlongTheChain) {
  c.addAll({{"K1", "", 3}, {"K2", "", 2}, {"K3", "", 2}});
  auto rec = c.record(2);
  rec.Kind = -1;
  c.write(2, rec);
  EXPECT_EQ(find("K", CodeMatch::Prefix, 2).record, 3);
  EXPECT_EQ(find("K2", CodeMatch::Exact).status, CodeSearchResult::Status::NotFound);
  EXPECT_EQ(find("ZZ", CodeMatch::Prefix).status, CodeSearchResult::Status::NotFound);
  EXPECT_EQ(find("", CodeMatch::Prefix).status, CodeSearchResult::Status::NotFound);
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

TEST_F(CodeSearchTest, AnExactLookupFindsACodeThatNoChainHolds) {
  c.add("A1");
  auto r = c.append(testing::makeProduct("€URO"));
  EXPECT_EQ(find("€uro", CodeMatch::Exact).record, r);
  EXPECT_EQ(find("€U", CodeMatch::Prefix).status, CodeSearchResult::Status::NotFound);
  auto rec = c.record(r);
  rec.Kind = -1;
  c.write(r, rec);
  EXPECT_EQ(find("€URO", CodeMatch::Exact).status, CodeSearchResult::Status::NotFound);
}

}  // namespace
}  // namespace kv
