#include "lists/windows.h"

#include <memory>

#include "lists/frmDizgi.h"

namespace kv {

void registerListWindows() { ui::registerForm("frmDizgi", [] { return std::make_unique<frmDizgi>(); }); }

}  // namespace kv
