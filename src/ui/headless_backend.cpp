#include "ui/headless_backend.h"

#include <algorithm>

#include "ui/controls.h"
#include "ui/form.h"

namespace kv::ui {

namespace {

MsgAnswer firstButton(MsgButtons b) {
  switch (b) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
      return MsgAnswer::Yes;
    case MsgButtons::RetryCancel:
      return MsgAnswer::Retry;
    default:
      return MsgAnswer::Ok;
  }
}

}  // namespace

void HeadlessBackend::formLoaded(Form& form) {
  for (Control* c : form.Controls()) controlChanged(*c);
}

void HeadlessBackend::formUnloaded(Form& form) {
  std::erase_if(timers_, [&](const TimerState& t) { return &t.timer->Parent() == &form; });
}

void HeadlessBackend::formChanged(Form& form, FormChange what) {
  if (what == FormChange::Caption) {
    Shown s;
    s.kind = Shown::Kind::Caption;
    s.form = form.Name();
    s.text = form.Caption();
    shown_.push_back(std::move(s));
  } else if (what == FormChange::MousePointer) {
    Shown s;
    s.kind = Shown::Kind::MousePointer;
    s.form = form.Name();
    s.pointer = form.MousePointer();
    shown_.push_back(std::move(s));
  }
}

void HeadlessBackend::controlChanged(Control& control) {
  if (control.kind() == ControlKind::Timer) track(static_cast<Timer&>(control));
}

void HeadlessBackend::controlDestroyed(Control& control) {
  std::erase_if(timers_, [&](const TimerState& t) { return t.timer == &control; });
}

// A running timer counts from the moment it was (re)started.
void HeadlessBackend::track(Timer& timer) {
  const auto it = std::find_if(timers_.begin(), timers_.end(), [&](const TimerState& t) { return t.timer == &timer; });
  if (!timer.Running()) {
    if (it != timers_.end()) timers_.erase(it);
    return;
  }
  if (it == timers_.end()) {
    timers_.push_back({&timer, timer.restarts(), now_ + timer.Interval()});
  } else if (it->restarts != timer.restarts()) {
    it->restarts = timer.restarts();
    it->due = now_ + timer.Interval();
  }
}

Timer* HeadlessBackend::nextDue(long long until, long long& due) const {
  Timer* best = nullptr;
  for (const TimerState& t : timers_) {
    if (t.due <= until && (!best || t.due < due)) {
      best = t.timer;
      due = t.due;
    }
  }
  return best;
}

void HeadlessBackend::ticked(Timer& timer, long long at) {
  for (TimerState& t : timers_)
    if (t.timer == &timer) t.due = at + timer.Interval();
}

MsgAnswer HeadlessBackend::messageBox(Form* owner, const std::string& text, MsgButtons buttons, MsgIcon icon,
                                      const std::string& title) {
  Shown s;
  s.kind = Shown::Kind::Message;
  s.form = owner ? owner->Name() : std::string();
  s.text = text;
  s.title = title;
  s.buttons = buttons;
  s.icon = icon;
  s.scripted = !answers_.empty();
  if (s.scripted) {
    s.answer = answers_.front();
    answers_.pop_front();
  } else {
    s.answer = firstButton(buttons);
  }
  shown_.push_back(s);
  return s.answer;
}

void HeadlessBackend::beep() {
  Shown s;
  s.kind = Shown::Kind::Beep;
  shown_.push_back(std::move(s));
}

double HeadlessBackend::textWidth(const Font& font, std::string_view text) {
  const double em = font.size * 96.0 / 72.0;
  return static_cast<double>(text.size()) * em * (font.bold ? 0.55 : 0.5);
}

double HeadlessBackend::textHeight(const Font& font) { return font.size * 96.0 / 72.0 * 1.25; }

}  // namespace kv::ui
