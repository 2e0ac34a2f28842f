#include "sheet/sheet_wire.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace kv::sheet {

namespace {

constexpr char kHeader[8] = {'K', 'V', 'S', 'H', 'E', 'E', 'T', 2};  // the last byte is the version
enum Tag : std::uint8_t { kName = 'N', kRow = 'R', kCell = 'C', kEnd = 'E', kFailure = 'F' };

// The reader's output, taken a piece at a time. Unlike base/bytes.h, which packs the company files'
// fixed records little-endian, the wire joins two processes of one program on one machine: its values go
// in the machine's own order, read from a pipe in pieces, and the reader refills as it goes.
class WireReader {
 public:
  explicit WireReader(WireSource& in) : in_(in), buf_(std::size_t{1} << 16) {}

  template <class T>
  T get() {
    need(sizeof(T));
    T v;
    std::memcpy(&v, buf_.data() + pos_, sizeof v);
    pos_ += sizeof v;
    return v;
  }
  // A text of at most kMaxCellText bytes; valid until the next read.
  std::string_view text() {
    const auto n = get<std::uint16_t>();
    if (n > kMaxCellText) malformed();
    need(n);
    const std::string_view t(buf_.data() + pos_, n);
    pos_ += n;
    return t;
  }
  bool atEnd() {
    if (pos_ < end_) return false;
    pos_ = end_ = 0;
    end_ = in_.read(buf_.data(), buf_.size());
    return end_ == 0;
  }
  [[noreturn]] static void malformed() { throw SheetError("the reader's output is malformed"); }

 private:
  void need(std::size_t n) {
    if (end_ - pos_ >= n) return;
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < n) {
      const std::size_t got = in_.read(buf_.data() + end_, buf_.size() - end_);
      if (got == 0) throw SheetError("the reader's output is cut short");
      end_ += got;
    }
  }

  WireSource& in_;
  std::vector<char> buf_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
};

}  // namespace

constexpr std::size_t kWriteBuffer = std::size_t{1} << 16;

WireWriter::WireWriter(int out, const SheetRange& range) : CellSink(range), out_(out) {
  buffer_.reserve(kWriteBuffer + kMaxCellText + 64);
  buffer_.append(kHeader, sizeof kHeader);
}

template <class T>
void WireWriter::emit(T v) {
  buffer_.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void WireWriter::emitText(std::string_view text) {
  text = text.substr(0, kMaxCellText);
  emit(static_cast<std::uint16_t>(text.size()));
  buffer_ += text;
}

bool WireWriter::flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(out_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return true;
}

void WireWriter::named(std::string_view cp1254) {
  emit(kName);
  emitText(cp1254);
}

void WireWriter::put(std::int32_t row, int column, CellKind kind, double value, std::string_view text) {
  if (row != row_) {
    row_ = row;
    emit(kRow);
    emit(row);
  }
  emit(kCell);
  emit(static_cast<std::uint8_t>(column));
  emit(kind);
  if (holdsText(kind)) emitText(text);
  else emit(value);
  ++cells_;
  if (buffer_.size() >= kWriteBuffer) flush();
}

bool WireWriter::end() {
  emit(kEnd);
  emit(cells_);
  return flush();
}

void WireWriter::fail(std::string_view reason, std::optional<WorkbookRefused::Why> why) {
  emit(kFailure);
  emit(static_cast<std::uint8_t>(why ? static_cast<std::uint8_t>(*why) : 0));
  emitText(reason);
  flush();
}

Sheet readSheetWire(WireSource& in, const SheetRange& range) {
  WireReader wire(in);
  for (char c : kHeader)
    if (wire.get<char>() != c) WireReader::malformed();
  SheetBuilder sheet(range);
  std::int32_t row = 0;
  std::uint64_t cells = 0;
  for (;;) {
    switch (wire.get<std::uint8_t>()) {
      case kName:
        sheet.name(wire.text());
        break;
      case kRow:
        row = wire.get<std::int32_t>();
        if (row < 1 || row > kMaxSheetRows) WireReader::malformed();
        break;
      case kCell: {
        const int column = wire.get<std::uint8_t>();
        const auto kind = static_cast<CellKind>(wire.get<std::uint8_t>());
        if (row == 0 || column < 1 || column > kMaxReadColumns) WireReader::malformed();
        if (holdsText(kind))
          sheet.add(row, column, kind, 0, wire.text());
        else if (kind == CellKind::Number || kind == CellKind::Date || kind == CellKind::Boolean)
          sheet.add(row, column, kind, wire.get<double>(), {});
        else
          WireReader::malformed();
        ++cells;
        break;
      }
      case kEnd:
        if (wire.get<std::uint64_t>() != cells || !wire.atEnd()) WireReader::malformed();
        return std::move(sheet).finish();
      case kFailure: {
        const auto why = wire.get<std::uint8_t>();
        const std::string reason(wire.text());
        if (why == 0) throw SheetError(reason);
        if (why == static_cast<std::uint8_t>(WorkbookRefused::Why::OldVersion) ||
            why == static_cast<std::uint8_t>(WorkbookRefused::Why::Password))
          throw WorkbookRefused(static_cast<WorkbookRefused::Why>(why), reason);
        WireReader::malformed();
      }
      default:
        WireReader::malformed();
    }
  }
}

}  // namespace kv::sheet
