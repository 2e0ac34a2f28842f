// Every window of the program, made known to the forms layer by name: what main() registers, and what the
// tests of the whole program register.
#pragma once

#include "lists/windows.h"
#include "product/windows.h"
#include "recipe/windows.h"
#include "reports/windows.h"

namespace kv {

inline void registerProgramWindows() {
  registerProductWindows();
  registerRecipeWindows();
  registerReportWindows();
  registerListWindows();
}

}  // namespace kv
