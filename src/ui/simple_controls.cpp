#include "ui/controls.h"
#include "ui/form.h"

namespace kv::ui {

Label::Label(Form& form, std::string name) : CaptionControl(form, std::move(name), false) {}
Label::Label(Frame& frame, std::string name) : CaptionControl(frame, std::move(name), false) {}

void Label::setAlignment(const int& v) {
  alignment_ = v;
  changed();
}

void Label::setBorderStyle(const int& v) {
  borderStyle_ = v;
  changed();
}

Frame::Frame(Form& form, std::string name) : CaptionControl(form, std::move(name), false) {}
Frame::Frame(Frame& frame, std::string name) : CaptionControl(frame, std::move(name), false) {}

PictureBox::PictureBox(Form& form, std::string name) : Control(form, std::move(name), false) {}
PictureBox::PictureBox(Frame& frame, std::string name) : Control(frame, std::move(name), false) {}

void PictureBox::setPicture(const std::string& v) {
  picture_ = v;
  changed();
}

Timer::Timer(Form& form, std::string name) : Control(form, std::move(name), false) { TabStop = false; }

void Timer::setInterval(const int& v) {
  interval_ = v < 0 ? 0 : v;
  ++restarts_;
  changed();
}

void Timer::enabledChanged() {
  if (Enabled()) ++restarts_;
}

bool Timer::Running() const { return Enabled() && interval_ > 0 && Parent().Loaded(); }

}  // namespace kv::ui
