#include "ui/edit_control.h"

namespace kv::ui {

void EditControl::setSelStart(const int& v) {
  edit_.setSelStart(v);
  changed();
}

void EditControl::setSelLength(const int& v) {
  edit_.setSelLength(v);
  changed();
}

void EditControl::keyDownAction(int KeyCode, int Shift) { apply(edit_.keyDown(KeyCode, Shift, backend())); }

void EditControl::keyPressAction(int KeyAscii) { apply(edit_.keyPress(KeyAscii, backend())); }

void EditControl::setTextByCode(const std::string& v) {
  apply(edit_.setText(v, beingTyped()) ? EditText::Result::Changed : EditText::Result::Moved);
}

void EditControl::apply(EditText::Result r) {
  if (r == EditText::Result::Nothing) return;
  if (r == EditText::Result::Changed) textChanged();
  changed();
  if (r == EditText::Result::Changed) raise(Change);
}

}  // namespace kv::ui
