// The properties of windows and controls: see base/property.h.
#pragma once

#include "ui/layer_guard.h"

#include "base/property.h"

namespace kv::ui {
using kv::ItemRef;
using kv::Property;
}  // namespace kv::ui
