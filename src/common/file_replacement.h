// Replacing a company data file safely. The operations that rewrite a data file (rebuild, sort, import,
// deletion of an exchange rate, the recipe rebuild) write the new content into a temporary file next to
// it, and only when every write has succeeded and reached the disk does the old file become the fixed
// backup "952KLVR.<ext>" and the new one take its name. When any step fails, the live files keep their
// old content, and the caller can tell the user which file failed.
//
// The renames run as one command on the company's files (see FileCommand; a replacement joins the command
// that runs): they are written into the command's intent before the first of them, so that a kill or a
// power cut in their midst is finished at the next opening, never left half done.
//
//   FileReplacement r(company);
//   std::string tmp = r.stage(company + ".DAT", "952KLVR.DAT");
//   ... open tmp through the file layer, write the new records, close it ...
//   if (!r.commit()) tellFileError(window, *r.error());
#pragma once

#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"

namespace kv {

class FileReplacement {
 public:
  explicit FileReplacement(std::string company) : company_(std::move(company)) {}
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Deletes the temporary files of a replacement that was not committed.
  ~FileReplacement();

  // Declares that `target` is to be replaced and its present content kept as `backup`. Returns the name
  // of a new, empty temporary file in the working folder, to be written through the file layer and
  // closed before commit(). A target that does not exist yet simply appears; no backup is made of it.
  std::string stage(std::string_view target, std::string_view backup);
  // Declares that `target` is to go, its content kept as `backup` (or not kept when `backup` is empty). A
  // target that does not exist is passed over.
  void retire(std::string_view target, std::string_view backup);

  // A failure the file layer reported while the new content was written into a temporary file of this
  // replacement, told by the name of the file that content stands in for; any other failure as it is.
  FileError naming(const FileError& e) const;

  // Flushes the new files, refreshes the backups and renames the new files into place (or deletes a
  // retired target), in the order they were staged, under the command's intent, then syncs the folder.
  // The targets and backups must not be open. Returns false, with failedFile() and error() set, when a
  // step failed: the temporary files are deleted and every target holds its old content (a target
  // renamed into place before the failure gets it back from its backup); the backups already refreshed
  // keep the old content too.
  bool commit();

  // Deletes the temporary files; nothing else changes.
  void abandon();

  const std::string& failedFile() const { return failedFile_; }
  const std::string& failure() const { return failure_; }
  // The failure as the file layer reported it, naming failedFile() (not a temporary name), for the
  // window's message.
  const std::optional<FileError>& error() const { return error_; }

 private:
  struct Item {
    std::string target;
    std::string backup;
    std::string fresh;       // the new content; empty for a target that goes
    std::string backupCopy;  // the old content on its way to the backup name (kept aside without one)
    bool hadTarget = false;  // the target existed: its old content went to the backup
    bool replaced = false;   // the new content has taken the target's name
  };
  void putBackReplaced();
  void removeTemporaries();

  std::string company_;
  std::vector<Item> items_;
  std::string failedFile_;
  std::string failure_;
  std::optional<FileError> error_;
};

// The working-copy rule of the recipe side: a non-empty `target` becomes `backup` (replacing an older
// backup), an empty one is deleted. Returns false, with the file's name in failedFile, when that fails.
bool retireToBackup(std::string_view target, std::string_view backup, std::string* failedFile = nullptr);

}  // namespace kv
