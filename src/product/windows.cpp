#include "product/windows.h"

#include <memory>

#include "product/frmIslemler.h"
#include "product/frmKalvor.h"
#include "product/frmServis.h"
#include "product/frmStart.h"

namespace kv {

void registerProductWindows() {
  ui::registerForm("frmStart", [] { return std::make_unique<frmStart>(); });
  ui::registerForm("frmKalvor", [] { return std::make_unique<frmKalvor>(); });
  ui::registerForm("frmIslemler", [] { return std::make_unique<frmIslemler>(); });
  ui::registerForm("frmServis", [] { return std::make_unique<frmServis>(); });
}

}  // namespace kv
