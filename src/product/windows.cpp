#include "product/windows.h"

#include <memory>

#include "product/frmDoviz.h"
#include "product/frmIslemler.h"
#include "product/frmKalvor.h"
#include "product/frmServis.h"
#include "product/frmStart.h"
#include "product/frmTarih.h"

namespace kv {

void registerProductWindows() {
  ui::registerForm("frmStart", [] { return std::make_unique<frmStart>(); });
  ui::registerForm("frmKalvor", [] { return std::make_unique<frmKalvor>(); });
  ui::registerForm("frmIslemler", [] { return std::make_unique<frmIslemler>(); });
  ui::registerForm("frmServis", [] { return std::make_unique<frmServis>(); });
  ui::registerForm("frmTarih", [] { return std::make_unique<frmTarih>(); });
  ui::registerForm("frmDoviz", [] { return std::make_unique<frmDoviz>(); });
}

}  // namespace kv
