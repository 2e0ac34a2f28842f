// The two side files of a command on a company's files, which exist only while the command runs:
//
//   "<company>.~JNL"  the rollback journal: for every file the command writes in place, its length and the
//                     old content of every byte it changes, synced before the first overwrite;
//   "<company>.~INT"  the intent: the renames (and deletions) that put a command's new files in place,
//                     synced before the first of them, so that an interrupted set is finished.
//
// Each is written whole with a header that says "being written", flushed, and only then marked ready and
// flushed again: a side file that is not ready was cut short before anything it protects changed. A ready
// one whose content does not match its checksum, or does not parse, is damaged and is never applied.
// Part of the file layer; nothing outside src/common includes this.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::side_files {

std::string journalName(std::string_view company);
std::string intentName(std::string_view company);
// The company a side file belongs to, when the name is one.
std::optional<std::string> companyOfJournal(std::string_view name);
std::optional<std::string> companyOfIntent(std::string_view name);

struct JournalFile {
  std::string name;  // on disk, Windows-1254
  std::int64_t oldLength = 0;
  std::map<std::int64_t, std::vector<std::uint8_t>> oldBytes;  // by offset, apart and within oldLength
};

struct IntentStep {
  std::string from;  // renamed onto `to`; with `to` empty, deleted
  std::string to;
};

// Writes and readies a side file in the working folder; throws FileError naming it.
void writeJournal(const std::string& name, const std::vector<JournalFile>& files);
void writeIntent(const std::string& name, const std::vector<IntentStep>& steps);

enum class SideState { Incomplete, Ready, Damaged };
struct ReadJournal {
  SideState state = SideState::Incomplete;
  std::vector<JournalFile> files;
};
struct ReadIntent {
  SideState state = SideState::Incomplete;
  std::vector<IntentStep> steps;
};
ReadJournal readJournal(const std::string& name);
ReadIntent readIntent(const std::string& name);

// Puts the old bytes back and cuts every file to its old length, each flushed; throws FileError.
void rollBack(const std::vector<JournalFile>& files);
// Makes every step that is not made yet: a rename whose source is still there, a deletion of a file that
// is still there; then flushes the folder. Throws FileError.
void finishSteps(const std::vector<IntentStep>& steps);

}  // namespace kv::side_files
