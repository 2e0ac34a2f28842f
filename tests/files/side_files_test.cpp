// A side file that an interrupted command left is applied only to the files it was written for. One that
// is damaged, another company's, or stale (the files replaced or removed since, its sources gone) applies
// nothing: it is kept aside, the files and temporaries stay as they are, and the opening tells it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/text.h"
#include "commands_cut_short.h"
#include "files/command_recovery.h"
#include "files/file_command.h"
#include "files/files.h"
#include "files/side_file_format.h"
#include "records/product_file.h"
#include "records/recipe_record.h"
#include "support/company.h"
#include "support/interruptions.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Outcome = InterruptedCommand::Outcome;
using testing::endBefore;
using testing::importedHalfway;
using testing::importedUpTo;
using testing::savedHalfway;
using testing::savedUpTo;

// Ten records appended in one command, cut short before they were flushed: a ready journal.
void appendedHalfway() {
  endBefore(FileOp::Flush, "KLVR952.DAT", [] {
    ProductFile p;
    p.open("KLVR952");
    FileCommand command("KLVR952");
    for (int i = 0; i < 10; ++i) p.append(testing::makeProduct(testing::numbered("N", i)), quietInsertPolicy(), nullptr);
    command.commit();
  });
}

// A command that makes a list-definition file, cut short before its lines were flushed.
void madeHalfway() {
  endBefore(FileOp::Flush, "KLVR952.LTD", [] {
    FileCommand command("KLVR952");
    FileHandle made("KLVR952.LTD", 128, kMaxRecords32);
    for (int n = 1; n <= 9; ++n) made.put(n, RecipeRecord{});
    command.commit();
  });
}

// A journal of the product file, written as a command never writes one.
void journalOfTheProductFile(std::int64_t length, int times) {
  const std::int64_t now = fileLengthByName("KLVR952.DAT");
  side_files::writeJournal("KLVR952.~JNL", std::vector<side_files::JournalFile>(times, {"KLVR952.DAT", now, length, {}, {}}));
}

// A side file made longer than anything a command writes, without taking room on the disk.
void stretch(const testing::TempFolder& f, const char* name, std::uintmax_t length) {
  std::filesystem::resize_file(f.path() / name, length);
}

// A side file as the previous build wrote it: the same body under the version it had.
void setVersion(const testing::TempFolder& f, const char* name, std::uint8_t version) {
  Bytes b = f.bytes(name);
  b[8] = version;
  f.write(name, b);
}

TEST(SideFiles, OneThatIsDamagedForeignOrStaleAppliesNothingIsKeptAsideAndIsTold) {
  using Folder = testing::TempFolder;
  auto change = [](const Folder& f, const char* name, const std::function<void(Bytes&)>& how) {
    Bytes b = f.bytes(name);
    how(b);
    f.write(name, b);
  };
  auto move = [](const Folder& f, const char* from, const char* to) {
    std::filesystem::rename(f.path() / from, f.path() / to);
  };
  constexpr std::size_t kStateAt = 12;  // after the magic (8) and the version (4)
  const struct {
    const char* name;
    void (*interrupt)();
    std::function<void(const Folder&)> then;  // what happened to the folder after the interruption
    const char* company;                      // opened
    Outcome outcome;
    const char* sideFile;
  } cases[] = {
      {"JournalCutInItsHeader", savedHalfway,
       [&](const Folder& f) { change(f, "KLVR952.~JNL", [](Bytes& b) { b.resize(20); }); }, "KLVR952",
       Outcome::Damaged, "KLVR952.~JNL"},
      {"JournalMagicFlipped", savedHalfway,
       [&](const Folder& f) { change(f, "KLVR952.~JNL", [](Bytes& b) { b[0] ^= 1; }); }, "KLVR952", Outcome::Damaged,
       "KLVR952.~JNL"},
      {"JournalStateZeroedWithItsBytesWritten", savedHalfway,
       [&](const Folder& f) {
         change(f, "KLVR952.~JNL", [](Bytes& b) { std::memset(b.data() + kStateAt, 0, 4); });
       },
       "KLVR952", Outcome::Damaged, "KLVR952.~JNL"},
      {"JournalOfFilesReplacedSince", savedHalfway,
       [](const Folder& f) { f.write("KLVR952.DAT", Bytes(2 * ProductRecord::Length, 5)); }, "KLVR952",
       Outcome::Foreign, "KLVR952.~JNL"},
      {"JournalOfAFileRemovedSince", savedHalfway,
       [](const Folder& f) { std::filesystem::remove(f.path() / "KLVR952.DAT"); }, "KLVR952", Outcome::Foreign,
       "KLVR952.~JNL"},
      {"JournalUnderAnotherCompanysName", savedHalfway,
       [&](const Folder& f) {
         move(f, "KLVR952.~JNL", "FIRMA2.~JNL");
         f.write("FIRMA2.DAT", Bytes(3 * ProductRecord::Length, 1));
       },
       "FIRMA2", Outcome::Foreign, "FIRMA2.~JNL"},
      {"IntentMagicFlipped", importedHalfway,
       [&](const Folder& f) { change(f, "KLVR952.~INT", [](Bytes& b) { b[3] ^= 4; }); }, "KLVR952", Outcome::Damaged,
       "KLVR952.~INT"},
      {"IntentWhoseSourcesAreGone", importedHalfway,
       [](const Folder& f) {
         std::filesystem::remove(f.path() / "KLVR952.DAT.~new");
         std::filesystem::remove(f.path() / "KLVR952.ABC.~new");
       },
       "KLVR952", Outcome::Foreign, "KLVR952.~INT"},
      {"IntentWhoseSourceHoldsOtherContent", importedHalfway,
       [&](const Folder& f) { change(f, "KLVR952.DAT.~new", [](Bytes& b) { b[7] ^= 1; }); }, "KLVR952",
       Outcome::Foreign, "KLVR952.~INT"},
      {"IntentUnderACompanyWithoutFiles", importedHalfway,
       [&](const Folder& f) { move(f, "KLVR952.~INT", "FIRMA2.~INT"); }, "FIRMA2", Outcome::Foreign, "FIRMA2.~INT"},
      {"IntentThatDeletesLiveFiles", [] {},
       [](const Folder&) {
         side_files::writeIntent("KLVR952.~INT", {{"KLVR952.DAT", "", 7, 1}, {"KLVR952.ABC", "", 0, 0}});
       },
       "KLVR952", Outcome::Foreign, "KLVR952.~INT"},
      {"MadeFileTheUserReplacedSince", madeHalfway,
       [](const Folder& f) { f.write("KLVR952.LTD", Bytes(300, 7)); }, "KLVR952", Outcome::Foreign, "KLVR952.~JNL"},
      {"JournalNamingAFileTwice", [] {}, [](const Folder&) { journalOfTheProductFile(fileLengthByName("KLVR952.DAT"), 2); },
       "KLVR952", Outcome::Damaged, "KLVR952.~JNL"},
      {"JournalBeingWrittenLongerThanTheFilesCanNeed", savedHalfway,
       [&](const Folder& f) {
         change(f, "KLVR952.~JNL", [](Bytes& b) {
           std::memset(b.data() + kStateAt, 0, 4);
           std::memset(b.data() + kStateAt + 4, 0x7F, 7);
         });
       },
       "KLVR952", Outcome::Damaged, "KLVR952.~JNL"},
      {"ZerosLongerThanAnySideFile", [] {},
       [](const Folder& f) {
         f.write("KLVR952.~JNL", {});
         stretch(f, "KLVR952.~JNL", std::uintmax_t{64} << 20);
       },
       "KLVR952", Outcome::Damaged, "KLVR952.~JNL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    {
      testing::Company company;
      company.addAll({{"C", "Zeytin"}, {"A", "Elma"}, {"E", "Erik"}, {"B", "Armut"}});
    }
    c.interrupt();
    c.then(folder);
    const testing::FolderState before = testing::folderState();
    ASSERT_TRUE(before.count(c.sideFile));

    const InterruptedCommand found = recoverInterruptedCommand(c.company);

    const std::string kind = std::string(c.sideFile).substr(std::strlen(c.sideFile) - 3);  // JNL or INT
    const std::string keptAs = std::string(c.company) + "-BOZUK1." + kind;
    EXPECT_EQ(found.outcome, c.outcome);
    EXPECT_EQ(found.damagedFile, c.sideFile);
    EXPECT_EQ(found.keptAs, keptAs);
    // Nothing applied, nothing made, nothing removed: only the side file has another name.
    testing::FolderState expected = before;
    auto keptAside = [&expected](const std::string& from, const std::string& to) {
      expected[to] = expected.at(from);
      expected.erase(from);
    };
    keptAside(c.sideFile, keptAs);
    if (kind == "INT" && expected.count("KLVR952.~JNL")) keptAside("KLVR952.~JNL", "KLVR952-BOZUK1.JNL");
    EXPECT_TRUE(testing::folderState() == expected);
  }
}

// What a power cut, a failing disk, another company or the previous build leaves after a command is put right:
// a committed command is completed whatever another company put into the shared backups since, a file cut
// anywhere between its old and its new length is put back, a file the command made is gone, a side file cut
// in its first header was never ready, and the previous version of each side file is applied.
TEST(SideFiles, WhatAPowerCutOrAnotherCompanyLeavesIsPutRight) {
  const struct {
    const char* name;
    void (*interrupt)();
    std::function<void(const testing::TempFolder&)> then;
    Outcome outcome;
  } cases[] = {
      {"BackupReplacedByAnotherCompany", [] { importedUpTo("KLVR952.DAT"); },
       [](const testing::TempFolder& f) { f.write("952KLVR.DAT", Bytes(ProductRecord::Length, 9)); },
       Outcome::Completed},
      {"AppendCutBackToAPageBetweenItsLengths", appendedHalfway,
       [](const testing::TempFolder& f) {
         std::filesystem::resize_file(f.path() / "KLVR952.DAT", (4 + 5) * ProductRecord::Length);
       },
       Outcome::PutBack},
      {"MadeFileHalfWritten", madeHalfway,
       [](const testing::TempFolder& f) { std::filesystem::resize_file(f.path() / "KLVR952.LTD", 512); },
       Outcome::PutBack},
      {"JournalCutInItsFirstHeader", [] { savedUpTo(FileOp::Write, "KLVR952.~JNL"); },
       [](const testing::TempFolder& f) { f.write("KLVR952.~JNL", {'K', 'V', '9', '5', '2', 'J', 'N', 'L', 3, 0, 0, 0, 0, 0}); },
       Outcome::PutBack},
      {"JournalOfThePreviousVersion", savedHalfway, [](const testing::TempFolder& f) { setVersion(f, "KLVR952.~JNL", 2); },
       Outcome::PutBack},
      {"IntentOfThePreviousVersion", [] { importedUpTo("KLVR952.DAT"); },
       [](const testing::TempFolder& f) { setVersion(f, "KLVR952.~INT", 2); }, Outcome::Completed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    {
      testing::Company company;
      company.addAll({{"C", "Zeytin"}, {"A", "Elma"}, {"E", "Erik"}, {"B", "Armut"}});
    }
    const testing::FolderState before = testing::folderState();
    c.interrupt();
    c.then(folder);
    const testing::FolderState cut = testing::folderState();

    EXPECT_EQ(recoverInterruptedCommand("KLVR952").outcome, c.outcome);
    testing::FolderState now = testing::folderState();
    if (c.outcome == Outcome::PutBack) {
      EXPECT_TRUE(now == before);
      continue;
    }
    // Completed: the import's files in place; the backup as the other company left it.
    EXPECT_EQ(now.at("952KLVR.DAT"), cut.at("952KLVR.DAT"));
    ProductFile p;
    p.open("KLVR952", ProductFile::IndexRule::Leave);
    ASSERT_EQ(p.count(), 1);
    EXPECT_EQ(trim(p.read(1).Code.view()), "K");
  }
}

}  // namespace
}  // namespace kv
