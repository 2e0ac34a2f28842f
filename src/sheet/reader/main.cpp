// The workbook reader: reads the first sheet of one workbook, .xls or .xlsx by its content, and writes it
// to its standard output, as it reads, in the form the program takes back (sheet/sheet_wire.h), or the
// reason it cannot. The program starts it for every workbook it reads, so that a parsing library that
// crashes, or a workbook built to exhaust memory or time, ends this process and not the program.
//
//   kalvor952-sheet-reader <memory MiB> <processor seconds> <workbook path>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>

#include "sheet/readers.h"
#include "sheet/sheet_wire.h"

namespace {

using namespace kv::sheet;

void limit(int resource, rlim_t value) {
  const rlimit l{value, value};
  ::setrlimit(resource, &l);
}

void readWorkbook(const std::string& path, CellSink& sheet) {
  unsigned char magic[8] = {};
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SheetError("the workbook cannot be opened");
    in.read(reinterpret_cast<char*>(magic), sizeof magic);
    if (in.gcount() < 4) throw SheetError("the file is no workbook");
  }
  static const unsigned char ole[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (std::memcmp(magic, ole, sizeof ole) == 0) readXls(path, sheet);
  else if (std::memcmp(magic, "PK\x03\x04", 4) == 0) readXlsx(path, sheet);
  else throw SheetError("the file is no workbook");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  WireWriter sheet(STDOUT_FILENO);  // its buffer made first, so that a reason can still be written
  // The limits come before the workbook is opened; a reader that crashes leaves no core file.
  limit(RLIMIT_CORE, 0);
  limit(RLIMIT_CPU, std::strtoul(argv[2], nullptr, 10));
#if !defined(__SANITIZE_ADDRESS__)
  limit(RLIMIT_AS, static_cast<rlim_t>(std::strtoul(argv[1], nullptr, 10)) << 20);
#endif
  try {
    readWorkbook(argv[3], sheet);
  } catch (const std::exception& e) {  // a SheetError, or memory that ran out
    sheet.fail(e.what());
    return 1;
  }
  return sheet.end() ? 0 : 1;
}
