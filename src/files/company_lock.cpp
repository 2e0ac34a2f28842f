#include "files/company_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "base/text.h"
#include "files/file_error.h"
#include "files/file_names.h"
#include "files/working_folder.h"

namespace kv {

namespace {

namespace fs = std::filesystem;

constexpr int kNoLock = -1;  // the folder goes without the lock

struct Held {
  int fd = kNoLock;
  int holders = 0;
};

struct Locks {
  std::map<std::string, Held> held;               // by the lock file's path
  std::set<std::string> unfinished;  // the companies left for the next opening, by lock path
  CompanyLock session;
  std::string sessionCompany;
};

// Never destroyed: an image that outlives the program's end still lets its lock go.
Locks& locks() {
  static Locks* l = new Locks;
  return *l;
}

std::string keyOf(std::string_view company) {
  return (workingFolder() / toUtf8(lockFileName(company))).lexically_normal().string();
}

bool sameFile(int fd, const std::string& path) {
  struct stat a {}, b {};
  return ::fstat(fd, &a) == 0 && ::lstat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

[[noreturn]] void unusable(const std::string& lockName, int error) {
  throw FileError(FileError::Kind::LockUnusable, FileOp::Open, lockName, error);
}

// Never through a link (a link could lead out of the folder, or make a file there); never waiting on
// what is not a plain file.
constexpr int kLockOpen = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

struct LockFile {
  int fd = kNoLock;
  bool made = false;  // by this call
  int readOnly = 0;   // why it is open for reading only (EACCES, EROFS), else 0
};

// The lock file, opened for locking, and made when it is not there, readable and writable by every user
// whatever the umask: it holds nothing, and every user who may open the company must be able to lock it.
// Where it cannot be written, it is opened for reading, to learn whether another program holds it. Nothing
// (kNoLock) only on a read-only file system where the file is not there to lock.
LockFile openLockFile(const std::string& path, const std::string& lockName) {
  for (;;) {
    LockFile f;
    f.fd = ::open(path.c_str(), O_RDWR | kLockOpen);
    if (f.fd < 0 && (errno == EACCES || errno == EROFS)) {
      const int why = errno;
      f.fd = ::open(path.c_str(), O_RDONLY | kLockOpen);
      if (f.fd >= 0) f.readOnly = why;
    }
    if (f.fd < 0 && errno == ENOENT) {
      f.fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kLockOpen, 0666);
      if (f.fd < 0 && errno == EEXIST) continue;  // another program made it meanwhile
      if (f.fd < 0 && errno == EROFS) return {};
      // Not there, and not to be made: the folder cannot be written, the disk is full or failing.
      if (f.fd < 0) throw FileError(FileError::Kind::LockNotMade, FileOp::Open, lockName, errno);
      f.made = true;
      // Where the mode cannot be set, another user is refused the company, which is safe.
      (void)::fchmod(f.fd, 0666);
    }
    if (f.fd < 0) unusable(lockName, errno);
    // Opened, a folder or a device, a pipe or a socket is still no file to lock.
    struct stat st {};
    const int error = ::fstat(f.fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : S_ISREG(st.st_mode) ? 0 : ENXIO;
    if (error != 0) {
      ::close(f.fd);
      unusable(lockName, error);
    }
    return f;
  }
}

// A lock of the whole file, for writing: the system's open-file-description lock, which a file server (NFS,
// Samba) and its clients see as the same kind of lock as the POSIX locks they take themselves. A kernel
// that does not offer it (EINVAL, before Linux 3.15) gets the classic POSIX lock, which belongs to the
// process and goes when any descriptor of the file closes: safe here, as the program holds one descriptor
// per lock file and opens it nowhere else. Returns 0 or the errno.
int lockCall(int fd, int command, int classic, struct flock& lock) {
  lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  int done = ::fcntl(fd, command, &lock);
  if (done != 0 && errno == EINVAL) done = ::fcntl(fd, classic, &lock);
  return done == 0 ? 0 : errno;
}

struct Taken {
  int fd = kNoLock;
  bool byAnother = false;  // another program holds the lock
};

// Takes the lock at `path` at once, or learns that another program holds it. The lock file is removed
// while the lock is still held, so a program that opened it meanwhile finds, once it has the lock, that its
// file is no longer the one the name leads to, and tries again. Throws FileError (LockUnusable,
// LockNotMade) naming `lockName`.
Taken takeLock(const std::string& path, const std::string& lockName) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    const LockFile f = openLockFile(path, lockName);
    if (f.fd == kNoLock) return {};
    struct flock lock {};
    int error = 0;
    if (!f.readOnly) {
      error = lockCall(f.fd, F_OFD_SETLK, F_SETLK, lock);
      if (error == EACCES) error = EAGAIN;  // how the classic lock may say that another holds it
    } else {
      // A write lock needs a descriptor open for writing: this user can only ask whether another program
      // holds it. When none does, a read-only file system, where no program writes, goes without the
      // lock; elsewhere the company is refused (the file is to be removed, or made writable by all): a
      // lock file this program does not hold is never removed.
      error = lockCall(f.fd, F_OFD_GETLK, F_GETLK, lock);
      if (error == 0) error = lock.l_type != F_UNLCK ? EAGAIN : f.readOnly;
    }
    if (error == 0) {
      if (sameFile(f.fd, path)) return {f.fd, false};
      ::close(f.fd);
      continue;
    }
    const bool held = error == EAGAIN;
    // A file this call made goes again, unless another program has taken it meanwhile.
    if (f.made && !held && sameFile(f.fd, path)) ::unlink(path.c_str());
    ::close(f.fd);
    if (held) return {kNoLock, true};
    if (error == EROFS || error == ENOLCK || error == EOPNOTSUPP) return {};  // nothing written, or no locks
    unusable(lockName, error);
  }
  return {kNoLock, true};  // the lock keeps changing hands
}

void letGo(const std::string& path, int fd) {
  if (fd == kNoLock) return;
  if (sameFile(fd, path)) ::unlink(path.c_str());
  ::close(fd);
}

// The name no company can have: the backups' own.
constexpr std::string_view kBackups = "952KLVR";

}  // namespace

std::string companyOfFile(std::string_view fileName) {
  return files_internal::foldName(fileName.substr(0, std::min(fileName.find('.'), fileName.size())));
}

// Named as the layer matches names, so that every spelling of a company's name takes the one lock.
std::string lockFileName(std::string_view company) { return files_internal::foldName(company) + ".~LCK"; }

CompanyLock::CompanyLock(std::string_view company) {
  if (locks().unfinished.count(keyOf(company)))
    throw FileError(FileError::Kind::Unfinished, FileOp::Open, std::string(company) + ".DAT", 0,
                    "a command of the company is completed at its next opening");
  take(company);
}

CompanyLock::CompanyLock(std::string_view company, EvenUnfinished) { take(company); }

CompanyLock CompanyLock::forRecovery(std::string_view company) { return CompanyLock(company, EvenUnfinished{}); }

void CompanyLock::take(std::string_view company) {
  const std::string key = keyOf(company);
  auto it = locks().held.find(key);
  if (it == locks().held.end()) {
    const Taken taken = takeLock(key, lockFileName(company));
    if (taken.byAnother)
      throw FileError(FileError::Kind::Locked, FileOp::Open, std::string(company) + ".DAT", 0,
                      "the company is open in another program");
    it = locks().held.emplace(key, Held{taken.fd, 0}).first;
  }
  ++it->second.holders;
  key_ = key;
}

CompanyLock::~CompanyLock() { release(); }

CompanyLock::CompanyLock(CompanyLock&& other) noexcept : key_(std::move(other.key_)) { other.key_.clear(); }

CompanyLock& CompanyLock::operator=(CompanyLock&& other) noexcept {
  if (this != &other) {
    release();
    key_ = std::move(other.key_);
    other.key_.clear();
  }
  return *this;
}

bool CompanyLock::held() const {
  if (key_.empty()) return false;
  const auto it = locks().held.find(key_);
  return it != locks().held.end() && it->second.fd != kNoLock;
}

void CompanyLock::release() {
  if (key_.empty()) return;
  auto it = locks().held.find(key_);
  if (it != locks().held.end() && --it->second.holders == 0) {
    letGo(it->first, it->second.fd);
    locks().held.erase(it);
  }
  key_.clear();
}

void holdSession(std::string_view company, CompanyLock lock) {
  locks().session = std::move(lock);
  locks().sessionCompany = upperCase(company);
}

void leaveSession() {
  locks().session = CompanyLock();
  locks().sessionCompany.clear();
}

std::string sessionCompany() { return locks().sessionCompany; }

void leaveUnfinished(std::string_view company) { locks().unfinished.insert(keyOf(company)); }

void unfinishedCompleted(std::string_view company) { locks().unfinished.erase(keyOf(company)); }

bool isUnfinished(std::string_view company) { return locks().unfinished.count(keyOf(company)) != 0; }

BackupsHold::BackupsHold() : path_(keyOf(kBackups)) {
  const std::string name = lockFileName(kBackups);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    Taken taken;
    try {
      taken = takeLock(path_, name);
    } catch (const FileError& e) {
      throw FileError(FileError::Kind::Io, FileOp::Open, name, e.systemError(), e.what());
    }
    if (!taken.byAnother) {
      fd_ = taken.fd;
      return;
    }
    if (std::chrono::steady_clock::now() >= until)
      throw FileError(FileError::Kind::Io, FileOp::Open, name, EAGAIN, "another program keeps the backups");
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

BackupsHold::~BackupsHold() { letGo(path_, fd_); }

}  // namespace kv
