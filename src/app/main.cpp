// KALVOR 952: the program starts in the folder of its company files (app/program_folder.h), with the company
// choice in the start-up dialog.
#include <filesystem>
#include <system_error>

#include "app/program_folder.h"
#include "app/program_windows.h"
#include "print/qt/desktop_printer.h"
#include "sheet/sheet.h"
#include "ui/qt/desktop.h"

int main(int argc, char** argv) {
  kv::registerProgramWindows();
  kv::print::desktop::installDesktopPrinter();
  kv::sheet::setWorkbookViewer(kv::sheet::openWithDesktop);
  return kv::ui::desktop::runDesktop(argc, argv, "frmStart", [](const std::vector<std::string>& args) {
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    return kv::enterProgramFolder(args, ec ? std::filesystem::path(".") : current, kv::homeFolder());
  });
}
