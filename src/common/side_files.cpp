#include "common/side_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/bytes.h"
#include "common/files.h"
#include "common/files_internal.h"
#include "common/text.h"

namespace kv::side_files {

using namespace files_internal;

namespace {

constexpr std::string_view kJournalExtension = ".~JNL";
constexpr std::string_view kIntentExtension = ".~INT";
constexpr char kJournalMagic[8] = {'K', 'V', '9', '5', '2', 'J', 'N', 'L'};
constexpr char kIntentMagic[8] = {'K', 'V', '9', '5', '2', 'I', 'N', 'T'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kReady = 0x59444552;  // "REDY"
// magic, version, state, body length, checksum of the body
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 8 + 8;

std::optional<std::string> companyOf(std::string_view name, std::string_view extension) {
  if (name.size() <= extension.size()) return std::nullopt;
  const std::string tail = upperCase(name.substr(name.size() - extension.size()));
  if (tail != extension) return std::nullopt;
  return std::string(name.substr(0, name.size() - extension.size()));
}

std::uint64_t checksum(const std::vector<std::uint8_t>& body) {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (std::uint8_t b : body) h = (h ^ b) * 1099511628211ull;
  return h;
}

// ---- Writing a body ----

struct Out {
  std::vector<std::uint8_t> bytes;
  void u8(std::uint8_t v) { bytes.push_back(v); }
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void i64(std::int64_t v) {
    auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
  }
  void text(const std::string& s) {
    u32(static_cast<std::uint32_t>(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
  }
  void raw(const std::vector<std::uint8_t>& b) {
    u32(static_cast<std::uint32_t>(b.size()));
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
};

std::vector<std::uint8_t> header(const char (&magic)[8], std::uint32_t state, const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> h(kHeaderSize);
  std::memcpy(h.data(), magic, 8);
  bytes::putI32(h.data() + 8, static_cast<std::int32_t>(kVersion));
  bytes::putI32(h.data() + 12, static_cast<std::int32_t>(state));
  bytes::putI64(h.data() + 16, static_cast<std::int64_t>(body.size()));
  bytes::putI64(h.data() + 24, static_cast<std::int64_t>(checksum(body)));
  return h;
}

// Written whole and flushed with its entry in the folder, then marked ready and flushed again.
void writeSideFile(const std::string& name, const char (&magic)[8], const std::vector<std::uint8_t>& body) {
  const fs::path path = workingFolder() / toUtf8(name);
  FdGuard fd{openForWriting(path, name, true)};
  std::vector<std::uint8_t> all = header(magic, 0, body);
  all.insert(all.end(), body.begin(), body.end());
  int error = 0;
  if (writeAll(fd.fd, name, 0, all, 0, error) != all.size())
    throw FileError(FileError::Kind::Io, FileOp::Write, name, error ? error : EIO);
  syncCall(fd.fd, name);
  syncFolder();
  const std::vector<std::uint8_t> ready = header(magic, kReady, body);
  if (writeAll(fd.fd, name, 0, ready, 0, error) != ready.size())
    throw FileError(FileError::Kind::Io, FileOp::Write, name, error ? error : EIO);
  syncCall(fd.fd, name);
}

// ---- Reading a body: every length is checked against what is left ----

struct In {
  const std::vector<std::uint8_t>& bytes;
  std::size_t at = 0;
  bool ok = true;
  bool has(std::size_t n) {
    if (bytes.size() - at < n) ok = false;
    return ok;
  }
  std::uint8_t u8() { return has(1) ? bytes[at++] : 0; }
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

// The state and the body of a side file; a file that cannot be read at all counts as damaged.
SideState readSideFile(const std::string& name, const char (&magic)[8], std::vector<std::uint8_t>& body) {
  const Resolved r = resolve(name, FileOp::Read);
  FdGuard fd{::open(r.path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (fd.fd < 0) return SideState::Damaged;
  std::vector<std::uint8_t> all;
  std::uint8_t buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return SideState::Damaged;
    if (n == 0) break;
    all.insert(all.end(), buf, buf + n);
  }
  if (all.size() < kHeaderSize || std::memcmp(all.data(), magic, 8) != 0) return SideState::Incomplete;
  const auto state = static_cast<std::uint32_t>(bytes::getI32(all.data() + 12));
  if (state == 0) return SideState::Incomplete;
  const auto version = static_cast<std::uint32_t>(bytes::getI32(all.data() + 8));
  const auto length = static_cast<std::uint64_t>(bytes::getI64(all.data() + 16));
  const auto sum = static_cast<std::uint64_t>(bytes::getI64(all.data() + 24));
  if (state != kReady || version != kVersion || length != all.size() - kHeaderSize) return SideState::Damaged;
  body.assign(all.begin() + static_cast<std::ptrdiff_t>(kHeaderSize), all.end());
  return checksum(body) == sum ? SideState::Ready : SideState::Damaged;
}

}  // namespace

std::string journalName(std::string_view company) { return std::string(company) + std::string(kJournalExtension); }
std::string intentName(std::string_view company) { return std::string(company) + std::string(kIntentExtension); }
std::optional<std::string> companyOfJournal(std::string_view name) { return companyOf(name, kJournalExtension); }
std::optional<std::string> companyOfIntent(std::string_view name) { return companyOf(name, kIntentExtension); }

void writeJournal(const std::string& name, const std::vector<JournalFile>& files) {
  Out out;
  out.u32(static_cast<std::uint32_t>(files.size()));
  for (const JournalFile& f : files) {
    out.text(f.name);
    out.i64(f.oldLength);
    out.u32(static_cast<std::uint32_t>(f.oldBytes.size()));
    for (const auto& [at, old] : f.oldBytes) {
      out.i64(at);
      out.raw(old);
    }
  }
  writeSideFile(name, kJournalMagic, out.bytes);
}

void writeIntent(const std::string& name, const std::vector<IntentStep>& steps) {
  Out out;
  out.u32(static_cast<std::uint32_t>(steps.size()));
  for (const IntentStep& s : steps) {
    out.text(s.from);
    out.text(s.to);
  }
  writeSideFile(name, kIntentMagic, out.bytes);
}

ReadJournal readJournal(const std::string& name) {
  ReadJournal j;
  std::vector<std::uint8_t> body;
  j.state = readSideFile(name, kJournalMagic, body);
  if (j.state != SideState::Ready) return j;
  In in{body};
  const std::uint32_t count = in.u32();
  for (std::uint32_t i = 0; in.ok && i < count; ++i) {
    JournalFile f;
    f.name = in.text();
    f.oldLength = in.i64();
    const std::uint32_t runs = in.u32();
    if (!plainName(f.name) || f.oldLength < 0) in.ok = false;
    std::int64_t end = 0;  // of the run before: the runs come in order, apart
    for (std::uint32_t k = 0; in.ok && k < runs; ++k) {
      const std::int64_t at = in.i64();
      std::vector<std::uint8_t> old = in.raw();
      if (at < end || old.empty() || at > f.oldLength || static_cast<std::int64_t>(old.size()) > f.oldLength - at)
        in.ok = false;
      end = at + static_cast<std::int64_t>(old.size());
      f.oldBytes.emplace(at, std::move(old));
    }
    j.files.push_back(std::move(f));
  }
  if (!in.done()) {
    j.state = SideState::Damaged;
    j.files.clear();
  }
  return j;
}

ReadIntent readIntent(const std::string& name) {
  ReadIntent intent;
  std::vector<std::uint8_t> body;
  intent.state = readSideFile(name, kIntentMagic, body);
  if (intent.state != SideState::Ready) return intent;
  In in{body};
  const std::uint32_t count = in.u32();
  for (std::uint32_t i = 0; in.ok && i < count; ++i) {
    IntentStep s;
    s.from = in.text();
    s.to = in.text();
    if (!plainName(s.from) || (!s.to.empty() && !plainName(s.to))) in.ok = false;
    intent.steps.push_back(std::move(s));
  }
  if (!in.done()) {
    intent.state = SideState::Damaged;
    intent.steps.clear();
  }
  return intent;
}

void rollBack(const std::vector<JournalFile>& files) {
  for (const JournalFile& f : files) {
    const fs::path path = workingFolder() / toUtf8(f.name);
    FdGuard fd{openForWriting(path, f.name, false)};
    for (const auto& [at, old] : f.oldBytes) {
      int error = 0;
      if (writeAll(fd.fd, f.name, at, old, 0, error) != old.size())
        throw FileError(FileError::Kind::Io, FileOp::Write, f.name, error ? error : EIO);
    }
    truncateCall(fd.fd, f.name, f.oldLength);
    syncCall(fd.fd, f.name);
  }
  syncFolder();
}

void finishSteps(const std::vector<IntentStep>& steps) {
  for (const IntentStep& s : steps) {
    const Resolved from = resolve(s.from, FileOp::Rename);
    if (!from.exists) continue;  // made before the interruption
    if (s.to.empty()) {
      unlinkCall(from.path, from.name);
      continue;
    }
    const Resolved to = resolve(s.to, FileOp::Rename);
    if (int error = renameCall(from.path, to.path, to.name, false, from.name, to.name))
      throw FileError(FileError::Kind::Io, FileOp::Rename, to.name, error);
  }
  syncFolder();
}

}  // namespace kv::side_files
