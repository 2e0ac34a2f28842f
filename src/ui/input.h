// What the user does, as a back end delivers it to the windows. Both back ends go through here, so that a
// key or a click has the same effect on the desktop and in the tests. Each call is one event of the
// platform: the handlers it runs may unload windows, which go when it returns.
#pragma once

#include "ui/layer_guard.h"

#include <optional>

namespace kv::ui {

class ComboBox;
class Control;
class FlexGrid;
class Form;
class TabStrip;
class Timer;

class Input {
 public:
  // A key of the keyboard, to the control that has the focus (to the form when none has): KeyDown (the
  // form's first with KeyPreview), then, when the key types a character, KeyPress (likewise), then the
  // control's own work (typing into a box, Enter and Space on a button, ...). keyCode 0 raises no
  // KeyDown. Tab moves the focus in the Tab order and raises nothing. Enter, when the window has a usable
  // default button and the focus is on no other button, clicks the default button and raises nothing else.
  static void keystroke(Form& form, int keyCode, int shift, std::optional<unsigned char> character);
  static void keyDown(Form& form, int keyCode, int shift);
  static void keyPress(Form& form, unsigned char character);

  // A click: the control takes the focus when it can, then its Click (an option is selected, a check box
  // toggles). dblClick is the second press of a double click: DblClick (a button or a check box takes it
  // as another click).
  static void click(Control& control);
  static void dblClick(Control& control);
  // A click or the second press of a double click on the window's own background.
  static void formClick(Form& form);
  static void formDblClick(Form& form);
  // The user put the focus on a control (with the mouse).
  static void focus(Control& control);

  static void chooseTab(TabStrip& tabs, int index);
  static void pickItem(ComboBox& combo, int index);
  static void gridClick(FlexGrid& grid, int row, int col);
  static void gridDblClick(FlexGrid& grid, int row, int col);

  // The title-bar close box: the window's exit command when it names one; else Form_QueryUnload
  // (UnloadMode::CloseBox), then the window unloads.
  static void closeBox(Form& form);
  // The user resized a sizable window.
  static void resized(Form& form, int width, int height);
  static void timerTick(Timer& timer);
};

}  // namespace kv::ui
