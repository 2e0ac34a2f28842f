#include "files/company_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <set>

#include "base/text.h"
#include "files/file_names.h"
#include "files/files.h"

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

[[noreturn]] void unusable(std::string_view company, int error) {
  throw FileError(FileError::Kind::LockUnusable, FileOp::Open, lockFileName(company), error);
}

// Never through a link (a link could lead out of the folder, or make a file there); never waiting on
// what is not a plain file.
constexpr int kLockOpen = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// The lock file, opened for locking; `made` when this call made it. A lock needs no write access: a file
// another user made is locked through a read-only descriptor where it cannot be written. Nothing (kNoLock)
// only on a read-only file system where the file is not there to lock.
int openLockFile(const std::string& path, std::string_view company, bool& made) {
  made = false;
  for (;;) {
    int fd = ::open(path.c_str(), O_RDWR | kLockOpen);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(path.c_str(), O_RDONLY | kLockOpen);
    if (fd < 0 && errno == ENOENT) {
      fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kLockOpen, 0666);
      if (fd < 0 && errno == EEXIST) continue;  // another program made it meanwhile
      if (fd < 0 && errno == EROFS) return kNoLock;
      if (fd >= 0) {
        made = true;
        // Every user who may work in the folder can lock it, whatever this user's umask; where the mode
        // cannot be set, another user is refused the company, which is safe.
        (void)::fchmod(fd, 0666);
      }
    }
    if (fd < 0) unusable(company, errno);
    // Opened, a folder or a device, a pipe or a socket is still no file to lock.
    struct stat st {};
    const int error = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : S_ISREG(st.st_mode) ? 0 : ENXIO;
    if (error != 0) {
      ::close(fd);
      unusable(company, error);
    }
    return fd;
  }
}

// The lock file is removed while the lock is still held, so a program that opened it meanwhile finds,
// once it has the lock, that its file is no longer the one the name leads to, and tries again.
int takeLock(const std::string& path, std::string_view company) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    bool made = false;
    const int fd = openLockFile(path, company, made);
    if (fd == kNoLock) return kNoLock;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      if (made && (error == ENOLCK || error == EOPNOTSUPP)) ::unlink(path.c_str());
      ::close(fd);
      if (error == EWOULDBLOCK)
        throw FileError(FileError::Kind::Locked, FileOp::Open, std::string(company) + ".DAT", 0,
                        "the company is open in another program");
      if (error == ENOLCK || error == EOPNOTSUPP) return kNoLock;  // the file system cannot lock
      unusable(company, error);
    }
    if (sameFile(fd, path)) return fd;
    ::close(fd);
  }
  throw FileError(FileError::Kind::Locked, FileOp::Open, std::string(company) + ".DAT", 0,
                  "the company's lock keeps changing hands");
}

void letGo(const std::string& path, int fd) {
  if (fd == kNoLock) return;
  if (sameFile(fd, path)) ::unlink(path.c_str());
  ::close(fd);
}

}  // namespace

std::string companyOfFile(std::string_view fileName) {
  return files_internal::foldName(fileName.substr(0, std::min(fileName.find('.'), fileName.size())));
}

// Named as the layer matches names, so that every spelling of a company's name takes the one lock.
std::string lockFileName(std::string_view company) { return files_internal::foldName(company) + ".~LCK"; }

CompanyLock::CompanyLock(std::string_view company, bool forRecovery) {
  const std::string key = keyOf(company);
  if (!forRecovery && locks().unfinished.count(key))
    throw FileError(FileError::Kind::Unfinished, FileOp::Open, std::string(company) + ".DAT", 0,
                    "a command of the company is completed at its next opening");
  auto it = locks().held.find(key);
  if (it == locks().held.end())
    it = locks().held.emplace(key, Held{takeLock(key, company), 0}).first;
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

}  // namespace kv
