// The record-order scan with which the main window puts a record on the screen: from the current
// record it steps through the product file to the nearest record that fits the selected kind tab,
// reversing at either end of the file, at most twice the record count reads.
#pragma once

#include <cstdint>

#include "common/product_record.h"

namespace kv {

inline constexpr int kTabAll = 8;  // the tab "Tümü"

// A record fits a tab when it is not deleted and the tab is "Tümü" or the tab of its kind.
inline bool fitsTab(std::int16_t kind, int tab) { return kind >= 0 && (tab == kTabAll || kind == tab); }

struct ScanOutcome {
  bool found = false;        // buffer holds the fitting record `current`; otherwise the window is blank
  bool disablePrevious = false;  // the scan reversed at the first record
  bool disableNext = false;      // the scan reversed at the last record
  std::int32_t steps = 0;
};

// current and direction are the window's; both are moved as the scan moves. buffer receives every
// record read (the last one read stays in it). current below 1 is the caller's case: it must not call.
ScanOutcome scanToFittingRecord(int productFile, std::int16_t recordCount, int tab, std::int16_t& current,
                                int& direction, ProductRecord& buffer);

}  // namespace kv
