#include "files/side_file_format.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

#include "base/bytes.h"
#include "base/text.h"
#include "files/files.h"
#include "files/files_internal.h"

namespace kv::side_files {

using namespace files_internal;

namespace {

constexpr std::string_view kJournalExtension = ".~JNL";
constexpr std::string_view kIntentExtension = ".~INT";
// Each side file has its own version, and the recovery reads every version a released build wrote, so that a
// command cut short is completed or undone by the next build too.
struct Format {
  char magic[8];
  std::uint32_t version;  // written
  std::uint32_t oldest;   // the oldest read
};
// Journal 2: each file's new length and each run's new content. 3: also the files the command made. (1 knew
// neither, and so could never be matched to the files it was written for: it is damaged.)
constexpr Format kJournal = {{'K', 'V', '9', '5', '2', 'J', 'N', 'L'}, 3, 2};
constexpr std::uint32_t kJournalMadeFiles = 3;
// Intent 2: the length and checksum of what each step moves; written as 3 by the builds that wrote journals
// of 3, the same body.
constexpr Format kIntent = {{'K', 'V', '9', '5', '2', 'I', 'N', 'T'}, 3, 2};
constexpr std::uint32_t kReady = 0x59444552;  // "REDY"
constexpr std::uint32_t kBeingWritten = 0;
// magic, version, state, body length, checksum of the body
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 8 + 8;

// ---- Writing a body ----
// A side file is a stream of fields of varying number and length, unlike the fixed records that
// base/bytes.h packs in place; this writer grows it, and the reader below checks every length.

struct Out {
  std::vector<std::uint8_t> bytes;
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void u64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void i64(std::int64_t v) { u64(static_cast<std::uint64_t>(v)); }
  void text(const std::string& s) {
    u32(static_cast<std::uint32_t>(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
  }
  void raw(const std::vector<std::uint8_t>& b) {
    u32(static_cast<std::uint32_t>(b.size()));
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
};

std::vector<std::uint8_t> header(const Format& kind, std::uint32_t state, const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> h(kHeaderSize);
  std::memcpy(h.data(), kind.magic, 8);
  bytes::putI32(h.data() + 8, static_cast<std::int32_t>(kind.version));
  bytes::putI32(h.data() + 12, static_cast<std::int32_t>(state));
  bytes::putI64(h.data() + 16, static_cast<std::int64_t>(body.size()));
  bytes::putI64(h.data() + 24, static_cast<std::int64_t>(checksum(body)));
  return h;
}

// Written whole and flushed with its entry in the folder, then marked ready and flushed again.
void writeSideFile(const std::string& name, const Format& kind, const std::vector<std::uint8_t>& body) {
  const fs::path path = workingFolder() / toUtf8(name);
  FdGuard fd{openForWriting(path, name, true)};
  std::vector<std::uint8_t> all = header(kind, kBeingWritten, body);
  all.insert(all.end(), body.begin(), body.end());
  int error = 0;
  if (writeAll(fd.fd, name, 0, all, 0, error) != all.size())
    throw FileError(FileError::Kind::Io, FileOp::Write, name, error ? error : EIO);
  syncCall(fd.fd, name);
  syncFolder(name.substr(0, name.find('.')));
  const std::vector<std::uint8_t> ready = header(kind, kReady, body);
  if (writeAll(fd.fd, name, 0, ready, 0, error) != ready.size())
    throw FileError(FileError::Kind::Io, FileOp::Write, name, error ? error : EIO);
  syncCall(fd.fd, name);
}

// ---- Reading a body: every length is checked against what is left ----

struct In {
  const std::vector<std::uint8_t>& bytes;
  std::size_t at = 0;
  bool ok = true;
  std::uint32_t version = 0;  // of the side file
  bool has(std::size_t n) {
    if (bytes.size() - at < n) ok = false;
    return ok;
  }
  std::uint32_t u32() {
    if (!has(4)) return 0;
    auto v = static_cast<std::uint32_t>(bytes::getI32(bytes.data() + at));
    at += 4;
    return v;
  }
  std::int64_t i64() {
    if (!has(8)) return 0;
    std::int64_t v = bytes::getI64(bytes.data() + at);
    at += 8;
    return v;
  }
  std::uint64_t u64() { return static_cast<std::uint64_t>(i64()); }
  std::vector<std::uint8_t> raw() {
    const std::uint32_t n = u32();
    if (!has(n)) return {};
    std::vector<std::uint8_t> v(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
    return v;
  }
  std::string text() {
    const std::vector<std::uint8_t> v = raw();
    return std::string(v.begin(), v.end());
  }
  bool done() const { return ok && at == bytes.size(); }
};

// A name the layer could have written: one file of the working folder.
bool plainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

struct Raw {
  SideState state = SideState::Damaged;
  bool whole = false;  // the body is the one the header names
  std::uint32_t version = 0;
  std::vector<std::uint8_t> body;
};

// The bytes of a file from `offset`, at most `limit` of them; throws FileError.
std::vector<std::uint8_t> readPart(int fd, const std::string& name, std::int64_t offset, std::size_t limit) {
  std::vector<std::uint8_t> out(limit);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t n = ::pread(fd, out.data() + done, limit - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(FileError::Kind::Io, FileOp::Read, name, errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  out.resize(done);
  return out;
}

// The version of a header that is one of `kind`'s, else 0.
std::uint32_t versionOf(std::span<const std::uint8_t> head, const Format& kind) {
  const auto version = static_cast<std::uint32_t>(bytes::getI32(head.data() + 8));
  return version >= kind.oldest && version <= kind.version ? version : 0;
}

// A side file shorter than its header was cut short in its first write, which begins with a header that says
// "being written" (the ready header is written over a whole one): every byte that arrived is that header's.
bool cutInItsFirstHeader(std::span<const std::uint8_t> head, const Format& kind) {
  std::uint8_t whole[kHeaderSize] = {};
  std::memcpy(whole, head.data(), head.size());
  if (std::memcmp(whole, kind.magic, std::min<std::size_t>(head.size(), 8)) != 0) return false;
  if (head.size() >= 12 && versionOf(whole, kind) == 0) return false;
  return head.size() < 16 || static_cast<std::uint32_t>(bytes::getI32(whole + 12)) == kBeingWritten;
}

// The state and the body of a side file, its header read first: a body longer than its header says or
// than `limit` is never read (a damaged disk can hold any length). A file that cannot be read at all counts
// as damaged. A kill, a power cut or a failing disk can leave a side file empty, cut in its first header, or,
// where its content never reached the disk, zeros; a header that is cut after it was whole, of another kind
// or of another state was damaged afterwards.
Raw readSideFile(const std::string& name, const Format& kind, std::int64_t limit) {
  Raw raw;
  try {
    const Resolved r = resolve(name, FileOp::Read);
    FdGuard fd{::open(r.path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat st {};
    if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0) return raw;
    const std::int64_t size = st.st_size;
    const std::vector<std::uint8_t> head = readPart(fd.fd, r.name, 0, kHeaderSize);
    if (unwritten(head)) {
      // Zeros that never became content: the whole file must be so, and no longer than content could be.
      if (size > static_cast<std::int64_t>(kHeaderSize) + limit) return raw;
      if (unwritten(readPart(fd.fd, r.name, 0, static_cast<std::size_t>(size)))) raw.state = SideState::Incomplete;
      return raw;
    }
    if (head.size() < kHeaderSize) {
      if (cutInItsFirstHeader(head, kind)) raw.state = SideState::Incomplete;
      return raw;
    }
    if (std::memcmp(head.data(), kind.magic, 8) != 0) return raw;
    raw.version = versionOf(head, kind);
    const auto state = static_cast<std::uint32_t>(bytes::getI32(head.data() + 12));
    const std::int64_t length = bytes::getI64(head.data() + 16);
    const auto sum = static_cast<std::uint64_t>(bytes::getI64(head.data() + 24));
    const std::int64_t body = size - static_cast<std::int64_t>(kHeaderSize);
    if (raw.version == 0 || (state != kReady && state != kBeingWritten)) return raw;
    // Cut short while it was written, a body is at most as long as its header says; never longer.
    if (length < 0 || length > limit || body > length) return raw;
    raw.body = readPart(fd.fd, r.name, static_cast<std::int64_t>(kHeaderSize), static_cast<std::size_t>(body));
    raw.whole = static_cast<std::int64_t>(raw.body.size()) == length && checksum(raw.body) == sum;
    if (state == kReady) raw.state = raw.whole ? SideState::Ready : SideState::Damaged;
    else raw.state = SideState::Incomplete;
  } catch (const FileError&) {
    raw = {};
  }
  if (!raw.whole) raw.body.clear();
  return raw;
}

// The entries of a side file's body, counted first and each read by `one`, which marks a bad one. The
// content is known (`whole`) only when the body is exactly its entries and no entry names a file an entry
// before it names (`key`); any other body is damaged.
template <class Entry, class One, class Key>
SideState readEntries(const std::string& name, const Format& kind, std::int64_t limit, bool& whole,
                      std::vector<Entry>& entries, One one, Key key) {
  const Raw raw = readSideFile(name, kind, limit);
  if (!raw.whole) return raw.state;
  In in{raw.body, 0, true, raw.version};
  const std::uint32_t count = in.u32();
  std::set<std::string> named;
  for (std::uint32_t i = 0; in.ok && i < count; ++i) {
    entries.push_back(one(in));
    for (const std::string& n : key(entries.back()))
      if (!n.empty() && !named.insert(foldName(n)).second) in.ok = false;
  }
  whole = in.done();
  if (whole) return raw.state;
  entries.clear();
  return SideState::Damaged;
}

// What a journal of the company can need: the old bytes of its files, with the runs' own fields, and the
// pages of what a command makes. A longer one was never written by a command.
std::int64_t journalLimit(std::string_view company) {
  std::int64_t files = 0;
  for (const std::string& name : listFiles(std::string(company) + ".*"))
    if (isCompanyFile(name, company)) files += fileLengthByName(name);
  return 2 * files + (std::int64_t{16} << 20);
}

// An intent names a few files.
constexpr std::int64_t kIntentLimit = std::int64_t{1} << 20;

}  // namespace

std::string journalName(std::string_view company) { return std::string(company) + std::string(kJournalExtension); }
std::string intentName(std::string_view company) { return std::string(company) + std::string(kIntentExtension); }

bool unwritten(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::uint64_t checksum(std::span<const std::uint8_t> bytes) {
  // Four lanes of eight bytes a step, each mixed by multiplication, then folded: a whole product file is
  // summed at memory speed at every replacement, and no two contents a command could meet by chance share
  // a sum.
  constexpr std::uint64_t kMul = 0xC2B2AE3D27D4EB4Full;
  std::uint64_t lane[4] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull,
                           bytes.size() * 0xFF51AFD7ED558CCDull};
  std::size_t i = 0;
  for (; i + 32 <= bytes.size(); i += 32) {
    for (int k = 0; k < 4; ++k) {
      std::uint64_t w;
      std::memcpy(&w, bytes.data() + i + 8 * k, 8);
      lane[k] = (lane[k] ^ w) * kMul;
      lane[k] ^= lane[k] >> 29;
    }
  }
  std::uint64_t h = lane[3];
  for (int k = 0; k < 3; ++k) h = ((h ^ lane[k]) * kMul) ^ (h >> 31);
  for (; i < bytes.size(); ++i) h = ((h ^ bytes[i]) * kMul) ^ (h >> 29);
  h = (h ^ (h >> 32)) * kMul;
  return h ^ (h >> 29);
}

void writeJournal(const std::string& name, const std::vector<JournalFile>& files) {
  Out out;
  out.u32(static_cast<std::uint32_t>(files.size()));
  for (const JournalFile& f : files) {
    out.text(f.name);
    out.i64(f.oldLength);
    out.i64(f.newLength);
    out.u32(static_cast<std::uint32_t>(f.runs.size()));
    for (const auto& [at, run] : f.runs) {
      out.i64(at);
      out.raw(run.oldBytes);
      out.u64(run.newSum);
    }
    for (const std::uint64_t page : f.newPages) out.u64(page);
  }
  writeSideFile(name, kJournal, out.bytes);
}

void writeIntent(const std::string& name, const std::vector<IntentStep>& steps) {
  Out out;
  out.u32(static_cast<std::uint32_t>(steps.size()));
  for (const IntentStep& s : steps) {
    out.text(s.from);
    out.text(s.to);
    out.i64(s.length);
    out.u64(s.sum);
  }
  writeSideFile(name, kIntent, out.bytes);
}

ReadJournal readJournal(const std::string& name, std::string_view company) {
  ReadJournal j;
  const auto one = [](In& in) {
    JournalFile f;
    f.name = in.text();
    f.oldLength = in.i64();
    f.newLength = in.i64();
    const std::uint32_t runs = in.u32();
    if (!plainName(f.name) || f.oldLength < JournalFile::kAbsent || f.newLength < f.oldLength ||
        (f.made() && (runs != 0 || in.version < kJournalMadeFiles)))
      in.ok = false;
    std::int64_t end = 0;  // of the run before: the runs come in order, apart
    for (std::uint32_t k = 0; in.ok && k < runs; ++k) {
      const std::int64_t at = in.i64();
      JournalRun run;
      run.oldBytes = in.raw();
      run.newSum = in.u64();
      if (at < end || run.oldBytes.empty() || at > f.oldLength ||
          static_cast<std::int64_t>(run.oldBytes.size()) > f.oldLength - at)
        in.ok = false;
      end = at + static_cast<std::int64_t>(run.oldBytes.size());
      f.runs.emplace(at, std::move(run));
    }
    // Counted without adding to the length first: a damaged length may be the largest there is.
    const std::int64_t pages = f.newLength / kPageSize + (f.newLength % kPageSize != 0 ? 1 : 0);
    if (f.made() && in.ok && in.has(static_cast<std::size_t>(pages) * 8))
      for (std::int64_t at = 0; at < f.newLength; at += kPageSize) f.newPages.push_back(in.u64());
    return f;
  };
  const auto named = [](const JournalFile& f) { return std::vector<std::string>{f.name}; };
  j.state = readEntries<JournalFile>(name, kJournal, journalLimit(company), j.whole, j.files, one, named);
  return j;
}

ReadIntent readIntent(const std::string& name) {
  ReadIntent intent;
  const auto one = [](In& in) {
    IntentStep s;
    s.from = in.text();
    s.to = in.text();
    s.length = in.i64();
    s.sum = in.u64();
    if (!plainName(s.from) || (!s.to.empty() && !plainName(s.to)) || s.length < 0) in.ok = false;
    return s;
  };
  // A file is moved once, and a name is given once.
  const auto named = [](const IntentStep& s) { return std::vector<std::string>{s.from, s.to}; };
  intent.state = readEntries<IntentStep>(name, kIntent, kIntentLimit, intent.whole, intent.steps, one, named);
  return intent;
}

}  // namespace kv::side_files
