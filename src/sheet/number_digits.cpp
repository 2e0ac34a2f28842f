#include "sheet/number_digits.h"

#include <dlfcn.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <utility>

namespace kv::sheet {

namespace {

// The cells of the workbook being packed on this thread, if any.
thread_local NumberDigits* packingNow = nullptr;

constexpr std::string_view kSheetPart = "xl/worksheets/sheet1.xml";

}  // namespace

void NumberDigits::add(std::int32_t row, int column, std::string_view digits) {
  Chosen c{row, column, {}};
  if (digits.empty() || digits.size() >= c.digits.size()) return;
  digits.copy(c.digits.data(), digits.size());
  cells_.push_back(c);
}

int NumberDigits::packing(const std::function<int()>& pack) {
  struct Now {
    NumberDigits* before;
    ~Now() { packingNow = before; }
  } now{std::exchange(packingNow, this)};
  return pack();
}

void NumberDigits::nextCell() {
  if (next_ >= cells_.size()) return;
  const Chosen& c = cells_[next_];
  char ref[LXW_MAX_CELL_NAME_LENGTH];
  lxw_rowcol_to_cell(ref, static_cast<lxw_row_t>(c.row - 1), static_cast<lxw_col_t>(c.column - 1));
  tag_ = std::string("<c r=\"") + ref + '"';
}

void NumberDigits::partBegins(std::string_view name) {
  rewriting_ = name == kSheetPart && !cells_.empty();
  next_ = 0;
  inCell_ = false;
  held_.clear();
  nextCell();
}

int NumberDigits::piece(std::string_view bytes, const Write& write) {
  held_.append(bytes);
  std::string out;
  std::size_t done = 0;             // held_[0, done) has gone to `out`
  std::size_t keep = held_.size();  // held_[keep, end) waits for the next piece
  while (next_ < cells_.size()) {
    if (!inCell_) {
      const std::size_t at = held_.find(tag_, done);
      if (at == std::string::npos) {
        keep = std::max(done, held_.size() - std::min(held_.size(), tag_.size() - 1));  // a part of the opening?
        break;
      }
      inCell_ = true;
      out.append(held_, done, at + tag_.size() - done);
      done = at + tag_.size();
    }
    const std::size_t open = held_.find("<v>", done);
    const std::size_t close = open == std::string::npos ? open : held_.find("</v>", open);
    if (close == std::string::npos) {
      keep = done;
      break;
    }
    out.append(held_, done, open + 3 - done);
    out += cells_[next_].digits.data();
    done = close;
    inCell_ = false;
    ++next_;
    nextCell();
  }
  out.append(held_, done, keep - done);
  held_.erase(0, keep);
  return out.empty() ? ZIP_OK : write(out);
}

int NumberDigits::partEnds(const Write& write) {
  rewriting_ = false;
  const std::string rest = std::exchange(held_, {});
  return rest.empty() ? ZIP_OK : write(rest);
}

}  // namespace kv::sheet

// The archive's hooks. The program defines these functions of minizip in place of minizip's own (the
// dynamic linker binds the workbook library's calls here) and hands each on to minizip's; declared in
// <zip.h>, so a changed signature does not compile, and a minizip that cannot be found fails the workbook,
// which the export then tells as any unwritable workbook. Outside a workbook's packing they only pass on.
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
