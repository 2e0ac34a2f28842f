#include "reports/windows.h"

#include <memory>

#include "reports/frmRDizgi.h"

namespace kv {

void registerReportWindows() { ui::registerForm("frmRDizgi", [] { return std::make_unique<frmRDizgi>(); }); }

}  // namespace kv
