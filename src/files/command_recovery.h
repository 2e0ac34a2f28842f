// Putting right what a command on a company's files left when an interruption (a kill, a crash, a power
// cut) cut it short, or when its undo could not reach the disk: at the company's opening, before its files
// are opened, and, for what a command of the session finds, before that command runs (see FileCommand). A
// journal rolls back, an intent's renames are finished; a side file that is damaged, or does not fit the
// files as they are, is never applied (see side_files.h).
#pragma once

#include <string>
#include <string_view>

#include "files/files.h"

namespace kv {

// What opening a company found of a command that an interruption (a kill, a crash, a power cut) cut short.
struct InterruptedCommand {
  enum class Outcome {
    None,       // nothing was interrupted
    PutBack,    // the files are as they were before the command
    Completed,  // the command's renames were finished: the files are as it left them
    Damaged,    // a side file is damaged: nothing was applied, and it was kept under `keptAs`
    Foreign,    // a side file does not fit the files as they are now: nothing was applied, it was kept
  };
  Outcome outcome = Outcome::None;
  std::string damagedFile;  // Damaged, Foreign: the side file, and the name it is kept under
  std::string keptAs;
};

// A side file that could not be applied (Damaged, Foreign), as the error that tells it: Kind::SideFileDamaged
// or SideFileForeign, naming the side file and the name it is kept under.
FileError keptAsideError(const InterruptedCommand& found);

// Puts right, in the working folder, the command of `company` that an interruption cut short: a journal
// rolls back, an intent's renames are finished, and the company's temporary files are removed. Only the
// company's own side files and temporaries are looked at, under its lock. A damaged or foreign side file is
// never applied; it is renamed out of the way ("<company>-BOZUK1.JNL") and the temporary files are kept for
// the data-file service. Runs before the company's files are opened. Throws FileError (Kind::Locked) when
// another program holds the company, and any failure to put things right.
InterruptedCommand recoverInterruptedCommand(std::string_view company);
// The company has a side file of a command in the working folder: one that an interruption cut short, or
// one of a command running in another program.
bool hasCommandSideFiles(std::string_view company);

}  // namespace kv
