// A side file that an interrupted command left is applied only to the files it was written for. One that
// is damaged, another company's, or stale (the files replaced or removed since, its sources gone) applies
// nothing: it is kept aside, the files and temporaries stay as they are, and the opening tells it.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/file_command.h"
#include "common/files.h"
#include "common/product_file.h"
#include "common/product_file_replacement.h"
#include "common/side_files.h"
#include "support/company.h"
#include "support/interruptions.h"

namespace kv {
namespace {

using testing::FolderState;
using testing::TempFolder;
using Bytes = std::vector<std::uint8_t>;
using Outcome = InterruptedCommand::Outcome;

// Runs `command` in a child process that ends, as a kill ends it, before the first call of `op` on `file`.
void endBefore(FileOp op, const std::string& file, const std::function<void()>& command) {
  ASSERT_FALSE(testing::runEndingWhen(command, [&](FileOp o, std::string_view name) { return o == op && name == file; }))
      << "the command did not reach its cut";
}

void makeCompany() {
  testing::Company company;
  company.addAll({{"C", "Zeytin"}, {"A", "Elma"}, {"E", "Erik"}, {"B", "Armut"}});
}

// A code-changing save cut short after its pages went to the product file, before they were flushed: a
// ready journal, and ".DAT" half written.
void savedHalfway() {
  endBefore(FileOp::Flush, "KLVR952.DAT", [] {
    ProductFile p;
    p.open("KLVR952");
    ProductRecord r = p.read(2);
    r.Code = "F";
    p.save(2, r, quietInsertPolicy(), nullptr);
  });
}

// A product import cut short at its first rename: a ready intent, its temporaries, nothing renamed.
void importedHalfway() {
  endBefore(FileOp::Rename, "952KLVR.DAT", [] {
    Bytes records(2 * ProductRecord::Length);
    testing::makeProduct("K", "Kalıp").encode(records.data());
    testing::makeProduct("L", "Levha").encode(records.data() + ProductRecord::Length);
    replaceProductFile("KLVR952", records, quietInsertPolicy());
  });
}

Bytes bytesOf(const std::string& name) {
  const FolderState all = testing::folderState();
  auto it = all.find(name);
  return it == all.end() ? Bytes{} : it->second;
}
void put(const std::string& name, const Bytes& bytes) {
  FolderState all = testing::folderState();
  all[name] = bytes;
  testing::setFolderState(all);
}
void edit(const std::string& name, const std::function<void(Bytes&)>& change) {
  Bytes b = bytesOf(name);
  change(b);
  put(name, b);
}
void remove(const std::string& name) {
  FolderState all = testing::folderState();
  all.erase(name);
  testing::setFolderState(all);
}

// The header's fields: magic (8), version (4), state (4), body length (8), checksum (8).
constexpr std::size_t kStateAt = 12;

TEST(SideFiles, OneThatIsDamagedForeignOrStaleAppliesNothingIsKeptAsideAndIsTold) {
  struct Case {
    const char* name;
    std::function<void()> interrupt;
    std::function<void()> change;  // what happened to the folder after the interruption
    const char* company;           // opened
    Outcome outcome;
    const char* sideFile;
    const char* keptAs;
  };
  const Case cases[] = {
      {"JournalCutInItsHeader", savedHalfway, [] { edit("KLVR952.~JNL", [](Bytes& b) { b.resize(20); }); },
       "KLVR952", Outcome::Damaged, "KLVR952.~JNL", "KLVR952-BOZUK1.JNL"},
      {"JournalMagicFlipped", savedHalfway, [] { edit("KLVR952.~JNL", [](Bytes& b) { b[0] ^= 1; }); }, "KLVR952",
       Outcome::Damaged, "KLVR952.~JNL", "KLVR952-BOZUK1.JNL"},
      {"JournalStateZeroedWithItsBytesWritten", savedHalfway,
       [] { edit("KLVR952.~JNL", [](Bytes& b) { std::memset(b.data() + kStateAt, 0, 4); }); }, "KLVR952",
       Outcome::Damaged, "KLVR952.~JNL", "KLVR952-BOZUK1.JNL"},
      {"JournalOfFilesReplacedSince", savedHalfway, [] { put("KLVR952.DAT", Bytes(2 * ProductRecord::Length, 5)); },
       "KLVR952", Outcome::Foreign, "KLVR952.~JNL", "KLVR952-BOZUK1.JNL"},
      {"JournalOfAFileRemovedSince", savedHalfway, [] { remove("KLVR952.DAT"); }, "KLVR952", Outcome::Foreign,
       "KLVR952.~JNL", "KLVR952-BOZUK1.JNL"},
      {"JournalUnderAnotherCompanysName", savedHalfway,
       [] {
         put("FIRMA2.~JNL", bytesOf("KLVR952.~JNL"));
         remove("KLVR952.~JNL");
         put("FIRMA2.DAT", Bytes(3 * ProductRecord::Length, 1));
       },
       "FIRMA2", Outcome::Foreign, "FIRMA2.~JNL", "FIRMA2-BOZUK1.JNL"},
      {"IntentMagicFlipped", importedHalfway, [] { edit("KLVR952.~INT", [](Bytes& b) { b[3] ^= 4; }); }, "KLVR952",
       Outcome::Damaged, "KLVR952.~INT", "KLVR952-BOZUK1.INT"},
      {"IntentWhoseSourcesAreGone", importedHalfway,
       [] {
         remove("KLVR952.DAT.~new");
         remove("KLVR952.ABC.~new");
       },
       "KLVR952", Outcome::Foreign, "KLVR952.~INT", "KLVR952-BOZUK1.INT"},
      {"IntentWhoseSourceHoldsOtherContent", importedHalfway,
       [] { edit("KLVR952.DAT.~new", [](Bytes& b) { b[7] ^= 1; }); }, "KLVR952", Outcome::Foreign, "KLVR952.~INT",
       "KLVR952-BOZUK1.INT"},
      {"IntentUnderACompanyWithoutFiles", importedHalfway,
       [] {
         put("FIRMA2.~INT", bytesOf("KLVR952.~INT"));
         remove("KLVR952.~INT");
       },
       "FIRMA2", Outcome::Foreign, "FIRMA2.~INT", "FIRMA2-BOZUK1.INT"},
      {"IntentThatDeletesLiveFiles", [] {},
       [] {
         side_files::writeIntent("KLVR952.~INT", {{"KLVR952.DAT", "", 7, 1}, {"KLVR952.ABC", "", 0, 0}});
       },
       "KLVR952", Outcome::Foreign, "KLVR952.~INT", "KLVR952-BOZUK1.INT"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    makeCompany();
    c.interrupt();
    c.change();
    const FolderState before = testing::folderState();
    ASSERT_TRUE(before.count(c.sideFile)) << c.name;

    const InterruptedCommand found = recoverInterruptedCommand(c.company);

    EXPECT_EQ(found.outcome, c.outcome) << c.name;
    EXPECT_EQ(found.damagedFile, c.sideFile) << c.name;
    EXPECT_EQ(found.keptAs, c.keptAs) << c.name;
    // Nothing applied, nothing made, nothing removed: only the side file has another name.
    FolderState expected = before;
    expected[c.keptAs] = expected.at(c.sideFile);
    expected.erase(c.sideFile);
    FolderState now = testing::folderState();
    if (std::string(c.sideFile).find(".~INT") != std::string::npos && now.count("KLVR952-BOZUK1.JNL")) {
      expected["KLVR952-BOZUK1.JNL"] = expected.at("KLVR952.~JNL");  // its journal stays with it
      expected.erase("KLVR952.~JNL");
    }
    EXPECT_TRUE(now == expected) << c.name;
  }
}

// What a kill leaves is put right, and only for the company opened: the other company's side file and
// temporaries are not touched.
TEST(SideFiles, ARecoveryPutsRightItsOwnCompanyAlone) {
  TempFolder folder;
  makeCompany();
  const Bytes data = bytesOf("KLVR952.DAT");
  importedHalfway();
  put("FIRMA2.DAT", Bytes(2 * ProductRecord::Length, 1));
  put("FIRMA2.~JNL", {});
  put("FIRMA2.DAT.~new", {9});
  EXPECT_EQ(recoverInterruptedCommand("FIRMA2").outcome, Outcome::PutBack);
  EXPECT_TRUE(bytesOf("KLVR952.~INT").size() > 0);
  EXPECT_EQ(bytesOf("KLVR952.DAT.~new").size(), 2u * ProductRecord::Length);
  EXPECT_EQ(testing::folderState().count("FIRMA2.DAT.~new"), 0u);

  EXPECT_EQ(recoverInterruptedCommand("KLVR952").outcome, Outcome::Completed);
  EXPECT_EQ(bytesOf("KLVR952.DAT").size(), 2u * ProductRecord::Length);
  EXPECT_EQ(bytesOf("952KLVR.DAT"), data);
  for (const auto& [name, bytes] : testing::folderState()) EXPECT_EQ(name.find(".~"), std::string::npos) << name;
}

}  // namespace
}  // namespace kv
