// A window that shows nothing: the sinks a timed engine run reports to.
#pragma once

#include <string>

#include "base/messages.h"

namespace kv::bench {

class Quiet : public MessageSink, public ProgressSink {
 public:
  void beep() override {}
  MsgAnswer message(const std::string&, MsgButtons, MsgIcon, const std::string&) override { return MsgAnswer::Ok; }
  void progress(const std::string&) override {}
};

}  // namespace kv::bench
