#include "recipe/windows.h"

#include <memory>

#include "recipe/frmAnaliz.h"

namespace kv {

void registerRecipeWindows() { ui::registerForm("frmAnaliz", [] { return std::make_unique<frmAnaliz>(); }); }

}  // namespace kv
