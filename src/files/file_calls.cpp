#include "files/files_internal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "files/file_access.h"
#include "files/files.h"
#include "files/write_keeper.h"

namespace kv {

namespace {

// The faults a test installed; none in the program.
FileFaults* installedFaults = nullptr;

}  // namespace

void setFileFaults(FileFaults* faults) { installedFaults = faults; }

namespace files_internal {

FdGuard::~FdGuard() {
  if (fd >= 0) ::close(fd);
}

void faultPoint(FileOp op, const std::string& name) {
  if (auto fault = faultAt(op, name)) throw FileError(FileError::Kind::Io, op, name, fault->error);
}

std::optional<FileFault> faultAt(FileOp op, const std::string& name, std::int32_t record) {
  if (!installedFaults) return std::nullopt;
  auto fault = installedFaults->fail(op, name, record);
  if (fault && !fault->inCall) throw FileError(FileError::Kind::Io, op, name, fault->error);
  return fault;
}

bool fileCallsTold() { return installedFaults != nullptr; }

void told(FileCall::Kind kind, const std::string& name, std::int64_t at, std::span<const std::uint8_t> bytes,
          const std::string& to) {
  if (!installedFaults) return;
  FileCall call;
  call.kind = kind;
  call.name = name;
  call.to = to;
  call.at = at;
  call.bytes = bytes;
  installedFaults->made(call);
}

// A fault failing inside the system lets its first `written` bytes reach the file and fails the call that
// would go further.
std::size_t writeAll(int fd, const std::string& name, std::int64_t offset, std::span<const std::uint8_t> data,
                     std::int32_t record, int& error) {
  const std::optional<FileFault> fault = faultAt(FileOp::Write, name, record);
  std::size_t done = 0;
  error = 0;
  while (done < data.size()) {
    std::size_t rest = data.size() - done;
    if (fault) {
      if (done >= fault->written) {
        error = fault->error;
        break;
      }
      rest = std::min(rest, fault->written - done);
    }
    ssize_t n = ::pwrite(fd, data.data() + done, rest, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (done > 0) told(FileCall::Kind::Write, name, offset, data.first(done));
  return done;
}

// A fault failing inside the system lets the flush be made and fails it.
void syncCall(int fd, const std::string& name) {
  const std::optional<FileFault> fault = faultAt(FileOp::Flush, name);
  int error = ::fsync(fd) != 0 ? errno : 0;
  if (fault) error = fault->error;
  if (error) throw FileError(FileError::Kind::Io, FileOp::Flush, name, error);
  told(name == "." ? FileCall::Kind::FlushFolder : FileCall::Kind::Flush, name);
}

void truncateCall(int fd, const std::string& name, std::int64_t length) {
  faultPoint(FileOp::Write, name);
  if (::ftruncate(fd, static_cast<off_t>(length)) != 0) throw FileError(FileError::Kind::Io, FileOp::Write, name, errno);
  told(FileCall::Kind::Truncate, name, length);
}

int openForWriting(const fs::path& path, const std::string& name, bool truncate) {
  faultPoint(FileOp::Open, name);
  std::error_code ec;
  const bool existed = fs::exists(path, ec);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : 0), 0666);
  if (fd < 0) throw FileError(FileError::Kind::Io, FileOp::Open, name, errno);
  if (!existed) {
    shareAsTheFolder(fd);
    told(FileCall::Kind::Create, name);
    writeKeeper().madeFile(path);
  }
  else if (truncate) told(FileCall::Kind::Truncate, name, 0);
  return fd;
}

void unlinkCall(const fs::path& path, const std::string& name) {
  faultPoint(FileOp::Delete, name);
  if (::unlink(path.c_str()) != 0) throw FileError(FileError::Kind::Io, FileOp::Delete, name, errno);
  told(FileCall::Kind::Delete, name);
}

// Onto `to`, replacing it, or, with `keepExisting`, refused (EEXIST) when `to` exists. A fault failing
// inside the system fails it having renamed nothing, as the system's rename is all or nothing.
int renameCall(const fs::path& from, const fs::path& to, const std::string& name, bool keepExisting,
               const std::string& fromName, const std::string& toName) {
  if (const std::optional<FileFault> fault = faultAt(FileOp::Rename, name)) return fault->error;
  int done = 0;
  if (!keepExisting) {
    done = ::rename(from.c_str(), to.c_str());
  } else {
    // Atomically refused when the name has come into being meanwhile; a file system without that kind of
    // rename gets the same guarantee from a hard link.
    done = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (done != 0 && errno == EINVAL && (done = ::link(from.c_str(), to.c_str())) == 0) ::unlink(from.c_str());
  }
  if (done != 0) return errno;
  told(FileCall::Kind::Rename, fromName, 0, {}, toName);
  return 0;
}

}  // namespace files_internal

}  // namespace kv
