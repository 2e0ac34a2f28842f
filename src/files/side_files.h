// The two side files of a command on a company's files, which exist only while the command runs:
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
// so is one longer than its header says or than the company's files can need, which is never read; one
// that does not fit the files as they are now (another company's names, files replaced or removed since,
// runs that hold neither their old nor their new bytes) is foreign or stale. Neither is ever applied.
// Part of the file layer; nothing outside it includes this.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::side_files {

std::string journalName(std::string_view company);
std::string intentName(std::string_view company);

// The names a command of `company` works with: its files "<company>.<ext>", the fixed backups
// "952KLVR.<ext>", and its temporaries "<company>.<ext>.~new" / ".~old", numbered or not.
bool isCompanyFile(std::string_view name, std::string_view company);
bool isBackupFile(std::string_view name);
bool isTemporaryOf(std::string_view name, std::string_view company);

// A checksum of content, for telling the content a side file was written for from any other.
std::uint64_t checksum(std::span<const std::uint8_t> bytes);
// The length and checksum of a file of the working folder, as it is on disk; throws FileError.
struct Summary {
  std::int64_t length = 0;
  std::uint64_t sum = 0;
};
Summary summaryOf(const std::string& name);

struct JournalRun {
  std::vector<std::uint8_t> oldBytes;
  std::uint64_t newSum = 0;  // of the bytes the command wrote over them
};

// Made files are journalled page by page: a power cut leaves each page of the disk whole, its new bytes or
// nothing yet.
inline constexpr std::int64_t kJournalPage = 512;

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

// A ready journal fits the company's files as they are: every file is one of the company's; one it wrote
// in place is there, its length is between its old and its new one, and every run holds its old or its
// new bytes; one it made is gone, or no longer than its new length with every page holding its new bytes
// or none yet.
bool journalFits(const std::vector<JournalFile>& files, std::string_view company);
// The files hold none of the journal's new bytes, and no file it makes is there: what a journal cut short
// before it was ready must find.
bool journalUnapplied(const std::vector<JournalFile>& files, std::string_view company);
// The steps of a ready intent still to make, when it fits the company's files as they are: every rename
// moves one of the company's temporaries onto one of its files or a backup, every deletion takes one of
// its temporaries or of its files, each source holds what the intent says, and a source that is gone shows
// in its target (a deletion's is simply made). A step onto a backup "952KLVR.*" is made when its source is
// gone, whatever the backup holds now: every company of the folder shares the backups. Nothing when it
// does not fit.
std::optional<std::vector<IntentStep>> stepsToMake(const std::vector<IntentStep>& steps, std::string_view company);
// Every source is there as the intent says: what an intent cut short before it was ready must find.
bool intentUnapplied(const std::vector<IntentStep>& steps, std::string_view company);

// Puts the old bytes back and cuts every file to its old length, each flushed, and removes the files the
// command made; never makes a file. Throws FileError.
void rollBack(const std::vector<JournalFile>& files, std::string_view company);
// Makes the steps in their order, those onto the backups under the folder's BackupsHold, then flushes the
// folder. A step onto a backup that the user may not replace removes its source instead and is noted
// (takeBackupsNotRenewed). Throws FileError naming the step's target.
void makeSteps(const std::vector<IntentStep>& steps, std::string_view company);

}  // namespace kv::side_files
