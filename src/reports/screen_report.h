// The recipe reports on the screen, twenty rows a page: which page the keys lead to, which records of the
// working file a page shows, the texts of its cells, and the frame each of the six reports is drawn in
// (in millimetres from the top left corner of the window). The report window draws it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reports/report_kind.h"
#include "reports/report_rows.h"

namespace kv {

inline constexpr std::int32_t kScreenPageRows = 20;

// The page the next paint draws, and the direction paging goes in. A forward paint leaves the index on
// the page after the one drawn, a backward paint on the one before it, a jump on the same page; so the
// first key against the direction draws the page on screen again.
struct ScreenPaging {
  std::int32_t pageIndex = 0;    // 0-based
  int direction = 1;             // 1 forward, -1 backward, 0 after HOME or END
  std::int32_t recordCount = 0;  // of the file at the last paint

  void pageDown();
  void pageUp();
  void home();
  void end();
  void forward() { direction = 1; }
  // Brings the index into range for `count` records: past the end going forward wraps to the first page,
  // before the first page (or a jump outside) goes to the last one.
  void select(std::int32_t count);
  std::int32_t firstRecord() const { return pageIndex * kScreenPageRows + 1; }
  std::int32_t lastRecord() const;  // below firstRecord() when the file is empty
  void advance() { pageIndex += direction; }
};

enum class CellAlign {
  Left,    // at x, cut to the limit
  Right,   // ending at x, cut to the limit
  Centre,  // centred between x and x + limit, never cut
};

struct ScreenCell {
  ReportField field;
  CellAlign align;
  double x;
  double limit;
  bool indented = false;
};

struct ScreenColumn {
  const char* heading;  // UTF-8
  double left, right;
};

struct ScreenLayout {
  const char* title;                // UTF-8, the window's caption
  double headerLeft, headerWidth;   // the header line: date, product and page label fill the width
  double ruleLeft, ruleRight;       // the horizontal rules
  std::vector<ScreenColumn> columns;  // a vertical rule at each column's left and at the last one's right
  std::vector<ScreenCell> cells;
  GrandTotalRule grandTotal;
};
inline constexpr double kScreenTotalEnd = 165;  // where the grand total line ends

const ScreenLayout& screenLayout(ReportKind kind);

// One page as read from the working file: the page selected, its rows' cell texts (before cutting) in the
// order of the layout's cells, and the grand total of the cost reports.
struct ScreenPage {
  int pageNumber = 1;
  float grandTotal = 0;
  std::vector<std::vector<std::string>> rows;
};

// Opens the working file of `kind`, counts it, selects the page in `paging` (not advanced), reads the page
// and closes the file. Throws FileError when the file cannot be read; nothing of the paging changes then.
ScreenPage readScreenPage(const std::string& company, ReportKind kind, ScreenPaging& paging);
// The page of a file without records, selected in `paging`.
ScreenPage emptyScreenPage(ScreenPaging& paging);

// The header's product text: the code and the name, trimmed, three blanks between them.
std::string screenHeaderText(const std::string& code, const std::string& name);

}  // namespace kv
