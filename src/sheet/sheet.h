// The spreadsheet layer: what the exports and imports do with a workbook, in place of a spreadsheet
// program's automation.
//
// Export (a new workbook, written row by row; its rows go to the file as they are finished, so a large
// export needs little memory):
//
//   sheet::NewWorkbook book;                       // throws SheetError when no workbook can be made
//   book.Name(company);                            // the first sheet's name, cut to 31 characters
//   book.Cells(1, 1, sheet::Cell::text("Kayıt No."_w)); book.Bold(1, 1);
//   book.Cells(2, 1, sheet::Cell::number(7));
//   book.AutoFit(1);
//   std::string file = book.Show();                // "Kitap1.xlsx", opened on the desktop when it can be
//
// Import (the first sheet of a workbook of the working folder, read whole before anything else happens):
//
//   sheet::Sheet s = sheet::readFirstSheet("KLVR952.XLS");   // throws SheetError when unreadable
//   s.cell(2, 1).asText();
//
// A workbook to be read is an untrusted document: a reader program of its own parses it in a process of
// its own, under memory and time limits, and hands back the cells. A workbook that makes the parsing
// libraries crash, or that would take too much memory or time, costs one SheetError, never the program.
//
// Texts are Windows-1254 on this side and UTF-8 in the files. Texts are always written as literal text
// cells: a code such as "00123", "1E3" or "=A1" stays exactly that text, never a number or a formula.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"
#include "sheet/growing_array.h"

namespace kv::sheet {

// A workbook that cannot be made, written or read.
class SheetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A workbook that is not read although it may be whole: one of Excel 2.x to 4.0, saved without the
// container of later versions, or one that opens only with its password.
class WorkbookRefused : public SheetError {
 public:
  enum class Why : std::uint8_t { OldVersion = 1, Password = 2 };
  WorkbookRefused(Why why, const std::string& what) : SheetError(what), why_(why) {}
  Why why() const { return why_; }

 private:
  Why why_;
};

enum class CellKind : std::uint8_t { Empty, Number, Text, Date, Boolean, Error };

struct Cell {
  CellKind kind = CellKind::Empty;
  double value = 0;  // Number; Date: the day number (with the time as fraction); Boolean: 0 or 1
  std::string str;   // Text (Windows-1254); Error: its code ("#DIV/0!"); Number: the digits a new workbook
                     // holds for it, when chosen (else the library's own, 16 significant digits)

  static Cell number(double v) { return {CellKind::Number, v, {}}; }
  // A Single as a number cell with the fewest digits that read back as the same Single, read as a
  // spreadsheet program reads them (a double, rounded to a Single) and read straight as a Single: 0.1,
  // not 0.1000000014901161. Whole numbers below 1E+15, and the two values (±7.038531E-26) whose digits
  // would round twice to a neighbour, keep the library's digits.
  static Cell single(float v);
  static Cell text(std::string_view cp1254) { return {CellKind::Text, 0, std::string(cp1254)}; }
  static Cell date(double serial) { return {CellKind::Date, serial, {}}; }
  static Cell boolean(bool b) { return {CellKind::Boolean, b ? 1.0 : 0.0, {}}; }
  static Cell error(std::string_view code) { return {CellKind::Error, 0, std::string(code)}; }

  // Nothing in it: an empty cell or an empty text.
  bool isEmpty() const { return kind == CellKind::Empty || (kind == CellKind::Text && str.empty()); }
  // The value as the program shows it: a number in the general form with a decimal comma ("12,5"), a
  // date as dd.MM.yyyy, a boolean "True" or "False", an empty cell "". An error value has no text.
  std::optional<std::string> asText() const;
};

// The longest sheet name a workbook takes, and its last row.
inline constexpr std::size_t kMaxSheetName = 31;
inline constexpr std::int32_t kMaxSheetRows = 1048576;
// The columns a sheet that is read keeps: more than any import reads, so that a workbook with cells far
// out cannot make the program run out of memory. Rows are kept to the sheet's last row, as far as the
// definition import reads.
inline constexpr int kMaxReadColumns = 64;

// A new workbook with one sheet, filled in row order: a cell of a row above the last one written is a
// programming error (std::logic_error). Rows and columns count from 1. A workbook that is not shown is
// thrown away when the object goes, leaving no file.
class NewWorkbook {
 public:
  NewWorkbook();
  ~NewWorkbook();
  NewWorkbook(const NewWorkbook&) = delete;
  NewWorkbook& operator=(const NewWorkbook&) = delete;

  // The sheet's name, cut to 31 characters; a name no workbook takes (one with []:*?/\ in it, or
  // beginning or ending with an apostrophe, or empty) leaves the sheet its own name. Only before the first
  // cell; later it changes nothing.
  void Name(std::string_view cp1254);
  void Cells(std::int32_t row, int column, Cell value);
  void Bold(std::int32_t row, int column);
  // Fits the column's width to the longest value written into it.
  void AutoFit(int column);
  // Writes the workbook into the working folder under the first free name Kitap1.xlsx, Kitap2.xlsx, ...
  // (never replacing a file), opens it with the viewer installed by setWorkbookViewer, and returns the
  // name. Throws SheetError when it cannot be written; no file is then left behind.
  std::string Show();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The value a number cell gives back when its workbook is read: the file holds 16 significant digits.
double storedNumber(double value);

// The export's common frame: row 1 holds the headers (Windows-1254), each made bold; at the end every
// column from 1 to n is fitted.
void headerRow(NewWorkbook& book, const std::vector<std::string>& headers);
void autoFitColumns(NewWorkbook& book, int columns);

// What opens a workbook that was written: the program installs the desktop's default application; tests
// install nothing (no workbook is then opened).
using WorkbookViewer = std::function<void(const std::string& utf8Path)>;
void setWorkbookViewer(WorkbookViewer viewer);
// The desktop's default application (xdg-open, started without waiting), when there is a desktop and the
// command exists; otherwise nothing happens.
void openWithDesktop(const std::string& utf8Path);

// The first sheet of a workbook, read whole. Only the cells it holds take room: one cell far out in a row
// does not fill the row up to it.
class Sheet {
 public:
  // Empty beyond the cells the sheet holds and outside the range that was read.
  Cell cell(std::int32_t row, int column) const;
  // The last row that holds a cell.
  std::int32_t rowCount() const { return static_cast<std::int32_t>(rowEnd_.size()); }
  const std::string& name() const { return name_; }

 private:
  friend class SheetBuilder;
  // A cell in twelve bytes; its text, or the bits of its number, lie in data_ at `offset`.
  struct Stored {
    std::int32_t row;
    std::uint8_t column;
    CellKind kind;
    std::uint16_t length;
    std::uint32_t offset;
  };
  std::string name_;
  GrowingArray<Stored> cells_;         // in row order, and in column order within a row
  GrowingArray<char> data_;
  std::vector<std::uint32_t> rowEnd_;  // rowEnd_[r - 1]: one past the last cell of row r in cells_
};

// Why an import workbook is refused before any file is touched.
enum class ImportProblem {
  None,
  Unreadable,  // missing, no workbook, or damaged
  Layout,      // its first row is not the header row the import reads
  NoReader,    // the reader program cannot be started: an installation fault
  OldVersion,  // of Excel 2.x to 4.0 (WorkbookRefused)
  Password,    // protected by a password (WorkbookRefused)
};

// The part of the first sheet an import reads: its first rows and columns, and the most text their cells
// may hold in all. No cell outside it crosses over from the reader, so that a workbook made to fill memory
// costs the program no more than the part it reads.
inline constexpr std::size_t kMaxSheetText = std::size_t{128} << 20;
struct SheetRange {
  std::int32_t rows = kMaxSheetRows;
  int columns = kMaxReadColumns;
  std::size_t texts = kMaxSheetText;
};

// What the reader of a workbook may take: its address space, its processor time, and the time the
// program waits for its cells (the busy pointer is shown meanwhile). A reader that passes a limit is
// stopped and the workbook counts as unreadable.
struct ReaderLimits {
  std::size_t memoryMiB = 1024;
  int cpuSeconds = 30;
  int waitMilliseconds = 60000;
};

// The reader program is missing, is not executable or cannot start: the program is not installed whole.
class ReaderMissing : public SheetError {
 public:
  explicit ReaderMissing(const std::string& places) : SheetError("the workbook reader cannot be started"), places_(places) {}
  // Where it was looked for (Windows-1254).
  const std::string& places() const { return places_; }

 private:
  std::string places_;
};

// Where the reader program is looked for: beside the program, where an install puts it, where the build
// made it. Tests may name other places (UTF-8 paths; none: the usual ones).
void setReaderPlaces(std::vector<std::string> utf8Paths);

// Reads the part `range` of the first sheet of the workbook `name` (Windows-1254) in the working folder,
// whatever it holds by its content: a legacy .xls or an .xlsx. Throws SheetError when the file is missing,
// is not a regular file, is no workbook or cannot be read, and when its reader crashes, passes a limit or
// hands back what is not a sheet; WorkbookRefused when the reader does not read it as it stands;
// ReaderMissing when the reader cannot be started.
Sheet readFirstSheet(std::string_view name, const SheetRange& range = {}, const ReaderLimits& limits = {});

// The import workbook read, and its header row tested by `laidOut`: the sheet when both went well.
struct ImportSheet {
  ImportProblem problem = ImportProblem::None;
  std::string readerPlaces;  // NoReader: where the reader was looked for
  Sheet sheet;
};
ImportSheet readImportSheet(std::string_view name, const SheetRange& range,
                            const std::function<bool(const Sheet&)>& laidOut);

// For the readers: a UTF-8 text as Windows-1254, a character that has no byte there as "?".
std::string cp1254FromUtf8Lossy(std::string_view utf8);

}  // namespace kv::sheet
