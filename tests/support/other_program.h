// Test support: another program on the same folder, and another user, each played by a child process.
#pragma once

#include <sys/types.h>

#include <functional>

#include "files/files.h"

namespace kv::testing {

// Runs `first` in a child process, as a first program, until it calls the pause it is given; returns the
// child, and `finish` lets it go on. Its exit code is 0 when it came to its end.
struct FirstProgram {
  pid_t pid = -1;
  int resumeFd = -1;
  explicit FirstProgram(const std::function<void(const std::function<void()>& pause)>& first);
  // Lets the child go on and waits for it: its exit code, -1 when it did not exit.
  int finish() const;
};

// What `f` returns, run in a child process as another user (nobody, of the group nogroup): 101 when the
// child could not become that user, 102 when it did not come to its end. The tests run as root.
int asAnotherUser(const std::function<int()>& f);

// The kind of FileError `f` throws (100 when none), in another user's process when the tests run as root
// (who may open any file), else in this one.
FileError::Kind refusalAsAnotherUser(const std::function<void()>& f);

}  // namespace kv::testing
