// The record-order scan with which the main window puts a record on the screen.
#include <gtest/gtest.h>

#include "records/product_file.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

RecordScan scan(Company& c, int tab, std::int16_t from, int direction) {
  ProductFile products;
  products.open(c.name());
  return products.scanToFitting(tab, from, direction);
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
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.record, 2);
  EXPECT_FALSE(s.metLast);
  EXPECT_FALSE(s.metFirst);
  EXPECT_EQ(s.steps, 1);
}

TEST_F(RecordScanTest, StepsForwardToTheNextRecordOfTheTab) {
  c.addAll({{"A", "", 1}, {"B", "", 1}, {"C", "", 2}, {"D", "", 1}});
  auto s = scan(c, 2, 1, 1);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.record, 3);
  EXPECT_EQ(s.direction, 1);
}

TEST_F(RecordScanTest, ReversesAtTheLastRecordAndFindsTheNearestBefore) {
  c.addAll({{"A", "", 2}, {"B", "", 2}, {"C", "", 1}, {"D", "", 1}, {"E", "", 1}});
  auto s = scan(c, 2, 3, 1);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.record, 2);
  EXPECT_EQ(s.direction, -1);
  EXPECT_TRUE(s.metLast);
  EXPECT_FALSE(s.metFirst);
}

TEST_F(RecordScanTest, ReversesAtTheFirstRecord) {
  c.addAll({{"A", "", 1}, {"B", "", 1}, {"C", "", 2}});
  auto s = scan(c, 2, 2, -1);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.record, 3);
  EXPECT_TRUE(s.metFirst);
  // Stepping onto the last record counts as meeting it: the direction turns back again.
  EXPECT_TRUE(s.metLast);
  EXPECT_EQ(s.direction, -1);
}

TEST_F(RecordScanTest, KindZeroFitsOnlyTheAllTabAndDeletedRecordsNever) {
  c.addAll({{"A", "", 0}, {"B", "", -1}, {"C", "", 3}});
  EXPECT_EQ(scan(c, kTabAll, 1, 1).record, 1);
  EXPECT_EQ(scan(c, kTabAll, 2, 1).record, 3);
  auto s = scan(c, 1, 1, 1);
  EXPECT_FALSE(s.found);
  EXPECT_EQ(s.record, 0);
}

TEST_F(RecordScanTest, NoFittingRecordBlanksAfterTwiceTheCountReads) {
  c.addAll({{"A", "", 1}, {"B", "", 1}, {"C", "", 1}});
  auto s = scan(c, 5, 2, 1);
  EXPECT_FALSE(s.found);
  EXPECT_EQ(s.record, 0);
  EXPECT_EQ(s.steps, 7);
}

TEST_F(RecordScanTest, AOneRecordFileThatDoesNotFitDisablesBothButtons) {
  c.add("A", "", 1);
  auto s = scan(c, 2, 1, 1);
  EXPECT_FALSE(s.found);
  EXPECT_EQ(s.record, 1);
  EXPECT_TRUE(s.metFirst);
  EXPECT_TRUE(s.metLast);
}

TEST_F(RecordScanTest, ARecordNumberBeyondTheFileIsBroughtDownAndAnEmptyFileReadsNothing) {
  c.addAll({{"A", "", 1}, {"B", "", 1}});
  auto s = scan(c, 1, 9, 1);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.record, 2);

  TempFolder other;
  Company empty;
  auto e = scan(empty, 1, 3, 1);
  EXPECT_FALSE(e.found);
  EXPECT_EQ(e.record, 0);
  EXPECT_EQ(e.steps, 1);
}

}  // namespace
}  // namespace kv
