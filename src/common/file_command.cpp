#include "common/file_command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "common/files.h"
#include "common/files_internal.h"
#include "common/side_files.h"

namespace kv {

using namespace files_internal;
namespace sf = side_files;

namespace {

// The command keeps the old content of what it overwrites by pages of this size.
constexpr std::int64_t kPageSize = 512;

// A file the command writes in place: its length and the old bytes of every page written, as they were
// when the command began. The pages are also the ones to write at commit.
struct Pending {
  std::shared_ptr<Image> image;
  std::int64_t oldLength = 0;
  std::map<std::int64_t, std::vector<std::uint8_t>> oldPages;
};

struct Running {
  std::string company;
  int depth = 0;
  std::vector<Pending> files;  // in the order first written
  std::map<const Image*, std::size_t> index;
  std::set<fs::path> made;  // files the command created: written straight to disk
  bool journalBegun = false;  // the journal file may exist
  bool onDisk = false;        // the journal is ready: the writes in place may have begun
  bool intentBegun = false;   // the intent file may exist
  bool intent = false;        // the intent is ready: the command completes whatever happens
};

std::optional<Running>& current() {
  static std::optional<Running> r;
  return r;
}

// An undo that could not reach the disk left side files behind: the next command puts them right first.
bool leftBehind = false;

Pending& pendingFor(Running& r, const std::shared_ptr<Image>& img) {
  auto it = r.index.find(img.get());
  if (it != r.index.end()) return r.files[it->second];
  r.index.emplace(img.get(), r.files.size());
  Pending p;
  p.image = img;
  p.oldLength = static_cast<std::int64_t>(img->bytes.size());
  r.files.push_back(std::move(p));
  return r.files.back();
}

// The journal holds only the bytes that changed (a cost, a pointer), not whole pages: a command that
// touches thousands of records keeps its journal small. Changes a few bytes apart make one run.
std::vector<sf::JournalFile> journalOf(const Running& r) {
  constexpr std::size_t kJoin = 16;
  std::vector<sf::JournalFile> files;
  files.reserve(r.files.size());
  for (const Pending& p : r.files) {
    sf::JournalFile f{p.image->name, p.oldLength, {}};
    const std::vector<std::uint8_t>& now = p.image->bytes;
    for (const auto& [page, old] : p.oldPages) {
      const std::size_t base = static_cast<std::size_t>(page * kPageSize);
      std::size_t i = 0;
      while (i < old.size()) {
        if (old[i] == now[base + i]) {
          ++i;
          continue;
        }
        std::size_t end = i + 1, same = 0;
        for (std::size_t j = end; j < old.size() && same < kJoin; ++j) {
          if (old[j] == now[base + j]) {
            ++same;
          } else {
            same = 0;
            end = j + 1;
          }
        }
        // A run that goes on from the page before joins it.
        auto last = f.oldBytes.empty() ? f.oldBytes.end() : std::prev(f.oldBytes.end());
        const auto at = static_cast<std::int64_t>(base + i);
        if (last != f.oldBytes.end() && last->first + static_cast<std::int64_t>(last->second.size()) == at)
          last->second.insert(last->second.end(), old.begin() + static_cast<long>(i), old.begin() + static_cast<long>(end));
        else
          f.oldBytes.emplace(at, std::vector<std::uint8_t>(old.begin() + static_cast<long>(i), old.begin() + static_cast<long>(end)));
        i = end;
      }
    }
    files.push_back(std::move(f));
  }
  return files;
}

void restoreImages(Running& r) {
  for (Pending& p : r.files) {
    std::vector<std::uint8_t>& bytes = p.image->bytes;
    bytes.resize(static_cast<std::size_t>(p.oldLength));
    for (const auto& [page, old] : p.oldPages)
      if (!old.empty()) std::memcpy(bytes.data() + page * kPageSize, old.data(), old.size());
  }
}

// The journal first, ready and durable; then every page written, in runs, and each file flushed.
void flushInPlace(Running& r) {
  if (r.onDisk || r.files.empty()) return;
  r.journalBegun = true;
  sf::writeJournal(sf::journalName(r.company), journalOf(r));
  r.onDisk = true;
  for (Pending& p : r.files) {
    Image& img = *p.image;
    const auto size = static_cast<std::int64_t>(img.bytes.size());
    for (auto it = p.oldPages.begin(); it != p.oldPages.end();) {
      const std::int64_t first = it->first;
      std::int64_t last = first;
      for (++it; it != p.oldPages.end() && it->first == last + 1; ++it) last = it->first;
      const std::int64_t from = first * kPageSize;
      const std::int64_t to = std::min((last + 1) * kPageSize, size);
      if (to <= from) continue;
      const std::span<const std::uint8_t> run(img.bytes.data() + from, static_cast<std::size_t>(to - from));
      int error = 0;
      if (writeAll(img.fd, img.name, from, run, 0, error) != run.size())
        throw FileError(FileError::Kind::Io, FileOp::Write, img.name, error ? error : EIO);
    }
    syncCall(img.fd, img.name);
  }
}

void removeIfThere(const std::string& name) {
  const Resolved r = resolve(name, FileOp::Delete);
  if (r.exists) unlinkCall(r.path, r.name);
}

// The journal goes first: while the intent is there, it decides.
void removeSideFiles(const Running& r) {
  if (r.journalBegun) removeIfThere(sf::journalName(r.company));
  if (r.intentBegun) removeIfThere(sf::intentName(r.company));
  if (r.journalBegun || r.intentBegun) syncFolder();
}

// Everything as it was when the command began: the images at once, the files from the old pages the
// command still holds. What cannot be written back stays under the journal, for the next command or the
// next opening to put right.
void undo(Running& r) {
  if (r.intent) {
    // Past the point of no return: the renames are made, the command completes.
    try {
      removeSideFiles(r);
    } catch (const FileError&) {
      leftBehind = true;
    }
    return;
  }
  const std::vector<sf::JournalFile> old = r.onDisk ? journalOf(r) : std::vector<sf::JournalFile>{};
  restoreImages(r);
  try {
    if (r.intentBegun) removeIfThere(sf::intentName(r.company));
    if (r.onDisk) sf::rollBack(old);
    if (r.journalBegun) removeIfThere(sf::journalName(r.company));
    if (r.journalBegun || r.intentBegun) syncFolder();
  } catch (const FileError&) {
    leftBehind = true;
  }
}

void end() {
  std::vector<std::shared_ptr<Image>> images;
  for (const Pending& p : current()->files) images.push_back(p.image);
  current().reset();
  for (const auto& img : images) dropImage(img);
}

// A damaged side file is never applied. It is kept under a name no command uses and no opening reads.
std::string keepAside(const std::string& name, const std::string& company, std::string_view extension) {
  try {
    return renameToNewName(name, company + "-BOZUK", extension);
  } catch (const FileError&) {
    return name;
  }
}

InterruptedCommand recover(bool removeTemporaries) {
  InterruptedCommand result;
  auto note = [&result](InterruptedCommand::Outcome o) {
    using O = InterruptedCommand::Outcome;
    auto rank = [](O x) { return x == O::Damaged ? 3 : x == O::PutBack ? 2 : x == O::Completed ? 1 : 0; };
    if (rank(o) > rank(result.outcome)) result.outcome = o;
  };
  auto damaged = [&](const std::string& name, const std::string& company, std::string_view extension) {
    result.damagedFile = name;
    result.keptAs = keepAside(name, company, extension);
    note(InterruptedCommand::Outcome::Damaged);
  };
  std::set<std::string> leftAlone;  // companies whose intent is damaged: their journal is not applied either
  for (const std::string& name : listFiles("*" + sf::intentName(""))) {
    const std::optional<std::string> of = sf::companyOfIntent(name);
    if (!of) continue;  // no command's: a company has a name
    const std::string& company = *of;
    const sf::ReadIntent intent = sf::readIntent(name);
    switch (intent.state) {
      case sf::SideState::Incomplete:  // no rename was made; the journal, if any, puts the rest back
        removeIfThere(name);
        note(InterruptedCommand::Outcome::PutBack);
        break;
      case sf::SideState::Ready:  // the writes in place were made before it: the journal is not needed
        sf::finishSteps(intent.steps);
        removeIfThere(sf::journalName(company));
        removeIfThere(name);
        syncFolder();
        note(InterruptedCommand::Outcome::Completed);
        break;
      case sf::SideState::Damaged:
        leftAlone.insert(company);
        damaged(name, company, "INT");
        break;
    }
  }
  for (const std::string& name : listFiles("*" + sf::journalName(""))) {
    const std::optional<std::string> of = sf::companyOfJournal(name);
    if (!of) continue;
    const std::string& company = *of;
    if (leftAlone.count(company)) {
      keepAside(name, company, "JNL");
      continue;
    }
    const sf::ReadJournal journal = sf::readJournal(name);
    switch (journal.state) {
      case sf::SideState::Incomplete:  // cut short before the first write in place
        removeIfThere(name);
        syncFolder();
        note(InterruptedCommand::Outcome::PutBack);
        break;
      case sf::SideState::Ready:
        sf::rollBack(journal.files);
        removeIfThere(name);
        syncFolder();
        note(InterruptedCommand::Outcome::PutBack);
        break;
      case sf::SideState::Damaged: damaged(name, company, "JNL"); break;
    }
  }
  if (removeTemporaries && result.outcome != InterruptedCommand::Outcome::Damaged) {
    for (const char* pattern : {"*.~new*", "*.~old*"})
      for (const std::string& name : listFiles(pattern)) deleteFileQuietly(name);
  }
  return result;
}

}  // namespace

namespace files_internal {

void commandMadeFile(const fs::path& path) {
  if (current()) current()->made.insert(path);
}

bool commandTakesWrite(const std::shared_ptr<Image>& img, std::int64_t offset, std::span<const std::uint8_t> data) {
  auto& r = current();
  if (!r || data.empty() || r->made.count(img->path)) return false;
  if (r->onDisk || r->intentBegun)
    throw std::logic_error("a command writes in place after its writes have gone to disk");
  Pending& p = pendingFor(*r, img);
  std::vector<std::uint8_t>& bytes = img->bytes;
  const std::int64_t end = offset + static_cast<std::int64_t>(data.size());
  for (std::int64_t page = offset / kPageSize; page <= (end - 1) / kPageSize; ++page) {
    if (p.oldPages.count(page)) continue;
    const std::int64_t from = std::min(page * kPageSize, p.oldLength);
    const std::int64_t to = std::min((page + 1) * kPageSize, p.oldLength);
    p.oldPages.emplace(page, std::vector<std::uint8_t>(bytes.begin() + from, bytes.begin() + to));
  }
  if (end > static_cast<std::int64_t>(bytes.size())) bytes.resize(static_cast<std::size_t>(end), 0);
  std::memcpy(bytes.data() + offset, data.data(), data.size());
  return true;
}

bool commandHolds(const Image& img) { return current() && current()->index.count(&img) != 0; }

void commandIntends(const std::vector<side_files::IntentStep>& steps) {
  auto& r = current();
  if (!r) throw std::logic_error("a replacement outside a command");
  if (r->intentBegun) throw std::logic_error("one replacement in a command");
  flushInPlace(*r);
  r->intentBegun = true;
  sf::writeIntent(sf::intentName(r->company), steps);
  r->intent = true;
}

void commandIntentWithdrawn() {
  auto& r = current();
  if (!r || !r->intentBegun) return;
  r->intent = false;
  r->intentBegun = false;
  try {
    removeIfThere(sf::intentName(r->company));
    syncFolder();
  } catch (const FileError&) {
    leftBehind = true;
  }
}

}  // namespace files_internal

FileCommand::FileCommand(std::string_view company) {
  auto& r = current();
  if (r) {
    ++r->depth;
    return;
  }
  if (leftBehind) {
    recover(false);
    leftBehind = false;
  }
  r.emplace();
  r->company = std::string(company);
  r->depth = 1;
  outermost_ = true;
}

FileCommand::~FileCommand() {
  auto& r = current();
  if (!outermost_) {
    if (r) --r->depth;
    return;
  }
  if (done_ || !r) return;
  undo(*r);
  end();
}

void FileCommand::commit() {
  if (!outermost_ || done_) return;
  done_ = true;
  Running& r = *current();
  try {
    flushInPlace(r);
    removeSideFiles(r);
  } catch (const FileError&) {
    // With its intent ready the command has completed; only the tidying up failed, and the next opening
    // or command finishes it.
    const bool completed = r.intent;
    undo(r);
    end();
    if (completed) return;
    throw;
  }
  end();
}

bool FileCommand::running() { return current().has_value(); }

InterruptedCommand recoverInterruptedCommands() { return recover(true); }

}  // namespace kv
