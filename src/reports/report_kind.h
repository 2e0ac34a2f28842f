// The six recipe reports and the rule that picks one from the report dialog's choices.
#pragma once

namespace kv {

enum class ReportKind {
  ListWithCost = 1,
  TotalConsumptionWithCost = 2,
  LevelsWithCost = 3,
  ListWithoutCost = 4,
  TotalConsumptionWithoutCost = 5,
  LevelsWithoutCost = 6,
};

// The list definition when listMode (total consumption then means nothing), otherwise the recipe as total
// consumption or level by level; with or without the cost columns.
constexpr ReportKind reportKind(bool withCost, bool listMode, bool totalConsumption) {
  const int kind = listMode ? 1 : totalConsumption ? 2 : 3;
  return static_cast<ReportKind>(withCost ? kind : kind + 3);
}

constexpr bool hasCost(ReportKind k) { return static_cast<int>(k) <= 3; }
constexpr bool isList(ReportKind k) { return k == ReportKind::ListWithCost || k == ReportKind::ListWithoutCost; }
constexpr bool isTotalConsumption(ReportKind k) {
  return k == ReportKind::TotalConsumptionWithCost || k == ReportKind::TotalConsumptionWithoutCost;
}

}  // namespace kv
