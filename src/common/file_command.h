// A command on a company's files, atomic and durable: after a kill or a power cut at any moment, the next
// opening of the company finds every file the command touched as it was before the command or as the
// command left it, and once commit() has returned, a power cut cannot undo it. A command that fails half
// way leaves its files as they were before it.
//
//   FileCommand command(company);
//   ... write records through the file layer, replace files through FileReplacement ...
//   command.commit();  // throws FileError, with everything undone
//
// While a command runs, its writes into files that were there before it go to the images only (every file
// number sees them at once); commit() first writes the old bytes of every page they overwrite into the
// rollback journal "<company>.~JNL" and makes it durable, then writes the pages and flushes the files, and
// last removes the journal. Files that the command makes itself (temporary files) are written through as
// always: their old state is their absence. A replacement of whole files puts its renames under an intent
// "<company>.~INT" (see FileReplacement), after the command's own writes are on disk; a command may write
// in place before its replacements, not after them.
//
// Commands nest: one begun while another runs joins it, and the outer one commits or undoes everything.
// Undone (a command left without commit(), by an exception or a return): every image and every file is
// as it was when the command began.
#pragma once

#include <string>
#include <string_view>

namespace kv {

class FileCommand {
 public:
  explicit FileCommand(std::string_view company);
  ~FileCommand();
  FileCommand(const FileCommand&) = delete;
  FileCommand& operator=(const FileCommand&) = delete;

  void commit();

  static bool running();

 private:
  bool outermost_ = false;
  bool done_ = false;
};

// What opening a company found of a command that an interruption (a kill, a crash, a power cut) cut short.
struct InterruptedCommand {
  enum class Outcome {
    None,        // nothing was interrupted
    PutBack,     // the files are as they were before the command
    Completed,   // the command's renames were finished: the files are as it left them
    Damaged,     // a side file is damaged: nothing was applied, and it was kept under `keptAs`
  };
  Outcome outcome = Outcome::None;
  std::string damagedFile;  // Damaged: the side file, and the name it is kept under
  std::string keptAs;
};

// Puts right, in the working folder, every command an interruption cut short: a journal rolls back, an
// intent's renames are finished, and the temporary files of interrupted replacements are removed. A
// damaged side file is never applied; it is renamed out of the way (so that later commands can run) and
// every temporary file is kept for the data-file service. Runs before the company's files are opened.
InterruptedCommand recoverInterruptedCommands();

}  // namespace kv
