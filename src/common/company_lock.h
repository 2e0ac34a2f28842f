// A company belongs to one program at a time. The program holds a company's lock while it holds any file
// of the company open, while a command on its files runs, and while the start-up dialog puts an
// interrupted command of it right; a second program (a second start, a second desk on a shared folder) is
// refused the company until then. The program's own handles on its own company never conflict: the lock
// is counted, and it goes when the last holder lets it go.
//
// The lock is an advisory lock of the system (flock) on "<company>.~LCK" in the working folder, a file that
// lives only while the lock is held. The system lets the lock go when the program ends in any way, so a
// kill or a crash never leaves a company locked. A folder whose file system cannot lock (some network
// shares) is used without the lock, as before.
//
// A company whose command could not be completed at run time (its renames failed after the point of no
// return) is left for the next opening: its files are not opened again, and no command runs on them, until
// the recovery has completed the command (see recoverInterruptedCommand).
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
  // Takes the company's lock, or joins the program's own hold of it. Throws FileError (Kind::Locked)
  // when another program holds it, and (Kind::Unfinished) when a command of it waits for the next
  // opening, unless `forRecovery`.
  explicit CompanyLock(std::string_view company, bool forRecovery = false);
  ~CompanyLock();
  CompanyLock(CompanyLock&& other) noexcept;
  CompanyLock& operator=(CompanyLock&& other) noexcept;
  CompanyLock(const CompanyLock&) = delete;
  CompanyLock& operator=(const CompanyLock&) = delete;

  bool held() const { return !key_.empty(); }

 private:
  void release();
  std::string key_;
};

// A command of the company is left for the next opening: its files are refused until then.
void leaveUnfinished(std::string_view company);
// The recovery has completed the company's command.
void unfinishedCompleted(std::string_view company);
// The company of the working folder whose command waits for the next opening, if any; empty otherwise.
std::string unfinishedCompany();

}  // namespace kv
