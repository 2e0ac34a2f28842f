// The simple controls: labels, command buttons, option buttons, check boxes, frames, pictures, timers.
// The text box, combo box, tab strip and grid have their own headers; ui.h includes them all.
#pragma once

#include "ui/layer_guard.h"

#include <string>

#include "ui/control.h"

namespace kv::ui {

// Events: Click, DblClick.
class Label : public CaptionControl {
 private:
  int alignment() const { return alignment_; }
  void setAlignment(const int& v);
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(const int& v);

 public:
  Label(Form& form, std::string name);
  Label(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::Label; }
  // 0 left, 1 right, 2 centre. Long captions wrap at the label's width; a carriage return breaks the line.
  Property<Label, int, &Label::alignment, &Label::setAlignment> Alignment{this};
  // 0 none, 1 a single line around the label.
  Property<Label, int, &Label::borderStyle, &Label::setBorderStyle> BorderStyle{this};

 private:
  int alignment_ = 0;
  int borderStyle_ = 0;
};

// Events: Click (mouse, Enter or Space when focused; a double click is two clicks), GotFocus, LostFocus,
// KeyDown, KeyPress.
class CommandButton : public CaptionControl {
 private:
  bool isDefault() const { return default_; }
  void setDefault(const bool& v);

 public:
  CommandButton(Form& form, std::string name);
  CommandButton(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::CommandButton; }
  // The window's default button (at most one: setting it clears the others of the window). Enter clicks
  // it wherever the focus is, except on another button, which Enter clicks itself; the control that has
  // the focus sees no KeyDown or KeyPress of that Enter. A default button that is disabled or hidden
  // leaves Enter to the focused control.
  Property<CommandButton, bool, &CommandButton::isDefault, &CommandButton::setDefault> Default{this};

 protected:
  void userDblClick() override { userClick(); }
  void keyPressAction(int KeyAscii) override;

 private:
  bool default_ = false;
};

// Grouped by their container: selecting one clears the others of the same frame (or of the form).
// Events: Click (a user's click, Space, or Value set True by code when it was False), DblClick, GotFocus,
// LostFocus, KeyDown, KeyPress. The focus arriving on an option does not select it.
class OptionButton : public CaptionControl {
 private:
  bool value() const { return value_; }
  void setValue(const bool& v);

 public:
  OptionButton(Form& form, std::string name);
  OptionButton(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::OptionButton; }
  Property<OptionButton, bool, &OptionButton::value, &OptionButton::setValue> Value{this};

 protected:
  void userClick() override;
  void keyPressAction(int KeyAscii) override;

 private:
  void select();
  bool value_ = false;
};

// Value 0 clear, 1 ticked, 2 grey. Events: Click (a user's click toggles; Space; Value set by code to
// another value), GotFocus, LostFocus, KeyDown, KeyPress.
class CheckBox : public CaptionControl {
 private:
  int value() const { return value_; }
  void setValue(const int& v);

 public:
  CheckBox(Form& form, std::string name);
  CheckBox(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::CheckBox; }
  Property<CheckBox, int, &CheckBox::value, &CheckBox::setValue> Value{this};

 protected:
  void userClick() override;
  void userDblClick() override { userClick(); }
  void keyPressAction(int KeyAscii) override;

 private:
  int value_ = 0;
};

// A container with a caption: controls made with the frame stand in it. Events: Click, DblClick.
class Frame : public CaptionControl {
 public:
  Frame(Form& form, std::string name);
  Frame(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::Frame; }
};

// Shows an image file, or nothing. Events: Click, DblClick.
class PictureBox : public Control {
 private:
  const std::string& picture() const { return picture_; }
  void setPicture(const std::string& v);

 public:
  PictureBox(Form& form, std::string name);
  PictureBox(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::PictureBox; }
  // The image file's path (UTF-8, as the file system names it); empty for none.
  Property<PictureBox, std::string, &PictureBox::picture, &PictureBox::setPicture> Picture{this};

 private:
  std::string picture_;
};

// Ticks every Interval milliseconds while Enabled and its window is loaded (hidden or not). Setting the
// interval, or enabling a stopped timer, starts the count afresh. Event: Tick (the original's Timer event).
class Timer : public Control {
 private:
  int interval() const { return interval_; }
  void setInterval(const int& v);

 public:
  Timer(Form& form, std::string name);
  ControlKind kind() const override { return ControlKind::Timer; }
  Property<Timer, int, &Timer::interval, &Timer::setInterval> Interval{this};
  std::function<void()> Tick;

  bool Running() const;
  // Counts the restarts, so that a back end knows when to begin counting afresh.
  int restarts() const { return restarts_; }

 protected:
  void enabledChanged() override;

 private:
  int interval_ = 0;
  int restarts_ = 0;
};

}  // namespace kv::ui
