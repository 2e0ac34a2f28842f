// Reading a workbook through the reader program: it is started as a program of its own (never a fork of
// this one, which has threads), its standard output is read with a deadline and a cap on its size, and
// it is killed and waited for whatever happens, so that no reader outlives the read.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "sheet/sheet.h"
#include "sheet/sheet_wire.h"

extern char** environ;

namespace kv::sheet {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kReaderName = "kalvor952-sheet-reader";

std::vector<std::string>& placesGiven() {
  static std::vector<std::string> places;
  return places;
}

// Beside the running program, where an install puts it, or where the build made it.
std::vector<std::filesystem::path> readerPlaces() {
  std::vector<std::filesystem::path> places(placesGiven().begin(), placesGiven().end());
  if (!places.empty()) return places;
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    places.push_back(self.parent_path() / kReaderName);
    places.push_back((self.parent_path() / KV_READER_FROM_BIN).lexically_normal());
  }
  places.emplace_back(KV_READER_IN_BUILD);
  return places;
}

[[noreturn]] void readerMissing(const std::vector<std::filesystem::path>& places) {
  std::string named;
  for (const auto& p : places) named += (named.empty() ? "" : ", ") + cp1254FromUtf8Lossy(p.string());
  throw ReaderMissing(named);
}

std::string readerProgram() {
  const auto places = readerPlaces();
  for (const auto& p : places)
    if (::access(p.c_str(), X_OK) == 0) return p.string();
  readerMissing(places);
}

std::vector<std::string> readerEnvironment([[maybe_unused]] const ReaderLimits& limits) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
#if defined(__SANITIZE_ADDRESS__)
  // The address sanitizer reserves far more address space than the limit, so the reader cannot limit
  // it; the sanitizer limits the memory itself. A read that ends well is no leak report's business.
  const std::string ours = "detect_leaks=0:allocator_may_return_null=1:hard_rss_limit_mb=" +
                           std::to_string(limits.memoryMiB) + ":mmap_limit_mb=" + std::to_string(limits.memoryMiB);
  bool found = false;
  for (std::string& e : env)
    if (e.starts_with("ASAN_OPTIONS=")) e += ":" + ours, found = true;
  if (!found) env.push_back("ASAN_OPTIONS=" + ours);
#endif
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> p;
  for (std::string& t : texts) p.push_back(t.data());
  p.push_back(nullptr);
  return p;
}

// The reader's process: its output pipe, and its end.
class ReaderProcess {
 public:
  ReaderProcess(std::vector<std::string> args, std::vector<std::string> env) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw SheetError("no pipe for the workbook reader");
    output_ = fds[0];
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&files, fds[1], 1);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXCPU);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    auto argv = pointers(args);
    auto envp = pointers(env);
    const int failed = ::posix_spawn(&pid_, argv[0], &files, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    ::close(fds[1]);
    if (failed != 0) {
      pid_ = -1;
      ::close(output_);
      readerMissing({argv[0]});
    }
  }
  ~ReaderProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    ::close(output_);
  }
  ReaderProcess(const ReaderProcess&) = delete;
  ReaderProcess& operator=(const ReaderProcess&) = delete;

  int output() const { return output_; }

  // Its exit status once it has ended; by the deadline it is killed.
  int wait(Clock::time_point deadline) {
    for (;;) {
      int status = 0;
      const pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        pid_ = -1;
        return status;
      }
      if (done < 0 && errno != EINTR) throw SheetError("the workbook reader is lost");
      if (Clock::now() >= deadline) throw SheetError("the workbook reader takes too long");
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

class PipeSource : public WireSource {
 public:
  PipeSource(int fd, Clock::time_point deadline) : fd_(fd), deadline_(deadline) {}

  std::size_t read(char* into, std::size_t most) override {
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
      if (left <= 0) throw SheetError("the workbook reader takes too long");
      pollfd p{fd_, POLLIN, 0};
      const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
      if (ready < 0 && errno != EINTR) throw SheetError("the workbook reader's output cannot be read");
      if (ready <= 0) continue;
      const ssize_t n = ::read(fd_, into, most);
      if (n < 0) {
        if (errno == EINTR || errno == EAGAIN) continue;
        throw SheetError("the workbook reader's output cannot be read");
      }
      total_ += static_cast<std::uint64_t>(n);
      if (n > 0) spoke_ = true;
      if (total_ > kMaxWireBytes) throw SheetError("the workbook reader's output is too long");
      return static_cast<std::size_t>(n);
    }
  }
  // Whether the reader wrote anything at all.
  bool spoke() const { return spoke_; }

 private:
  int fd_;
  Clock::time_point deadline_;
  std::uint64_t total_ = 0;
  bool spoke_ = false;
};

}  // namespace

void setReaderPlaces(std::vector<std::string> utf8Paths) { placesGiven() = std::move(utf8Paths); }

Sheet readFirstSheet(std::string_view name, const SheetRange& range, const ReaderLimits& limits) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(limits.waitMilliseconds);
  const std::filesystem::path path = workingFolder() / toUtf8(name);
  // A FIFO or a device would keep the reader waiting to the deadline.
  std::error_code ec;
  const auto type = std::filesystem::status(path, ec).type();
  if (type != std::filesystem::file_type::regular) throw SheetError("the workbook is missing or not a regular file");
  const std::string program = readerProgram();
  ReaderProcess reader({program, std::to_string(limits.memoryMiB), std::to_string(limits.cpuSeconds),
                        std::to_string(range.rows), std::to_string(range.columns), std::to_string(range.texts),
                        path.string()},
                       readerEnvironment(limits));
  PipeSource output(reader.output(), deadline);
  std::optional<Sheet> sheet;
  try {
    sheet = readSheetWire(output, range);
  } catch (const SheetError&) {
    // A reader that the system loaded but could not start (a library missing) ends at once, unheard.
    if (!output.spoke()) {
      const int status = reader.wait(deadline);
      if (WIFEXITED(status) && WEXITSTATUS(status) == 127) readerMissing({program});
    }
    throw;
  }
  const int status = reader.wait(deadline);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw SheetError("the workbook reader failed");
  return std::move(*sheet);
}

ImportSheet readImportSheet(std::string_view name, const SheetRange& range,
                            const std::function<bool(const Sheet&)>& laidOut) {
  ImportSheet result;
  try {
    result.sheet = readFirstSheet(name, range);
  } catch (const ReaderMissing& e) {
    result.problem = ImportProblem::NoReader;
    result.readerPlaces = e.places();
    return result;
  } catch (const WorkbookRefused& e) {
    result.problem = e.why() == WorkbookRefused::Why::Password ? ImportProblem::Password : ImportProblem::OldVersion;
    return result;
  } catch (const SheetError&) {
    result.problem = ImportProblem::Unreadable;
    return result;
  }
  if (!laidOut(result.sheet)) result.problem = ImportProblem::Layout;
  return result;
}

}  // namespace kv::sheet
