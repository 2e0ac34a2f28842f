// What the text box and the combo box share: an entry field with its caret and selection, the Change
// event, and the editing that follows the KeyDown and KeyPress handlers.
#pragma once

#include "ui/layer_guard.h"

#include <functional>
#include <string>

#include "ui/control.h"
#include "ui/edit_text.h"

namespace kv::ui {

class EditControl : public Control {
 private:
  int selStart() const { return edit_.selStart(); }
  void setSelStart(const int& v);
  int selLength() const { return edit_.selLength(); }
  void setSelLength(const int& v);
  int maxLength() const { return edit_.maxLength(); }
  void setMaxLength(const int& v) { edit_.setMaxLength(v); }

 public:
  Property<EditControl, int, &EditControl::selStart, &EditControl::setSelStart> SelStart{this};
  Property<EditControl, int, &EditControl::selLength, &EditControl::setSelLength> SelLength{this};
  // The most characters the user may type or paste; 0 for no limit. Text set by code is not cut.
  Property<EditControl, int, &EditControl::maxLength, &EditControl::setMaxLength> MaxLength{this};

  std::function<void()> Change;

  // For back ends: the user placed the caret or selected with the mouse (no event).
  void caretMoved(int start, int length) { edit_.select(start, length); }

 protected:
  EditControl(Form& form, std::string name) : Control(form, std::move(name), true) {}
  EditControl(Frame& frame, std::string name) : Control(frame, std::move(name), true) {}

  void keyDownAction(int KeyCode, int Shift) override;
  void keyPressAction(int KeyAscii) override;
  // After an edit: the back end is told, and Change runs when the text changed.
  void apply(EditText::Result r);
  // Text set by code: the caret goes to the start, but stays where the user is typing when a handler of
  // the keystroke being typed into the box leaves its text as it was or only takes blanks out of it.
  void setTextByCode(const std::string& v);
  // The text changed by an edit or by code, before Change runs.
  virtual void textChanged() {}

  EditText edit_;
};

}  // namespace kv::ui
