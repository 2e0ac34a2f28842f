// The program-wide variables through which the windows pass state. No window reads or sets another
// window's controls; everything that passes between windows passes through here or through the files.
// All start as 0, empty text or false.
#pragma once

#include <cstdint>
#include <string>

#include "common/dates.h"

namespace kv {

// Only what one window hands to another lives here, grouped by the flow it serves; each group names the
// windows that write it and those that read it. Files belong to the windows and engines that open them,
// and record buffers to the code that reads them; the collation is collationString().
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
  // The working date as Turkish text: each window that heads report pages (the report dialog, the report
  // window, the recipe editor's printing, the list print dialog) writes it just before it heads them.
  std::string DateText;
  // Which date the date dialog edits and where it goes back: the operations window sets it, the recipe
  // service clears it, the date dialog reads it.
  bool DateFromOperations = false;

  // ---- The product cursor ----
  // The product the main window shows: the main window, the product-list grid (the product picked there)
  // and the service window (after a rebuild) write it; the main window, the analysis window and the
  // service window start on it.
  std::int16_t CurrentRecordNumber = 0;

  // ---- The recipe job ----
  // The product the analysis window showed when it handed over: it writes it; the recipe editor and the
  // report dialog work on it.
  std::int16_t ActiveRecordNumber = 0;
  // The list definition (".LTD") rather than the recipe (".REC"): the analysis window writes it before it
  // opens the recipe editor, which reads it at its load. The report dialog and the recipe service keep
  // their own choice of file here too, and read it back themselves.
  bool ListMode = false;
  // The owner of the chain the analysis window copied out for the editor (its code trimmed and
  // upper-cased, its random number) and, in list mode, the chain's head in ".LTD" (0 when it has none):
  // the analysis window writes them before it opens the editor, which reads them at its load.
  std::string OwnerCode;
  std::int32_t OwnerRandomNumber = 0;
  std::int32_t ListHead = 0;
  // The job the recipe service leaves for the analysis window (2 rebuild ".REC", 3 rebuild ".LTD", 4
  // refresh every recipe cost; any other value none): the service writes it; the analysis window clears
  // it at its load, and runs and clears it when it is shown again.
  std::int16_t ServiceRequest = 0;

  // ---- The product list ----
  // The list kind (1 code, 2 cost, 3 price, 4 stock count): the list dialog writes it; the grid and the
  // print dialog read it.
  std::int16_t ListKind = 0;
  // The list file already holds the list to output: the list dialog clears it at its load and sets it
  // after a build, the filter sets it by its result; the list dialog reads it.
  bool ListReady = false;

  // ---- The recipe report ----
  // The report kind the report dialog chose (1..6): the report dialog writes it; the report window shows
  // that report.
  std::int16_t ReportKind = 0;
  // The product's code and name as stored: the analysis window writes them before it opens the report
  // dialog; the report dialog and the report window head their reports with them.
  std::string ReportProductCode;  // at most 20 characters
  std::string ReportProductName;  // at most 40 characters
};

// The one instance. Tests put a fresh one in place with `KALVOR3 = Kalvor3{}`.
inline Kalvor3 KALVOR3;

}  // namespace kv
