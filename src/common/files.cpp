#include "common/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "common/file_command_hooks.h"
#include "common/files_internal.h"
#include "common/text.h"

namespace kv {

namespace {

const char* opText(FileOp op) {
  switch (op) {
    case FileOp::Open: return "open";
    case FileOp::Read: return "read";
    case FileOp::Write: return "write";
    case FileOp::Flush: return "flush";
    case FileOp::FlushFolder: return "flush the folder of";
    case FileOp::Delete: return "delete";
    case FileOp::Rename: return "rename";
    case FileOp::Copy: return "copy";
    case FileOp::NotOpen: break;
  }
  return "use";
}

std::string describe(FileOp op, const std::string& fileName, int systemError, std::string_view detail) {
  std::string what = std::string("cannot ") + opText(op) + " \"" + fileName + "\": ";
  if (!detail.empty()) return what + std::string(detail);
  return what + (systemError ? std::strerror(systemError) : op == FileOp::NotOpen ? "not open" : "refused");
}

}  // namespace

FileError::FileError(Kind kind, FileOp op, std::string fileName, int systemError, std::string_view detail)
    : std::runtime_error(describe(op, fileName, systemError, detail)),
      kind_(kind),
      op_(op),
      systemError_(systemError),
      fileName_(std::move(fileName)) {}

namespace files_internal {

FdGuard::~FdGuard() {
  if (fd >= 0) ::close(fd);
}

}  // namespace files_internal

using namespace files_internal;

namespace {

constexpr int kMaxFileNumber = 511;

struct Handle {
  std::shared_ptr<Image> image;
  int recordLength = 1;
  std::int32_t maxRecords = kMaxRecords16;
  std::vector<std::uint8_t> scratch;  // zero-padded copy of a record that reaches past the end
};

struct State {
  fs::path folder;
  bool folderSet = false;
  std::map<int, Handle> handles;
  std::map<fs::path, std::weak_ptr<Image>> images;
  FileFaults* faults = nullptr;
};

State& state() {
  static State s;
  return s;
}

// A call that the faults can only refuse: one meant to fail inside the system is refused all the same.
void faultPoint(FileOp op, const std::string& name) {
  if (auto fault = faultAt(op, name)) throw FileError(FileError::Kind::Io, op, name, fault->error);
}

[[noreturn]] void refused(FileError::Kind kind, FileOp op, const std::string& name, std::string_view detail = {}) {
  throw FileError(kind, op, name, 0, detail);
}

void checkName(std::string_view name, FileOp op) {
  std::string n(name);
  if (n.empty() || n == "." || n == ".." || n.find('/') != std::string::npos || n.find('\0') != std::string::npos)
    refused(FileError::Kind::BadName, op, n, "invalid file name");
}

Handle& handle(int fileNumber) {
  auto it = state().handles.find(fileNumber);
  if (it == state().handles.end())
    refused(FileError::Kind::BadFileNumber, FileOp::NotOpen, "", "no file open on number " + std::to_string(fileNumber));
  return it->second;
}

bool isOpenPath(const fs::path& p) { return liveImage(p) != nullptr; }

// Half to even for the record count of a partial last record.
std::int64_t roundedCount(std::int64_t length, int recordLength) {
  std::int64_t whole = length / recordLength;
  std::int64_t rest = length % recordLength;
  std::int64_t twice = rest * 2;
  if (twice > recordLength || (twice == recordLength && whole % 2 == 1)) ++whole;
  return whole;
}

bool globMatch(std::string_view pattern, std::string_view text) {
  std::size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Writes bytes at an offset and then puts them in the image, so that the image always holds what is on
// disk; a running command takes the write into its care instead. When the system refuses part of the
// write, what reached the file past its old end is cut off again and the image takes what stayed on disk.
void writeThrough(const std::shared_ptr<Image>& imgPtr, std::int64_t offset, std::span<const std::uint8_t> data,
                  std::int32_t record) {
  if (commandTakesWrite(imgPtr, offset, data)) return;
  Image& img = *imgPtr;
  const auto oldSize = static_cast<std::int64_t>(img.bytes.size());
  int error = 0;
  const std::size_t done = writeAll(img.fd, img.name, offset, data, record, error);
  std::int64_t end = offset + static_cast<std::int64_t>(done);  // the file's end, when it grew
  if (error && end > oldSize && (done == 0 || ::ftruncate(img.fd, static_cast<off_t>(oldSize)) == 0)) {
    if (done > 0) told(FileCall::Kind::Truncate, img.name, oldSize);
    end = oldSize;
  }
  const std::int64_t kept = std::max<std::int64_t>(end - offset, 0);
  if (end > oldSize) img.bytes.resize(static_cast<std::size_t>(end), 0);
  // Nothing kept may leave the image empty (a new file): it has no bytes to copy into then.
  if (kept > 0) std::memcpy(img.bytes.data() + offset, data.data(), static_cast<std::size_t>(kept));
  if (error) throw FileError(FileError::Kind::Io, FileOp::Write, img.name, error);
}

// Opens a file that no handle holds yet and reads its content into a new image.
// A company's file is opened under the company's lock.
std::shared_ptr<Image> loadImage(const Resolved& r) {
  // A temporary that is gone is not made again empty by an open: the content it stood for is lost.
  if (!r.exists && isTemporaryName(r.name))
    refused(FileError::Kind::NotFound, FileOp::Open, r.name, "a temporary file is made only by its replacement");
  auto img = std::make_shared<Image>();
  img->lock = CompanyLock(companyOfFile(r.name));
  img->path = r.path;
  img->name = r.name;
  faultPoint(FileOp::Open, r.name);
  if (!r.exists && commandMakesLater(img)) return img;
  FdGuard fd{::open(r.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)};
  if (fd.fd < 0) throw FileError(FileError::Kind::Io, FileOp::Open, r.name, errno);
  if (!r.exists) {
    told(FileCall::Kind::Create, r.name);
    commandMadeFile(r.path);
  }
  faultPoint(FileOp::Read, r.name);
  struct stat st {};
  if (::fstat(fd.fd, &st) != 0) throw FileError(FileError::Kind::Io, FileOp::Read, r.name, errno);
  img->bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < img->bytes.size()) {
    ssize_t n = ::pread(fd.fd, img->bytes.data() + done, img->bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(FileError::Kind::Io, FileOp::Read, r.name, errno);
    if (n == 0) break;  // the file became shorter meanwhile: the image is what there is
    done += static_cast<std::size_t>(n);
  }
  img->bytes.resize(done);
  img->fd = std::exchange(fd.fd, -1);
  return img;
}

// The bytes of one file into another, made or emptied first, with the source's permissions, copied by
// the system itself where the file system can, else through a buffer. Each failure keeps the system's
// reason (a full disk stays a full disk) and names the source when it cannot be read, else the target; a
// target the copy made goes again.
void copyContent(const Resolved& from, const Resolved& to) {
  FdGuard in{::open(from.path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat st {};
  if (in.fd < 0 || ::fstat(in.fd, &st) != 0) throw FileError(FileError::Kind::Io, FileOp::Copy, from.name, errno);
  FdGuard out{::open(to.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 07777)};
  if (out.fd < 0) throw FileError(FileError::Kind::Io, FileOp::Copy, to.name, errno);
  if (!to.exists) commandMadeFile(to.path);
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

// The lowest free file number; `name` is the file it is for, for the message when none is free.
int freeFileNumber(const std::string& name) {
  for (int n = 1; n <= kMaxFileNumber; ++n)
    if (!state().handles.count(n)) return n;
  refused(FileError::Kind::BadFileNumber, FileOp::Open, name, "too many files open");
}

}  // namespace

namespace files_internal {

Resolved resolve(std::string_view name, FileOp op) {
  checkName(name, op);
  fs::path folder = workingFolder();
  fs::path exact = folder / toUtf8(name);
  std::error_code ec;
  if (fs::is_regular_file(exact, ec)) return {exact, std::string(name), true};
  std::string want = foldName(name);
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    auto converted = fromUtf8(entry.path().filename().string());
    if (!converted || foldName(*converted) != want) continue;
    std::error_code ec2;
    if (!entry.is_regular_file(ec2)) continue;
    return {entry.path(), *converted, true};
  }
  // A file the running command is to make is there for the program, though not yet on disk.
  for (const auto& [path, weak] : state().images)
    if (const auto img = weak.lock(); img && img->madeLater && foldName(img->name) == want)
      return {img->path, img->name, true, true};
  return {exact, std::string(name), false};
}

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

std::string foldName(std::string_view name) {
  std::string f = upperCase(name);
  for (auto& c : f)
    if (static_cast<unsigned char>(c) == 0xDD) c = 'I';
  return f;
}

bool isTemporaryName(std::string_view name) {
  const std::string folded = foldName(name);
  return folded.find(".~NEW") != std::string::npos || folded.find(".~OLD") != std::string::npos;
}

void createEmptyFile(std::string_view name) {
  const Resolved r = resolve(name, FileOp::Open);
  if (r.exists) refused(FileError::Kind::AlreadyExists, FileOp::Open, r.name, "file exists");
  faultPoint(FileOp::Open, r.name);
  FdGuard fd{::open(r.path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
  if (fd.fd < 0) throw FileError(FileError::Kind::Io, FileOp::Open, r.name, errno);
  told(FileCall::Kind::Create, r.name);
  commandMadeFile(r.path);
}

std::shared_ptr<Image> liveImage(const fs::path& path) {
  auto it = state().images.find(path);
  return it == state().images.end() ? nullptr : it->second.lock();
}

void makeOnDisk(Image& img) {
  faultPoint(FileOp::Open, img.name);
  const int fd = ::open(img.path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw FileError(FileError::Kind::Io, FileOp::Open, img.name, errno);
  told(FileCall::Kind::Create, img.name);
  img.fd = fd;
  img.madeLater = false;
}

void dropImage(const std::shared_ptr<Image>& img) {
  if (img->handles > 0 || commandHolds(*img)) return;
  if (img->fd >= 0) ::close(img->fd);
  img->fd = -1;
  auto it = state().images.find(img->path);
  if (it != state().images.end() && it->second.lock() == img) state().images.erase(it);
}

std::optional<FileFault> faultAt(FileOp op, const std::string& name, std::int32_t record) {
  if (!state().faults) return std::nullopt;
  auto fault = state().faults->fail(op, name, record);
  if (fault && !fault->inCall) throw FileError(FileError::Kind::Io, op, name, fault->error);
  return fault;
}

bool fileCallsTold() { return state().faults != nullptr; }

void told(FileCall::Kind kind, const std::string& name, std::int64_t at, std::span<const std::uint8_t> bytes,
          const std::string& to) {
  if (!state().faults) return;
  FileCall call;
  call.kind = kind;
  call.name = name;
  call.to = to;
  call.at = at;
  call.bytes = bytes;
  state().faults->made(call);
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
    told(FileCall::Kind::Create, name);
    commandMadeFile(path);
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

void setWorkingFolder(const fs::path& folder) {
  state().folder = folder;
  state().folderSet = true;
}

fs::path workingFolder() {
  if (!state().folderSet) return fs::current_path();
  return state().folder;
}

void setFileFaults(FileFaults* faults) { state().faults = faults; }

int nextFreeFileNumber() { return freeFileNumber(""); }

void openRandom(int fileNumber, std::string_view name, int recordLength, std::int32_t maxRecords) {
  if (fileNumber < 1 || fileNumber > kMaxFileNumber || state().handles.count(fileNumber))
    refused(FileError::Kind::BadFileNumber, FileOp::Open, std::string(name),
            "file number " + std::to_string(fileNumber) + " cannot be used");
  if (recordLength < 1) refused(FileError::Kind::BadRecordNumber, FileOp::Open, std::string(name), "bad record length");
  Resolved r = resolve(name);
  std::shared_ptr<Image> img = liveImage(r.path);
  if (!img) {
    img = loadImage(r);
    state().images[r.path] = img;
  }
  ++img->handles;
  Handle h;
  h.image = img;
  h.recordLength = recordLength;
  h.maxRecords = maxRecords;
  state().handles.emplace(fileNumber, std::move(h));
}

void closeFile(int fileNumber) {
  auto it = state().handles.find(fileNumber);
  if (it == state().handles.end()) return;  // closing a closed number is harmless, as it was
  std::shared_ptr<Image> img = it->second.image;
  state().handles.erase(it);
  --img->handles;
  dropImage(img);  // a running command keeps the image of a file whose writes it holds
}

void closeAllFiles() {
  while (!state().handles.empty()) closeFile(state().handles.begin()->first);
}

bool isOpen(int fileNumber) { return state().handles.count(fileNumber) != 0; }

std::string openFileName(int fileNumber) { return handle(fileNumber).image->name; }

std::int64_t fileLength(int fileNumber) { return static_cast<std::int64_t>(handle(fileNumber).image->bytes.size()); }

std::int32_t recordCount(int fileNumber) {
  Handle& h = handle(fileNumber);
  std::int64_t n = roundedCount(static_cast<std::int64_t>(h.image->bytes.size()), h.recordLength);
  return static_cast<std::int32_t>(std::min<std::int64_t>(n, h.maxRecords));
}

void getRecord(int fileNumber, std::int32_t n, std::span<std::uint8_t> out) {
  Handle& h = handle(fileNumber);
  if (n < 1 || n > h.maxRecords)
    refused(FileError::Kind::BadRecordNumber, FileOp::Read, h.image->name, "bad record number " + std::to_string(n));
  std::fill(out.begin(), out.end(), 0);
  std::int64_t offset = static_cast<std::int64_t>(n - 1) * h.recordLength;
  std::int64_t size = static_cast<std::int64_t>(h.image->bytes.size());
  std::int64_t want = std::min<std::int64_t>(static_cast<std::int64_t>(out.size()), h.recordLength);
  if (offset < size) {
    std::int64_t have = std::min(want, size - offset);
    std::memcpy(out.data(), h.image->bytes.data() + offset, static_cast<std::size_t>(have));
  }
}

void putRecord(int fileNumber, std::int32_t n, std::span<const std::uint8_t> in) {
  Handle& h = handle(fileNumber);
  const Image& img = *h.image;
  if (in.size() > static_cast<std::size_t>(h.recordLength))
    refused(FileError::Kind::BadRecordNumber, FileOp::Write, img.name, "record longer than the record length");
  std::int64_t count = roundedCount(static_cast<std::int64_t>(img.bytes.size()), h.recordLength);
  if (n < 1 || n > h.maxRecords || n > count + 1)
    refused(FileError::Kind::BadRecordNumber, FileOp::Write, img.name, "bad record number " + std::to_string(n));
  std::int64_t offset = static_cast<std::int64_t>(n - 1) * h.recordLength;
  std::int64_t end = offset + static_cast<std::int64_t>(in.size());
  if (end <= static_cast<std::int64_t>(img.bytes.size()) &&
      std::equal(in.begin(), in.end(), img.bytes.begin() + offset))
    return;  // nothing changes on disk
  writeThrough(h.image, offset, in, n);
}

std::span<const std::uint8_t> peekRecord(int fileNumber, std::int32_t n) {
  Handle& h = handle(fileNumber);
  if (n < 1 || n > h.maxRecords)
    refused(FileError::Kind::BadRecordNumber, FileOp::Read, h.image->name, "bad record number " + std::to_string(n));
  std::int64_t offset = static_cast<std::int64_t>(n - 1) * h.recordLength;
  std::int64_t size = static_cast<std::int64_t>(h.image->bytes.size());
  auto len = static_cast<std::size_t>(h.recordLength);
  if (offset + h.recordLength <= size) return {h.image->bytes.data() + offset, len};
  h.scratch.assign(len, 0);
  if (offset < size)
    std::memcpy(h.scratch.data(), h.image->bytes.data() + offset, static_cast<std::size_t>(size - offset));
  return {h.scratch.data(), len};
}

std::span<const std::uint8_t> fileImage(int fileNumber) { return handle(fileNumber).image->bytes; }


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
  if (r.madeLater && commandForgets(liveImage(r.path))) return;
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
  if (auto img = liveImage(a.path); img && commandHolds(*img))
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
  if (auto img = liveImage(a.path); img && commandHolds(*img))
    refused(FileError::Kind::InUse, FileOp::Copy, a.name, "file has writes not on disk yet");
  // The old file is about to lose its name to its new content and is never written again: a second name
  // keeps it as it is, without reading and writing it all. A file system without such names gets a copy.
  const std::optional<FileFault> fault = faultAt(FileOp::Copy, b.name);
  if (!fault && ::link(a.path.c_str(), b.path.c_str()) == 0) {
    commandMadeFile(b.path);
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

void syncFile(int fileNumber) {
  Handle& h = handle(fileNumber);
  if (h.image->madeLater) return;  // it reaches the disk with its command
  syncCall(h.image->fd, h.image->name);
}

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
    if (!company.empty()) folder += "/" + std::string(company) + ".*";
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

FileHandle::FileHandle(std::string_view name, int recordLength, std::int32_t maxRecords) {
  open(name, recordLength, maxRecords);
}

FileHandle::~FileHandle() { close(); }

FileHandle::FileHandle(FileHandle&& other) noexcept
    : number_(std::exchange(other.number_, 0)), name_(std::move(other.name_)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    close();
    number_ = std::exchange(other.number_, 0);
    name_ = std::move(other.name_);
  }
  return *this;
}

void FileHandle::open(std::string_view name, int recordLength, std::int32_t maxRecords) {
  close();
  name_ = std::string(name);
  int n = freeFileNumber(name_);
  openRandom(n, name, recordLength, maxRecords);
  number_ = n;
}

int FileHandle::openNumber() const {
  if (!number_) refused(FileError::Kind::BadFileNumber, FileOp::NotOpen, name_, "not open");
  return number_;
}

void FileHandle::close() {
  if (number_) closeFile(number_);
  number_ = 0;
}

}  // namespace kv
