// A company belongs to one program at a time. The program holds a company's lock for its whole session
// on it (from the start-up dialog's OK until it leaves the company), and besides while it holds any file of
// the company open, while a command on its files runs, and while a replacement reads and replaces them; a
// second program (a second start, another user's desk on a shared folder) is refused the company until
// then. The program's own holds on its own company never conflict: the lock is counted, and it goes when
// the last holder lets it go.
//
// The lock is an advisory write lock of the system on the whole of "<company>.~LCK" in the working folder:
// an open-file-description lock (fcntl F_OFD_SETLK), of the kind a file server's own locks and its clients'
// are, so that programs on the desk that shares a folder and on the desks that reach it over NFS or Samba
// meet the same lock (a kernel without it gets the classic POSIX lock). The file is made readable and
// writable by every user and is never reached through a link. The system lets the lock go when the
// program ends in any way; the file may outlive a killed program, which is harmless: the next program
// takes the lock on it. A lock file that is there but cannot be opened or locked (a folder, a link, one the
// user may not read, or may only read while no program holds it) refuses the company (Kind::LockUnusable),
// and so does one that is not there and cannot be made (Kind::LockNotMade: a folder the user may not write,
// a full disk). Only a read-only file system, or one that cannot lock at all (some network shares), goes
// without the lock; then nothing is left behind and the lock is not held.
//
// A company whose command could not be completed at run time (its renames failed after the point of no
// return) is left for the next opening: its files are not opened again, and no command runs on them, until
// the recovery has completed the command (see recoverInterruptedCommand, command_recovery.h).
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The company a file of the working folder belongs to: its name up to the first point, folded as the layer
// matches names ("klvr952.dat", "KLVR952.DAT.~new1" -> "KLVR952").
std::string companyOfFile(std::string_view fileName);
// The name of a company's lock file.
std::string lockFileName(std::string_view company);

class CompanyLock {
 public:
  CompanyLock() = default;
  // Takes the company's lock, or joins the program's own hold of it. Throws FileError: Kind::Locked when
  // another program holds it, Kind::LockUnusable when its lock file cannot be used, Kind::LockNotMade when it
  // is not there and cannot be made, Kind::Unfinished when a command of it waits for the next opening.
  explicit CompanyLock(std::string_view company);
  // The lock of a company also while a command of it waits for the next opening: what the opening holds to
  // put the company right, and the session it opens. Throws FileError as the constructor, but for
  // Kind::Unfinished.
  static CompanyLock forRecovery(std::string_view company);
  ~CompanyLock();
  CompanyLock(CompanyLock&& other) noexcept;
  CompanyLock& operator=(CompanyLock&& other) noexcept;
  CompanyLock(const CompanyLock&) = delete;
  CompanyLock& operator=(const CompanyLock&) = delete;

  // The system's lock is held: false for an empty lock and where the folder goes without the lock.
  bool held() const;

 private:
  struct EvenUnfinished {};
  CompanyLock(std::string_view company, EvenUnfinished);
  void take(std::string_view company);
  void release();
  std::string key_;
};

// The program's session on a company: `lock` is kept until the program leaves the company (it returns to
// the start-up dialog, or ends), whatever windows come and go. A new session ends the one before.
void holdSession(std::string_view company, CompanyLock lock);
void leaveSession();
// The company of the session; empty outside one.
std::string sessionCompany();

// The backups "952KLVR.*" are shared by every company of the folder: the steps of a command onto them are
// made under this hold of the whole folder, a lock as the company's on "952KLVR.~LCK" (no company can have
// that name), so that the backups are always one command's set. It waits a few seconds at most for another
// program's hold, which lasts only as long as its renames; a failure to take it throws FileError naming the
// file. Where the folder goes without locks, so does the hold.
class BackupsHold {
 public:
  BackupsHold();
  ~BackupsHold();
  BackupsHold(const BackupsHold&) = delete;
  BackupsHold& operator=(const BackupsHold&) = delete;

 private:
  std::string path_;
  int fd_ = -1;
};

// A command of the company is left for the next opening: its files are refused until then.
void leaveUnfinished(std::string_view company);
// The recovery has completed the company's command.
void unfinishedCompleted(std::string_view company);
// A command of the company, in the working folder, waits for its next opening.
bool isUnfinished(std::string_view company);

}  // namespace kv
