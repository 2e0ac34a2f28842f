// The command on a company's files, as a window's job runs it: what it does with the side files it finds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "commands_cut_short.h"
#include "files/command_recovery.h"
#include "files/company_lock.h"
#include "files/file_command.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "support/company.h"
#include "support/interruptions.h"

namespace kv::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Outcome = InterruptedCommand::Outcome;

// A command of the session that finds side files (left by a tidying up that failed) never applies them onto a
// file the program holds open, which would go on with the old file: it refuses, and the company waits for its
// next opening. One that cannot be applied is kept aside and told in the opening's words.
TEST(FileCommand, ACommandOfTheSessionAppliesNoneOntoAnOpenFileAndTellsOneItCannotApply) {
  const struct {
    const char* name;
    void (*interrupt)();
    bool damaged;
    FileError::Kind refused;
    Outcome atTheOpening;
  } cases[] = {
      {"ReadyIntent", importedHalfway, false, FileError::Kind::Unfinished, Outcome::Completed},
      {"ReadyJournal", savedHalfway, false, FileError::Kind::Unfinished, Outcome::PutBack},
      {"DamagedJournal", savedHalfway, true, FileError::Kind::SideFileDamaged, Outcome::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    {
      Company company;
      company.addAll({{"C", "Zeytin"}, {"A", "Elma"}, {"E", "Erik"}, {"B", "Armut"}});
    }
    c.interrupt();
    if (c.damaged) folder.write("KLVR952.~JNL", Bytes(40, 1));
    const FolderState before = folderState();
    {
      const FileHandle held("KLVR952.DAT", 1);
      try {
        const FileCommand command("KLVR952");
        ADD_FAILURE() << "the command ran";
      } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), c.refused);
        const std::string told = toUtf8(fileErrorMessage(e).text);
        EXPECT_EQ(told.find("\"KLVR952-BOZUK1.JNL\" adıyla saklandı") != std::string::npos, c.damaged) << told;
      }
    }
    EXPECT_EQ(isUnfinished("KLVR952"), !c.damaged);
    EXPECT_EQ(folderState() == before, !c.damaged);  // a damaged one is kept aside, nothing more
    EXPECT_EQ(recoverInterruptedCommand("KLVR952").outcome, c.atTheOpening);
  }
}

}  // namespace
}  // namespace kv::testing
