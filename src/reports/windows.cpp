#include "reports/windows.h"

#include <memory>

#include "reports/frmRDizgi.h"
#include "reports/frmRList.h"

namespace kv {

void registerReportWindows() {
  ui::registerForm("frmRDizgi", [] { return std::make_unique<frmRDizgi>(); });
  ui::registerForm("frmRList", [] { return std::make_unique<frmRList>(); });
}

}  // namespace kv
