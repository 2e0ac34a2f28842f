// A combo box with a list and free text (the original's drop-down combo).
#pragma once

#include "ui/layer_guard.h"

#include <string>
#include <vector>

#include "ui/edit_control.h"

namespace kv::ui {

// Events: Change (the text changed by typing or by code; not by a choice from the list), Click (a choice
// from the list, Up and Down, or ListIndex set by code to another item), GotFocus, LostFocus, KeyDown,
// KeyPress. As a Windows combo box, it selects its whole text when it gets the focus, so that typing
// replaces the text (a click with the mouse then places the caret where it falls).
class ComboBox : public EditControl {
 private:
  const std::string& text() const { return edit_.text(); }
  void setText(const std::string& v);
  int listIndex() const { return listIndex_; }
  void setListIndex(const int& v);

 public:
  ComboBox(Form& form, std::string name);
  ComboBox(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::ComboBox; }

  Property<ComboBox, std::string, &ComboBox::text, &ComboBox::setText> Text{this};
  // 0-based index of the chosen item; -1 when the text is not an item.
  Property<ComboBox, int, &ComboBox::listIndex, &ComboBox::setListIndex> ListIndex{this};

  // Adds an item at the end, or before index.
  void AddItem(const std::string& item, int index = -1);
  void RemoveItem(int index);
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int index) const;

 protected:
  void keyDownAction(int KeyCode, int Shift) override;
  void focusArrived() override;
  void textChanged() override { listIndex_ = indexOfText(); }

 private:
  friend class Input;
  void choose(int index);
  int indexOfText() const;

  std::vector<std::string> items_;
  int listIndex_ = -1;
};

}  // namespace kv::ui
