#include "ui/tabstrip.h"

#include <stdexcept>

#include "ui/keys.h"

namespace kv::ui {

TabStrip::TabStrip(Form& form, std::string name) : Control(form, std::move(name), true) {}
TabStrip::TabStrip(Frame& frame, std::string name) : Control(frame, std::move(name), true) {}

void TabStrip::AddTab(const std::string& caption) {
  tabs_.push_back(caption);
  if (selected_ == 0) selected_ = 1;
  changed();
}

std::string TabStrip::tabCaption(int index) const {
  if (index < 1 || index > TabCount()) throw std::out_of_range("TabStrip tab out of range");
  return tabs_[index - 1];
}

void TabStrip::setTabCaption(int index, const std::string& v) {
  if (index < 1 || index > TabCount()) throw std::out_of_range("TabStrip tab out of range");
  tabs_[index - 1] = v;
  changed();
}

void TabStrip::setSelectedIndex(const int& v) {
  if (v < 1 || v > TabCount()) throw std::out_of_range("TabStrip.SelectedIndex out of range");
  choose(v);
}

void TabStrip::choose(int index) {
  if (index == selected_) return;
  selected_ = index;
  changed();
  raise(Click);
}

void TabStrip::keyDownAction(int KeyCode, int Shift) {
  (void)Shift;
  if (KeyCode == Key::Left && selected_ > 1) choose(selected_ - 1);
  if (KeyCode == Key::Right && selected_ < TabCount()) choose(selected_ + 1);
}

}  // namespace kv::ui
