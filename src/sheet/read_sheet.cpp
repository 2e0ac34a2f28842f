// The first sheet of a workbook as it is read: its cells packed in row order, built from the cells a
// reader hands over, within the range the import reads.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/text.h"
#include "sheet/cell_sink.h"
#include "sheet/sheet.h"

namespace kv::sheet {

// Where a cell's text or number lies in the sheet is held in 32 bits.
static_assert(kMaxSheetText + sizeof(double) * kMaxReadCells <= UINT32_MAX);

Cell Sheet::cell(std::int32_t row, int column) const {
  if (row < 1 || column < 1 || column > kMaxReadColumns || row > rowCount()) return {};
  const Stored* first = cells_.begin() + (row == 1 ? 0 : rowEnd_[static_cast<std::size_t>(row - 2)]);
  const Stored* last = cells_.begin() + rowEnd_[static_cast<std::size_t>(row - 1)];
  const Stored* at = std::lower_bound(first, last, column, [](const Stored& s, int c) { return s.column < c; });
  if (at == last || at->column != column) return {};
  Cell c;
  c.kind = at->kind;
  const char* data = data_.begin() + at->offset;
  if (holdsText(at->kind)) c.str.assign(data, at->length);
  else std::memcpy(&c.value, data, sizeof c.value);
  return c;
}

void CellSink::add(std::int32_t row, int column, CellKind kind, double value, std::string_view text) {
  const int columns = std::min(range_.columns, kMaxReadColumns);
  const std::int32_t rows = std::min(range_.rows, kMaxSheetRows);
  if (row < 1 || column < 1 || column > columns || row > rows || kind == CellKind::Empty) return;
  if (++cells_ > kMaxReadCells) throw SheetError("the sheet holds too many cells");
  const bool textual = holdsText(kind);
  if (textual) {
    text = text.substr(0, kMaxCellText);
    texts_ += text.size();
    if (texts_ > std::min(range_.texts, kMaxSheetText)) throw SheetError("the sheet's texts are too long");
  }
  put(row, column, kind, value, textual ? text : std::string_view());
}

void SheetBuilder::named(std::string_view cp1254) { sheet_.name_ = cp1254; }

void SheetBuilder::put(std::int32_t row, int column, CellKind kind, double value, std::string_view text) {
  auto& cells = sheet_.cells_;
  auto& data = sheet_.data_;
  const bool textual = holdsText(kind);
  const Sheet::Stored s{row, static_cast<std::uint8_t>(column), kind,
                        static_cast<std::uint16_t>(textual ? text.size() : sizeof value),
                        static_cast<std::uint32_t>(data.size())};
  if (textual) data.append(text.data(), text.size());
  else data.append(reinterpret_cast<const char*>(&value), sizeof value);
  if (!cells.empty() && (cells.back().row > row || (cells.back().row == row && cells.back().column >= column)))
    ordered_ = false;
  cells.push_back(s);
}

Sheet SheetBuilder::finish() && {
  auto& cells = sheet_.cells_;
  const auto place = [](const Sheet::Stored& a, const Sheet::Stored& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  };
  if (!ordered_) {
    // The last cell given for a place is the one that stays.
    std::stable_sort(cells.begin(), cells.end(), place);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i + 1 < cells.size() && !place(cells[i], cells[i + 1])) continue;
      cells[kept++] = cells[i];
    }
    cells.truncate(kept);
  }
  sheet_.rowEnd_.assign(cells.empty() ? 0 : static_cast<std::size_t>(cells.back().row), 0);
  for (std::size_t i = 0; i < cells.size(); ++i)
    sheet_.rowEnd_[static_cast<std::size_t>(cells[i].row - 1)] = static_cast<std::uint32_t>(i + 1);
  for (std::size_t r = 1; r < sheet_.rowEnd_.size(); ++r)
    sheet_.rowEnd_[r] = std::max(sheet_.rowEnd_[r], sheet_.rowEnd_[r - 1]);
  return std::move(sheet_);
}

std::string cp1254FromUtf8Lossy(std::string_view s) {
  if (auto whole = fromUtf8(s)) return std::move(*whole);
  // Character by character: a lead byte and its continuation bytes at a time.
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t j = i + 1;
    while (j < s.size() && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80) ++j;
    const auto one = fromUtf8(s.substr(i, j - i));
    out += one && one->size() == 1 ? *one : std::string("?");
    i = j;
  }
  return out;
}

}  // namespace kv::sheet
