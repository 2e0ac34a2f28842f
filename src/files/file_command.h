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
// last removes the journal. Temporary files that the command makes are written through as always: their
// old state is their absence. A company file that the command makes (a new company's first recipe file)
// lives in its image only until the commit, which lists it in the journal as absent before and makes it on
// disk; an undo, or the recovery after a kill or a power cut, removes it again, but only while it holds
// nothing but what the command wrote. A replacement of whole files puts its renames under an intent
// "<company>.~INT" (see FileReplacement), after the command's own writes are on disk; a command may write
// in place before its replacements, not after them.
//
// Commands nest: one begun while another runs joins it, and the outer one commits or undoes everything.
// Undone (a command left without commit(), by an exception or a return) before it is committed: every
// image and every file is as it was when the command began.
//
// A command holds its company (CompanyLock) while it runs; it first puts right what an earlier command of
// the company left behind (an undo that could not reach the disk; see command_recovery.h).
//
// Its states, and what leaving it in each means:
//
//   Holding ─commit─▶ JournalWriting ─▶ WritingInPlace ─▶ InPlaceSynced ─commit─▶ JournalRemoved ─▶ (done)
//      │                                                       │
//      └──────────────── a replacement ───────────────────────┴─▶ IntentWriting ─▶ Committed ─▶ (done)
//                                                                                      │
//                                                       the renames keep failing ──▶ Unfinished
//
//   Holding         the writes are in the images only                 undone: the images restored
//   JournalWriting  the journal may exist, not ready                  undone: the journal goes
//   WritingInPlace  the journal is ready; pages go to their files     undone: rolled back from memory
//   InPlaceSynced   every page is on disk, the journal still there    undone: rolled back from memory
//   JournalRemoved  the journal is gone, but perhaps not from the disk  left for the next opening
//   IntentWriting   the intent may exist, ready or not                undone: the intent and its temporaries
//                                                                     go, rolled back
//   Committed       the intent is ready: the point of no return       never undone: its renames are made
//   Unfinished      the renames failed, retried, or an undo could     the side files stay; the company waits
//                   not put the disk back                             for its next opening, which completes
//                                                                     or rolls back (see CompanyLock)
//
// An undo puts the files back before the images: when the disk cannot be put back, the images keep what the
// command wrote and the company is left unfinished, so that the program never carries on over files that
// disagree with what it holds.
#pragma once

#include <string>
#include <string_view>

#include "files/files.h"

namespace kv {

enum class CommandState {
  Holding, JournalWriting, WritingInPlace, InPlaceSynced, JournalRemoved, IntentWriting, Committed, Unfinished
};

class FileCommand {
 public:
  // Throws FileError when the company is another program's (Kind::Locked) or waits for its next opening
  // (Kind::Unfinished), or when what an earlier command left cannot be put right.
  explicit FileCommand(std::string_view company);
  ~FileCommand();
  FileCommand(const FileCommand&) = delete;
  FileCommand& operator=(const FileCommand&) = delete;

  // Throws FileError with everything undone; a committed command whose renames could not all be made
  // throws it with Kind::Unfinished.
  void commit();

  static bool running();

 private:
  bool outermost_ = false;
  bool done_ = false;
};

}  // namespace kv
