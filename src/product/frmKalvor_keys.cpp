// The main window's keys: the function-key dispatcher that every control hands its keys to.
#include "product/frmKalvor.h"

namespace kv {

using namespace ui;

void frmKalvor::HandleFunctionKey(int KeyCode) { (void)KeyCode; }

}  // namespace kv
