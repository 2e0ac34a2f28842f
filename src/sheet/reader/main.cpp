// The workbook reader: reads the first sheet of one workbook, .xls or .xlsx by its content, and writes it
// to its standard output, as it reads, in the form the program takes back (sheet/sheet_wire.h), or the
// reason it cannot. The program starts it for every workbook it reads, so that a parsing library that
// crashes, or a workbook built to exhaust memory or time, ends this process and not the program. Only the
// rows and columns the program reads, and no more text than it takes, are written.
//
//   kalvor952-sheet-reader <memory MiB> <processor seconds> <rows> <columns> <text bytes> <workbook path>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "sheet/reader/readers.h"
#include "sheet/sheet_wire.h"

namespace {

using namespace kv::sheet;

void limit(int resource, rlim_t value) {
  const rlimit l{value, value};
  ::setrlimit(resource, &l);
}

unsigned long long number(const char* text) { return std::strtoull(text, nullptr, 10); }

// Excel 2.x to 4.0 saved a workbook as its records alone, the first a BOF record of their own id.
bool excel2To4(const unsigned char* first) {
  const unsigned length = first[2] | first[3] << 8;
  return first[0] == 0x09 && (first[1] == 0x00 || first[1] == 0x02 || first[1] == 0x04) && length >= 4 && length <= 16;
}

void readWorkbook(const std::string& path, CellSink& sheet) {
  // Opened without waiting for a writer, so that a FIFO cannot hold the reader; the parsers then open the
  // file that was found to be a regular one, whatever the name points at by now.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw SheetError("the workbook cannot be opened");
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) throw SheetError("the workbook is not a regular file");
  unsigned char magic[8] = {};
  if (::pread(fd, magic, sizeof magic, 0) < 4) throw SheetError("the file is no workbook");
  const std::string opened = "/proc/self/fd/" + std::to_string(fd);
  static const unsigned char ole[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (std::memcmp(magic, ole, sizeof ole) == 0) readXls(opened, sheet);
  else if (std::memcmp(magic, "PK\x03\x04", 4) == 0) readXlsx(opened, sheet);
  else if (excel2To4(magic)) throw WorkbookRefused(WorkbookRefused::Why::OldVersion, "the workbook is of Excel 2.x to 4.0");
  else if (xlsStreamAlone({reinterpret_cast<const char*>(magic), sizeof magic})) readXls(opened, sheet);
  else throw SheetError("the file is no workbook");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) return 2;
  const SheetRange range{static_cast<std::int32_t>(std::min<unsigned long long>(number(argv[3]), kMaxSheetRows)),
                         static_cast<int>(std::min<unsigned long long>(number(argv[4]), kMaxReadColumns)),
                         static_cast<std::size_t>(std::min<unsigned long long>(number(argv[5]), kMaxSheetText))};
  WireWriter sheet(STDOUT_FILENO, range);  // its buffer made first, so that a reason can still be written
  // The limits come before the workbook is opened; a reader that crashes leaves no core file.
  limit(RLIMIT_CORE, 0);
  limit(RLIMIT_CPU, number(argv[2]));
#if !defined(__SANITIZE_ADDRESS__)
  limit(RLIMIT_AS, static_cast<rlim_t>(number(argv[1])) << 20);
#endif
  try {
    readWorkbook(argv[6], sheet);
  } catch (const WorkbookRefused& e) {
    sheet.fail(e.what(), e.why());
    return 1;
  } catch (const std::exception& e) {  // a SheetError, or memory that ran out
    sheet.fail(e.what());
    return 1;
  }
  return sheet.end() ? 0 : 1;
}
