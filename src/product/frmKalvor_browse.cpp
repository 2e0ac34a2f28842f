// Browsing: first, previous, next and last record of the selected kind, in record order or in code order
// along the alphabetic chain.
#include "base/program_title.h"
#include "product/frmKalvor.h"

namespace kv {

using namespace ui;

// A new entry is pending: offer to save it, then show the record shown before. Returns false when the save
// was refused: the command is abandoned and the entry stays as typed.
bool frmKalvor::leavePendingEntry(ChainCommand command) {
  const bool hasCode = !typedCode().empty();
  if (hasCode || command == ChainCommand::Next || command == ChainCommand::Last) Beep();
  if (hasCode) {
    static const char* const titles[] = {"", " " KV_PROGRAM_TITLE, KV_PROGRAM_TITLE,
                                         KV_PROGRAM_TITLE, KV_PROGRAM_TITLE "  BETA"};
    if (!askToSavePendingEntry(titles[static_cast<int>(command)])) return false;
  }
  cmdSonraki.Enabled = false;
  ShowRecord();
  bilKod.SetFocus();
  return true;
}

void frmKalvor::cmdBirinci_Click() {
  Direction = 1;
  if (Entry.newEntry()) {
    leavePendingEntry(ChainCommand::First);
    return;
  }
  if (OptAlfabetik.Value()) {
    NavigateAlphabetic(ChainCommand::First);
    return;
  }
  std::int16_t& current = RecordShown;
  // With no record shown (0) the first record is still the place to go.
  if (current != 1)
    current = 1;
  else
    Beep();
  ShowRecord();
  cmdOnceki.Enabled = false;
  cmdSonraki.Enabled = Products.count() >= 2;
  bilKod.SetFocus();
}

void frmKalvor::cmdOnceki_Click() {
  cmdSonraki.Enabled = true;
  Direction = -1;
  if (Entry.newEntry()) {
    leavePendingEntry(ChainCommand::Previous);
    return;
  }
  if (OptAlfabetik.Value()) {
    NavigateAlphabetic(ChainCommand::Previous);
    return;
  }
  std::int16_t& current = RecordShown;
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
  if (Entry.newEntry()) {
    leavePendingEntry(ChainCommand::Next);
    return;
  }
  if (OptAlfabetik.Value()) {
    NavigateAlphabetic(ChainCommand::Next);
    return;
  }
  std::int16_t& current = RecordShown;
  if (current == Products.count()) {
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
  if (Entry.newEntry()) {
    leavePendingEntry(ChainCommand::Last);
    return;
  }
  if (OptAlfabetik.Value()) {
    NavigateAlphabetic(ChainCommand::Last);
    return;
  }
  std::int16_t& current = RecordShown;
  if (current == Products.count())
    Beep();
  else
    current = Products.count();
  ShowRecord();
  cmdSonraki.Enabled = false;
  cmdOnceki.Enabled = Products.count() >= 2;
  bilKod.SetFocus();
}

// The product file walks the chain from its ends or from the current record to the nearest record of the
// selected kind; the window shows what it found, or turns blank.
void frmKalvor::NavigateAlphabetic(ChainCommand command) {
  BusyPointer busy(*this);
  const int tab = selectedTab();
  const ChainStep step = Products.step(command, RecordShown, tab);
  // First and last beep once they know where the chain begins and ends.
  if (step.status != ChainStep::Status::NoChain && (command == ChainCommand::First || command == ChainCommand::Last))
    Beep();
  showChainButtons(command, step);
  busy.restore();
  if (step.status == ChainStep::Status::Found) {
    ShowRecordFields(Entry.show(step.found, CostDisplay));
    if (!KeepTitle) showRecordTitle(step.record);
    RecordShown = step.record;
    NoRecordShown = false;
    if (tab >= 1 && tab <= 7) TabRecordNumber[tab] = step.record;
  } else {
    ClearRecordFields();
    Caption = " " KV_PROGRAM_TITLE " BETA"_w;
    NoRecordShown = true;
    if (step.status == ChainStep::Status::Locked) showLockedSearch();
  }
  KeepTitle = SearchMode = false;
  Entry.endEditing();
  bilKod.SetFocus();
}

// The previous and next buttons after a step in code order, from where the walk stands. "Toward" is the
// button on the side the command goes to (previous for first and previous), "away" the other one.
// - Toward is on when the step moved to a record with more of the chain beyond it on that side.
// - First and last: away is on when more of the chain lies beyond the record reached on its side; at the
//   end the walk started from, it stays as the start set it: on unless the chain holds one record.
// - Previous and next: away is on, unless the chain holds one record and the step reached no record with
//   more of the chain beyond it on that side.
void frmKalvor::showChainButtons(ChainCommand command, const ChainStep& step) {
  const bool startward = command == ChainCommand::First || command == ChainCommand::Previous;
  CommandButton& toward = startward ? cmdOnceki : cmdSonraki;
  CommandButton& away = startward ? cmdSonraki : cmdOnceki;
  const bool endToward = startward ? step.atStart : step.atEnd;
  const bool endAway = startward ? step.atEnd : step.atStart;
  const bool moved = step.status == ChainStep::Status::Found && !step.noneFitsBeyond;
  toward.Enabled = moved && !endToward;
  if (step.status == ChainStep::Status::NoChain) return;
  if (command == ChainCommand::First || command == ChainCommand::Last) {
    if (!endToward)
      away.Enabled = !endAway;
    else if (!step.chainOfOne)
      away.Enabled = true;
  } else {
    away.Enabled = !step.chainOfOne || (moved && !endAway);
  }
}

void frmKalvor::OptAlfabetik_Click() {
  Beep();
  if (Products.count() < 2) OptKayitsal.Value = true;
  cmdOnceki.Enabled = true;
  cmdSonraki.Enabled = true;
  bilKod.SetFocus();
}

void frmKalvor::OptKayitsal_Click() {
  if (!NoRecordShown) Beep();
  cmdOnceki.Enabled = true;
  cmdSonraki.Enabled = true;
  bilKod.SetFocus();
}

}  // namespace kv
