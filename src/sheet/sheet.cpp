#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "common/files.h"
#include "common/numbers.h"
#include "common/text.h"
#include "sheet/readers.h"
#include "sheet/sheet.h"

namespace kv::sheet {

std::optional<std::string> Cell::asText() const {
  switch (kind) {
    case CellKind::Empty:
      return std::string();
    case CellKind::Number:
      return doubleText(value);
    case CellKind::Text:
      return str;
    case CellKind::Date: {
      const double day = std::floor(value);
      if (!(day >= -657434 && day <= 2958465)) return std::nullopt;  // the dates a workbook can hold
      return shortDateText(Date{static_cast<std::int32_t>(day)});
    }
    case CellKind::Boolean:
      return std::string(value != 0 ? "True" : "False");
    case CellKind::Error:
      break;
  }
  return std::nullopt;
}

const Cell& Sheet::cell(std::int32_t row, int column) const {
  static const Cell empty;
  if (row < 1 || column < 1 || row > rowCount()) return empty;
  const auto& r = rows_[static_cast<std::size_t>(row - 1)];
  return static_cast<std::size_t>(column) <= r.size() ? r[static_cast<std::size_t>(column - 1)] : empty;
}

void Sheet::set(std::int32_t row, int column, Cell value) {
  if (row < 1 || column < 1 || column > kMaxReadColumns || row > kMaxSheetRows) return;
  if (rows_.size() < static_cast<std::size_t>(row)) rows_.resize(static_cast<std::size_t>(row));
  auto& r = rows_[static_cast<std::size_t>(row - 1)];
  if (r.size() < static_cast<std::size_t>(column)) r.resize(static_cast<std::size_t>(column));
  r[static_cast<std::size_t>(column - 1)] = std::move(value);
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

ImportSheet readImportSheet(std::string_view name, const std::function<bool(const Sheet&)>& laidOut) {
  ImportSheet result;
  try {
    result.sheet = readFirstSheet(name);
  } catch (const SheetError&) {
    result.problem = ImportProblem::Unreadable;
    return result;
  }
  if (!laidOut(result.sheet)) result.problem = ImportProblem::Layout;
  return result;
}

Sheet readFirstSheet(std::string_view name) {
  const std::string path = (workingFolder() / toUtf8(name)).string();
  unsigned char magic[8] = {};
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SheetError("the workbook cannot be opened");
    in.read(reinterpret_cast<char*>(magic), sizeof magic);
    if (in.gcount() < 4) throw SheetError("the file is no workbook");
  }
  static const unsigned char ole[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (std::memcmp(magic, ole, sizeof ole) == 0) return readXls(path);
  if (std::memcmp(magic, "PK\x03\x04", 4) == 0) return readXlsx(path);
  throw SheetError("the file is no workbook");
}

}  // namespace kv::sheet

#include "sheet/record_cells.h"

namespace kv::sheet {

std::string cellText(const Cell& c) { return c.asText().value_or(std::string()); }

double cellNumber(const Cell& c) {
  if (c.kind == CellKind::Number) return c.value;
  if (c.kind == CellKind::Text) return leadingNumber(c.str);
  return leadingNumber(cellText(c));
}

}  // namespace kv::sheet
