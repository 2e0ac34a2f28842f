// KALVOR 952: the program starts with the company choice in the start-up dialog.
#include "app/program_windows.h"
#include "ui/qt/desktop.h"

int main(int argc, char** argv) {
  kv::registerProgramWindows();
  return kv::ui::desktop::runDesktop(argc, argv, "frmStart");
}
