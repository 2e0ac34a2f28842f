// The record-order scan with which the main window puts a record on the screen.
#include <gtest/gtest.h>

#include "common/product_file.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

struct Scan {
  std::int16_t current;
  int direction;
  RecordScan out;
};

Scan scan(Company& c, int tab, std::int16_t current, int direction) {
  ProductFile products;
  products.open(c.name());
  Scan s{current, direction, {}};
  s.out = products.scanToFitting(tab, s.current, s.direction);
  return s;
}

class RecordScanTest : public ::testing::Test {
 protected:
  TempFolder folder;
  Company c;
};

TEST_F(RecordScanTest, AFittingRecordIsShownWithoutStepping) {
  c.add("A", "", 1);
  c.add("B", "", 2);
  auto s = scan(c, 2, 2, 1);
  EXPECT_TRUE(s.out.found);
  EXPECT_EQ(s.current, 2);
  EXPECT_FALSE(s.out.disableNext);
  EXPECT_FALSE(s.out.disablePrevious);
  EXPECT_EQ(s.out.steps, 1);
}

TEST_F(RecordScanTest, StepsForwardToTheNextRecordOfTheTab) {
  c.addAll({{"A", "", 1}, {"B", "", 1}, {"C", "", 2}, {"D", "", 1}});
  auto s = scan(c, 2, 1, 1);
  EXPECT_TRUE(s.out.found);
  EXPECT_EQ(s.current, 3);
  EXPECT_EQ(s.direction, 1);
}

TEST_F(RecordScanTest, ReversesAtTheLastRecordAndFindsTheNearestBefore) {
  c.addAll({{"A", "", 2}, {"B", "", 2}, {"C", "", 1}, {"D", "", 1}, {"E", "", 1}});
  auto s = scan(c, 2, 3, 1);
  EXPECT_TRUE(s.out.found);
  EXPECT_EQ(s.current, 2);
  EXPECT_EQ(s.direction, -1);
  EXPECT_TRUE(s.out.disableNext);
  EXPECT_FALSE(s.out.disablePrevious);
}

TEST_F(RecordScanTest, ReversesAtTheFirstRecord) {
  c.addAll({{"A", "", 1}, {"B", "", 1}, {"C", "", 2}});
  auto s = scan(c, 2, 2, -1);
  EXPECT_TRUE(s.out.found);
  EXPECT_EQ(s.current, 3);
  EXPECT_TRUE(s.out.disablePrevious);
  // Stepping onto the last record counts as reaching the end: the direction turns back again.
  EXPECT_TRUE(s.out.disableNext);
  EXPECT_EQ(s.direction, -1);
}

TEST_F(RecordScanTest, KindZeroFitsOnlyTheAllTabAndDeletedRecordsNever) {
  c.addAll({{"A", "", 0}, {"B", "", -1}, {"C", "", 3}});
  EXPECT_EQ(scan(c, kTabAll, 1, 1).current, 1);
  EXPECT_EQ(scan(c, kTabAll, 2, 1).current, 3);
  auto s = scan(c, 1, 1, 1);
  EXPECT_FALSE(s.out.found);
  EXPECT_EQ(s.current, 0);
}

TEST_F(RecordScanTest, NoFittingRecordBlanksAfterTwiceTheCountReads) {
  c.addAll({{"A", "", 1}, {"B", "", 1}, {"C", "", 1}});
  auto s = scan(c, 5, 2, 1);
  EXPECT_FALSE(s.out.found);
  EXPECT_EQ(s.current, 0);
  EXPECT_EQ(s.out.steps, 7);
}

TEST_F(RecordScanTest, AOneRecordFileThatDoesNotFitDisablesBothButtons) {
  c.add("A", "", 1);
  auto s = scan(c, 2, 1, 1);
  EXPECT_FALSE(s.out.found);
  EXPECT_EQ(s.current, 1);
  EXPECT_TRUE(s.out.disablePrevious);
  EXPECT_TRUE(s.out.disableNext);
}

TEST_F(RecordScanTest, ARecordNumberBeyondTheFileIsBroughtDownAndAnEmptyFileReadsNothing) {
  c.addAll({{"A", "", 1}, {"B", "", 1}});
  auto s = scan(c, 1, 9, 1);
  EXPECT_TRUE(s.out.found);
  EXPECT_EQ(s.current, 2);

  TempFolder other;
  Company empty;
  auto e = scan(empty, 1, 3, 1);
  EXPECT_FALSE(e.out.found);
  EXPECT_EQ(e.current, 0);
  EXPECT_EQ(e.out.steps, 1);
}

}  // namespace
}  // namespace kv
