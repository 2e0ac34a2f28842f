#include "files/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/files.h"
#include "files/files_internal.h"

namespace kv::files_internal {

void shareAsTheFolder(int fd) {
  struct stat folder {}, file {};
  if (::stat(workingFolder().c_str(), &folder) != 0 || ::fstat(fd, &file) != 0) return;
  mode_t shared = 0;
  if (folder.st_mode & S_IWGRP) shared |= S_IRGRP | S_IWGRP;
  if (folder.st_mode & S_IWOTH) shared |= S_IROTH | S_IWOTH;
  if ((file.st_mode & shared) != shared) (void)::fchmod(fd, (file.st_mode | shared) & 0777);
}

void takeModeOf(int fd, mode_t mode, gid_t group) {
  // The group first: a change of group may clear bits that the mode then sets.
  (void)::fchown(fd, static_cast<uid_t>(-1), group);
  (void)::fchmod(fd, mode & 0777);
}

void takeModeOf(std::string_view fresh, std::string_view replaced) {
  const Resolved from = resolve(replaced), to = resolve(fresh);
  struct stat old {};
  if (!from.exists || !to.exists || ::stat(from.path.c_str(), &old) != 0) return;
  FdGuard fd{::open(to.path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC)};
  struct stat now {};
  if (fd.fd < 0 || ::fstat(fd.fd, &now) != 0) return;
  if ((now.st_mode & 0777) != (old.st_mode & 0777) || now.st_gid != old.st_gid)
    takeModeOf(fd.fd, old.st_mode, old.st_gid);
}

void checkMayReplace(std::string_view name) {
  const uid_t me = ::geteuid();
  struct stat folder {}, file {};
  if (me == 0 || ::stat(workingFolder().c_str(), &folder) != 0 || !(folder.st_mode & S_ISVTX)) return;
  const Resolved r = resolve(name, FileOp::Rename);
  if (!r.exists || ::lstat(r.path.c_str(), &file) != 0 || file.st_uid == me || folder.st_uid == me) return;
  throw FileError(FileError::Kind::Io, FileOp::Rename, r.name, EPERM,
                  "another user's file, in a folder whose sticky bit keeps it theirs");
}

}  // namespace kv::files_internal
