// Reading the first sheet of a legacy .xls workbook with libfreexl.
#include <freexl.h>

#include <cstdio>

#include "common/dates.h"
#include "sheet/readers.h"

namespace kv::sheet {

namespace {

struct Handle {
  const void* h = nullptr;
  ~Handle() {
    if (h != nullptr) freexl_close(h);
  }
};

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" as a day number with the time as its fraction.
std::optional<double> dateValue(const char* text, int type) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (type == FREEXL_CELL_TIME) {
    if (std::sscanf(text, "%d:%d:%d", &h, &mi, &s) != 3) return std::nullopt;
    return (h * 3600.0 + mi * 60.0 + s) / 86400.0;
  }
  const int n = std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  if (n < 3) return std::nullopt;
  return Date::fromYmd(y, mo, d).serial + (h * 3600.0 + mi * 60.0 + s) / 86400.0;
}

}  // namespace

void readXls(const std::string& utf8Path, CellSink& sheet) {
  Handle book;
  if (freexl_open(utf8Path.c_str(), &book.h) != FREEXL_OK) {
    book.h = nullptr;  // nothing to close: the library has let go of what it read
    throw SheetError("the .xls workbook cannot be read");
  }
  unsigned int sheets = 0;
  if (freexl_get_info(book.h, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets < 1 ||
      freexl_select_active_worksheet(book.h, 0) != FREEXL_OK)
    throw SheetError("the .xls workbook has no sheet");
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_worksheet_dimensions(book.h, &rows, &columns) != FREEXL_OK)
    throw SheetError("the .xls sheet cannot be read");
  const char* sheetName = nullptr;
  if (freexl_get_worksheet_name(book.h, 0, &sheetName) == FREEXL_OK && sheetName != nullptr)
    sheet.name(cp1254FromUtf8Lossy(sheetName));
  for (unsigned int r = 0; r < rows && r < static_cast<unsigned>(kMaxSheetRows); ++r) {
    for (unsigned short c = 0; c < columns && c < kMaxReadColumns; ++c) {
      FreeXL_CellValue v;
      if (freexl_get_cell_value(book.h, r, c, &v) != FREEXL_OK) throw SheetError("an .xls cell cannot be read");
      Cell cell;
      switch (v.type) {
        case FREEXL_CELL_INT:
          cell = Cell::number(v.value.int_value);
          break;
        case FREEXL_CELL_DOUBLE:
          cell = Cell::number(v.value.double_value);
          break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
          cell = Cell::text(cp1254FromUtf8Lossy(v.value.text_value ? v.value.text_value : ""));
          break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
          if (auto d = dateValue(v.value.text_value ? v.value.text_value : "", v.type)) cell = Cell::date(*d);
          else cell = Cell::error("#VALUE!");
          break;
        default:
          continue;
      }
      sheet.add(static_cast<std::int32_t>(r) + 1, c + 1, cell);
    }
  }
}

}  // namespace kv::sheet
