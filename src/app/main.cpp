// KALVOR 952: the program starts with the company choice in the start-up dialog.
#include "lists/windows.h"
#include "product/windows.h"
#include "recipe/windows.h"
#include "ui/qt/desktop.h"

int main(int argc, char** argv) {
  kv::registerProductWindows();
  kv::registerRecipeWindows();
  kv::registerListWindows();
  return kv::ui::desktop::runDesktop(argc, argv, "frmStart");
}
