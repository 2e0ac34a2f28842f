#include "ui/input.h"

#include <utility>

#include "ui/application.h"
#include "ui/combobox.h"
#include "ui/controls.h"
#include "ui/flexgrid.h"
#include "ui/form.h"
#include "ui/forms_registry.h"
#include "ui/keys.h"
#include "ui/tabstrip.h"

namespace kv::ui {

namespace {

bool usable(const Control& c) { return c.Parent().Loaded() && c.EffectivelyEnabled() && c.EffectivelyVisible(); }

// The button that Enter clicks: the window's default button, unless the focus is on a button (Enter
// clicks that one) or the default button cannot be used now.
CommandButton* enterButton(const Form& form, const Control* focused) {
  if (focused && focused->kind() == ControlKind::CommandButton) return nullptr;
  for (Control* c : form.Controls()) {
    if (c->kind() != ControlKind::CommandButton) continue;
    auto* button = static_cast<CommandButton*>(c);
    if (button->Default()) return usable(*button) ? button : nullptr;
  }
  return nullptr;
}

}  // namespace

void Input::keystroke(Form& form, int keyCode, int shift, std::optional<unsigned char> character) {
  form.app().deliver([&] {
    if (!form.alive()) return;
    const bool plain = (shift & (Mask::Ctrl | Mask::Alt)) == 0;
    if (keyCode == Key::Tab && plain) {
      form.tabFocus((shift & Mask::Shift) != 0);
      return;
    }
    // The keystroke belongs to the control that had the focus when the key went down, as on Windows.
    Control* target = form.focused_;
    if (keyCode == Key::Enter && plain) {
      if (Control* button = enterButton(form, target)) {
        button->userClick();
        return;
      }
    }
    // A handler that tidies the text of the box being typed into leaves the caret where the user types.
    struct Typing {
      Form& form;
      Control* before;
      ~Typing() { form.typedInto_ = before; }
    } typing{form, std::exchange(form.typedInto_, target)};
    if (keyCode != 0) {
      int code = keyCode;
      if (!target || form.keyPreview_) {
        form.Form_KeyDown(code, shift);
        if (!form.alive()) return;
      }
      if (target && code != 0) {
        if (target->KeyDown) target->KeyDown(code, shift);
        if (!form.alive()) return;
        if (code != 0) target->keyDownAction(code, shift);
        if (!form.alive()) return;
      }
    }
    if (!character) return;
    int key = *character;
    if (!target || form.keyPreview_) {
      form.Form_KeyPress(key);
      if (!form.alive() || key == 0 || !target) return;
    }
    if (target->KeyPress) target->KeyPress(key);
    if (!form.alive() || key == 0) return;
    target->keyPressAction(key);
  });
}

void Input::keyDown(Form& form, int keyCode, int shift) { keystroke(form, keyCode, shift, std::nullopt); }

void Input::keyPress(Form& form, unsigned char character) { keystroke(form, 0, 0, character); }

void Input::click(Control& control) {
  Form& form = control.Parent();
  form.app().deliver([&] {
    if (!form.alive() || !usable(control)) return;
    if (control.CanFocus()) form.moveFocus(&control);
    if (form.alive()) control.userClick();
  });
}

void Input::dblClick(Control& control) {
  Form& form = control.Parent();
  form.app().deliver([&] {
    if (form.alive() && usable(control)) control.userDblClick();
  });
}

void Input::formClick(Form& form) {
  form.app().deliver([&] {
    if (form.alive()) form.Form_Click();
  });
}

void Input::formDblClick(Form& form) {
  form.app().deliver([&] {
    if (form.alive()) form.Form_DblClick();
  });
}

void Input::focus(Control& control) {
  Form& form = control.Parent();
  form.app().deliver([&] {
    if (form.alive() && control.CanFocus()) form.moveFocus(&control);
  });
}

void Input::chooseTab(TabStrip& tabs, int index) {
  Form& form = tabs.Parent();
  form.app().deliver([&] {
    if (!form.alive() || !usable(tabs) || index < 1 || index > tabs.TabCount()) return;
    if (tabs.CanFocus()) form.moveFocus(&tabs);
    if (form.alive()) tabs.choose(index);
  });
}

void Input::pickItem(ComboBox& combo, int index) {
  Form& form = combo.Parent();
  form.app().deliver([&] {
    if (!form.alive() || !usable(combo) || index < 0 || index >= combo.ListCount()) return;
    if (combo.CanFocus()) form.moveFocus(&combo);
    if (form.alive()) combo.choose(index);
  });
}

void Input::gridClick(FlexGrid& grid, int row, int col) {
  Form& form = grid.Parent();
  form.app().deliver([&] {
    if (!form.alive() || !usable(grid)) return;
    if (grid.CanFocus()) form.moveFocus(&grid);
    if (!form.alive()) return;
    grid.clickAt(row, col);
    if (grid.Click) grid.Click();
  });
}

void Input::gridDblClick(FlexGrid& grid, int row, int col) {
  Form& form = grid.Parent();
  form.app().deliver([&] {
    if (!form.alive() || !usable(grid)) return;
    grid.mouseRow_ = row;
    grid.mouseCol_ = col;
    if (grid.DblClick) grid.DblClick();
  });
}

void Input::closeBox(Form& form) {
  form.app().deliver([&] {
    if (!form.alive()) return;
    if (form.exitCommand_)
      form.exitCommand_();
    else
      form.app().forms().unload(form, UnloadMode::CloseBox);
  });
}

void Input::resized(Form& form, int width, int height) {
  form.app().deliver([&] {
    if (!form.alive() || (width == form.width_ && height == form.height_)) return;
    form.width_ = width;
    form.height_ = height;
    form.Form_Resize();
  });
}

void Input::timerTick(Timer& timer) {
  Form& form = timer.Parent();
  form.app().deliver([&] {
    if (form.alive() && timer.Running() && timer.Tick) timer.Tick();
  });
}

}  // namespace kv::ui
