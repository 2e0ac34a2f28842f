// Who may use the files the layer makes in a shared folder, and what a user may replace there: each case
// plays a second user (nobody, of the group nogroup), which only root can.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/company_lock.h"
#include "files/files.h"
#include "records/product_file_replacement.h"
#include "support/company.h"
#include "support/other_program.h"

namespace kv::testing {
namespace {

// The company's product file replaced by one record, as a sort or an import replaces it.
bool replacedByOneRecord() {
  std::vector<std::uint8_t> records(ProductRecord::Length);
  makeProduct("K", "Kalıp").encode(records.data());
  return replaceProductFile("KLVR952", records, quietInsertPolicy()).replaced;
}

// A shared folder is every user's: what one user's program makes there, or puts in place of a file, another
// user's program opens, whatever the first user's umask: a new company's first files in a group folder, and
// what a whole-file job (a sort) puts in place of a group's files, which keep their mode and group.
TEST(FileAccess, WhatOneUserMakesOrReplacesInASharedFolderAnotherUserOpens) {
  namespace fs = std::filesystem;
  if (getuid() != 0) GTEST_SKIP() << "plays a second user";
  TempFolder folder;
  const auto toTheGroup = [](const fs::path& p, mode_t mode) {
    return chown(p.c_str(), static_cast<uid_t>(-1), 65534) == 0 && chmod(p.c_str(), mode) == 0;
  };
  const struct {
    const char* name;
    std::function<void()> make;
  } cases[] = {
      {"TheFirstFilesOfANewCompanyInAGroupFolder",
       [&] {
         ASSERT_TRUE(toTheGroup(folder.path(), 02775));
         Company c;
         c.addAll({{"B"}, {"A"}});
       }},
      {"TheFilesAWholeFileJobPutsInPlaceOfAGroupsFiles",
       [&] {
         {
           Company c;
           c.addAll({{"B"}, {"A"}});
         }
         ASSERT_TRUE(toTheGroup(folder.path(), 0775));
         for (const char* file : {"KLVR952.DAT", "KLVR952.ABC"}) ASSERT_TRUE(toTheGroup(folder.path() / file, 0660));
         ASSERT_TRUE(replacedByOneRecord());
       }},
  };
  const mode_t umaskBefore = umask(022);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
    c.make();
    EXPECT_EQ(refusalAsAnotherUser([] {
                FileHandle data("KLVR952.DAT", 1);
                FileHandle index("KLVR952.ABC", 1);
              }),
              static_cast<FileError::Kind>(100));
    for (const std::string& file : listFiles("*")) fs::remove(folder.path() / toUtf8(file));
  }
  umask(umaskBefore);
}

// In a shared folder whose sticky bit keeps each user's files theirs (1777, as /tmp), no replacement is
// left waiting for the company's next opening: one of the user's own company goes through where the
// backups are another user's, which stay as they are (the user is told), and one of another user's company
// is refused before anything changes.
TEST(FileAccess, InAStickyFolderAReplacementIsMadeOrRefusedNeverLeftUnfinished) {
  namespace fs = std::filesystem;
  if (getuid() != 0) GTEST_SKIP() << "plays a second user";
  TempFolder folder;
  ASSERT_EQ(chmod(folder.path().c_str(), 01777), 0);
  folder.write("952KLVR.DAT", {'o', 'l', 'd'});
  folder.write("952KLVR.ABC", {'o', 'l', 'd'});
  for (const bool theUsers : {true, false}) {
    SCOPED_TRACE(theUsers ? "TheUsersCompanyAnotherUsersBackups" : "AnotherUsersCompany");
    if (!theUsers) {
      Company c;
      c.addAll({{"B"}, {"A"}});
    }
    const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
    EXPECT_EQ(asAnotherUser([&] {
                if (theUsers) {
                  Company c;
                  c.addAll({{"B"}, {"A"}});
                }
                const bool replaced = replacedByOneRecord();
                if (isUnfinished("KLVR952")) return 1;
                if (replaced != theUsers) return 2;
                return takeBackupsNotRenewed().size() == (theUsers ? 2u : 0u) ? 0 : 3;
              }),
              0);
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(folder.bytes("952KLVR.ABC"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    if (theUsers) {
      EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), static_cast<std::size_t>(ProductRecord::Length));
    } else {
      EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
    }
    EXPECT_TRUE(listFiles("*.~*").empty());  // no temporary, side or lock file is left
    for (const std::string& file : listFiles("KLVR952.*")) fs::remove(folder.path() / toUtf8(file));
  }
}

}  // namespace
}  // namespace kv::testing
