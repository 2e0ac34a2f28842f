// The company lock: a company is one program's at a time, for every user of a shared folder, and a lock
// file that cannot be used refuses the company rather than let it go unlocked; the shared backups are one
// command's at a time.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/company_lock.h"
#include "files/files.h"
#include "records/product_file_replacement.h"
#include "support/company.h"
#include "support/other_program.h"

namespace kv::testing {
namespace {

// A lock file that a user cannot lock refuses the company, never letting it go unlocked: a folder, a link
// or a pipe in its place, one this user cannot read, or may only read while nobody holds it, and one that is
// not there in a folder this user may not write; and one made by a first program whose user's umask gave it
// no write access for others, or by an older program, still keeps a second user off, as does a POSIX lock
// that a file server takes on it for its clients. (What the start-up dialog says of each: its own tests.)
TEST(CompanyLock, ALockFileThatCannotBeUsedRefusesTheCompanyOrKeepsItHeld) {
  namespace fs = std::filesystem;
  TempFolder folder;
  {
    Company c;
    c.addAll({{"A", "Elma"}});
  }
  const fs::path lock = folder.path() / "KLVR952.~LCK";
  const struct {
    const char* name;
    std::function<void()> make;
    FileError::Kind refused;
    bool byAFileServer = false;  // the first program holds a POSIX lock of the whole file, not the company
  } cases[] = {
      {"AFolder", [&] { fs::create_directory(lock); }, FileError::Kind::LockUnusable},
      {"ALinkLeadingOutOfTheFolder", [&] { fs::create_symlink(folder.path() / "elsewhere" / "lock", lock); },
       FileError::Kind::LockUnusable},
      {"APipe", [&] { mkfifo(lock.c_str(), 0666); }, FileError::Kind::LockUnusable},
      {"UnreadableToTheUser",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms::none);
       },
       FileError::Kind::LockUnusable},
      {"HeldByAUserWhoseUmaskLeftItClosed", [] { umask(077); }, FileError::Kind::Locked},
      {"HeldAndWritableOnlyByItsOwner",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                   fs::perms::others_read);
       },
       FileError::Kind::Locked},
      {"ReadableOnlyAndHeldByNobody",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms(0644));
       },
       FileError::Kind::LockUnusable},
      {"LockedByAFileServer",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms(0666));
       },
       FileError::Kind::Locked, true},
      {"NotThereInAFolderTheUserMayNotWrite",
       [&] { fs::permissions(folder.path(), fs::perms(0755)); },
       FileError::Kind::LockNotMade},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A lock file that can be used is held by a first program, made as the case says.
    const bool held = c.refused == FileError::Kind::Locked;
    std::optional<FirstProgram> first;
    if (held) {
      first.emplace([&](const std::function<void()>& pause) {
        c.make();
        std::optional<CompanyLock> company;
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        if (!c.byAFileServer) company.emplace("KLVR952");
        else if (fcntl(open(lock.c_str(), O_RDWR), F_SETLK, &whole) != 0) _exit(3);
        pause();
      });
    } else {
      c.make();
    }
    EXPECT_EQ(refusalAsAnotherUser([] { CompanyLock("KLVR952"); }), c.refused);
    if (first) {
      EXPECT_EQ(first->finish(), 0);
    }
    fs::remove(lock);
  }
}

// Two programs that replace two companies of one folder at the same moment make their steps onto the shared
// backups one after the other: the backups are one company's set, never a mix. The first is held between
// its two backups while the second comes to its own.
TEST(CompanyLock, TwoCompaniesReplacedAtOnceLeaveTheBackupsOneCompanysSet) {
  TempFolder folder;
  using Backups = std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>>;
  std::map<std::string, Backups> old;
  for (const std::string company : {"A", "B"}) {
    Company(company).add(company);
    old[company] = {folder.bytes(company + ".DAT"), folder.bytes(company + ".ABC")};
  }
  const auto replace = [](const char* company) {
    std::vector<std::uint8_t> records(ProductRecord::Length);
    makeProduct("K").encode(records.data());
    return replaceProductFile(company, records, quietInsertPolicy()).replaced;
  };
  const FirstProgram first([&](const std::function<void()>& pause) {
    struct PauseBetweenTheBackups : FileFaults {
      std::function<void()> pause;
      std::optional<FileFault> fail(FileOp op, std::string_view name, std::int32_t) override {
        if (op == FileOp::Rename && name == "952KLVR.ABC") pause();
        return std::nullopt;
      }
    } between;
    between.pause = pause;
    setFileFaults(&between);
    if (!replace("A")) _exit(1);
  });
  ASSERT_GT(first.pid, 0);
  const pid_t second = fork();
  if (second == 0) _exit(replace("B") ? 0 : 1);
  usleep(300000);  // the second comes to its backups meanwhile
  EXPECT_EQ(first.finish(), 0);
  int status = 0;
  ASSERT_EQ(waitpid(second, &status, 0), second);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const Backups now = {folder.bytes("952KLVR.DAT"), folder.bytes("952KLVR.ABC")};
  EXPECT_TRUE(now == old["A"] || now == old["B"]);
}

}  // namespace
}  // namespace kv::testing
