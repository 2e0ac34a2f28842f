// Test support: makes the file layer's system calls fail, as a full disk or a file the system refuses.
//
//   FailOn third(FileOp::Write, "KLVR952.ABC", ENOSPC, 3, 1);  // the third write to the index fails
//   FailOn locked(FileOp::Open, "KLVR952.DAT", EACCES);        // every open of the product file fails
//   FailOn full(FileOp::Write, "KLVR952.DAT", inCall(ENOSPC, 100));  // each write stops after 100 bytes
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/files.h"

namespace kv::testing {

// A call that fails inside the system with `error`, a write after its first `written` bytes.
inline FileFault inCall(int error, std::size_t written = 0) { return {error, true, written}; }

// Installed in the file layer while it lives. The calls of `op` on `file` (any file when empty; without
// regard to case), counted from 1, fail from the `first` on, `times` of them (all when 0): refused with an
// errno, or as `fault` says.
class FailOn : public FileFaults {
 public:
  FailOn(FileOp op, std::string file, int error, int first = 1, int times = 0);
  FailOn(FileOp op, std::string file, FileFault fault, int first = 1, int times = 0);
  ~FailOn() override;
  FailOn(const FailOn&) = delete;
  FailOn& operator=(const FailOn&) = delete;

  std::optional<FileFault> fail(FileOp op, std::string_view fileName, std::int32_t record) override;

  int calls() const { return calls_; }        // calls of the op on the file so far
  int failures() const { return failures_; }  // of them, those that failed

 private:
  FileOp op_;
  std::string file_;  // upper case
  FileFault fault_;
  int first_;
  int times_;
  int calls_ = 0;
  int failures_ = 0;
};

// A disk that fails for a while, then works again: every call the layer makes, of any operation on any file,
// counted from 1, fails from the `first` to the `first` + `calls` - 1, as `fault` says.
class FailWindow : public FileFaults {
 public:
  FailWindow(int first, int calls, FileFault fault);
  ~FailWindow() override;
  FailWindow(const FailWindow&) = delete;
  FailWindow& operator=(const FailWindow&) = delete;

  std::optional<FileFault> fail(FileOp op, std::string_view fileName, std::int32_t record) override;
  int failures() const { return failures_; }

 private:
  int first_;
  int last_;
  FileFault fault_;
  int calls_ = 0;
  int failures_ = 0;
};

}  // namespace kv::testing
