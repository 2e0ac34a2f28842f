// What reads a workbook's first sheet in the reader program, the two formats, and what takes the cells
// they find, on either side of the reader: it keeps a hostile workbook within what the imports can use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/sheet.h"

namespace kv::sheet {

// The most a sheet that is read may hold: as many cells as the largest import reads (twenty columns of
// every row of a sheet), no text longer than a cell can hold, and texts of 128 MiB in all.
inline constexpr std::int64_t kMaxReadCells = std::int64_t{20} * kMaxSheetRows;
inline constexpr std::size_t kMaxCellText = 32767;
inline constexpr std::size_t kMaxSheetText = std::size_t{128} << 20;

// The kinds of cell that hold a text (an error holds its code).
inline bool holdsText(CellKind kind) { return kind == CellKind::Text || kind == CellKind::Error; }

// Where a reader puts the cells it finds, in the order it finds them. A cell beyond the sheet's last row
// or beyond column kMaxReadColumns is left out, a text is cut to kMaxCellText, and a sheet of more than
// kMaxReadCells cells or kMaxSheetText of texts is refused (SheetError).
class CellSink {
 public:
  void name(std::string_view cp1254) { named(cp1254.substr(0, kMaxCellText)); }
  void add(std::int32_t row, int column, const Cell& value) { add(row, column, value.kind, value.value, value.str); }
  void add(std::int32_t row, int column, CellKind kind, double value, std::string_view text);

 protected:
  ~CellSink() = default;
  virtual void named(std::string_view cp1254) = 0;
  virtual void put(std::int32_t row, int column, CellKind kind, double value, std::string_view text) = 0;

 private:
  std::int64_t cells_ = 0;
  std::size_t texts_ = 0;
};

// A sheet made of the cells given: a later cell in the same place replaces the earlier one.
class SheetBuilder final : public CellSink {
 public:
  Sheet finish() &&;

 private:
  void named(std::string_view cp1254) override;
  void put(std::int32_t row, int column, CellKind kind, double value, std::string_view text) override;
  Sheet sheet_;
  bool ordered_ = true;
};

void readXlsx(const std::string& utf8Path, CellSink& sheet);
void readXls(const std::string& utf8Path, CellSink& sheet);

}  // namespace kv::sheet
