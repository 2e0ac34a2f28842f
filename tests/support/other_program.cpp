#include "support/other_program.h"

#include <sys/wait.h>
#include <unistd.h>

namespace kv::testing {

FirstProgram::FirstProgram(const std::function<void(const std::function<void()>& pause)>& first) {
  int paused[2], resume[2];
  if (pipe(paused) != 0 || pipe(resume) != 0) return;
  pid = fork();
  if (pid == 0) {
    first([&] {
      char c = 'p';
      if (write(paused[1], &c, 1) != 1 || read(resume[0], &c, 1) != 1) _exit(2);
    });
    _exit(0);
  }
  char c = 0;
  if (read(paused[0], &c, 1) != 1) pid = -1;
  resumeFd = resume[1];
}

int FirstProgram::finish() const {
  char c = 'r';
  int status = 0;
  if (write(resumeFd, &c, 1) != 1 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int asAnotherUser(const std::function<int()>& f) {
  const pid_t child = fork();
  if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 ? f() : 101);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 102;
}

FileError::Kind refusalAsAnotherUser(const std::function<void()>& f) {
  auto kindOf = [&]() -> int {
    try {
      f();
    } catch (const FileError& e) {
      return static_cast<int>(e.kind());
    }
    return 100;
  };
  return static_cast<FileError::Kind>(getuid() != 0 ? kindOf() : asAnotherUser(kindOf));
}

}  // namespace kv::testing
