// The properties of windows and controls: see common/property.h.
#pragma once

#include "ui/layer_guard.h"

#include "common/property.h"

namespace kv::ui {
using kv::ItemRef;
using kv::Property;
}  // namespace kv::ui
