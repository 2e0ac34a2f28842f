// Inside the file layer: what its parts share: the images, the names and the system calls. Its lower parts
// are files.cpp (the images, the file numbers and their records), folder_files.cpp (whole files by name) and
// file_calls.cpp (the system calls), which reach a running command only through the keeper it installs
// (write_keeper.h); above them stand the command (file_command.cpp) with its recovery (command_recovery.cpp)
// and its side files (side_file_format.h, side_files.h), and the replacement (file_replacement.cpp), which
// reaches the command through command_replacement.h. The company lock takes the names alone, from
// file_names.h, and the errors and the working folder from their own headers.
//
// Nothing outside the file layer includes this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/company_lock.h"
#include "files/file_names.h"
#include "files/files.h"

namespace kv::files_internal {

namespace fs = std::filesystem;

// The bytes of one file, shared by every file number open on it.
struct Image {
  fs::path path;
  std::string name;  // as found on disk, Windows-1254
  int fd = -1;
  std::vector<std::uint8_t> bytes;
  int handles = 0;
  CompanyLock lock;  // the company is this program's while any of its files is open
  // Not on disk yet: a running command made it, and makes it on disk at its commit (makeOnDisk).
  bool madeLater = false;
};

struct Resolved {
  fs::path path;
  std::string name;  // Windows-1254 name on disk (or the requested one when missing)
  bool exists = false;
  bool madeLater = false;  // it exists in its image only (Image::madeLater)
};

// The layer's own refusal of `op` on `name`: a FileError of `kind` without a system error.
[[noreturn]] void refused(FileError::Kind kind, FileOp op, const std::string& name, std::string_view detail = {});
// Refuses (Kind::BadName) a name that cannot be a file of the working folder.
void checkName(std::string_view name, FileOp op);
// Finds a name in the working folder, without regard to case; `op` is what the caller is about to do.
Resolved resolve(std::string_view name, FileOp op = FileOp::Open);
// The bytes of a file on disk; throws FileError (op) naming it.
std::vector<std::uint8_t> contentOf(const Resolved& r, FileOp op);
// Gives an old file that a replacement keeps, and that nothing writes any more, the temporary name `to` as
// well (a copy where the file system has no second names); throws FileError (Copy).
void backUpAs(std::string_view from, std::string_view to);
// Makes an empty file that is not there yet, for a replacement's new content; throws FileError.
void createEmptyFile(std::string_view name);
// The image of a file some file number (or a running command) holds, if any.
std::shared_ptr<Image> liveImage(const fs::path& path);
// Some file number (or a running command) holds the file's image.
bool isOpenPath(const fs::path& p);
// Forgets an image that no file number holds any more, closing its descriptor.
void dropImage(const std::shared_ptr<Image>& img);
// Makes the file of an image that lives in memory only, empty, and gives the image its descriptor; throws
// FileError.
void makeOnDisk(Image& img);
// A backup "952KLVR.*" that a command's step could not renew (see side_files::applyIntent), to be told once.
void noteBackupNotRenewed(const FileError& error);
// Removes a file of the folder when it is there; throws FileError (Delete).
void removeIfThere(std::string_view name);
// Puts right what an earlier command of the company left while none of its commands runs (a committed
// command's tidying up that failed), before the next one runs: never onto a file the program holds open, which
// leaves the company for its next opening (Kind::Unfinished); a side file that cannot be applied is kept
// aside and told (Kind::SideFileDamaged, SideFileForeign). See command_recovery.cpp.
void recoverUnderTheSession(const std::string& company);
// The record count of a length: half to even for a partial last record.
std::int64_t roundedCount(std::int64_t length, int recordLength);

// ---- The system calls, each made in one place: the installed faults are asked before each, and told
// after each one that changed something ----

// Asks the faults about a call of `op` on `name`: a refusal is thrown; a fault to fail inside the system
// is returned, for the one place that makes the call.
std::optional<FileFault> faultAt(FileOp op, const std::string& name, std::int32_t record = 0);
// A call that the faults can only refuse: one meant to fail inside the system is refused all the same.
void faultPoint(FileOp op, const std::string& name);
// Some faults are installed, to be told what the layer does.
bool fileCallsTold();
// Tells the faults what was done.
void told(FileCall::Kind kind, const std::string& name, std::int64_t at = 0,
          std::span<const std::uint8_t> bytes = {}, const std::string& to = {});

// Writes all of `data` at `offset` of an open descriptor, as `name`. Returns the bytes written and sets
// `error` (an errno) when the write stopped short.
std::size_t writeAll(int fd, const std::string& name, std::int64_t offset, std::span<const std::uint8_t> data,
                     std::int32_t record, int& error);
// Brings a descriptor's file to stable storage; throws FileError (Flush) naming `name`.
void syncCall(int fd, const std::string& name);
// Cuts or extends a file to `length`; throws FileError (Write).
void truncateCall(int fd, const std::string& name, std::int64_t length);
// Opens a file of the folder by its name on disk for writing, creating it when missing; throws FileError.
int openForWriting(const fs::path& path, const std::string& name, bool truncate);
// Removes a file of the folder; throws FileError (Delete).
void unlinkCall(const fs::path& path, const std::string& name);
// Renames `fromName` onto `toName` within the folder, replacing it unless `keepExisting`; the faults are
// asked about `name`. Returns 0 or the errno.
int renameCall(const fs::path& from, const fs::path& to, const std::string& name, bool keepExisting,
               const std::string& fromName, const std::string& toName);

// Closes a descriptor unless released.
struct FdGuard {
  int fd;
  ~FdGuard();
};

}  // namespace kv::files_internal
