// The program-wide variables through which the windows pass state. No window reads or sets another
// window's controls; everything that passes between windows passes through here or through the files.
// Each variable's meaning is told by the window that writes it. All start as 0, empty text or false.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/dates.h"

namespace kv {

// Only what one window hands to another lives here. Files belong to the windows and engines that open
// them, and record buffers to the code that reads them; the collation is collationString().
struct Kalvor3 {
  // Start-up and main window.
  std::string CompanyName;  // base name of every company data file
  std::int16_t CurrentRecordNumber = 0;
  std::array<std::int16_t, 8> TabRecordNumber{};  // 1..7, one per kind tab; [0] is not used
  std::int16_t CurrentTab = 0;                     // 1..7, 8 for "Tümü", 0 before the first choice
  bool NoRecordShown = false;
  bool DateInitialised = false;
  Date StaticDate;  // the working date
  Date RecipeDate;  // the recipe cost date
  std::string DateText;  // the working date as Turkish text, for the page heads of the reports
  bool DateFromOperations = false;

  // Recipe costing and reports.
  std::int16_t ActiveRecordNumber = 0;
  bool ListMode = false;
  std::int16_t ListKind = 0;
  bool ListReady = false;
  std::int16_t ReportKind = 0;
  std::int32_t ListHead = 0;
  std::int32_t OwnerRandomNumber = 0;
  std::string OwnerCode;
  std::int16_t ServiceRequest = 0;
  std::string ReportProductCode;  // at most 20 characters
  std::string ReportProductName;  // at most 40 characters
};

// The one instance. Tests put a fresh one in place with `KALVOR3 = Kalvor3{}`.
inline Kalvor3 KALVOR3;

}  // namespace kv
