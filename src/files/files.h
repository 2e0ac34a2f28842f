// The file layer: everything the program does with files goes through here.
//
// Files are opened for random access on a file number with a record length, and read and written record
// by record (1-based). Several file numbers may be open on one file at once (a hidden window keeps its
// handles); they share one in-memory image of the file, so all handles, and the length by name, always see
// the same bytes. A write goes through to disk at once, but while a command on the company's files runs
// (FileCommand), its writes into the files that were there before it reach the disk at its commit, under
// its journal.
//
// Opening a company's file ("<company>.<ext>") takes the company's lock (CompanyLock) as long as the file
// is open anywhere in the program; a company another program holds is refused with FileError::Kind::Locked.
//
// Names are the program's own texts (Windows-1254) of files in the working folder (working_folder.h). They
// are stored on disk in UTF-8 and matched without regard to letter case, so a folder copied from Windows
// works as it is. A failure is a FileError (file_error.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_error.h"
#include "files/working_folder.h"

namespace kv {

// Faults for tests: the layer asks the installed object before each system call it makes (the open of a
// file, the read of its content at open, each record write, each flush, delete, rename and copy).
// fileName is the name the FileError would carry ("." for a flush of the working folder); record is the
// record number of a write, else 0.
//
// A fault refuses the call (it is not made; the layer reports `error` as the system's refusal), or, for a
// write, a flush or a rename, lets the call fail inside the system, so that the layer's own handling of
// the failure runs: a write reaches the file in its first `written` bytes only (a short write) and the
// call after them fails with `error`; a flush is made and fails; a rename fails having renamed nothing.
struct FileFault {
  int error = 0;
  bool inCall = false;
  std::size_t written = 0;
};
// A call the layer made that changed the folder or a file, told after it succeeded (a write also when it
// stopped short, with what reached the file), so that a test can replay a command's calls as a power cut
// would leave them: what no flush covered may be lost, and the folder's entries (new files, renames,
// deletions) survive in their order up to the last flush of the folder.
struct FileCall {
  enum class Kind { Create, Write, Truncate, Flush, Rename, Delete, FlushFolder, Link };
  Kind kind = Kind::Write;
  std::string name;                     // the file, by its name on disk (Windows-1254)
  std::string to;                       // Rename: the new name; Link: the second name
  std::int64_t at = 0;                  // Write: the offset; Truncate: the new length
  std::span<const std::uint8_t> bytes;  // Write: what was written (valid during the call only)
};
class FileFaults {
 public:
  virtual ~FileFaults() = default;
  virtual std::optional<FileFault> fail(FileOp op, std::string_view fileName, std::int32_t record) = 0;
  virtual void made(const FileCall&) {}
};
// Installs faults (null removes them); the layer does not own them.
void setFileFaults(FileFaults* faults);

// The backups "952KLVR.*" that commands could not renew since this was last asked, each by the failed rename
// onto it: another user's backup in a shared folder whose sticky bit keeps it theirs. The command went on
// without it, the old content it was to keep is gone, and the user is to be told once, after the event.
std::vector<FileError> takeBackupsNotRenewed();

// Record numbers and counts of the product-side files are 16-bit: such a file holds at most 32767 records.
inline constexpr std::int32_t kMaxRecords16 = 32767;
inline constexpr std::int32_t kMaxRecords32 = 2147483647;

// Lowest file number (1..511) not in use.
int nextFreeFileNumber();

// Opens (and creates when missing) a file for random access. maxRecords bounds the record numbers of the
// file: kMaxRecords16 for the 16-bit files, kMaxRecords32 for the recipe files.
void openRandom(int fileNumber, std::string_view name, int recordLength, std::int32_t maxRecords = kMaxRecords16);
void closeFile(int fileNumber);
void closeAllFiles();
bool isOpen(int fileNumber);
std::string openFileName(int fileNumber);

// Length in bytes of an open file.
std::int64_t fileLength(int fileNumber);
// Number of records: length / record length rounded to the nearest whole number (halves to even),
// capped at the file's record limit.
std::int32_t recordCount(int fileNumber);

// Reads record n into out (at most one record). Bytes beyond the end of the file read as zeros.
void getRecord(int fileNumber, std::int32_t n, std::span<std::uint8_t> out);
// Writes record n: n must lie in 1..count + 1 and within the record limit (the only write past the end
// is the append). Written through to disk before it returns, or, while a command runs, held for its commit.
void putRecord(int fileNumber, std::int32_t n, std::span<const std::uint8_t> in);

// Record types declare Length and encode/decode themselves.
template <class Rec>
Rec get(int fileNumber, std::int32_t n) {
  std::uint8_t buf[Rec::Length];
  getRecord(fileNumber, n, buf);
  return Rec::decode(buf);
}
template <class Rec>
void get(int fileNumber, std::int32_t n, Rec& rec) {
  rec = get<Rec>(fileNumber, n);
}
template <class Rec>
void put(int fileNumber, std::int32_t n, const Rec& rec) {
  std::uint8_t buf[Rec::Length];
  rec.encode(buf);
  putRecord(fileNumber, n, buf);
}

// Read-only view of record n's bytes in the shared image, for walks that look at a few fields of many
// records. Valid until the next write to the file or its close; empty when n lies beyond the end.
std::span<const std::uint8_t> peekRecord(int fileNumber, std::int32_t n);
// Read-only view of the whole image of an open file (the bytes on disk), for walks over many records that
// write nothing while they read. Valid until the next write to the file or its close.
std::span<const std::uint8_t> fileImage(int fileNumber);

// Flushes an open file, or a file by name, to stable storage.
void syncFile(int fileNumber);
void syncFileByName(std::string_view name);
// Flushes the working folder's entries, so that the files made, renamed and deleted in it stay so after a
// power cut. A failure (FileOp::FlushFolder) names the folder, and the company whose files it flushes
// ("<folder>/<company>.*") when one is given; a folder that cannot be flushed at all (a file system that
// does not offer it) is no failure. Faults see the call as a flush of ".".
void syncFolder(std::string_view company = {});

// An open file owned by one window or engine: opened on the next free file number, closed when the handle
// goes (or is moved from). Windows and engines hold their files through handles, never bare numbers.
class FileHandle {
 public:
  FileHandle() = default;
  // Opens (and creates when missing), as openRandom does.
  FileHandle(std::string_view name, int recordLength, std::int32_t maxRecords = kMaxRecords16);
  ~FileHandle();
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // Closes what the handle held, then opens the file. On failure the handle is left closed.
  void open(std::string_view name, int recordLength, std::int32_t maxRecords = kMaxRecords16);
  void close();
  bool isOpen() const { return number_ != 0; }
  int number() const { return number_; }
  // The file's name as the program gave it (also after a failed open, for the messages).
  const std::string& name() const { return name_; }

  // Record operations on a handle that is not open throw FileError (FileOp::NotOpen) naming name().
  std::int32_t count() const { return recordCount(openNumber()); }
  std::int64_t length() const { return fileLength(openNumber()); }
  template <class Rec>
  Rec get(std::int32_t n) const {
    return kv::get<Rec>(openNumber(), n);
  }
  template <class Rec>
  void put(std::int32_t n, const Rec& rec) {
    kv::put(openNumber(), n, rec);
  }
  std::span<const std::uint8_t> peek(std::int32_t n) const { return peekRecord(openNumber(), n); }
  void sync() { syncFile(openNumber()); }

 private:
  int openNumber() const;

  int number_ = 0;
  std::string name_;
};

// By name, in the working folder.
bool fileExists(std::string_view name);
bool fileIsOpen(std::string_view name);  // some file number holds it open
std::int64_t fileLengthByName(std::string_view name);  // 0 when missing
// The record count of a file by name, counted as recordCount() counts an open file (0 when missing).
std::int32_t recordCountByName(std::string_view name, int recordLength, std::int32_t maxRecords = kMaxRecords16);
void deleteFile(std::string_view name);                 // refused while open
// Deletes the file when it is there; a failure is passed over (clearing away what a failed job left).
void deleteFileQuietly(std::string_view name);
void renameFile(std::string_view from, std::string_view to);  // refused while either is open
void copyFile(std::string_view from, std::string_view to);    // refused while the target is open
// Renames `from` onto `to` in one step, replacing an existing `to` (keeping its name on disk); refused
// while either is open.
void replaceFile(std::string_view from, std::string_view to);
// Renames `from` onto the first free name <stem>1.<extension>, <stem>2.<extension>, ... and returns it. A name
// that an existing file has, also in other letter case, is never taken: no file is ever replaced.
std::string renameToNewName(std::string_view from, std::string_view stem, std::string_view extension);
// Names of the files matching a pattern with * and ?, without regard to case, sorted by byte value.
// "*.DAT" lists a file named only ".DAT".
std::vector<std::string> listFiles(std::string_view pattern);
// The name as it is stored on disk (Windows-1254), or the name itself when no file matches it.
std::string diskName(std::string_view name);


}  // namespace kv
