// Replacing a company data file safely. The operations that rewrite a data file (rebuild, sort, import,
// deletion of an exchange rate, the recipe rebuild) write the new content into a temporary file next to
// it, and only when every write has succeeded and reached the disk does the old file become the fixed
// backup "952KLVR.<ext>" and the new one take its name. When any step fails, the live files keep their
// old content, and the caller can tell the user which file failed.
//
// The renames run as one command on the company's files (see FileCommand; a replacement joins the command
// that runs): they are written into the command's intent before the first of them, each with the content
// it moves, and from then on the command is committed: a rename that fails is tried again, and one that
// still fails is made when the company is next opened, never undone. Before the intent is ready a failure
// leaves every file as it was, the backups included.
//
// A working copy (".RCT") is replaced, or retired, the same way inside the command that makes it: a
// non-empty old copy becomes its backup, an empty one simply goes.
//
// A replacement holds its company (CompanyLock) from its construction to its end, so that no other program
// changes the files between what the job reads and what it puts in their place; a job that reads the files
// before it makes its replacement holds the company from its first read itself.
//
//   FileReplacement r(company);
//   std::string tmp = r.newContentFor(company + ".DAT", "952KLVR.DAT");
//   ... open tmp through the file layer, write the new records, close it ...
//   if (!r.commit()) tellFileError(window, *r.error());
#pragma once

#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "files/company_lock.h"
#include "files/files.h"

namespace kv {

class FileReplacement {
 public:
  // A company that cannot be held fails the first newContentFor() or retire(), and commit().
  explicit FileReplacement(std::string company);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Deletes the temporary files of a replacement that was not committed.
  ~FileReplacement();

  // Declares that `target` is to be replaced and its present content kept as `backup` (not kept when
  // `backup` is empty). Returns the name of a new, empty temporary file in the working folder, to be
  // written through the file layer and closed before commit(); at the commit it takes the target's mode
  // and group. A target that does not exist yet simply appears. Throws FileError naming the target, also
  // for a target this user may not replace (another user's file in a folder whose sticky bit keeps it
  // theirs), before anything changes.
  std::string newContentFor(std::string_view target, std::string_view backup);
  // Declares that `target` is to go, its content kept as `backup` (or not kept when `backup` is empty). A
  // target that does not exist is passed over; one this user may not remove is refused, as newContentFor() does.
  void retire(std::string_view target, std::string_view backup);

  // A failure the file layer reported while the new content was written into a temporary file of this
  // replacement, told by the name of the file that content stands in for; any other failure as it is.
  FileError naming(const FileError& e) const;

  // Flushes the new files, copies the old content on its way to the backups, writes the intent, then makes
  // the renames (or deletes a retired target) and syncs the folder. The targets and backups must not be
  // open. Returns false, with error() set, when it failed: before the intent, every file holds its old
  // content and the temporary files are gone; after it (error() of Kind::Unfinished), the command is
  // completed when the company is next opened, whose files wait until then. Never throws FileError.
  bool commit();

  // Deletes the temporary files; nothing else changes.
  void abandon();

  // The failure, naming the file that failed as the program names it (not a temporary name), for the
  // window's message.
  const std::optional<FileError>& error() const { return error_; }

 private:
  struct Item {
    std::string target;
    std::string backup;
    std::string fresh;       // the new content; empty for a target that goes
    std::string backupCopy;  // the old content on its way to the backup name
  };
  void removeTemporaries();
  bool commitUnderCommand();

  std::string company_;
  CompanyLock hold_;
  std::vector<Item> items_;
  std::optional<FileError> error_;
};

}  // namespace kv
