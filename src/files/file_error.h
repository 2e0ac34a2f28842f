// How the file layer tells a failure: what it was doing, on which file, and why.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

// What the layer was doing when a file failed.
enum class FileOp {
  Open,     // opening or creating a file, or finding it by name
  Read,     // reading a file's content into memory, or a record outside the file's range
  Write,    // writing a record
  Flush,    // bringing a file to stable storage
  FlushFolder,  // bringing the working folder's entries (files made, renamed, removed) to stable storage
  Delete,
  Rename,   // renaming, or moving a new file onto a name
  Copy,
  NotOpen,  // a record operation on a file number or handle with no file open
};

class FileError : public std::runtime_error {
 public:
  enum class Kind {
    NotFound,         // no such file
    InUse,            // the program holds the file open (delete, rename, copy onto it)
    AlreadyExists,    // rename onto an existing name
    Io,               // the system refused a read or write
    BadRecordNumber,  // a record number outside what the file allows
    BadFileNumber,    // no file open on that number, or the number is taken
    BadName,          // a name that cannot be a file of the working folder
    Locked,           // another program has the company open (CompanyLock)
    LockUnusable,     // the company's lock file cannot be opened or locked: the company is refused
    LockNotMade,      // the company's lock file is not there and cannot be made: the company is refused
    Unfinished,       // a command of the company waits to be completed when the company is next opened
    SideFileDamaged,  // a side file of an interrupted command is damaged: nothing applied, kept as keptAs()
    SideFileForeign,  // a side file does not fit the files as they are: nothing applied, kept as keptAs()
  };
  // systemError: the errno of the system call that failed, 0 when the layer itself refused. detail: for
  // the log (what()); the system's text of systemError when empty. keptAs: the name a side file that
  // could not be applied was kept under.
  FileError(Kind kind, FileOp op, std::string fileName, int systemError = 0, std::string_view detail = {},
            std::string keptAs = {});
  Kind kind() const { return kind_; }
  FileOp op() const { return op_; }
  int systemError() const { return systemError_; }
  // The file concerned, as the program names it (Windows-1254); empty for a bare file number that has no
  // file open.
  const std::string& fileName() const { return fileName_; }
  const std::string& keptAs() const { return keptAs_; }

 private:
  Kind kind_;
  FileOp op_;
  int systemError_;
  std::string fileName_;
  std::string keptAs_;
};

}  // namespace kv
