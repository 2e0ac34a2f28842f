// The back end of the tests: no screen. It records what the program shows (titles, message boxes, beeps,
// mouse pointers), answers message boxes from a script, measures text with fixed metrics and runs the
// timers on a clock of its own that moves only when the test says so.
#pragma once

#include "ui/layer_guard.h"

#include <deque>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace kv::ui {

class Timer;

// One thing the program showed, in the order it happened.
struct Shown {
  enum class Kind { Caption, Message, Beep, MousePointer };
  Kind kind = Kind::Beep;
  std::string form;   // the window (Caption, MousePointer; Message: its owner, if any)
  std::string text;   // Caption: the title; Message: the text (Windows-1254)
  std::string title;  // Message
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
  MsgAnswer answer = MsgAnswer::Ok;
  bool scripted = false;  // Message: answered from the script (else by its first button)
  int pointer = 0;        // MousePointer
};

class HeadlessBackend : public Backend {
 public:
  void formLoaded(Form& form) override;
  void formUnloaded(Form& form) override;
  void formChanged(Form& form, FormChange what) override;
  void controlChanged(Control& control) override;
  void controlDestroyed(Control& control) override;
  MsgAnswer messageBox(Form* owner, const std::string& text, MsgButtons buttons, MsgIcon icon,
                       const std::string& title) override;
  void beep() override;
  // Fixed metrics: a character is half the font's size wide (a bold one 0.55), a line 1.25 of it high.
  double textWidth(const Font& font, std::string_view text) override;
  double textHeight(const Font& font) override;
  ScreenSize screen() override { return screen_; }
  std::string clipboardText() override { return clipboard_; }
  void setClipboardText(const std::string& text) override { clipboard_ = text; }
  bool unhandledError(const std::string&) override { return true; }

  void setScreen(ScreenSize s) { screen_ = s; }
  void answer(MsgAnswer a) { answers_.push_back(a); }
  const std::vector<Shown>& shown() const { return shown_; }
  void clearShown() { shown_.clear(); }

  // The timers' clock, in milliseconds.
  long long now() const { return now_; }
  // The timer due first at or before `until`, with the time it is due; null when none.
  Timer* nextDue(long long until, long long& due) const;
  // The timer ticked at `at`: its next tick is one interval later.
  void ticked(Timer& timer, long long at);
  void setNow(long long t) { now_ = t; }

 private:
  struct TimerState {
    Timer* timer;
    int restarts;
    long long due;
  };
  void track(Timer& timer);

  ScreenSize screen_{1280, 1024};
  std::string clipboard_;
  std::deque<MsgAnswer> answers_;
  std::vector<Shown> shown_;
  std::vector<TimerState> timers_;
  long long now_ = 0;
};

}  // namespace kv::ui
