#include "common/company_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>

#include "common/files.h"
#include "common/files_internal.h"
#include "common/text.h"

namespace kv {

namespace {

namespace fs = std::filesystem;

struct Held {
  int fd = -1;  // -1: the folder cannot lock; the company is used without the lock
  int holders = 0;
};

struct Locks {
  std::map<std::string, Held> held;  // by the lock file's path
  std::map<std::string, std::string> unfinished;  // the companies left for the next opening, by lock path
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
  return ::fstat(fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The lock file is removed while the lock is still held, so a program that opened it meanwhile finds,
// once it has the lock, that its file is no longer the one the name leads to, and tries again.
int takeLock(const std::string& path, std::string_view company) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return -1;  // a folder the program cannot write: nothing can change in it either
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK)
        throw FileError(FileError::Kind::Locked, FileOp::Open, std::string(company) + ".DAT", 0,
                        "the company is open in another program");
      return -1;  // the file system cannot lock
    }
    if (sameFile(fd, path)) return fd;
    ::close(fd);
  }
  throw FileError(FileError::Kind::Locked, FileOp::Open, std::string(company) + ".DAT", 0,
                  "the company's lock keeps changing hands");
}

void letGo(const std::string& path, int fd) {
  if (fd < 0) return;
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
  if (it == locks().held.end()) it = locks().held.emplace(key, Held{takeLock(key, company), 0}).first;
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

void CompanyLock::release() {
  if (key_.empty()) return;
  auto it = locks().held.find(key_);
  if (it != locks().held.end() && --it->second.holders == 0) {
    letGo(it->first, it->second.fd);
    locks().held.erase(it);
  }
  key_.clear();
}

void leaveUnfinished(std::string_view company) { locks().unfinished[keyOf(company)] = upperCase(company); }

void unfinishedCompleted(std::string_view company) { locks().unfinished.erase(keyOf(company)); }

std::string unfinishedCompany() {
  const fs::path folder = workingFolder().lexically_normal();
  for (const auto& [key, company] : locks().unfinished)
    if (fs::path(key).parent_path() == folder) return company;
  return {};
}

}  // namespace kv
