#include "files/file_error.h"

#include <cstring>
#include <utility>

namespace kv {

namespace {

const char* opText(FileOp op) {
  switch (op) {
    case FileOp::Open: return "open";
    case FileOp::Read: return "read";
    case FileOp::Write: return "write";
    case FileOp::Flush: return "flush";
    case FileOp::FlushFolder: return "flush the folder of";
    case FileOp::Delete: return "delete";
    case FileOp::Rename: return "rename";
    case FileOp::Copy: return "copy";
    case FileOp::NotOpen: break;
  }
  return "use";
}

std::string describe(FileOp op, const std::string& fileName, int systemError, std::string_view detail) {
  std::string what = std::string("cannot ") + opText(op) + " \"" + fileName + "\": ";
  if (!detail.empty()) return what + std::string(detail);
  return what + (systemError ? std::strerror(systemError) : op == FileOp::NotOpen ? "not open" : "refused");
}

}  // namespace

FileError::FileError(Kind kind, FileOp op, std::string fileName, int systemError, std::string_view detail,
                     std::string keptAs)
    : std::runtime_error(describe(op, fileName, systemError, detail)),
      kind_(kind),
      op_(op),
      systemError_(systemError),
      fileName_(std::move(fileName)),
      keptAs_(std::move(keptAs)) {}

}  // namespace kv
