// What a command's side files (their format: side_file_format.h) do to a company's files: whether they fit
// the files as they are, and applying them. A side file that does not fit the files as they are now
// (another company's names, files replaced or removed since, runs that hold neither their old nor their new
// bytes) is foreign or stale, and is never applied; one cut short before it was ready must find the files
// as the command found them, else it is damaged.
//
// Nothing outside the file layer includes this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/side_file_format.h"

namespace kv::side_files {

// The length and checksum of a file of the working folder, as it is on disk; throws FileError.
struct Summary {
  std::int64_t length = 0;
  std::uint64_t sum = 0;
};
Summary summaryOf(const std::string& name);

// What a journal's files must hold. `Old`: what a journal cut short before it was ready must find, the
// command having written nothing yet: every file it wrote in place at its old length (or gone) with every
// run's old bytes, and no file it makes there. `OldOrNew`: what a ready journal fits, a write-back cut
// anywhere: every file it wrote in place there, its length between its old and its new one, and every run
// holding its old or its new bytes; one it made gone, or no longer than its new length with every page
// holding its new bytes or none yet. Either way every file is one of the company's.
enum class JournalFinds { Old, OldOrNew };
bool journalFinds(const std::vector<JournalFile>& files, std::string_view company, JournalFinds what);

// What an intent's steps must find. `Sources`: what an intent cut short before it was ready must find: every
// source one of the company's temporaries or files, there as the intent says. `SourcesOrTargets`: what a
// ready intent fits: every rename moves one of the company's temporaries onto one of its files or a backup,
// every deletion takes one of its temporaries or of its files, each source holds what the intent says, and a
// source that is gone shows in its target (a deletion's is simply made). A step onto a backup "952KLVR.*"
// needs only its source there, or counts as made once it is gone, whatever the backup holds now: every
// company of the folder shares the backups. The steps still to make, or nothing when the intent does not fit.
enum class IntentFinds { Sources, SourcesOrTargets };
std::optional<std::vector<IntentStep>> intentFinds(const std::vector<IntentStep>& steps, std::string_view company,
                                                   IntentFinds what);

// Puts the old bytes back and cuts every file to its old length, each flushed, and removes the files the
// command made; never makes a file. Throws FileError.
void rollBack(const std::vector<JournalFile>& files, std::string_view company);
// Makes the steps in their order, those onto the backups under the folder's BackupsHold, then flushes the
// folder. A step onto a backup that the user may not replace removes its source instead and is noted
// (takeBackupsNotRenewed). Throws FileError naming the step's target.
void applyIntent(const std::vector<IntentStep>& steps, std::string_view company);

}  // namespace kv::side_files
