// The rule that picks one of the six recipe reports from the report dialog's choices.
#include <gtest/gtest.h>

#include "reports/report_kind.h"

namespace kv {
namespace {

TEST(ReportKind, EveryCombinationOfTheChoices) {
  struct Case {
    bool cost, list, total;
    ReportKind kind;
  };
  const Case cases[] = {
      {true, true, false, ReportKind::ListWithCost},  {true, true, true, ReportKind::ListWithCost},
      {true, false, true, ReportKind::TotalConsumptionWithCost},
      {true, false, false, ReportKind::LevelsWithCost},
      {false, true, true, ReportKind::ListWithoutCost},
      {false, false, true, ReportKind::TotalConsumptionWithoutCost},
      {false, false, false, ReportKind::LevelsWithoutCost},
  };
  for (const Case& c : cases) EXPECT_EQ(reportKind(c.cost, c.list, c.total), c.kind);
}

}  // namespace
}  // namespace kv
