#include "files/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "base/text.h"
#include "files/file_access.h"
#include "files/files_internal.h"
#include "files/write_keeper.h"

namespace kv {

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
  std::map<int, Handle> handles;
  std::map<fs::path, std::weak_ptr<Image>> images;
};

State& state() {
  static State s;
  return s;
}

// While no command runs, every write goes through to disk.
class NoCommand final : public WriteKeeper {
 public:
  void madeFile(const fs::path&) override {}
  bool makesLater(const std::shared_ptr<Image>&) override { return false; }
  bool forgets(const std::shared_ptr<Image>&) override { return false; }
  bool takesWrite(const std::shared_ptr<Image>&, std::int64_t, std::span<const std::uint8_t>) override {
    return false;
  }
  bool holds(const Image&) const override { return false; }
};

WriteKeeper*& installedKeeper() {
  static WriteKeeper* keeper = nullptr;
  return keeper;
}

Handle& handle(int fileNumber) {
  auto it = state().handles.find(fileNumber);
  if (it == state().handles.end())
    refused(FileError::Kind::BadFileNumber, FileOp::NotOpen, "", "no file open on number " + std::to_string(fileNumber));
  return it->second;
}

// Writes bytes at an offset and then puts them in the image, so that the image always holds what is on
// disk; a running command takes the write into its care instead. When the system refuses part of the
// write, what reached the file past its old end is cut off again and the image takes what stayed on disk.
void writeThrough(const std::shared_ptr<Image>& imgPtr, std::int64_t offset, std::span<const std::uint8_t> data,
                  std::int32_t record) {
  if (writeKeeper().takesWrite(imgPtr, offset, data)) return;
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
  if (!r.exists && writeKeeper().makesLater(img)) return img;
  FdGuard fd{::open(r.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)};
  if (fd.fd < 0) throw FileError(FileError::Kind::Io, FileOp::Open, r.name, errno);
  if (!r.exists) {
    shareAsTheFolder(fd.fd);
    told(FileCall::Kind::Create, r.name);
    writeKeeper().madeFile(r.path);
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

// The lowest free file number; `name` is the file it is for, for the message when none is free.
int freeFileNumber(const std::string& name) {
  for (int n = 1; n <= kMaxFileNumber; ++n)
    if (!state().handles.count(n)) return n;
  refused(FileError::Kind::BadFileNumber, FileOp::Open, name, "too many files open");
}

}  // namespace

namespace files_internal {

WriteKeeper& writeKeeper() {
  static NoCommand none;
  return installedKeeper() ? *installedKeeper() : none;
}

void setWriteKeeper(WriteKeeper* keeper) { installedKeeper() = keeper; }

[[noreturn]] void refused(FileError::Kind kind, FileOp op, const std::string& name, std::string_view detail) {
  throw FileError(kind, op, name, 0, detail);
}

void checkName(std::string_view name, FileOp op) {
  std::string n(name);
  if (n.empty() || n == "." || n == ".." || n.find('/') != std::string::npos || n.find('\0') != std::string::npos)
    refused(FileError::Kind::BadName, op, n, "invalid file name");
}

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

std::shared_ptr<Image> liveImage(const fs::path& path) {
  auto it = state().images.find(path);
  return it == state().images.end() ? nullptr : it->second.lock();
}

bool isOpenPath(const fs::path& p) { return liveImage(p) != nullptr; }

void makeOnDisk(Image& img) {
  faultPoint(FileOp::Open, img.name);
  const int fd = ::open(img.path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw FileError(FileError::Kind::Io, FileOp::Open, img.name, errno);
  shareAsTheFolder(fd);
  told(FileCall::Kind::Create, img.name);
  img.fd = fd;
  img.madeLater = false;
}

void dropImage(const std::shared_ptr<Image>& img) {
  if (img->handles > 0 || writeKeeper().holds(*img)) return;
  if (img->fd >= 0) ::close(img->fd);
  img->fd = -1;
  auto it = state().images.find(img->path);
  if (it != state().images.end() && it->second.lock() == img) state().images.erase(it);
}

std::int64_t roundedCount(std::int64_t length, int recordLength) {
  std::int64_t whole = length / recordLength;
  std::int64_t rest = length % recordLength;
  std::int64_t twice = rest * 2;
  if (twice > recordLength || (twice == recordLength && whole % 2 == 1)) ++whole;
  return whole;
}

}  // namespace files_internal

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

void syncFile(int fileNumber) {
  Handle& h = handle(fileNumber);
  if (h.image->madeLater) return;  // it reaches the disk with its command
  syncCall(h.image->fd, h.image->name);
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