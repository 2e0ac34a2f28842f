#include "support/file_faults.h"

#include <utility>

#include "base/text.h"

namespace kv::testing {

FailOn::FailOn(FileOp op, std::string file, int error, int first, int times)
    : FailOn(op, std::move(file), FileFault{error, false, 0}, first, times) {}

FailOn::FailOn(FileOp op, std::string file, FileFault fault, int first, int times)
    : op_(op), file_(upperCase(file)), fault_(fault), first_(first), times_(times) {
  setFileFaults(this);
}

FailOn::~FailOn() { setFileFaults(nullptr); }

std::optional<FileFault> FailOn::fail(FileOp op, std::string_view fileName, std::int32_t) {
  if (op != op_ || (!file_.empty() && upperCase(fileName) != file_)) return std::nullopt;
  ++calls_;
  if (calls_ < first_ || (times_ > 0 && failures_ >= times_)) return std::nullopt;
  ++failures_;
  return fault_;
}

FailWindow::FailWindow(int first, int calls, FileFault fault)
    : first_(first), last_(first + calls - 1), fault_(fault) {
  setFileFaults(this);
}

FailWindow::~FailWindow() { setFileFaults(nullptr); }

std::optional<FileFault> FailWindow::fail(FileOp, std::string_view, std::int32_t) {
  ++calls_;
  if (calls_ < first_ || calls_ > last_) return std::nullopt;
  ++failures_;
  return fault_;
}

}  // namespace kv::testing
