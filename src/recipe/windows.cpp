#include "recipe/windows.h"

#include <memory>

#include "recipe/frmAnaliz.h"
#include "recipe/frmRServis.h"

namespace kv {

void registerRecipeWindows() {
  ui::registerForm("frmAnaliz", [] { return std::make_unique<frmAnaliz>(); });
  ui::registerForm("frmRServis", [] { return std::make_unique<frmRServis>(); });
}

}  // namespace kv
