// Where a window shows how a long job goes: its title. The engines report their stages, and the titles
// a window makes of them (the parts' `*_titles`) are shown here.
#pragma once

#include "ui/layer_guard.h"

#include <string>

namespace kv::ui {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // text in Windows-1254.
  virtual void progress(const std::string& text) = 0;
};

}  // namespace kv::ui
