// The format of the two side files of a command on a company's files, which exist only while the command
// runs:
//
//   "<company>.~JNL"  the rollback journal: for every file the command writes in place, its length before
//                     and after the command, the old content of every run of bytes it changes and a
//                     checksum of the run's new content, synced before the first overwrite; for a file the
//                     command makes, that it was absent, and a checksum of each page of its content;
//   "<company>.~INT"  the intent: the renames (and deletions) that put a command's new files in place, each
//                     with the length and checksum of what it moves, synced before the first of them, so
//                     that an interrupted set is finished.
//
// Each is written whole with a header that says "being written", flushed, and only then marked ready and
// flushed again: a side file that is not ready was cut short before anything it protects changed. A ready
// one whose content does not match its checksum, or does not parse, or names a file twice, is damaged, and
// so is one longer than its header says or than the company's files can need, which is never read. Each
// has its own version, and every version a released build wrote is read. Whether a side file fits the files
// as they are, and applying it, is side_files.h's.
//
// Nothing outside the file layer and its tests (tests/files) includes this: the layer's tests write side
// files that no command writes, to see them refused.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::side_files {

std::string journalName(std::string_view company);
std::string intentName(std::string_view company);

// A checksum of content, for telling the content a side file was written for from any other.
std::uint64_t checksum(std::span<const std::uint8_t> bytes);

// Bytes that never reached the disk: a power cut leaves a page of a file it cut short as zeros.
bool unwritten(std::span<const std::uint8_t> bytes);

// The page by which a command keeps the old content of what it overwrites (a run of a journal never crosses
// one) and journals a file it makes: each lies in one sector of the disk, which a power cut leaves whole,
// its old bytes or its new, or nothing yet.
inline constexpr std::int64_t kPageSize = 512;

struct JournalRun {
  std::vector<std::uint8_t> oldBytes;
  std::uint64_t newSum = 0;  // of the bytes the command wrote over them
};

struct JournalFile {
  static constexpr std::int64_t kAbsent = -1;
  std::string name;  // on disk, Windows-1254
  std::int64_t oldLength = 0;  // kAbsent: the command made the file
  std::int64_t newLength = 0;
  std::map<std::int64_t, JournalRun> runs;  // by offset, apart and within oldLength
  std::vector<std::uint64_t> newPages;      // a made file: the checksum of each page of its new content
  bool made() const { return oldLength == kAbsent; }
};

struct IntentStep {
  std::string from;  // renamed onto `to`; with `to` empty, deleted
  std::string to;
  std::int64_t length = 0;  // what `from` holds; not looked at for a step onto a backup
  std::uint64_t sum = 0;
};

// Writes and readies a side file in the working folder; throws FileError naming it.
void writeJournal(const std::string& name, const std::vector<JournalFile>& files);
void writeIntent(const std::string& name, const std::vector<IntentStep>& steps);

// Incomplete: an empty file (or one that never reached the disk, all zeros), or one whose whole header says
// "being written". Its content is known (`whole`) when its body arrived whole before it was cut short.
enum class SideState { Incomplete, Ready, Damaged };
struct ReadJournal {
  SideState state = SideState::Incomplete;
  bool whole = false;
  std::vector<JournalFile> files;
};
struct ReadIntent {
  SideState state = SideState::Incomplete;
  bool whole = false;
  std::vector<IntentStep> steps;
};
// `company`: whose files bound what the side file can need.
ReadJournal readJournal(const std::string& name, std::string_view company);
ReadIntent readIntent(const std::string& name);

}  // namespace kv::side_files
