// The form in which the reader program hands a sheet back to the program, on a pipe, as it reads: a
// versioned header, then the sheet's name, rows (each followed by its cells) and, at the end, a trailer
// that counts the cells; or, at any point, the reason the workbook could not be read. Numbers travel as
// the bits of a double and counts in the byte order of this machine: both ends are the same build.
//
// The program trusts nothing in it: every row, column, kind, length and count is checked before it is
// used, and what is cut short or malformed is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/cell_sink.h"
#include "sheet/sheet.h"

namespace kv::sheet {

// The reader's side: cells written to the file descriptor `out` as they come, a buffer at a time.
class WireWriter final : public CellSink {
 public:
  WireWriter(int out, const SheetRange& range);
  // The trailer, after the last cell; false when the output could not be written.
  bool end();
  // The reason, instead of the trailer; `why` when the workbook was refused as it stands.
  void fail(std::string_view reason, std::optional<WorkbookRefused::Why> why = std::nullopt);

 private:
  void named(std::string_view cp1254) override;
  void put(std::int32_t row, int column, CellKind kind, double value, std::string_view text) override;
  template <class T>
  void emit(T v);
  void emitText(std::string_view text);
  bool flush();
  int out_;
  std::string buffer_;
  std::int32_t row_ = 0;
  std::uint64_t cells_ = 0;
};

// Where the program reads the reader's output from: `read` gives up to `most` bytes, 0 at the end, and
// throws SheetError when waiting must stop.
class WireSource {
 public:
  virtual std::size_t read(char* into, std::size_t most) = 0;

 protected:
  ~WireSource() = default;
};

// The sheet the source holds, within the range. Throws SheetError (WorkbookRefused when it says why) with
// the reader's reason, or when the output is cut short, malformed, or holds more than a sheet that is read
// may hold.
Sheet readSheetWire(WireSource& in, const SheetRange& range = {});

// The longest output a sheet within the limits of a CellSink takes, with room to spare.
inline constexpr std::uint64_t kMaxWireBytes =
    (std::uint64_t{1} << 20) + 18ULL * kMaxReadCells + kMaxSheetText;

}  // namespace kv::sheet
