#include "product/windows.h"

#include <memory>

#include "product/frmKalvor.h"
#include "product/frmStart.h"

namespace kv {

void registerProductWindows() {
  ui::registerForm("frmStart", [] { return std::make_unique<frmStart>(); });
  ui::registerForm("frmKalvor", [] { return std::make_unique<frmKalvor>(); });
}

}  // namespace kv
