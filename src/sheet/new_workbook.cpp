// Writing a new workbook with libxlsxwriter, in its constant-memory mode: each row goes to a temporary
// file as soon as the next one begins, so an export of 32767 rows of 48 columns stays small in memory
// (a number cell with digits of its own is kept apart until the end, in a few bytes).
#include <xlsxwriter.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "base/text.h"
#include "files/files.h"
#include "sheet/minizip_hooks.h"
#include "sheet/number_digits.h"
#include "sheet/sheet.h"

namespace kv::sheet {

namespace {

WorkbookViewer& viewer() {
  static WorkbookViewer v;
  return v;
}

// Excel refuses these in a sheet name, and a name that begins or ends with an apostrophe.
bool acceptableSheetName(std::string_view name) {
  if (name.empty() || name.front() == '\'' || name.back() == '\'') return false;
  return name.find_first_of("[]:*?/\\") == std::string_view::npos;
}

// How wide a value shows in the general format, in characters, for the column fit.
std::size_t shownWidth(const Cell& c) {
  switch (c.kind) {
    case CellKind::Text:
    case CellKind::Error:
      return c.str.size();  // one byte per character
    case CellKind::Number: {
      if (!c.str.empty()) return c.str.size();  // the digits it is written with
      // Most numbers of an export are whole: their digits are counted, not written out.
      if (c.value == std::trunc(c.value) && std::fabs(c.value) < 1e10) {
        std::size_t n = c.value < 0 ? 2 : 1;
        for (double v = std::fabs(c.value); v >= 10; v /= 10) ++n;
        return n;
      }
      char buf[32];
      const auto shown = std::to_chars(buf, buf + sizeof buf, c.value, std::chars_format::general, 10);
      return static_cast<std::size_t>(shown.ptr - buf);
    }
    case CellKind::Date:
      return 10;
    case CellKind::Boolean:
      return 5;
    case CellKind::Empty:
      break;
  }
  return 0;
}

}  // namespace

double storedNumber(double value) {
  // As the library writes a number ("%.16G"), and as a reader takes it back: both correctly rounded.
  char buf[32];
  const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 16);
  double read = 0;
  std::from_chars(buf, written.ptr, read);
  return read;
}

void setWorkbookViewer(WorkbookViewer v) { viewer() = std::move(v); }

void openWithDesktop(const std::string& utf8Path) {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display == nullptr || *display == 0) && (wayland == nullptr || *wayland == 0)) return;
  // Started and left to run: the program does not wait for the spreadsheet program. The child starts the
  // viewer in a grandchild and ends at once, so no zombie is left behind; between fork and exec only
  // what is safe there is called, everything else is made ready before.
  char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(utf8Path.c_str()), nullptr};
  const pid_t child = ::fork();
  if (child == 0) {
    if (::fork() == 0) {
      ::execvp(argv[0], argv);
      ::_exit(127);
    }
    ::_exit(0);
  }
  if (child > 0) ::waitpid(child, nullptr, 0);
}

struct NewWorkbook::Impl {
  std::filesystem::path tempPath;
  std::string tempName;  // Windows-1254, in the working folder
  lxw_workbook* book = nullptr;
  lxw_worksheet* sheet = nullptr;
  lxw_format* bold = nullptr;
  lxw_format* dateFormat = nullptr;
  lxw_format* boldDate = nullptr;
  std::string name;
  std::int32_t row = 0;  // the row being filled (0: none yet)
  std::vector<Cell> cells;
  std::vector<bool> bolds;
  std::vector<double> widths;  // per column, from 1
  std::vector<bool> fit;
  NumberDigits digits;
  bool shown = false;

  lxw_worksheet* worksheet() {
    if (sheet == nullptr) {
      const std::string utf8 = toUtf8(name);
      sheet = workbook_add_worksheet(book, acceptableSheetName(name) ? utf8.c_str() : nullptr);
      if (sheet == nullptr) sheet = workbook_add_worksheet(book, nullptr);
      if (sheet == nullptr) throw SheetError("the workbook takes no sheet");
    }
    return sheet;
  }

  void grow(int column) {
    if (column < 1 || column > 16384) throw std::logic_error("workbook column out of range");
    const auto n = static_cast<std::size_t>(column) + 1;
    if (cells.size() < n) {
      cells.resize(n);
      bolds.resize(n);
    }
    if (widths.size() < n) {
      widths.resize(n);
      fit.resize(n);
    }
  }

  void moveTo(std::int32_t r) {
    if (r < 1 || r > 1048576) throw std::logic_error("workbook row out of range");
    if (r < row) throw std::logic_error("workbook rows are written in order");
    if (r == row) return;
    flush();
    row = r;
  }

  void flush() {
    if (row == 0) return;
    lxw_worksheet* ws = worksheet();
    const auto r = static_cast<lxw_row_t>(row - 1);
    for (std::size_t c = 1; c < cells.size(); ++c) {
      Cell& cell = cells[c];
      const auto col = static_cast<lxw_col_t>(c - 1);
      lxw_format* f = bolds[c] ? bold : nullptr;
      // A cell whose write fails stays empty; the export goes on, as it always did.
      switch (cell.kind) {
        case CellKind::Number:
          if (worksheet_write_number(ws, r, col, cell.value, f) == LXW_NO_ERROR)
            digits.add(row, static_cast<int>(c), cell.str);
          break;
        case CellKind::Text:
        case CellKind::Error:
          if (!cell.str.empty()) worksheet_write_string(ws, r, col, toUtf8(cell.str).c_str(), f);
          else if (f) worksheet_write_blank(ws, r, col, f);
          break;
        case CellKind::Date:
          worksheet_write_number(ws, r, col, cell.value, bolds[c] ? boldDate : dateFormat);
          break;
        case CellKind::Boolean:
          worksheet_write_boolean(ws, r, col, cell.value != 0, f);
          break;
        case CellKind::Empty:
          if (f) worksheet_write_blank(ws, r, col, f);
          break;
      }
      const double w = static_cast<double>(shownWidth(cell)) * (bolds[c] ? 1.1 : 1.0);
      widths[c] = std::max(widths[c], w);
      cell = Cell{};
      bolds[c] = false;
    }
  }

  void discard() {
    if (book != nullptr) {
      lxw_workbook_free(book);
      book = nullptr;
    }
    std::error_code ec;
    if (!tempPath.empty()) std::filesystem::remove(tempPath, ec);
  }
};

NewWorkbook::NewWorkbook() : impl_(std::make_unique<Impl>()) {
  // The workbook is written under a hidden name and takes its own only when it is complete.
  std::string pattern = (workingFolder() / ".Kitap-XXXXXX.part").string();
  const int fd = ::mkstemps(pattern.data(), 5);
  if (fd < 0) throw SheetError("cannot create a workbook in the working folder");
  ::close(fd);
  impl_->tempPath = pattern;
  impl_->tempName = cp1254FromUtf8Lossy(impl_->tempPath.filename().string());
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  impl_->book = workbook_new_opt(pattern.c_str(), &options);
  if (impl_->book == nullptr) {
    impl_->discard();
    throw SheetError("cannot create a workbook");
  }
  impl_->bold = workbook_add_format(impl_->book);
  format_set_bold(impl_->bold);
  impl_->dateFormat = workbook_add_format(impl_->book);
  format_set_num_format(impl_->dateFormat, "dd.mm.yyyy");
  impl_->boldDate = workbook_add_format(impl_->book);
  format_set_num_format(impl_->boldDate, "dd.mm.yyyy");
  format_set_bold(impl_->boldDate);
}

NewWorkbook::~NewWorkbook() {
  if (!impl_->shown) impl_->discard();
}

void NewWorkbook::Name(std::string_view cp1254) {
  if (impl_->sheet == nullptr) impl_->name = std::string(cp1254.substr(0, kMaxSheetName));
}

void NewWorkbook::Cells(std::int32_t row, int column, Cell value) {
  impl_->grow(column);
  impl_->moveTo(row);
  impl_->cells[static_cast<std::size_t>(column)] = std::move(value);
}

void NewWorkbook::Bold(std::int32_t row, int column) {
  impl_->grow(column);
  impl_->moveTo(row);
  impl_->bolds[static_cast<std::size_t>(column)] = true;
}

void NewWorkbook::AutoFit(int column) {
  impl_->grow(column);
  impl_->fit[static_cast<std::size_t>(column)] = true;
}

void headerRow(NewWorkbook& book, const std::vector<std::string>& headers) {
  int c = 0;
  for (const std::string& h : headers) book.Cells(1, ++c, Cell::text(h));
  for (c = 1; c <= static_cast<int>(headers.size()); ++c) book.Bold(1, c);
}

void autoFitColumns(NewWorkbook& book, int columns) {
  for (int c = 1; c <= columns; ++c) book.AutoFit(c);
}

std::string NewWorkbook::Show() {
  if (impl_->shown) throw std::logic_error("the workbook was shown already");
  impl_->flush();
  lxw_worksheet* ws = impl_->worksheet();
  for (std::size_t c = 1; c < impl_->fit.size(); ++c) {
    if (!impl_->fit[c]) continue;
    const double w = impl_->widths[c] > 0 ? std::min(255.0, std::ceil(impl_->widths[c] * 1.1) + 1) : LXW_DEF_COL_WIDTH;
    worksheet_set_column(ws, static_cast<lxw_col_t>(c - 1), static_cast<lxw_col_t>(c - 1), w, nullptr);
  }
  const auto rc = static_cast<lxw_error>(packWithDigits(impl_->digits, [&] { return workbook_close(impl_->book); }));
  impl_->book = nullptr;
  if (rc != LXW_NO_ERROR) {
    impl_->discard();
    throw SheetError(std::string("the workbook could not be written: ") + lxw_strerror(rc));
  }
  std::string name;
  try {
    name = renameToNewName(impl_->tempName, "Kitap", "xlsx");
  } catch (const FileError& e) {
    impl_->discard();
    throw SheetError(e.what());
  }
  impl_->shown = true;
  if (viewer()) viewer()((workingFolder() / toUtf8(name)).string());
  return name;
}

}  // namespace kv::sheet
