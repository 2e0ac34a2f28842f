#include "files/side_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "files/company_lock.h"
#include "files/files.h"
#include "files/files_internal.h"

namespace kv::side_files {

using namespace files_internal;

namespace {

struct OnDisk {
  bool exists = false;
  std::vector<std::uint8_t> bytes;
};

OnDisk onDisk(const std::string& name) {
  const Resolved r = resolve(name, FileOp::Read);
  if (!r.exists) return {};
  return {true, contentOf(r, FileOp::Read)};
}

// The length and checksum of a file that is there.
Summary summaryOf(const Resolved& r) {
  FdGuard fd{::open(r.path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat st {};
  if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0) throw FileError(FileError::Kind::Io, FileOp::Read, r.name, errno);
  const auto size = static_cast<std::size_t>(st.st_size);
  if (size > 0) {
    // Mapped, the file's pages are summed where the system holds them, without a copy.
    void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.fd, 0);
    if (at != MAP_FAILED) {
      const std::uint64_t sum = checksum({static_cast<const std::uint8_t*>(at), size});
      ::munmap(at, size);
      return {static_cast<std::int64_t>(size), sum};
    }
  }
  const std::vector<std::uint8_t> content = contentOf(r, FileOp::Read);
  return {static_cast<std::int64_t>(content.size()), checksum(content)};
}

// What a file holds now, when it is there.
std::optional<Summary> summaryIfThere(const std::string& name) {
  const Resolved r = resolve(name, FileOp::Read);
  if (!r.exists) return std::nullopt;
  return summaryOf(r);
}

bool holds(const std::optional<Summary>& now, const IntentStep& step) {
  return now && now->length == step.length && now->sum == step.sum;
}

enum class RunHolds { Old, New, Neither };
RunHolds runHolds(const std::vector<std::uint8_t>& bytes, std::int64_t at, const JournalRun& run) {
  const auto n = static_cast<std::int64_t>(run.oldBytes.size());
  if (at + n > static_cast<std::int64_t>(bytes.size())) return RunHolds::Neither;
  const std::span<const std::uint8_t> now(bytes.data() + at, static_cast<std::size_t>(n));
  if (std::equal(now.begin(), now.end(), run.oldBytes.begin())) return RunHolds::Old;
  return checksum(now) == run.newSum ? RunHolds::New : RunHolds::Neither;
}

// A file the command made holds what it wrote, or part of it: no longer than its new content, and every page
// the new bytes or none yet (zeros), as a power cut leaves it. A page the file's end cuts is no page the
// command wrote, so it holds other content.
bool madeFileHolds(const std::vector<std::uint8_t>& bytes, const JournalFile& f) {
  const auto length = static_cast<std::int64_t>(bytes.size());
  if (length > f.newLength) return false;
  for (std::int64_t at = 0; at < length; at += kPageSize) {
    const std::int64_t end = std::min(at + kPageSize, f.newLength);
    if (end > length) return false;
    const std::span<const std::uint8_t> page(bytes.data() + at, static_cast<std::size_t>(end - at));
    if (!unwritten(page) && checksum(page) != f.newPages[static_cast<std::size_t>(at / kPageSize)]) return false;
  }
  return true;
}

}  // namespace

Summary summaryOf(const std::string& name) { return summaryOf(resolve(name, FileOp::Read)); }

bool journalFinds(const std::vector<JournalFile>& files, std::string_view company, JournalFinds what) {
  const bool orNew = what == JournalFinds::OldOrNew;
  for (const JournalFile& f : files) {
    if (!isCompanyFile(f.name, company)) return false;
    const OnDisk file = onDisk(f.name);
    if (!file.exists) {
      if (f.made() || !orNew) continue;
      return false;
    }
    // A command makes its files only once its journal is ready.
    if (f.made()) {
      if (!orNew || !madeFileHolds(file.bytes, f)) return false;
      continue;
    }
    // A file the command extended can be cut anywhere between by a power cut during its write-back.
    const auto length = static_cast<std::int64_t>(file.bytes.size());
    if (length < f.oldLength || length > (orNew ? f.newLength : f.oldLength)) return false;
    for (const auto& [at, run] : f.runs) {
      const RunHolds now = runHolds(file.bytes, at, run);
      if (now == RunHolds::Neither || (now == RunHolds::New && !orNew)) return false;
    }
  }
  return true;
}

std::optional<std::vector<IntentStep>> intentFinds(const std::vector<IntentStep>& steps, std::string_view company,
                                                   IntentFinds what) {
  const bool orTargets = what == IntentFinds::SourcesOrTargets;
  // The names first: an intent that names other files is foreign before any file is read.
  for (const IntentStep& s : steps) {
    const bool temporary = isTemporaryOf(s.from, company);
    if (!orTargets || s.to.empty() ? !(temporary || isCompanyFile(s.from, company))
                                   : !(temporary && (isCompanyFile(s.to, company) || isBackupFile(s.to))))
      return std::nullopt;
  }
  std::vector<IntentStep> left;
  for (const IntentStep& s : steps) {
    if (isBackupFile(s.to)) {
      // Another company's command may have put its own old files there since: the step is made all the same.
      if (resolve(s.from, FileOp::Read).exists) left.push_back(s);
      else if (!orTargets) return std::nullopt;
      continue;
    }
    if (const std::optional<Summary> from = summaryIfThere(s.from)) {
      if (!holds(from, s)) return std::nullopt;
      left.push_back(s);
    } else if (!orTargets || (!s.to.empty() && !holds(summaryIfThere(s.to), s))) {
      return std::nullopt;  // neither moved nor there to move
    }
  }
  return left;
}

void rollBack(const std::vector<JournalFile>& files, std::string_view company) {
  for (const JournalFile& f : files) {
    const Resolved r = resolve(f.name, FileOp::Write);
    if (f.made()) {
      if (r.exists) unlinkCall(r.path, r.name);
      continue;
    }
    if (!r.exists) throw FileError(FileError::Kind::NotFound, FileOp::Write, f.name);
    FdGuard fd{openForWriting(r.path, r.name, false)};
    for (const auto& [at, run] : f.runs) {
      int error = 0;
      if (writeAll(fd.fd, r.name, at, run.oldBytes, 0, error) != run.oldBytes.size())
        throw FileError(FileError::Kind::Io, FileOp::Write, r.name, error ? error : EIO);
    }
    truncateCall(fd.fd, r.name, f.oldLength);
    syncCall(fd.fd, r.name);
  }
  syncFolder(company);
}

void applyIntent(const std::vector<IntentStep>& steps, std::string_view company) {
  std::optional<BackupsHold> backups;
  if (std::any_of(steps.begin(), steps.end(), [](const IntentStep& s) { return isBackupFile(s.to); }))
    backups.emplace();
  for (const IntentStep& s : steps) {
    const Resolved from = resolve(s.from, FileOp::Rename);
    if (!from.exists) continue;  // made before
    if (s.to.empty()) {
      unlinkCall(from.path, from.name);
      continue;
    }
    const Resolved to = resolve(s.to, FileOp::Rename);
    const int error = renameCall(from.path, to.path, to.name, false, from.name, to.name);
    if (error == 0) continue;
    // A backup this user may not replace (another user's, in a folder whose sticky bit keeps it theirs)
    // stays as it is: the command goes on without it, the old content it was to keep goes, and the user
    // is told. A step whose source is gone counts as made, at run time as in a recovery.
    if (isBackupFile(s.to) && (error == EPERM || error == EACCES)) {
      unlinkCall(from.path, from.name);
      noteBackupNotRenewed(FileError(FileError::Kind::Io, FileOp::Rename, to.name, error));
      continue;
    }
    throw FileError(FileError::Kind::Io, FileOp::Rename, to.name, error);
  }
  backups.reset();
  syncFolder(company);
}

}  // namespace kv::side_files

namespace kv {

namespace {

std::vector<FileError>& backupsNotRenewed() {
  static std::vector<FileError> notRenewed;
  return notRenewed;
}

}  // namespace

void files_internal::noteBackupNotRenewed(const FileError& error) { backupsNotRenewed().push_back(error); }

std::vector<FileError> takeBackupsNotRenewed() { return std::exchange(backupsNotRenewed(), {}); }

}  // namespace kv
