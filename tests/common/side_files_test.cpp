// A side file that an interrupted command left is applied only to the files it was written for. One that
// is damaged, another company's, or stale (the files replaced or removed since, its sources gone) applies
// nothing: it is kept aside, the files and temporaries stay as they are, and the opening tells it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
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

using Bytes = std::vector<std::uint8_t>;
using Outcome = InterruptedCommand::Outcome;

// Runs `command` in a child process that ends, as a kill ends it, before the first call of `op` on `file`.
void endBefore(FileOp op, const std::string& file, const std::function<void()>& command) {
  ASSERT_FALSE(testing::runEndingWhen(command, [&](FileOp o, std::string_view name) { return o == op && name == file; }))
      << "the command did not reach its cut";
}

// A code-changing save cut short after its pages went to ".DAT", before they were flushed: a ready journal.
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
    Bytes records(ProductRecord::Length);
    testing::makeProduct("K", "Kalıp").encode(records.data());
    replaceProductFile("KLVR952", records, quietInsertPolicy());
  });
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

}  // namespace
}  // namespace kv
