// What takes the cells a reader finds, on either side of the reader program: it keeps a hostile workbook
// within what the imports can use, and within the part of the sheet the import reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/sheet.h"

namespace kv::sheet {

// The most a sheet that is read may hold: as many cells as the largest import reads (twenty columns of
// every row of a sheet), and no text longer than a cell can hold.
inline constexpr std::int64_t kMaxReadCells = std::int64_t{20} * kMaxSheetRows;
inline constexpr std::size_t kMaxCellText = 32767;

// The kinds of cell that hold a text (an error holds its code).
inline bool holdsText(CellKind kind) { return kind == CellKind::Text || kind == CellKind::Error; }

// Where a reader puts the cells it finds, in the order it finds them. A cell outside the range is left
// out, a text is cut to kMaxCellText, and a sheet of more than kMaxReadCells cells or more texts than the
// range takes is refused (SheetError).
class CellSink {
 public:
  explicit CellSink(const SheetRange& range) : range_(range) {}
  void name(std::string_view cp1254) { named(cp1254.substr(0, kMaxCellText)); }
  void add(std::int32_t row, int column, const Cell& value) { add(row, column, value.kind, value.value, value.str); }
  void add(std::int32_t row, int column, CellKind kind, double value, std::string_view text);

 protected:
  ~CellSink() = default;
  virtual void named(std::string_view cp1254) = 0;
  virtual void put(std::int32_t row, int column, CellKind kind, double value, std::string_view text) = 0;

 private:
  SheetRange range_;
  std::int64_t cells_ = 0;
  std::size_t texts_ = 0;
};

// A sheet made of the cells given: a later cell in the same place replaces the earlier one.
class SheetBuilder final : public CellSink {
 public:
  explicit SheetBuilder(const SheetRange& range = {}) : CellSink(range) {}
  Sheet finish() &&;

 private:
  void named(std::string_view cp1254) override;
  void put(std::int32_t row, int column, CellKind kind, double value, std::string_view text) override;
  Sheet sheet_;
  bool ordered_ = true;
};

}  // namespace kv::sheet
