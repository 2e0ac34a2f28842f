// KALVOR 952: the program starts with the company choice in the start-up dialog.
#include "product/windows.h"
#include "ui/qt/desktop.h"

int main(int argc, char** argv) {
  kv::registerProductWindows();
  return kv::ui::desktop::runDesktop(argc, argv, "frmStart");
}
