// Browsing: first, previous, next and last record of the selected kind, in record order or in code order
// along the alphabetic chain.
#include "common/code_search.h"
#include "common/collation.h"
#include "common/files.h"
#include "common/kalvor3.h"
#include "product/frmKalvor.h"
#include "product/record_scan.h"

namespace kv {

using namespace ui;

// A new entry is pending: offer to save it, then show the record shown before. Returns false when the save
// was refused: the command is abandoned and the entry stays as typed.
bool frmKalvor::leavePendingEntry(int command) {
  const bool hasCode = !bilKod.Text().empty();
  if (hasCode || command == NavNext || command == NavLast) Beep();
  if (hasCode) {
    static const char* const titles[] = {"", " KALVOR 952 Uyarlama 3.0", "KALVOR 952 Uyarlama 3.0",
                                         "KALVOR 952 Uyarlama 3.0", "KALVOR 952 Uyarlama 3.0  BETA"};
    if (!askToSavePendingEntry(titles[command])) return false;
  }
  cmdSonraki.Enabled = false;
  ShowRecord();
  bilKod.SetFocus();
  return true;
}

void frmKalvor::cmdBirinci_Click() {
  Direction = 1;
  if (NewEntry) {
    leavePendingEntry(NavFirst);
    return;
  }
  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (OptAlfabetik.Value()) {
    NavCommand = NavFirst;
    WalkRecord = current;
    NavigateAlphabetic();
    return;
  }
  // With no record shown (0) the first record is still the place to go.
  if (current != 1)
    current = 1;
  else
    Beep();
  ShowRecord();
  cmdOnceki.Enabled = false;
  cmdSonraki.Enabled = RecordCount >= 2;
  bilKod.SetFocus();
}

void frmKalvor::cmdOnceki_Click() {
  cmdSonraki.Enabled = true;
  Direction = -1;
  if (NewEntry) {
    leavePendingEntry(NavPrevious);
    return;
  }
  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (OptAlfabetik.Value()) {
    NavCommand = NavPrevious;
    WalkRecord = current;
    NavigateAlphabetic();
    return;
  }
  if (current <= 1) {
    Beep();
    cmdOnceki.Enabled = false;
  } else {
    --current;
  }
  ShowRecord();
  bilKod.SetFocus();
}

void frmKalvor::cmdSonraki_Click() {
  cmdOnceki.Enabled = true;
  Direction = 1;
  if (NewEntry) {
    leavePendingEntry(NavNext);
    return;
  }
  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (OptAlfabetik.Value()) {
    NavCommand = NavNext;
    WalkRecord = current;
    NavigateAlphabetic();
    return;
  }
  if (current == RecordCount) {
    Beep();
    cmdSonraki.Enabled = false;
  } else {
    ++current;
  }
  ShowRecord();
  bilKod.SetFocus();
}

void frmKalvor::cmdSonuncu_Click() {
  Direction = -1;
  if (NewEntry) {
    leavePendingEntry(NavLast);
    return;
  }
  std::int16_t& current = KALVOR3.CurrentRecordNumber;
  if (OptAlfabetik.Value()) {
    NavCommand = NavLast;
    WalkRecord = current;
    NavigateAlphabetic();
    return;
  }
  if (current == RecordCount)
    Beep();
  else
    current = RecordCount;
  ShowRecord();
  cmdSonraki.Enabled = false;
  cmdOnceki.Enabled = RecordCount >= 2;
  bilKod.SetFocus();
}

// Walks the chain from its ends or from the current record to the nearest record of the selected kind.
// Every pointer is checked before it is followed, and the walk is bounded by twice the record count: a
// chain that loops ends with the lock message instead of a hang.
void frmKalvor::NavigateAlphabetic() {
  MousePointer = Pointer::Hourglass;
  const int count = RecordCount;
  const int tab = selectedTab();
  auto inRange = [count](int r) { return r >= 1 && r <= count; };
  auto read = [this](int r) { get(KALVOR3.ProductFileNumber, r, Record); };
  std::int32_t steps = 0;
  const std::int32_t limit = 2 * count;
  bool locked = false;
  auto step = [&] {
    if (++steps <= limit) return true;
    locked = true;
    return false;
  };
  bool success = false;

  auto findEnds = [&] {
    ChainFirst = ChainLast = 0;
    for (int b = 2; b <= kBucketCount && ChainFirst == 0; ++b) {
      KALVOR3.IndexRec = get<IndexEntry>(KALVOR3.IndexFileNumber, b);
      if (inRange(KALVOR3.IndexRec.First)) ChainFirst = KALVOR3.IndexRec.First;
    }
    for (int b = kBucketCount; b >= 2 && ChainLast == 0; --b) {
      KALVOR3.IndexRec = get<IndexEntry>(KALVOR3.IndexFileNumber, b);
      if (inRange(KALVOR3.IndexRec.Last)) ChainLast = KALVOR3.IndexRec.Last;
    }
    return ChainFirst != 0 && ChainLast != 0;
  };

  if (findEnds()) {
    if (NavCommand == NavFirst || NavCommand == NavLast) {
      const bool first = NavCommand == NavFirst;
      // Seen from the end the walk starts at: "back" towards that end, "ahead" away from it.
      CommandButton& back = first ? cmdOnceki : cmdSonraki;
      CommandButton& ahead = first ? cmdSonraki : cmdOnceki;
      const std::int16_t start = first ? ChainFirst : ChainLast;
      const std::int16_t far = first ? ChainLast : ChainFirst;
      WalkRecord = start;
      back.Enabled = false;
      if (ChainFirst != ChainLast) ahead.Enabled = true;
      Beep();
      while (step() && inRange(WalkRecord)) {
        read(WalkRecord);
        const std::int16_t behind = first ? Record.ChainPrev : Record.ChainNext;
        const std::int16_t onward = first ? Record.ChainNext : Record.ChainPrev;
        if (WalkRecord == start || WalkRecord == behind) {
          back.Enabled = false;
        } else {
          back.Enabled = true;
          ahead.Enabled = !(WalkRecord == far || WalkRecord == onward);
        }
        if (fitsTab(Record.Kind, tab)) {
          success = true;
          break;
        }
        if (WalkRecord == onward || WalkRecord == far) break;
        WalkRecord = onward;
      }
    } else {
      const bool previous = NavCommand == NavPrevious;
      Direction = previous ? -1 : 1;
      if (ChainFirst == ChainLast) {
        cmdOnceki.Enabled = false;
        cmdSonraki.Enabled = false;
      } else {
        (previous ? cmdSonraki : cmdOnceki).Enabled = true;
      }
      if (inRange(WalkRecord)) {
        read(WalkRecord);
        int candidate = previous ? Record.ChainPrev : Record.ChainNext;
        bool endReached = false;
        while (step() && inRange(candidate)) {
          read(candidate);
          if (fitsTab(Record.Kind, tab)) {
            const bool notFirst = candidate != ChainFirst && candidate != Record.ChainPrev;
            const bool notLast = candidate != ChainLast && candidate != Record.ChainNext;
            if (notFirst)
              cmdOnceki.Enabled = true;
            else if (previous)
              cmdOnceki.Enabled = false;
            if (notLast)
              cmdSonraki.Enabled = true;
            else if (!previous)
              cmdSonraki.Enabled = false;
            WalkRecord = static_cast<std::int16_t>(candidate);
            success = true;
            break;
          }
          const int onward = previous ? Record.ChainPrev : Record.ChainNext;
          if (candidate == onward || candidate == (previous ? ChainFirst : ChainLast)) {
            endReached = true;
            break;
          }
          candidate = onward;
        }
        if (endReached) {
          (previous ? cmdOnceki : cmdSonraki).Enabled = false;
          read(WalkRecord);
          success = fitsTab(Record.Kind, tab);
        }
      }
    }
  }

  MousePointer = Pointer::Default;
  if (success) {
    ShowRecordFields();
    if (!KeepTitle) showRecordTitle(WalkRecord);
    KALVOR3.CurrentRecordNumber = WalkRecord;
    ShownCode = Record.Code.str();
    KALVOR3.NoRecordShown = false;
    if (tab >= 1 && tab <= 7) KALVOR3.TabRecordNumber[tab] = WalkRecord;
  } else {
    (NavCommand == NavFirst || NavCommand == NavPrevious ? cmdOnceki : cmdSonraki).Enabled = false;
    ClearRecordFields();
    Caption = " KALVOR 952 Uyarlama 3.0 BETA"_w;
    KALVOR3.NoRecordShown = true;
    if (locked) showLockedSearch();
  }
  KeepTitle = NewEntry = SearchMode = CodeChanged = false;
  bilKod.SetFocus();
}

void frmKalvor::OptAlfabetik_Click() {
  Beep();
  if (RecordCount < 2) OptKayitsal.Value = true;
  cmdOnceki.Enabled = true;
  cmdSonraki.Enabled = true;
  bilKod.SetFocus();
}

void frmKalvor::OptKayitsal_Click() {
  if (!KALVOR3.NoRecordShown) Beep();
  cmdOnceki.Enabled = true;
  cmdSonraki.Enabled = true;
  bilKod.SetFocus();
}

}  // namespace kv
