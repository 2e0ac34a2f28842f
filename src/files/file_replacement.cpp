#include "files/file_replacement.h"

#include "files/command_replacement.h"
#include "files/file_access.h"
#include "files/file_command.h"
#include "files/files.h"
#include "files/files_internal.h"
#include "files/side_files.h"

namespace kv {

namespace {

// A name for a temporary file next to the target that no listing of company files ("*.DAT") picks up, and
// that tells whose it is: the company's own name comes first.
std::string temporaryName(std::string_view target, std::string_view suffix) {
  std::string name = std::string(target) + std::string(suffix);
  for (int n = 1; fileExists(name); ++n) name = std::string(target) + std::string(suffix) + std::to_string(n);
  return name;
}

// A step of the intent, with what its source holds now.
side_files::IntentStep stepOf(const std::string& from, const std::string& to) {
  const side_files::Summary now = side_files::summaryOf(from);
  return {from, to, now.length, now.sum};
}

// A step onto a backup: whatever the backup holds when the step is made, the step counts as made (another
// company may have put its own there since), so its content is never summed.
side_files::IntentStep backupStepOf(const std::string& from, const std::string& to) {
  return {from, to, fileLengthByName(from), 0};
}

}  // namespace

FileReplacement::FileReplacement(std::string company) : company_(std::move(company)) {
  try {
    hold_ = CompanyLock(company_);
  } catch (const FileError& e) {
    error_ = e;
  }
}

FileReplacement::~FileReplacement() { removeTemporaries(); }

std::string FileReplacement::newContentFor(std::string_view target, std::string_view backup) {
  if (error_) throw *error_;
  files_internal::checkMayReplace(target);
  Item item;
  item.target = std::string(target);
  item.backup = std::string(backup);
  item.fresh = temporaryName(target, ".~new");
  try {
    files_internal::createEmptyFile(item.fresh);
  } catch (const FileError& e) {
    throw FileError(e.kind(), e.op(), item.target, e.systemError(), e.what());
  }
  items_.push_back(std::move(item));
  return items_.back().fresh;
}

void FileReplacement::retire(std::string_view target, std::string_view backup) {
  if (error_) throw *error_;
  files_internal::checkMayReplace(target);
  Item item;
  item.target = std::string(target);
  item.backup = std::string(backup);
  items_.push_back(std::move(item));
}

FileError FileReplacement::naming(const FileError& e) const {
  for (const Item& item : items_)
    if (!item.fresh.empty() && e.fileName() == item.fresh)
      return FileError(e.kind(), e.op(), item.target, e.systemError(), e.what());
  return e;
}

bool FileReplacement::commit() {
  if (error_) return false;  // the company could not be held
  try {
    if (commitUnderCommand()) return true;
  } catch (const FileError& e) {
    // Refused before anything changed: the company is another program's, or waits for its next opening.
    error_ = e;
    removeTemporaries();
    items_.clear();
  }
  // An undo that could not put the disk back has left the company for its next opening: so it is told.
  if (error_->kind() != FileError::Kind::Unfinished && isUnfinished(company_)) {
    const FileError failed = *error_;
    error_.emplace(FileError::Kind::Unfinished, failed.op(), failed.fileName(), failed.systemError(), failed.what());
  }
  return false;
}

bool FileReplacement::commitUnderCommand() {
  FileCommand command(company_);
  std::string current;
  std::vector<side_files::IntentStep> backups, targets;
  try {
    // 0. A file the program holds open cannot be replaced: find out before anything changes.
    for (auto& item : items_) {
      for (const std::string* name : {&item.target, &item.backup, &item.fresh}) {
        current = *name;
        if (!name->empty() && fileIsOpen(*name))
          throw FileError(FileError::Kind::InUse, FileOp::Rename, *name, 0, "file is open");
      }
    }
    // 1. Everything new reaches the disk, and a copy of every old file that is kept stands ready under a
    //    temporary name. Nothing live has changed yet.
    for (auto& item : items_) {
      current = item.target;  // the new content on its way to the target's name
      if (!item.fresh.empty()) {
        files_internal::takeModeOf(item.fresh, item.target);
        syncFileByName(item.fresh);
        targets.push_back(stepOf(item.fresh, item.target));
      }
      if (!fileExists(item.target)) continue;
      if (item.fresh.empty()) targets.push_back(stepOf(diskName(item.target), ""));
      if (item.backup.empty()) continue;
      current = item.backup;
      item.backupCopy = temporaryName(item.target, ".~old");
      files_internal::backUpAs(item.target, item.backupCopy);
      syncFileByName(item.backupCopy);
      backups.push_back(backupStepOf(item.backupCopy, item.backup));
    }
    // 2. The command's own writes in place reach the disk, under its journal.
    current.clear();
    backups.insert(backups.end(), targets.begin(), targets.end());
    if (backups.empty()) {  // nothing to replace: what the command wrote in place is all
      items_.clear();
      command.commit();
      return true;
    }
    files_internal::commandWritesInPlace();
  } catch (const FileError& e) {
    if (current.empty()) current = e.fileName();
    error_.emplace(e.kind(), e.op(), current, e.systemError(), e.what());
    removeTemporaries();
    items_.clear();
    return false;
  }
  // 3. The steps are written down: the old content takes the backup names, then the new content the live
  //    names. From the intent on, the temporaries are the command's: a failure before the intent is ready is
  //    undone with them, or left for the next opening when it cannot be.
  items_.clear();
  try {
    files_internal::commandIntends(backups);
  } catch (const FileError& e) {
    error_ = e;
    return false;
  }
  // 4. Committed: the renames are made now, or at the next opening of the company.
  try {
    files_internal::commandAppliesIntent();
  } catch (const FileError& e) {
    error_.emplace(FileError::Kind::Unfinished, e.op(), e.fileName(), e.systemError(), e.what());
    return false;
  }
  command.commit();
  return true;
}

void FileReplacement::abandon() {
  removeTemporaries();
  items_.clear();
}

void FileReplacement::removeTemporaries() {
  for (auto& item : items_) {
    deleteFileQuietly(item.fresh);
    deleteFileQuietly(item.backupCopy);
    item.fresh.clear();
    item.backupCopy.clear();
  }
}

}  // namespace kv
