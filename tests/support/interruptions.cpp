#include "support/interruptions.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "base/text.h"

namespace kv::testing {

namespace fs = std::filesystem;

namespace {
// A company's lock file lives while the program holds the company: it is no part of what a command leaves.
bool isLockFile(const fs::path& p) { return p.extension() == ".~LCK"; }
}  // namespace

FolderState folderState() {
  FolderState state;
  for (const auto& entry : fs::directory_iterator(workingFolder())) {
    if (!entry.is_regular_file() || isLockFile(entry.path())) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    state[entry.path().filename().string()] = std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  return state;
}

void setFolderState(const FolderState& state) {
  for (const auto& entry : fs::directory_iterator(workingFolder()))
    if (!isLockFile(entry.path())) fs::remove(entry.path());
  for (const auto& [name, bytes] : state) {
    std::ofstream out(workingFolder() / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

namespace {

class Counter : public FileFaults {
 public:
  explicit Counter(int endAt) : endAt_(endAt) { setFileFaults(this); }
  ~Counter() override { setFileFaults(nullptr); }
  std::optional<FileFault> fail(FileOp, std::string_view, std::int32_t) override {
    if (++calls == endAt_) _exit(0);
    return std::nullopt;
  }
  int calls = 0;

 private:
  int endAt_;
};

class Ender : public FileFaults {
 public:
  explicit Ender(std::function<bool(FileOp, std::string_view)> at) : at_(std::move(at)) { setFileFaults(this); }
  ~Ender() override { setFileFaults(nullptr); }
  std::optional<FileFault> fail(FileOp op, std::string_view name, std::int32_t) override {
    if (at_(op, name)) _exit(0);
    return std::nullopt;
  }

 private:
  std::function<bool(FileOp, std::string_view)> at_;
};

class Recorder : public FileFaults {
 public:
  Recorder() { setFileFaults(this); }
  ~Recorder() override { setFileFaults(nullptr); }
  std::optional<FileFault> fail(FileOp, std::string_view, std::int32_t) override { return std::nullopt; }
  void made(const FileCall& c) override {
    calls.push_back({c.kind, toUtf8(c.name), toUtf8(c.to), c.at, {c.bytes.begin(), c.bytes.end()}});
  }
  std::vector<RecordedCall> calls;
};

}  // namespace

bool runEndingWhen(const std::function<void()>& command, const std::function<bool(FileOp, std::string_view)>& at) {
  const pid_t child = fork();
  if (child == 0) {
    {
      Ender ender(at);
      try {
        command();
      } catch (...) {
      }
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

bool runEndingAtCall(const std::function<void()>& command, int k) {
  int calls = 0;
  return runEndingWhen(command, [&calls, k](FileOp, std::string_view) { return ++calls == k; });
}

int countFileCalls(const std::function<void()>& command) {
  Counter counter(0);
  command();
  return counter.calls;
}

std::vector<RecordedCall> recordFileCalls(const std::function<void()>& command) {
  Recorder recorder;
  command();
  return std::move(recorder.calls);
}

namespace {

using Bytes = std::vector<std::uint8_t>;

// What of a write that no flush covered a power cut keeps. The disk keeps a sector (512 bytes) whole, old
// or new, so a part of a write ends at a sector's end; and the file's new length can reach the disk
// before the content does, which then reads as zeros.
enum class Kept { Nothing, All, Part, LengthOnly };
constexpr std::size_t kSector = 512;

void applyContent(Bytes& bytes, const RecordedCall& c, Kept kept = Kept::All) {
  if (kept == Kept::Nothing) return;
  if (c.kind == FileCall::Kind::Truncate) {
    bytes.resize(static_cast<std::size_t>(c.at));
    return;
  }
  const auto at = static_cast<std::size_t>(c.at);
  std::size_t n = c.bytes.size();
  if (kept == Kept::Part) {
    const std::size_t partEnd = (at + n / 2) / kSector * kSector;  // the last sector's end before its middle
    if (partEnd <= at) return;
    n = partEnd - at;
  }
  if (bytes.size() < at + n) bytes.resize(at + n);
  if (kept != Kept::LengthOnly) std::copy(c.bytes.begin(), c.bytes.begin() + static_cast<long>(n), bytes.begin() + at);
}

// A file's content as the disk holds it for sure, and what has been done to it since its last flush.
struct Inode {
  Bytes flushed;
  std::vector<const RecordedCall*> since;
};

struct DirStep {
  FileCall::Kind kind;
  std::string name, to;
  int inode = -1;
};

using Names = std::map<std::string, int>;

void applyDir(Names& names, const DirStep& s) {
  if (s.kind == FileCall::Kind::Create) {
    names[s.name] = s.inode;
  } else if (s.kind == FileCall::Kind::Link) {
    if (auto it = names.find(s.name); it != names.end()) names[s.to] = it->second;
  } else if (s.kind == FileCall::Kind::Rename) {
    auto it = names.find(s.name);
    if (it == names.end()) return;
    const int inode = it->second;
    names.erase(it);
    names[s.to] = inode;
  } else {
    names.erase(s.name);
  }
}

}  // namespace

void forEachPowerCut(const FolderState& before, const std::vector<RecordedCall>& calls,
                     const std::function<bool(const std::string&)>& matters, std::mt19937& rng,
                     const std::function<void(const FolderState&, std::size_t)>& visit) {
  std::vector<Inode> inodes;
  Names current, flushedNames;
  std::vector<DirStep> unflushed;  // the folder's entries since its last flush
  std::size_t made = 0;            // calls replayed
  for (const auto& [name, bytes] : before) {
    current[name] = flushedNames[name] = static_cast<int>(inodes.size());
    inodes.push_back({bytes, {}});
  }

  // The folder a power cut leaves when the first `entries` unflushed entries survive and, of the
  // unflushed writes to files that matter, what `keep` says.
  auto cut = [&](std::size_t entries, const std::function<Kept(std::size_t)>& keep) {
    Names names = flushedNames;
    for (std::size_t i = 0; i < entries; ++i) applyDir(names, unflushed[i]);
    FolderState state;
    std::size_t choice = 0;
    for (const auto& [name, inode] : names) {
      Bytes bytes = inodes[inode].flushed;
      for (const RecordedCall* c : inodes[inode].since) applyContent(bytes, *c, matters(name) ? keep(choice++) : Kept::All);
      state[name] = std::move(bytes);
    }
    visit(state, made);
  };
  auto everyWrite = [](Kept k) { return [k](std::size_t) { return k; }; };
  // How many unflushed writes to files that matter the first `entries` entries reach.
  auto choices = [&](std::size_t entries) {
    Names names = flushedNames;
    for (std::size_t i = 0; i < entries; ++i) applyDir(names, unflushed[i]);
    std::size_t n = 0;
    for (const auto& [name, inode] : names)
      if (matters(name)) n += inodes[inode].since.size();
    return n;
  };

  for (const RecordedCall& c : calls) {
    ++made;
    switch (c.kind) {
      case FileCall::Kind::Create:
        current[c.name] = static_cast<int>(inodes.size());
        inodes.push_back({});
        unflushed.push_back({c.kind, c.name, "", current[c.name]});
        break;
      case FileCall::Kind::Write:
      case FileCall::Kind::Truncate: inodes[current.at(c.name)].since.push_back(&c); break;
      case FileCall::Kind::Flush: {
        Inode& inode = inodes[current.at(c.name)];
        for (const RecordedCall* w : inode.since) applyContent(inode.flushed, *w);
        inode.since.clear();
        break;
      }
      case FileCall::Kind::Rename:
      case FileCall::Kind::Link:
      case FileCall::Kind::Delete: {
        const DirStep step{c.kind, c.name, c.to, -1};
        applyDir(current, step);
        unflushed.push_back(step);
        break;
      }
      case FileCall::Kind::FlushFolder:
        for (const DirStep& s : unflushed) applyDir(flushedNames, s);
        unflushed.clear();
        break;
    }
    // Every choice when they are few; else everything kept, nothing kept, and a random dozen between.
    std::size_t all = 0;
    for (std::size_t e = 0; e <= unflushed.size() && all <= 32; ++e) {
      const std::size_t n = choices(e);
      all += n >= 6 ? 64 : std::size_t{1} << n;
    }
    // And every write kept in part, or as its length alone.
    for (const Kept k : {Kept::Part, Kept::LengthOnly}) cut(unflushed.size(), everyWrite(k));
    if (all <= 32) {
      for (std::size_t e = 0; e <= unflushed.size(); ++e)
        for (std::size_t mask = 0; mask < (std::size_t{1} << choices(e)); ++mask)
          cut(e, [mask](std::size_t i) { return ((mask >> i) & 1) != 0 ? Kept::All : Kept::Nothing; });
      continue;
    }
    cut(unflushed.size(), everyWrite(Kept::All));
    cut(0, everyWrite(Kept::Nothing));
    for (int i = 0; i < 12; ++i) {
      const std::size_t entries = std::uniform_int_distribution<std::size_t>(0, unflushed.size())(rng);
      std::vector<Kept> keep(choices(entries));
      for (Kept& k : keep) k = static_cast<Kept>(std::uniform_int_distribution<int>(0, 3)(rng));
      cut(entries, [&keep](std::size_t k) { return keep[k]; });
    }
  }
}

}  // namespace kv::testing
