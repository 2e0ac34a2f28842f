// Test support: a command cut short. Either the process ends (as a kill ends it) before the k-th call the
// file layer makes, or the machine loses its power after the k-th call, which is modelled from the calls
// the command made: what no flush of its file covered may be lost, in any part: a write whole, or all but
// its first sectors, or all but the length it gave its file (zeros then); the folder's entries
// (files made, renamed, deleted) survive in their order up to the last flush of the folder, and of those
// after it any first few.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "files/files.h"

namespace kv::testing {

// The files of the working folder, by UTF-8 name.
using FolderState = std::map<std::string, std::vector<std::uint8_t>>;
FolderState folderState();
// Makes the working folder hold exactly `state`.
void setFolderState(const FolderState& state);

// Runs `command` in a child process that ends at its k-th file call (counted from 1); returns whether the
// command ran to its end without reaching call k.
bool runEndingAtCall(const std::function<void()>& command, int k);
// Runs `command` in a child process that ends before the first file call for which `at` holds; returns
// whether the command ran to its end without reaching it.
bool runEndingWhen(const std::function<void()>& command, const std::function<bool(FileOp, std::string_view)>& at);
// The file calls `command` makes.
int countFileCalls(const std::function<void()>& command);

// What a command did to the folder, recorded through the file layer.
struct RecordedCall {
  FileCall::Kind kind;
  std::string name;  // UTF-8
  std::string to;
  std::int64_t at = 0;
  std::vector<std::uint8_t> bytes;
};
std::vector<RecordedCall> recordFileCalls(const std::function<void()>& command);

// Every folder a power cut after each of `calls` can leave, starting from `before` (all of it on disk),
// each given to `visit` with the number of calls made (1..calls.size()). Where there are more than a few, a random choice of them (from `rng`), always
// with the one that keeps everything and the one that keeps nothing unflushed. Writes to files that
// `matters` rejects are all kept: they do not multiply the cases.
void forEachPowerCut(const FolderState& before, const std::vector<RecordedCall>& calls,
                     const std::function<bool(const std::string& utf8Name)>& matters, std::mt19937& rng,
                     const std::function<void(const FolderState&, std::size_t made)>& visit);

}  // namespace kv::testing
