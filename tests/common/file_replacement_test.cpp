// Safe replacement of data files: on success exactly the files the original left; on failure nothing
// live changes.
#include <gtest/gtest.h>

#include <cstring>

#include "common/file_replacement.h"
#include "common/files.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::TempFolder;

std::vector<std::uint8_t> bytesOf(const char* s) { return std::vector<std::uint8_t>(s, s + std::strlen(s)); }

void writeThrough(const std::string& name, const char* content) {
  int f = nextFreeFileNumber();
  openRandom(f, name, 1);
  auto b = bytesOf(content);
  for (std::size_t i = 0; i < b.size(); ++i) putRecord(f, static_cast<std::int32_t>(i + 1), {&b[i], 1});
  closeFile(f);
}

TEST(FileReplacement, NewContentTakesTheNameAndTheOldBecomesTheBackup) {
  TempFolder folder;
  folder.write("KLVR952.DAT", bytesOf("old data"));
  folder.write("KLVR952.ABC", bytesOf("old index"));
  folder.write("952KLVR.DAT", bytesOf("older backup"));
  FileReplacement r;
  writeThrough(r.stage("KLVR952.DAT", "952KLVR.DAT"), "new data");
  writeThrough(r.stage("KLVR952.ABC", "952KLVR.ABC"), "new index");
  ASSERT_TRUE(r.commit()) << r.failure();
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), bytesOf("new data"));
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), bytesOf("new index"));
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), bytesOf("old data"));
  EXPECT_EQ(folder.bytes("952KLVR.ABC"), bytesOf("old index"));
  EXPECT_EQ(listFiles("*").size(), 4u);  // no temporary file is left behind
}

TEST(FileReplacement, AnOpenTargetIsRefusedBeforeAnythingChanges) {
  TempFolder folder;
  folder.write("KLVR952.DAT", bytesOf("old data"));
  folder.write("952KLVR.DAT", bytesOf("older backup"));
  int held = nextFreeFileNumber();
  openRandom(held, "KLVR952.DAT", 512);
  FileReplacement r;
  writeThrough(r.stage("KLVR952.DAT", "952KLVR.DAT"), "new data");
  EXPECT_FALSE(r.commit());
  EXPECT_EQ(r.failedFile(), "KLVR952.DAT");
  closeFile(held);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), bytesOf("old data"));
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), bytesOf("older backup"));
  EXPECT_EQ(listFiles("*").size(), 2u);
}

TEST(FileReplacement, AnAbandonedReplacementLeavesNoTrace) {
  TempFolder folder;
  folder.write("KLVR952.DVZ", bytesOf("rates"));
  {
    FileReplacement r;
    writeThrough(r.stage("KLVR952.DVZ", "952KLVR.DVZ"), "fewer rates");
  }
  EXPECT_EQ(listFiles("*"), std::vector<std::string>{"KLVR952.DVZ"});
}

TEST(FileReplacement, AMissingTargetSimplyAppearsAndKeepsTheOldBackup) {
  TempFolder folder;
  folder.write("952KLVR.REC", bytesOf("backup"));
  FileReplacement r;
  writeThrough(r.stage("KLVR952.REC", "952KLVR.REC"), "lines");
  ASSERT_TRUE(r.commit());
  EXPECT_EQ(folder.bytes("KLVR952.REC"), bytesOf("lines"));
  EXPECT_EQ(folder.bytes("952KLVR.REC"), bytesOf("backup"));
}

TEST(FileReplacement, TheWorkingCopyRuleMovesContentAndDeletesAnEmptyFile) {
  TempFolder folder;
  folder.write("KLVR952.RCT", bytesOf("copy"));
  folder.write("952KLVR.RCT", bytesOf("older"));
  EXPECT_TRUE(retireToBackup("KLVR952.RCT", "952KLVR.RCT"));
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), bytesOf("copy"));
  folder.write("KLVR952.RCT", {});
  EXPECT_TRUE(retireToBackup("KLVR952.RCT", "952KLVR.RCT"));
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), bytesOf("copy"));
}

}  // namespace
}  // namespace kv
