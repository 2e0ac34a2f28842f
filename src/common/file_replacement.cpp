#include "common/file_replacement.h"

#include "common/file_command.h"
#include "common/files.h"
#include "common/files_internal.h"
#include "common/side_files.h"

namespace kv {

namespace {

// A name for a temporary file next to the target that no listing of company files ("*.DAT") picks up.
std::string temporaryName(std::string_view base, std::string_view suffix) {
  std::string name = std::string(base) + std::string(suffix);
  for (int n = 1; fileExists(name); ++n) name = std::string(base) + std::string(suffix) + std::to_string(n);
  return name;
}

}  // namespace

FileReplacement::~FileReplacement() { removeTemporaries(); }

std::string FileReplacement::stage(std::string_view target, std::string_view backup) {
  Item item;
  item.target = std::string(target);
  item.backup = std::string(backup);
  item.fresh = temporaryName(target, ".~new");
  try {
    int f = nextFreeFileNumber();
    openRandom(f, item.fresh, 1);  // creates it empty
    closeFile(f);
  } catch (const FileError& e) {
    throw FileError(e.kind(), e.op(), item.target, e.systemError(), e.what());
  }
  items_.push_back(std::move(item));
  return items_.back().fresh;
}

void FileReplacement::retire(std::string_view target, std::string_view backup) {
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
  FileCommand command(company_);
  std::string current;
  try {
    // 0. A file the program holds open cannot be replaced: find out before anything changes.
    for (auto& item : items_) {
      for (const std::string* name : {&item.target, &item.backup, &item.fresh}) {
        current = *name;
        if (!name->empty() && fileIsOpen(*name))
          throw FileError(FileError::Kind::InUse, FileOp::Rename, *name, 0, "file is open");
      }
    }
    // 1. Everything new reaches the disk, and a copy of every old file stands ready under a temporary
    //    name. Nothing live has changed yet.
    for (auto& item : items_) {
      current = item.target;  // the new content on its way to the target's name
      if (!item.fresh.empty()) syncFileByName(item.fresh);
      if (fileExists(item.target)) {
        item.hadTarget = true;
        current = item.backup.empty() ? item.target : item.backup;
        item.backupCopy = temporaryName(current, ".~old");
        copyFile(item.target, item.backupCopy);
        syncFileByName(item.backupCopy);
      }
    }
    // 2. The steps are written down, after the command's own writes in place have reached the disk.
    std::vector<side_files::IntentStep> steps;
    for (const auto& item : items_)
      if (!item.backupCopy.empty() && !item.backup.empty()) steps.push_back({item.backupCopy, item.backup});
    for (const auto& item : items_) {
      if (!item.fresh.empty()) steps.push_back({item.fresh, item.target});
      else if (item.hadTarget) steps.push_back({item.target, ""});
    }
    current.clear();
    files_internal::commandIntends(steps);
    // 3. The old content takes the backup names, then the new content the live names.
    for (auto& item : items_) {
      if (item.backupCopy.empty() || item.backup.empty()) continue;
      current = item.backup;
      replaceFile(item.backupCopy, item.backup);
      item.backupCopy.clear();
    }
    for (auto& item : items_) {
      current = item.target;
      if (!item.fresh.empty()) {
        replaceFile(item.fresh, item.target);
        item.fresh.clear();
      } else if (item.hadTarget) {
        deleteFile(item.target);
      }
      item.replaced = true;
    }
    current = ".";
    syncFolder();
  } catch (const FileError& e) {
    if (current.empty()) current = e.fileName();
    failedFile_ = current;
    failure_ = e.what();
    error_.emplace(e.kind(), e.op(), current, e.systemError(), e.what());
    putBackReplaced();
    removeTemporaries();
    files_internal::commandIntentWithdrawn();
    items_.clear();
    return false;
  }
  removeTemporaries();
  items_.clear();
  command.commit();
  return true;
}

void FileReplacement::abandon() {
  removeTemporaries();
  items_.clear();
}

// Files replaced together (.DAT and .ABC) must stay in step: when a later rename fails, the targets that
// already took their new content get the old one back from the backups just refreshed (a target that did
// not exist goes again). The old content goes back as a copy renamed into place, never written over the
// live file. Best effort: what cannot be put back keeps the new content.
void FileReplacement::putBackReplaced() {
  bool putBack = false;
  for (auto& item : items_) {
    if (!item.replaced) continue;
    putBack = true;
    try {
      if (!item.hadTarget) {
        deleteFile(item.target);
        continue;
      }
      const std::string old = item.backup.empty() ? item.backupCopy : item.backup;
      const std::string copy = temporaryName(item.target, ".~old");
      copyFile(old, copy);
      syncFileByName(copy);
      replaceFile(copy, item.target);
    } catch (const FileError&) {
    }
  }
  if (!putBack) return;
  try {
    syncFolder();
  } catch (const FileError&) {
  }
}

void FileReplacement::removeTemporaries() {
  for (auto& item : items_) {
    deleteFileQuietly(item.fresh);
    deleteFileQuietly(item.backupCopy);
    item.fresh.clear();
    item.backupCopy.clear();
  }
}

bool retireToBackup(std::string_view target, std::string_view backup, std::string* failedFile) {
  std::string current(target);
  try {
    if (!fileExists(target)) return true;
    if (fileLengthByName(target) == 0) {
      deleteFile(target);
      return true;
    }
    current = std::string(backup);
    if (fileExists(backup)) deleteFile(backup);
    current = std::string(target);
    renameFile(target, backup);
    return true;
  } catch (const FileError&) {
    if (failedFile) *failedFile = current;
    return false;
  }
}

}  // namespace kv
