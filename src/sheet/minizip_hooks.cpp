#include "sheet/minizip_hooks.h"

#include <dlfcn.h>
#include <zip.h>

#include <string_view>
#include <utility>

namespace kv::sheet {

namespace {

// The rewriter of the workbook being packed on this thread, if any.
thread_local NumberDigits* packingNow = nullptr;

static_assert(NumberDigits::kWritten == ZIP_OK);

}  // namespace

int packWithDigits(NumberDigits& digits, const std::function<int()>& pack) {
  struct Now {
    NumberDigits* before;
    ~Now() { packingNow = before; }
  } now{std::exchange(packingNow, &digits)};
  return pack();
}

}  // namespace kv::sheet

// The program defines these functions of minizip in place of minizip's own and hands each on to
// minizip's; declared in <zip.h>, so a changed signature does not compile, and a minizip that cannot be
// found fails the workbook, which the export then tells as any unwritable workbook.
namespace {

template <class F>
F minizip(F, const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

int minizipWrite(zipFile file, std::string_view bytes) {
  static const auto write = minizip(&zipWriteInFileInZip, "zipWriteInFileInZip");
  return write == nullptr ? ZIP_INTERNALERROR : write(file, bytes.data(), static_cast<unsigned>(bytes.size()));
}

}  // namespace

// The workbook library compresses every part at zlib's default level and offers no setting for it; on an
// export of 32767 rows that compression is almost half the time the user waits. Any level makes a valid
// workbook: the parts go with the fastest, a little larger.
extern "C" int zipOpenNewFileInZip4_64(zipFile file, const char* filename, const zip_fileinfo* info,
                                       const void* extraLocal, uInt extraLocalSize, const void* extraGlobal,
                                       uInt extraGlobalSize, const char* comment, int method, int /*level*/,
                                       int raw, int windowBits, int memLevel, int strategy, const char* password,
                                       uLong crcForCrypting, uLong versionMadeBy, uLong flagBase, int zip64) {
  static const auto open = minizip(&zipOpenNewFileInZip4_64, "zipOpenNewFileInZip4_64");
  if (open == nullptr) return ZIP_INTERNALERROR;
  const int rc = open(file, filename, info, extraLocal, extraLocalSize, extraGlobal, extraGlobalSize, comment, method,
                      Z_BEST_SPEED, raw, windowBits, memLevel, strategy, password, crcForCrypting, versionMadeBy,
                      flagBase, zip64);
  if (rc == ZIP_OK && kv::sheet::packingNow != nullptr) kv::sheet::packingNow->partBegins(filename ? filename : "");
  return rc;
}

extern "C" int zipWriteInFileInZip(zipFile file, const void* buf, unsigned len) {
  const std::string_view bytes(static_cast<const char*>(buf), buf == nullptr ? 0 : len);
  kv::sheet::NumberDigits* now = kv::sheet::packingNow;
  if (now == nullptr || !now->rewriting()) return minizipWrite(file, bytes);
  return now->piece(bytes, [&](std::string_view out) { return minizipWrite(file, out); });
}

extern "C" int zipCloseFileInZip(zipFile file) {
  static const auto close = minizip(&zipCloseFileInZip, "zipCloseFileInZip");
  if (close == nullptr) return ZIP_INTERNALERROR;
  kv::sheet::NumberDigits* now = kv::sheet::packingNow;
  if (now != nullptr && now->rewriting()) {
    const int rc = now->partEnds([&](std::string_view out) { return minizipWrite(file, out); });
    if (rc != ZIP_OK) return rc;
  }
  return close(file);
}
