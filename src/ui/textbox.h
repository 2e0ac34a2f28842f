// A single-line entry box.
#pragma once

#include "ui/layer_guard.h"

#include <string>

#include "ui/edit_control.h"

namespace kv::ui {

// Events: Change (whenever the text really changes, typed or set by code), Click, DblClick, GotFocus,
// LostFocus, KeyDown, KeyPress. Typing: KeyDown, then KeyPress (which may change or cancel the
// character), then the character replaces the selection (within MaxLength) and Change follows. Enter and
// Esc type nothing and make no sound.
class TextBox : public EditControl {
 private:
  const std::string& text() const { return edit_.text(); }
  void setText(const std::string& v);
  std::string selText() const { return edit_.selText(); }
  void setSelText(const std::string& v);
  int alignment() const { return alignment_; }
  void setAlignment(const int& v);

 public:
  TextBox(Form& form, std::string name) : EditControl(form, std::move(name)) {}
  TextBox(Frame& frame, std::string name) : EditControl(frame, std::move(name)) {}
  ControlKind kind() const override { return ControlKind::TextBox; }

  // Windows-1254. Setting it puts the caret at the start, except while the box is being typed into: a
  // key handler that only tidies the text (takes blanks out) leaves the caret where the user is typing.
  Property<TextBox, std::string, &TextBox::text, &TextBox::setText> Text{this};
  Property<TextBox, std::string, &TextBox::selText, &TextBox::setSelText> SelText{this};
  // 0 left, 1 right, 2 centre.
  Property<TextBox, int, &TextBox::alignment, &TextBox::setAlignment> Alignment{this};

 private:
  int alignment_ = 0;
};

}  // namespace kv::ui
