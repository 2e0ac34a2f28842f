// Replacing the product file as a whole: the new records linked as one-by-one insertion links them, the
// old files kept as the backups; a failure anywhere leaves every file as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <random>

#include "files/files.h"
#include "records/product_file_replacement.h"
#include "support/company.h"
#include "support/file_faults.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

// Random records as a job hands them over (pointers cleared), some without a bucket.
std::vector<std::uint8_t> randomRecords(std::mt19937& rng, int n) {
  std::vector<std::uint8_t> records(static_cast<std::size_t>(n) * ProductRecord::Length);
  for (int i = 0; i < n; ++i) {
    const int pick = static_cast<int>(rng() % 10);
    const std::string code = pick == 0 ? "" : pick == 1 ? "é1" : testing::randomTurkishCode(rng);
    testing::makeProduct(code, "ad").encode(records.data() + static_cast<std::size_t>(i) * ProductRecord::Length);
  }
  return records;
}

void writeOldFiles(const TempFolder& folder) {
  folder.write("KLVR952.DAT", std::vector<std::uint8_t>(1000, 7));
  folder.write("KLVR952.ABC", std::vector<std::uint8_t>(10, 8));
  folder.write("952KLVR.DAT", {1, 2, 3});
  folder.write("952KLVR.ABC", {4, 5});
}

TEST(ProductFileReplacement, TheNewFilesAreWhatInsertingEveryRecordGivesAndTheOldOnesTheBackups) {
  std::mt19937 rng(14);
  for (int n : {0, 1, 2, 37, 700}) {
    for (bool sorts : {false, true}) {
      TempFolder folder;
      writeOldFiles(folder);
      const std::vector<std::uint8_t> records = randomRecords(rng, n);
      InsertPolicy policy;
      policy.equalFirstGoesBefore = sorts;
      {
        Company reference("REF");
        for (int i = 0; i < n; ++i) {
          const std::size_t at = static_cast<std::size_t>(i) * ProductRecord::Length;
          putRecord(reference.dataFile(), i + 1, std::span(records).subspan(at, ProductRecord::Length));
          insertIntoAlphabeticIndex(reference.files(), static_cast<std::int16_t>(i + 1), policy, nullptr);
        }
      }
      const ProductFileReplacement result = replaceProductFile("KLVR952", records, policy);
      ASSERT_TRUE(result.replaced) << (result.failure ? result.failure->what() : "");
      EXPECT_EQ(result.written, n);
      EXPECT_EQ(folder.bytes("KLVR952.DAT"), folder.bytes("REF.DAT")) << n;
      EXPECT_EQ(folder.bytes("KLVR952.ABC"), folder.bytes("REF.ABC")) << n;
      EXPECT_EQ(folder.bytes("952KLVR.DAT"), std::vector<std::uint8_t>(1000, 7));
      EXPECT_EQ(folder.bytes("952KLVR.ABC"), std::vector<std::uint8_t>(10, 8));
      EXPECT_EQ(listFiles("*").size(), 6u);  // no temporary file left
      Company replaced;
      EXPECT_TRUE(testing::checkChain(replaced.files()).sound) << n;
    }
  }
}

TEST(ProductFileReplacement, AFailureAnywhereLeavesTheLiveFilesAndTheBackupsAndNamesTheLiveFile) {
  struct Case {
    FileOp op;
    const char* faultOn;
    int nth;
    const char* named;
    int shortWrite = -1;    // the write fails inside the system after so many bytes; refused when -1
  };
  const Case cases[] = {
      {FileOp::Open, "KLVR952.DAT.~new", 1, "KLVR952.DAT"},         // the temporary file cannot be made
      {FileOp::Write, "KLVR952.DAT.~new", 3, "KLVR952.DAT"},        // the records stop halfway
      {FileOp::Write, "KLVR952.DAT.~new", 2, "KLVR952.DAT", 5000},  // the disk fills inside a write
      {FileOp::Write, "KLVR952.DAT.~new", 90, "KLVR952.DAT"},       // the chain stops halfway
      {FileOp::Write, "KLVR952.ABC.~new", 50, "KLVR952.ABC"},       // the index stops halfway
      {FileOp::Copy, "KLVR952.ABC.~old", 1, "952KLVR.ABC"},         // the old index cannot go aside
  };
  std::mt19937 rng(952);
  const std::vector<std::uint8_t> records = randomRecords(rng, 300);
  for (const Case& c : cases) {
    TempFolder folder;
    writeOldFiles(folder);
    ProductFileReplacement result;
    {
      const FileFault how = c.shortWrite < 0 ? FileFault{ENOSPC, false, 0} : testing::inCall(ENOSPC, c.shortWrite);
      testing::FailOn fault(c.op, c.faultOn, how, c.nth, 1);
      result = replaceProductFile("KLVR952", records, InsertPolicy{});
      EXPECT_EQ(fault.failures(), 1) << c.faultOn;
    }
    EXPECT_FALSE(result.replaced);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->fileName(), c.named);
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), std::vector<std::uint8_t>(1000, 7)) << c.faultOn;
    EXPECT_EQ(folder.bytes("KLVR952.ABC"), std::vector<std::uint8_t>(10, 8)) << c.faultOn;
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), (std::vector<std::uint8_t>{1, 2, 3})) << c.faultOn;
    EXPECT_EQ(folder.bytes("952KLVR.ABC"), (std::vector<std::uint8_t>{4, 5})) << c.faultOn;
    EXPECT_EQ(listFiles("*").size(), 4u) << c.faultOn;
  }
}

TEST(ProductFileReplacement, RecordsThatAreNoWholeFileAreRefusedBeforeAnythingIsWritten) {
  TempFolder folder;
  writeOldFiles(folder);
  const std::vector<std::uint8_t> ragged(ProductRecord::Length + 3);
  const ProductFileReplacement result = replaceProductFile("KLVR952", ragged, InsertPolicy{});
  EXPECT_FALSE(result.replaced);
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->fileName(), "KLVR952.DAT");
  EXPECT_EQ(listFiles("*").size(), 4u);
}

}  // namespace
}  // namespace kv
