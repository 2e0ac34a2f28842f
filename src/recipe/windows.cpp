#include "recipe/windows.h"

#include <memory>

#include "recipe/frmAnaliz.h"
#include "recipe/frmRServis.h"
#include "recipe/frmRecete.h"

namespace kv {

void registerRecipeWindows() {
  ui::registerForm("frmAnaliz", [] { return std::make_unique<frmAnaliz>(); });
  ui::registerForm("frmRServis", [] { return std::make_unique<frmRServis>(); });
  ui::registerForm("frmRecete", [] { return std::make_unique<frmRecete>(); });
}

}  // namespace kv
