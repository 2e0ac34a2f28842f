#include "reports/report_rows.h"

#include <algorithm>

#include "base/numbers.h"
#include "base/text.h"
#include "recipe/recipe_files.h"
#include "records/recipe_record.h"

namespace kv {

namespace {

ReportRow rowOf(const RecipeRecord& r) {
  return {"", r.Code.str(), r.Name.str(), r.Unit.str(), r.Quantity, r.Cost, r.Total, 0};
}
ReportRow rowOf(const LevelRecord& r) {
  return {r.TypeChar.str(), r.Code.str(), r.Name.str(), r.Unit.str(), r.Quantity, r.UnitCost, r.Total, r.Level};
}

}  // namespace

ReportFile::ReportFile(const std::string& company, ReportKind kind)
    : list_(isList(kind)),
      owned_(openRecipeSideFile(company, list_ ? RecipeFileKind::WorkingCopy : RecipeFileKind::Levels)),
      file_(owned_),
      count_(owned_.count()) {}

ReportFile::ReportFile(const FileHandle& workingCopy, std::int32_t lines)
    : list_(true), file_(workingCopy), count_(std::max(lines, 0)) {}

ReportRow ReportFile::row(std::int32_t n) const {
  return list_ ? rowOf(file_.get<RecipeRecord>(n)) : rowOf(file_.get<LevelRecord>(n));
}

std::string fieldText(ReportField field, const ReportRow& row, bool trimmed, bool indented) {
  auto text = [trimmed](const std::string& stored) { return trimmed ? trim(stored) : stored; };
  switch (field) {
    case ReportField::TypeChar: return row.typeChar;
    case ReportField::Code:
      return (indented ? std::string(2 * static_cast<std::size_t>(std::max(row.level, 0)), ' ') : "") + text(row.code);
    case ReportField::Name: return text(row.name);
    case ReportField::Unit: return trim(row.unit);
    case ReportField::Quantity: return singleText(row.quantity);
    case ReportField::Cost: return currencyText(row.cost);
    case ReportField::Total: return currencyText(row.total);
    case ReportField::QuantityTimesCost: return currencyText(row.quantity * row.cost);
    case ReportField::Level: return row.level == 0 ? "*" : std::to_string(row.level);
    case ReportField::Star: return "*";
  }
  return {};
}

float grandTotalOf(const ReportFile& file, GrandTotalRule rule) {
  float sum = 0;
  if (rule == GrandTotalRule::None) return sum;
  const std::int32_t count = file.count();
  for (std::int32_t n = 1; n <= count; ++n) {
    const ReportRow r = file.row(n);
    if (rule == GrandTotalRule::EveryRow || r.level == 0) sum += r.total;
  }
  return sum;
}

}  // namespace kv
