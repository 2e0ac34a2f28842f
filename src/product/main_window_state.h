// What the main window keeps while it is unloaded: the analysis and service windows unload it, and it
// comes back on the tab and the records it left. No other window reads it: what crosses windows, the
// current record as another window starts on it or hands one back, passes through KALVOR3.
#pragma once

#include <array>
#include <cstdint>

namespace kv {

struct MainWindowState {
  std::int16_t CurrentRecordNumber = 0;            // the record shown, or to be shown
  std::array<std::int16_t, 8> TabRecordNumber{};  // 1..7, one per kind tab; [0] is not used
  std::int16_t CurrentTab = 0;                     // 1..7, 8 for "Tümü", 0 before the first choice
  bool NoRecordShown = false;  // no record on the screen, or on the next activation none to show again
  bool DateInitialised = false;  // the working date has been set to today
};

// The one instance. Tests put a fresh one in place with `mainWindowState = MainWindowState{}`.
inline MainWindowState mainWindowState;

}  // namespace kv
