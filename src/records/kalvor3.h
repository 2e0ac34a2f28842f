// The program-wide variables through which the windows pass state. No window reads or sets another
// window's controls; everything that passes between windows passes through here or through the files.
// All start as 0, empty text or false.
#pragma once

#include <cstdint>
#include <string>

#include "base/dates.h"
#include "records/recipe_job.h"

namespace kv {

// ---- The hand-overs, one type a flow: its writer fills it whole, its reader takes it whole (the recipe
// job, RecipeJob, is in its own header, since the recipe editor's session works on it) ----

// The job the recipe service leaves for the analysis window, which clears it at its load and runs it (and
// clears it) when it is shown again.
enum class RecipeServiceJob {
  None,
  RecipeDateChanged,       // the date dialog edited the recipe date: nothing to run
  RebuildRecipes,          // ".REC" rebuilt from the product file
  RebuildListDefinitions,  // ".LTD" rebuilt from the product file
  RefreshRecipeCosts,      // every product's recipe cost refreshed
};

// The product list: the list dialog starts it at its load (the code list, nothing ready), chooses its
// kind and builds its list file; the filter says whether its result is ready to output. The grid and the
// print dialog output it as a list of its kind.
struct ProductList {
  std::int16_t ListKind = 0;  // 1 code, 2 cost, 3 price, 4 stock count
  bool ListReady = false;     // the list file already holds the list to output
};

// The recipe report: the analysis window names the shown product for the report dialog (F4); the dialog
// adds the kind it chose before it shows the report window, which heads its pages with the product's
// code and name fitted to their widths and leaves them so.
struct RecipeReport {
  std::int16_t ActiveRecordNumber = 0;
  std::string ReportProductCode;  // as stored, at most 20 characters
  std::string ReportProductName;  // as stored, at most 40 characters
  std::int16_t ReportKind = 0;    // 1..6
};

// Files belong to the windows and engines that open them, and record buffers to the code that reads
// them; the collation is collationString(). Each window that heads report pages keeps its own date text.
struct Kalvor3 {
  // ---- The session ----
  // The base name of every company data file: the start-up dialog writes it; the windows read it to name
  // the company's files (a window that holds the product file, to open it).
  std::string CompanyName;
  // The working date: the main window's first activation sets it to today, the date dialog opened from
  // the operations window changes it; the main window, the analysis window, the date dialog, the
  // exchange-rate window and the windows that head report pages read it.
  Date StaticDate;
  // The recipe cost date: the analysis window starts it from the working date at its load, the date
  // dialog opened from the recipe service changes it; the analysis window, the recipe editor and the
  // report dialog cost with it and stamp it.
  Date RecipeDate;
  // Which date the date dialog edits and where it goes back: the operations window sets it, the recipe
  // service clears it, the date dialog reads it.
  bool DateFromOperations = false;

  // ---- The product cursor ----
  // The main window's current record as it crosses windows: the main window leaves it here when it gives
  // the screen to another window, and takes it back when it loads or is shown again. The analysis window
  // and the service window start on it; the service window's rebuild leaves the last record it wrote,
  // the product-list grid the product picked there.
  std::int16_t CurrentRecordNumber = 0;
  // The grid's pick was a double click: the main window shows it when it comes back, even when it showed
  // no record before.
  bool RecordPicked = false;

  // ---- The flows ----
  RecipeJob Job;                                             // analysis window -> recipe editor
  RecipeServiceJob ServiceRequest = RecipeServiceJob::None;  // recipe service -> analysis window
  ProductList List;                                          // list dialog, filter -> grid, print dialog
  RecipeReport Report;  // analysis window -> report dialog -> report window
};

// The one instance. Tests put a fresh one in place with `KALVOR3 = Kalvor3{}`.
inline Kalvor3 KALVOR3;

}  // namespace kv
