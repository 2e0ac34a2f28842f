#include "ui/combobox.h"

#include <stdexcept>

#include "ui/keys.h"

namespace kv::ui {

ComboBox::ComboBox(Form& form, std::string name) : EditControl(form, std::move(name)) {}
ComboBox::ComboBox(Frame& frame, std::string name) : EditControl(frame, std::move(name)) {}

int ComboBox::indexOfText() const {
  for (int i = 0; i < ListCount(); ++i)
    if (items_[i] == edit_.text()) return i;
  return -1;
}

void ComboBox::setText(const std::string& v) { setTextByCode(v); }

void ComboBox::setListIndex(const int& v) {
  if (v < -1 || v >= ListCount()) throw std::out_of_range("ComboBox.ListIndex out of range");
  if (v == listIndex_) return;
  if (v == -1) {
    listIndex_ = -1;
    changed();
    return;
  }
  choose(v);
}

// A choice from the list: the item's text in the box, then Click (no Change, as the original's combo).
void ComboBox::choose(int index) {
  listIndex_ = index;
  edit_.setText(items_[index]);
  edit_.select(0, static_cast<int>(items_[index].size()));
  changed();
  raise(Click);
}

void ComboBox::AddItem(const std::string& item, int index) {
  if (index < 0 || index > ListCount()) index = ListCount();
  items_.insert(items_.begin() + index, item);
  if (listIndex_ >= index) ++listIndex_;
  changed();
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) throw std::out_of_range("ComboBox.RemoveItem out of range");
  items_.erase(items_.begin() + index);
  if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  changed();
}

const std::string& ComboBox::List(int index) const {
  if (index < 0 || index >= ListCount()) throw std::out_of_range("ComboBox.List out of range");
  return items_[index];
}

void ComboBox::focusArrived() {
  edit_.select(0, static_cast<int>(edit_.text().size()));
  changed();
}

void ComboBox::keyDownAction(int KeyCode, int Shift) {
  if (KeyCode == Key::Down || KeyCode == Key::Up) {
    const int next = listIndex_ + (KeyCode == Key::Down ? 1 : -1);
    if (ListCount() > 0 && next >= 0 && next < ListCount()) choose(next);
    return;
  }
  EditControl::keyDownAction(KeyCode, Shift);
}

}  // namespace kv::ui
