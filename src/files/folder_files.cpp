#include "files/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

#include "base/text.h"
#include "files/file_access.h"
#include "files/files_internal.h"
#include "files/write_keeper.h"

namespace kv {

using namespace files_internal;

namespace {

// The bytes of one file into another, made or emptied first, with the source's permission bits (and its
// group where the user may set it), copied by the system itself where the file system can, else through a
// buffer. Each failure keeps the system's reason (a full disk stays a full disk) and names the source when
// it cannot be read, else the target; a target the copy made goes again.
void copyContent(const Resolved& from, const Resolved& to) {
  FdGuard in{::open(from.path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat st {};
  if (in.fd < 0 || ::fstat(in.fd, &st) != 0) throw FileError(FileError::Kind::Io, FileOp::Copy, from.name, errno);
  FdGuard out{::open(to.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 07777)};
  if (out.fd < 0) throw FileError(FileError::Kind::Io, FileOp::Copy, to.name, errno);
  takeModeOf(out.fd, st.st_mode, st.st_gid);  // the umask took its part of the mode at the open
  if (!to.exists) writeKeeper().madeFile(to.path);
  told(to.exists ? FileCall::Kind::Truncate : FileCall::Kind::Create, to.name, 0);
  auto fail = [&](const std::string& name, int error) {
    ::close(std::exchange(out.fd, -1));
    if (!to.exists) ::unlink(to.path.c_str());
    throw FileError(FileError::Kind::Io, FileOp::Copy, name, error);
  };
  bool byBuffer = false;
  for (;;) {
    const ssize_t n = ::copy_file_range(in.fd, nullptr, out.fd, nullptr, std::size_t{1} << 30, 0);
    if (n == 0) break;
    if (n > 0 || errno == EINTR) continue;
    if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL) fail(to.name, errno);
    byBuffer = true;
    break;
  }
  std::vector<std::uint8_t> buffer(byBuffer ? std::size_t{1} << 20 : 0);
  while (byBuffer) {
    const ssize_t got = ::read(in.fd, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) fail(from.name, errno);
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      const ssize_t n = ::write(out.fd, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail(to.name, n < 0 ? errno : EIO);
      done += n;
    }
  }
  if (::close(std::exchange(out.fd, -1)) != 0) fail(to.name, errno);
  if (fileCallsTold()) told(FileCall::Kind::Write, to.name, 0, contentOf(to, FileOp::Copy));
}

}  // namespace

namespace files_internal {

std::vector<std::uint8_t> contentOf(const Resolved& r, FileOp op) {
  FdGuard fd{::open(r.path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (fd.fd < 0) throw FileError(FileError::Kind::Io, op, r.name, errno);
  std::vector<std::uint8_t> out;
  std::uint8_t buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(FileError::Kind::Io, op, r.name, errno);
    if (n == 0) return out;
    out.insert(out.end(), buf, buf + n);
  }
}

void createEmptyFile(std::string_view name) {
  const Resolved r = resolve(name, FileOp::Open);
  if (r.exists) refused(FileError::Kind::AlreadyExists, FileOp::Open, r.name, "file exists");
  faultPoint(FileOp::Open, r.name);
  FdGuard fd{::open(r.path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
  if (fd.fd < 0) throw FileError(FileError::Kind::Io, FileOp::Open, r.name, errno);
  shareAsTheFolder(fd.fd);
  told(FileCall::Kind::Create, r.name);
  writeKeeper().madeFile(r.path);
}

void removeIfThere(std::string_view name) {
  const Resolved r = resolve(name, FileOp::Delete);
  if (r.exists) unlinkCall(r.path, r.name);
}

}  // namespace files_internal

bool fileExists(std::string_view name) { return resolve(name).exists; }

bool fileIsOpen(std::string_view name) { return isOpenPath(resolve(name).path); }

std::int64_t fileLengthByName(std::string_view name) {
  Resolved r = resolve(name);
  if (!r.exists) return 0;
  if (auto img = liveImage(r.path)) return static_cast<std::int64_t>(img->bytes.size());
  std::error_code ec;
  auto size = fs::file_size(r.path, ec);
  return ec ? 0 : static_cast<std::int64_t>(size);
}

std::int32_t recordCountByName(std::string_view name, int recordLength, std::int32_t maxRecords) {
  std::int64_t n = roundedCount(fileLengthByName(name), recordLength);
  return static_cast<std::int32_t>(std::min<std::int64_t>(n, maxRecords));
}

void deleteFile(std::string_view name) {
  Resolved r = resolve(name, FileOp::Delete);
  if (!r.exists) refused(FileError::Kind::NotFound, FileOp::Delete, r.name);
  if (r.madeLater && writeKeeper().forgets(liveImage(r.path))) return;
  if (isOpenPath(r.path)) refused(FileError::Kind::InUse, FileOp::Delete, r.name, "file is open");
  unlinkCall(r.path, r.name);
}

void deleteFileQuietly(std::string_view name) {
  try {
    if (!name.empty() && fileExists(name)) deleteFile(name);
  } catch (const FileError&) {
  }
}

void renameFile(std::string_view from, std::string_view to) {
  Resolved a = resolve(from, FileOp::Rename);
  if (!a.exists) refused(FileError::Kind::NotFound, FileOp::Rename, a.name);
  Resolved b = resolve(to, FileOp::Rename);
  if (isOpenPath(a.path)) refused(FileError::Kind::InUse, FileOp::Rename, a.name, "file is open");
  if (b.exists && b.path != a.path) refused(FileError::Kind::AlreadyExists, FileOp::Rename, b.name, "file exists");
  fs::path target = workingFolder() / toUtf8(to);
  if (int error = renameCall(a.path, target, a.name, false, a.name, std::string(to)))
    throw FileError(FileError::Kind::Io, FileOp::Rename, a.name, error);
}

void replaceFile(std::string_view from, std::string_view to) {
  Resolved a = resolve(from, FileOp::Rename);
  if (!a.exists) refused(FileError::Kind::NotFound, FileOp::Rename, a.name);
  Resolved b = resolve(to, FileOp::Rename);
  if (isOpenPath(a.path)) refused(FileError::Kind::InUse, FileOp::Rename, a.name, "file is open");
  if (isOpenPath(b.path)) refused(FileError::Kind::InUse, FileOp::Rename, b.name, "file is open");
  if (int error = renameCall(a.path, b.path, b.name, false, a.name, b.name))
    throw FileError(FileError::Kind::Io, FileOp::Rename, b.name, error);
}

std::string renameToNewName(std::string_view from, std::string_view stem, std::string_view extension) {
  Resolved a = resolve(from, FileOp::Rename);
  if (!a.exists) refused(FileError::Kind::NotFound, FileOp::Rename, a.name);
  if (isOpenPath(a.path)) refused(FileError::Kind::InUse, FileOp::Rename, a.name, "file is open");
  std::string tail = ".";
  tail += extension;
  std::set<std::string> taken;
  for (const std::string& name : listFiles(std::string(stem) + "*" + tail)) taken.insert(foldName(name));
  for (long n = 1;; ++n) {
    const std::string name = std::string(stem) + std::to_string(n) + tail;
    if (taken.count(foldName(name))) continue;
    checkName(name, FileOp::Rename);
    const int error = renameCall(a.path, workingFolder() / toUtf8(name), name, true, a.name, name);
    if (error == 0) return name;
    if (error != EEXIST) throw FileError(FileError::Kind::Io, FileOp::Rename, name, error);
  }
}

void copyFile(std::string_view from, std::string_view to) {
  Resolved a = resolve(from, FileOp::Copy);
  if (!a.exists) refused(FileError::Kind::NotFound, FileOp::Copy, a.name);
  Resolved b = resolve(to, FileOp::Copy);
  if (b.path == a.path) return;
  if (isOpenPath(b.path)) refused(FileError::Kind::InUse, FileOp::Copy, b.name, "file is open");
  if (auto img = liveImage(a.path); img && writeKeeper().holds(*img))
    refused(FileError::Kind::InUse, FileOp::Copy, a.name, "file has writes not on disk yet");
  faultPoint(FileOp::Copy, b.name);
  copyContent(a, b);
}

namespace files_internal {

void backUpAs(std::string_view from, std::string_view to) {
  const Resolved a = resolve(from, FileOp::Copy);
  if (!a.exists) refused(FileError::Kind::NotFound, FileOp::Copy, a.name);
  const Resolved b = resolve(to, FileOp::Copy);
  if (b.exists) refused(FileError::Kind::AlreadyExists, FileOp::Copy, b.name, "file exists");
  if (auto img = liveImage(a.path); img && writeKeeper().holds(*img))
    refused(FileError::Kind::InUse, FileOp::Copy, a.name, "file has writes not on disk yet");
  // The old file is about to lose its name to its new content and is never written again: a second name
  // keeps it as it is, without reading and writing it all. A file system without such names gets a copy.
  // A live name that is a link gives the file it leads to that second name, never the link itself, whose
  // file may change under the backup.
  const std::optional<FileFault> fault = faultAt(FileOp::Copy, b.name);
  if (!fault && ::linkat(AT_FDCWD, a.path.c_str(), AT_FDCWD, b.path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    writeKeeper().madeFile(b.path);
    told(FileCall::Kind::Link, a.name, 0, {}, b.name);
    return;
  }
  const int error = fault ? fault->error : errno;
  if (error != EPERM && error != EOPNOTSUPP && error != EXDEV && error != EMLINK && error != ENOSYS)
    throw FileError(FileError::Kind::Io, FileOp::Copy, b.name, error);
  copyContent(a, b);
}

}  // namespace files_internal

std::vector<std::string> listFiles(std::string_view pattern) {
  std::string want = foldName(pattern);
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(workingFolder(), ec)) {
    std::error_code ec2;
    if (!entry.is_regular_file(ec2)) continue;
    auto converted = fromUtf8(entry.path().filename().string());
    if (!converted) continue;
    if (globMatch(want, foldName(*converted))) out.push_back(*converted);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string diskName(std::string_view name) { return resolve(name).name; }

void syncFileByName(std::string_view name) {
  Resolved r = resolve(name, FileOp::Flush);
  if (!r.exists) refused(FileError::Kind::NotFound, FileOp::Flush, r.name);
  FdGuard fd{::open(r.path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (fd.fd < 0) throw FileError(FileError::Kind::Io, FileOp::Flush, r.name, errno);
  syncCall(fd.fd, r.name);
}

void syncFolder(std::string_view company) {
  const std::string name = ".";
  auto named = [company](const FileError& e) {
    std::string folder = fromUtf8(workingFolder().string()).value_or(workingFolder().string());
    if (!company.empty()) {
      folder += '/';
      folder += company;
      folder += ".*";
    }
    return FileError(e.kind(), FileOp::FlushFolder, folder, e.systemError());
  };
  FdGuard fd{::open(workingFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  if (fd.fd < 0) throw named(FileError(FileError::Kind::Io, FileOp::Flush, name, errno));
  try {
    syncCall(fd.fd, name);
  } catch (const FileError& e) {
    // Some file systems cannot flush a folder at all; what they did is all there is to have.
    if (e.systemError() != EINVAL && e.systemError() != ENOTSUP) throw named(e);
  }
}

}  // namespace kv
