// What the printed and the screen recipe reports share: the rows of a report's working file, the texts a
// row shows in its cells, the grand total of the cost reports, and the rule that cuts a text to its cell.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"
#include "reports/report_kind.h"

namespace kv {

// One row of any of the six reports, from a working-copy line or a level line.
struct ReportRow {
  std::string typeChar;
  std::string code;  // as stored: blank-padded to its width
  std::string name;
  std::string unit;
  float quantity = 0;
  float cost = 0;  // Cost of a list line, UnitCost of a level line
  float total = 0;  // as stored
  int level = 0;
};

// The records of a report: the company's working file of its kind (".RCT" for the list reports, ".KDM"
// for the others), opened and counted here and open while the object lives (a missing file is created
// empty; FileError when it cannot be opened); or a working copy its owner holds open (the recipe editor's,
// which stays open for editing), with the number of its lines to report.
class ReportFile {
 public:
  ReportFile(const std::string& company, ReportKind kind);
  ReportFile(const FileHandle& workingCopy, std::int32_t lines);
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;
  std::int32_t count() const { return count_; }
  ReportRow row(std::int32_t n) const;

 private:
  bool list_;
  FileHandle owned_;
  const FileHandle& file_;
  std::int32_t count_;
};

// What a cell shows of its row.
enum class ReportField {
  TypeChar,
  Code,
  Name,
  Quantity,           // general number text
  Unit,               // trimmed
  Cost,               // currency text
  Total,              // the stored total, currency text
  QuantityTimesCost,  // worked out again, currency text
  Level,              // "*" for the product's own lines, else the level
  Star,               // "*" whatever the level
};

// The text of one cell. trimmed: the code or name without blanks at either end, else as stored;
// indented: two blanks before the code for each level below the product.
std::string fieldText(ReportField field, const ReportRow& row, bool trimmed = true, bool indented = false);

enum class GrandTotalRule { None, EveryRow, LevelZero };

// The sum of the stored totals, in record order: of every row, or only of the product's own lines, whose
// totals already hold those of the levels below.
float grandTotalOf(const ReportFile& file, GrandTotalRule rule);

}  // namespace kv
