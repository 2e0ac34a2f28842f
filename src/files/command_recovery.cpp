#include "files/command_recovery.h"

#include <optional>
#include <string>
#include <vector>

#include "files/company_lock.h"
#include "files/files.h"
#include "files/files_internal.h"
#include "files/side_files.h"

namespace kv {

using namespace files_internal;
namespace sf = side_files;

namespace {

// A side file that is damaged, or does not fit the files, is never applied. It is kept under a name no
// command uses and no opening reads.
std::string keepAside(const std::string& name, const std::string& company, std::string_view extension) {
  try {
    return renameToNewName(name, company + "-BOZUK", extension);
  } catch (const FileError&) {
    return name;
  }
}

bool there(const std::string& name) { return resolve(name, FileOp::Read).exists; }

// What a recovery would apply onto a file the program holds open, which would go on with the old file and
// its content: the command that found it refuses, and the company waits for its next opening, when the
// program holds none of its files.
[[noreturn]] void refuseUnderOpenFile(const std::string& company, const std::string& name, FileOp op) {
  leaveUnfinished(company);
  throw FileError(FileError::Kind::Unfinished, op, name, 0, "a side file to apply onto a file the program holds open");
}

// The company's own side files only; its lock is held. `filesHeld`: the program may hold the company's files
// open (a command of the session finds them), so nothing is applied onto an open file.
InterruptedCommand recover(const std::string& company, bool filesHeld) {
  using O = InterruptedCommand::Outcome;
  InterruptedCommand result;
  const std::string intentName = sf::intentName(company);
  const std::string journalName = sf::journalName(company);
  // Neither side file is applied: both are kept aside, the one that failed named.
  auto refuse = [&](const std::string& name, O outcome) {
    const std::string disk = diskName(name);
    result = {outcome, disk, keepAside(disk, company, name == intentName ? "INT" : "JNL")};
    if (name == intentName && there(journalName)) keepAside(diskName(journalName), company, "JNL");
    return result;
  };
  bool journalDecides = true;
  if (there(intentName)) {
    const sf::ReadIntent intent = sf::readIntent(diskName(intentName));
    switch (intent.state) {
      case sf::SideState::Incomplete:  // no rename was made; the journal, if any, puts the rest back
        if (intent.whole && !sf::intentFinds(intent.steps, company, sf::IntentFinds::Sources))
          return refuse(intentName, O::Damaged);
        removeIfThere(intentName);
        result.outcome = O::PutBack;
        break;
      case sf::SideState::Ready: {  // the writes in place were made before it: the journal is not needed
        const std::optional<std::vector<sf::IntentStep>> left =
            sf::intentFinds(intent.steps, company, sf::IntentFinds::SourcesOrTargets);
        if (!left) return refuse(intentName, O::Foreign);
        if (filesHeld)
          for (const sf::IntentStep& step : *left)
            for (const std::string* name : {&step.from, &step.to})
              if (!name->empty() && fileIsOpen(*name)) refuseUnderOpenFile(company, *name, FileOp::Rename);
        sf::applyIntent(*left, company);
        // As at run time: the journal's removal reaches the disk before the intent's.
        removeIfThere(journalName);
        syncFolder(company);
        removeIfThere(intentName);
        syncFolder(company);
        result.outcome = O::Completed;
        journalDecides = false;
        break;
      }
      case sf::SideState::Damaged: return refuse(intentName, O::Damaged);
    }
  }
  if (journalDecides && there(journalName)) {
    const sf::ReadJournal journal = sf::readJournal(diskName(journalName), company);
    switch (journal.state) {
      case sf::SideState::Incomplete:  // cut short before the first write in place
        if (journal.whole && !sf::journalFinds(journal.files, company, sf::JournalFinds::Old))
          return refuse(journalName, O::Damaged);
        removeIfThere(journalName);
        syncFolder(company);
        break;
      case sf::SideState::Ready:
        if (!sf::journalFinds(journal.files, company, sf::JournalFinds::OldOrNew))
          return refuse(journalName, O::Foreign);
        if (filesHeld)
          for (const sf::JournalFile& f : journal.files)
            if (fileIsOpen(f.name)) refuseUnderOpenFile(company, f.name, FileOp::Write);
        sf::rollBack(journal.files, company);
        removeIfThere(journalName);
        syncFolder(company);
        break;
      case sf::SideState::Damaged: return refuse(journalName, O::Damaged);
    }
    result.outcome = O::PutBack;
  }
  return result;
}

// A command's temporary files outlive it only when it was cut short.
void removeTemporaries(const std::string& company) {
  for (const std::string& name : listFiles(company + ".*.~*"))
    if (isTemporaryOf(name, company)) deleteFileQuietly(name);
}

}  // namespace

void files_internal::recoverUnderTheSession(const std::string& company) {
  if (!hasCommandSideFiles(company)) return;
  const InterruptedCommand left = recover(company, true);
  if (left.outcome == InterruptedCommand::Outcome::Damaged || left.outcome == InterruptedCommand::Outcome::Foreign)
    throw keptAsideError(left);
}

InterruptedCommand recoverInterruptedCommand(std::string_view company) {
  const std::string name(company);
  const CompanyLock lock = CompanyLock::forRecovery(name);
  InterruptedCommand result = recover(name, false);
  if (result.outcome != InterruptedCommand::Outcome::Damaged && result.outcome != InterruptedCommand::Outcome::Foreign)
    removeTemporaries(name);
  // What waited for this opening is done, or kept aside.
  unfinishedCompleted(name);
  return result;
}

FileError keptAsideError(const InterruptedCommand& found) {
  const bool damaged = found.outcome == InterruptedCommand::Outcome::Damaged;
  return FileError(damaged ? FileError::Kind::SideFileDamaged : FileError::Kind::SideFileForeign, FileOp::Read,
                   found.damagedFile, 0, damaged ? "a damaged side file" : "a side file of other files", found.keptAs);
}

bool hasCommandSideFiles(std::string_view company) {
  return there(sf::journalName(company)) || there(sf::intentName(company));
}

}  // namespace kv
