#include "lists/windows.h"

#include <memory>

#include "lists/frmDizgi.h"
#include "lists/frmFiltre.h"
#include "lists/frmListe.h"
#include "lists/frmLstPrn.h"

namespace kv {

void registerListWindows() {
  ui::registerForm("frmDizgi", [] { return std::make_unique<frmDizgi>(); });
  ui::registerForm("frmFiltre", [] { return std::make_unique<frmFiltre>(); });
  ui::registerForm("frmListe", [] { return std::make_unique<frmListe>(); });
  ui::registerForm("frmLstPrn", [] { return std::make_unique<frmLstPrn>(); });
}

}  // namespace kv
