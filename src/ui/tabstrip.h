// A tab strip (the original's common-controls TabStrip): tabs numbered from 1, one of them selected.
#pragma once

#include "ui/layer_guard.h"

#include <string>
#include <vector>

#include "ui/control.h"

namespace kv::ui {

// Events: Click (the selection really changed: a tab chosen by the user, Left and Right, or SelectedIndex
// set by code), GotFocus, LostFocus, KeyDown, KeyPress.
class TabStrip : public Control {
 private:
  int selectedIndex() const { return selected_; }
  void setSelectedIndex(const int& v);
  std::string tabCaption(int index) const;
  void setTabCaption(int index, const std::string& v);

 public:
  TabStrip(Form& form, std::string name);
  TabStrip(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::TabStrip; }

  // Adds a tab at the end; the first tab added is selected (without Click).
  void AddTab(const std::string& caption);
  int TabCount() const { return static_cast<int>(tabs_.size()); }
  // TabStrip1.TabCaption(3) = "Yarı Mamul"_w;
  ItemRef<TabStrip, std::string, &TabStrip::tabCaption, &TabStrip::setTabCaption, int> TabCaption(int index) {
    return {this, index};
  }
  std::string TabCaption(int index) const { return tabCaption(index); }
  // 1-based; 0 only while there is no tab.
  Property<TabStrip, int, &TabStrip::selectedIndex, &TabStrip::setSelectedIndex> SelectedIndex{this};

 protected:
  void keyDownAction(int KeyCode, int Shift) override;

 private:
  friend class Input;
  void choose(int index);
  std::vector<std::string> tabs_;
  int selected_ = 0;
};

}  // namespace kv::ui
