#include "ui/controls.h"
#include "ui/form.h"
#include "ui/keys.h"

namespace kv::ui {

CommandButton::CommandButton(Form& form, std::string name) : CaptionControl(form, std::move(name), true) {}
CommandButton::CommandButton(Frame& frame, std::string name) : CaptionControl(frame, std::move(name), true) {}

void CommandButton::setDefault(const bool& v) {
  if (v == default_) return;
  if (v) {
    for (Control* c : Parent().Controls()) {
      if (c == this || c->kind() != ControlKind::CommandButton) continue;
      auto* other = static_cast<CommandButton*>(c);
      if (other->default_) {
        other->default_ = false;
        other->changed();
      }
    }
  }
  default_ = v;
  changed();
}

// Enter and Space on a focused button click it, as on Windows.
void CommandButton::keyPressAction(int KeyAscii) {
  if (KeyAscii == Key::Enter || KeyAscii == Key::Space) userClick();
}

OptionButton::OptionButton(Form& form, std::string name) : CaptionControl(form, std::move(name), true) {}
OptionButton::OptionButton(Frame& frame, std::string name) : CaptionControl(frame, std::move(name), true) {}

// Selects this option and clears the others of its container, without events.
void OptionButton::select() {
  for (Control* c : Parent().Controls()) {
    if (c == this || c->kind() != ControlKind::OptionButton || c->Container() != Container()) continue;
    auto* other = static_cast<OptionButton*>(c);
    if (other->value_) {
      other->value_ = false;
      other->changed();
    }
  }
  value_ = true;
  changed();
}

void OptionButton::setValue(const bool& v) {
  if (v == value_) return;
  if (!v) {
    value_ = false;
    changed();
    return;
  }
  select();
  raise(Click);
}

// The user's click runs Click even on the option already selected, as on Windows.
void OptionButton::userClick() {
  select();
  raise(Click);
}

void OptionButton::keyPressAction(int KeyAscii) {
  if (KeyAscii == Key::Space) userClick();
}

CheckBox::CheckBox(Form& form, std::string name) : CaptionControl(form, std::move(name), true) {}
CheckBox::CheckBox(Frame& frame, std::string name) : CaptionControl(frame, std::move(name), true) {}

void CheckBox::setValue(const int& v) {
  if (v == value_) return;
  value_ = v;
  changed();
  raise(Click);
}

void CheckBox::userClick() { setValue(value_ == 0 ? 1 : 0); }

void CheckBox::keyPressAction(int KeyAscii) {
  if (KeyAscii == Key::Space) userClick();
}

}  // namespace kv::ui
