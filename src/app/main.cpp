// KALVOR 952: the program starts with the company choice in the start-up dialog.
#include "app/program_windows.h"
#include "print/qt/desktop_printer.h"
#include "sheet/sheet.h"
#include "ui/qt/desktop.h"

int main(int argc, char** argv) {
  kv::registerProgramWindows();
  kv::print::desktop::installDesktopPrinter();
  kv::sheet::setWorkbookViewer(kv::sheet::openWithDesktop);
  return kv::ui::desktop::runDesktop(argc, argv, "frmStart");
}
