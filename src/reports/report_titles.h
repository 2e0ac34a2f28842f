// The titles the report dialog shows of the reports engines' stages: the list working copy reports its
// stages, and these turn them into the window's title texts.
#pragma once

#include <cstdint>

#include "base/messages.h"
#include "reports/list_working_copy.h"

namespace kv {

// The list working copy's titles: the lines of ".LTD" passed over are counted in the title.
class ListWorkingCopyTitles : public ListWorkingCopyReport {
 public:
  explicit ListWorkingCopyTitles(ProgressSink& title) : title_(title) {}
  void started() override;
  void passedOver(std::int32_t line) override;
  void ended(ListWorkingCopyOutcome outcome) override;

 private:
  ProgressSink& title_;
};

}  // namespace kv
