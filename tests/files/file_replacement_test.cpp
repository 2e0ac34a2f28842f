// Safe replacement of data files: on success exactly the files the original left; on failure nothing
// live changes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "files/command_recovery.h"
#include "files/company_lock.h"
#include "files/file_command.h"
#include "files/file_replacement.h"
#include "files/files.h"
#include "support/company.h"
#include "support/file_faults.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::vector<std::uint8_t> bytesOf(const char* s) { return std::vector<std::uint8_t>(s, s + std::strlen(s)); }

// The files of the folder but the company's lock file, which lives as long as the replacement holding it.
std::size_t fileCount() { return listFiles("*").size() - listFiles("*.~LCK").size(); }

void writeThrough(const std::string& name, const char* content) {
  int f = nextFreeFileNumber();
  openRandom(f, name, 1);
  auto b = bytesOf(content);
  for (std::size_t i = 0; i < b.size(); ++i) putRecord(f, static_cast<std::int32_t>(i + 1), {&b[i], 1});
  closeFile(f);
}

// The new files keep the mode of the files they replace, whatever the umask; and when the live file is a link
// to a file elsewhere, the backup holds the old content itself, never a second name of the link.
TEST(FileReplacement, NewContentTakesTheNameAndTheModeAndTheOldBecomesTheBackup) {
  for (const bool linked : {false, true}) {
    SCOPED_TRACE(linked ? "linked" : "plain");
    TempFolder elsewhere;
    TempFolder folder;
    if (linked) {
      elsewhere.write("data", bytesOf("old data"));
      fs::create_symlink(elsewhere.path() / "data", folder.path() / "KLVR952.DAT");
    } else {
      folder.write("KLVR952.DAT", bytesOf("old data"));
    }
    folder.write("KLVR952.ABC", bytesOf("old index"));
    folder.write("952KLVR.DAT", bytesOf("older backup"));
    fs::permissions(folder.path() / "KLVR952.DAT", fs::perms(0666));
    fs::permissions(folder.path() / "KLVR952.ABC", fs::perms(0640));
    const mode_t umaskBefore = umask(022);
    FileReplacement r("KLVR952");
    writeThrough(r.newContentFor("KLVR952.DAT", "952KLVR.DAT"), "new data");
    writeThrough(r.newContentFor("KLVR952.ABC", "952KLVR.ABC"), "new index");
    ASSERT_TRUE(r.commit()) << r.error()->what();
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), bytesOf("new data"));
    EXPECT_EQ(folder.bytes("KLVR952.ABC"), bytesOf("new index"));
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), bytesOf("old data"));
    EXPECT_EQ(folder.bytes("952KLVR.ABC"), bytesOf("old index"));
    EXPECT_FALSE(fs::is_symlink(folder.path() / "952KLVR.DAT"));
    EXPECT_EQ(fileCount(), 4u);  // no temporary file is left behind
    EXPECT_EQ(fs::status(folder.path() / "KLVR952.DAT").permissions(), fs::perms(0666));
    EXPECT_EQ(fs::status(folder.path() / "KLVR952.ABC").permissions(), fs::perms(0640));
    umask(umaskBefore);
  }
}

TEST(FileReplacement, AnOpenTargetIsRefusedBeforeAnythingChanges) {
  TempFolder folder;
  folder.write("KLVR952.DAT", bytesOf("old data"));
  folder.write("952KLVR.DAT", bytesOf("older backup"));
  int held = nextFreeFileNumber();
  openRandom(held, "KLVR952.DAT", 512);
  FileReplacement r("KLVR952");
  writeThrough(r.newContentFor("KLVR952.DAT", "952KLVR.DAT"), "new data");
  EXPECT_FALSE(r.commit());
  EXPECT_EQ(r.error()->fileName(), "KLVR952.DAT");
  closeFile(held);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), bytesOf("old data"));
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), bytesOf("older backup"));
  EXPECT_EQ(fileCount(), 2u);
}

// A step that fails before the intent is ready leaves every file as it was, the backups included; one
// after it is tried again, and when the disk goes on refusing, the command waits for the next opening of
// the company, which completes it. Never a mix of the two. A backup the user may not replace (another
// user's, in a folder whose sticky bit keeps it theirs) keeps its content, and the command completes
// without it, saying so.
TEST(FileReplacement, AStepThatFailsEndsBeforeOrAfterItNeverBetweenAndNamesTheFile) {
  struct Case {
    FileOp op;
    const char* faultOn;  // "" for every call of the op
    int times;            // 0: the fault stays
    const char* failed;
    bool after;        // the command completed (at once, or at the next opening)
    bool unfinished;   // it waited for the next opening
    FileFault fault = {ENOSPC};
    const char* notRenewed = "";  // the backup that keeps what it held
  };
  const Case cases[] = {
      {FileOp::Flush, "", 1, "KLVR952.DAT", false, false},            // the new data cannot reach the disk
      {FileOp::Copy, "", 1, "952KLVR.DAT", false, false},             // the old data cannot be kept aside
      {FileOp::Copy, "", 1, "", true, false, {EPERM, true}},          // a file system without second names: copied
      {FileOp::Write, "KLVR952.~INT", 0, "KLVR952.~INT", false, false},  // the intent cannot be written
      {FileOp::Rename, "952KLVR.ABC", 1, "", true, false},            // a backup's rename fails once: tried again
      {FileOp::Rename, "KLVR952.ABC", 0, "KLVR952.ABC", true, true},   // the new index cannot take its name
      {FileOp::Rename, "952KLVR.DAT", 0, "952KLVR.DAT", true, true},   // nor the first backup
      {FileOp::Rename, "952KLVR.DAT", 0, "", true, false, {EPERM, true}, "952KLVR.DAT"},  // another user's
  };
  for (const Case& c : cases) {
    TempFolder folder;
    folder.write("KLVR952.DAT", bytesOf("old data"));
    folder.write("KLVR952.ABC", bytesOf("old index"));
    folder.write("952KLVR.DAT", bytesOf("older data"));
    folder.write("952KLVR.ABC", bytesOf("older index"));
    FileReplacement r("KLVR952");
    writeThrough(r.newContentFor("KLVR952.DAT", "952KLVR.DAT"), "new data");
    writeThrough(r.newContentFor("KLVR952.ABC", "952KLVR.ABC"), "new index");
    {
      testing::FailOn fault(c.op, c.faultOn, c.fault, 1, c.times);
      EXPECT_EQ(r.commit(), !*c.failed) << c.failed;
    }
    if (*c.failed) {
      ASSERT_TRUE(r.error());
      EXPECT_EQ(r.error()->fileName(), c.failed);
      EXPECT_EQ(r.error()->systemError(), ENOSPC);
      EXPECT_EQ(r.error()->kind() == FileError::Kind::Unfinished, c.unfinished) << c.failed;
    }
    if (c.unfinished) {
      // The company's files wait: nothing opens them, no command runs on them, until it is opened again.
      EXPECT_THROW(FileHandle("KLVR952.DAT", 1), FileError);
      EXPECT_TRUE(isUnfinished("KLVR952"));
      EXPECT_EQ(recoverInterruptedCommand("KLVR952").outcome, InterruptedCommand::Outcome::Completed);
      EXPECT_FALSE(isUnfinished("KLVR952"));
    }
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), bytesOf(c.after ? "new data" : "old data")) << c.failed;
    EXPECT_EQ(folder.bytes("KLVR952.ABC"), bytesOf(c.after ? "new index" : "old index")) << c.failed;
    const bool renewed = c.after && !*c.notRenewed;
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), bytesOf(renewed ? "old data" : "older data")) << c.failed;
    EXPECT_EQ(folder.bytes("952KLVR.ABC"), bytesOf(c.after ? "old index" : "older index")) << c.failed;
    EXPECT_EQ(fileCount(), 4u) << c.failed;
    const std::vector<FileError> notRenewed = takeBackupsNotRenewed();
    ASSERT_EQ(notRenewed.size(), *c.notRenewed ? 1u : 0u);
    if (*c.notRenewed) {
      EXPECT_EQ(notRenewed[0].fileName(), c.notRenewed);
    }
  }
}

// Where, among the file layer's calls, the last rename and the last sync of the folder came; a rename onto
// `failing` fails, and so does every sync of the folder, with `syncError`.
struct Journal : FileFaults {
  Journal() { setFileFaults(this); }
  ~Journal() override { setFileFaults(nullptr); }
  std::optional<FileFault> fail(FileOp op, std::string_view name, std::int32_t) override {
    const bool folderSync = op == FileOp::Flush && name == ".";
    ++calls;
    if (op == FileOp::Rename) lastRename = calls;
    if (folderSync) lastFolderSync = calls;
    if (folderSync) return FileFault{syncError, false, 0};
    if (op == FileOp::Rename && name == failing) return FileFault{EIO, false, 0};
    return std::nullopt;
  }
  int calls = 0, lastRename = 0, lastFolderSync = 0;
  std::string failing;
  int syncError = EINVAL;
};

// A folder that cannot be synced at all is no failure; one whose sync fails is one.
TEST(FileReplacement, TheFolderIsSyncedAfterTheRenamesOfACommit) {
  const struct {
    const char* failing;
    int syncError;
  } cases[] = {{"", EINVAL}, {"", EIO}};
  for (const auto& c : cases) {
    TempFolder folder;
    folder.write("KLVR952.DAT", bytesOf("old data"));
    folder.write("KLVR952.ABC", bytesOf("old index"));
    FileReplacement r("KLVR952");
    writeThrough(r.newContentFor("KLVR952.DAT", "952KLVR.DAT"), "new data");
    writeThrough(r.newContentFor("KLVR952.ABC", "952KLVR.ABC"), "new index");
    Journal journal;
    journal.failing = c.failing;
    journal.syncError = c.syncError;
    const bool succeeds = !*c.failing && c.syncError != EIO;
    EXPECT_EQ(r.commit(), succeeds);
    EXPECT_GT(journal.lastFolderSync, journal.lastRename) << c.failing;
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), bytesOf(succeeds ? "new data" : "old data"));
  }
}

TEST(FileReplacement, AnAbandonedReplacementLeavesNoTrace) {
  TempFolder folder;
  folder.write("KLVR952.DVZ", bytesOf("rates"));
  {
    FileReplacement r("KLVR952");
    writeThrough(r.newContentFor("KLVR952.DVZ", "952KLVR.DVZ"), "fewer rates");
  }
  EXPECT_EQ(listFiles("*"), std::vector<std::string>{"KLVR952.DVZ"});
}

TEST(FileReplacement, AMissingTargetSimplyAppearsAndKeepsTheOldBackup) {
  TempFolder folder;
  folder.write("952KLVR.REC", bytesOf("backup"));
  FileReplacement r("KLVR952");
  writeThrough(r.newContentFor("KLVR952.REC", "952KLVR.REC"), "lines");
  ASSERT_TRUE(r.commit());
  EXPECT_EQ(folder.bytes("KLVR952.REC"), bytesOf("lines"));
  EXPECT_EQ(folder.bytes("952KLVR.REC"), bytesOf("backup"));
}

TEST(FileReplacement, ARetiredFileKeepsItsContentAsTheBackupOrSimplyGoes) {
  TempFolder folder;
  folder.write("KLVR952.RCT", bytesOf("copy"));
  folder.write("952KLVR.RCT", bytesOf("older"));
  for (const char* backup : {"952KLVR.RCT", ""}) {
    FileReplacement r("KLVR952");
    r.retire("KLVR952.RCT", backup);
    ASSERT_TRUE(r.commit());
    EXPECT_FALSE(fileExists("KLVR952.RCT"));
    EXPECT_EQ(folder.bytes("952KLVR.RCT"), bytesOf("copy"));
    folder.write("KLVR952.RCT", {});
  }
}

}  // namespace
}  // namespace kv
