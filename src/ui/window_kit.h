// What every window of the program does the same way: centring itself, a layout given in twips, the
// "é" key of the code boxes, and the hourglass over a long operation. (The exit command that the close
// box runs is named with Form::closeBoxRuns, the default button with CommandButton::Default.)
#pragma once

#include "ui/layer_guard.h"

#include <exception>
#include <string>
#include <utility>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/keys.h"

namespace kv::ui {

// Centres the window on the screen, in its Form_Load. A window larger than the screen keeps its top left
// corner on the screen, so that its title bar stays within reach.
void centreOnScreen(Form& form);

// The layouts of some windows are given in twips, 15 to the pixel.
inline constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
// Moves a window or a control to a place given in twips.
void moveTwips(Placement& item, int left, int top, int width, int height);

// "é" has no place in the collation; the boxes that take codes type "Ø", the collation's last character,
// in its place, so that a code range can end after every code.
inline constexpr int kKeyEAcute = 233;
inline constexpr int kKeyOSlash = 216;
// For a KeyPress handler: KeyAscii "é" becomes "Ø"; every other key stays as it is.
constexpr void typeOSlashForEAcute(int& KeyAscii) {
  if (KeyAscii == kKeyEAcute) KeyAscii = kKeyOSlash;
}

// The arrow keys of the entry windows: Down moves the focus to `down`, Up to `up` (when there is one).
// Returns whether the key did so; the window's own key dispatcher takes every other key.
inline bool moveFocusByArrow(int key, Control& down, Control* up) {
  if (key == Key::Down) {
    down.SetFocus();
    return true;
  }
  if (key == Key::Up && up) {
    up->SetFocus();
    return true;
  }
  return false;
}

// The hourglass over a window for as long as the guard lives: the pointer the window had before comes
// back however the operation ends (return, exception, the program's end). That is the default pointer,
// unless an outer guard of the same window is still busy. restore() gives the pointer back early (before
// a message box that ends the operation, say).
class BusyPointer {
 public:
  explicit BusyPointer(Form& form);
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
  void restore();

 private:
  Form& form_;
  int before_;
  bool busy_ = true;
};

// A command button disabled while its command runs comes back enabled however the command ends.
struct EnabledAgain {
  CommandButton& button;
  ~EnabledAgain() { button.Enabled = true; }
};

// The title a command puts back when a failure the window layer reports (a file that cannot be read, say)
// ends it early, so that the title does not go on claiming the work is still in progress.
class CaptionOnFailure {
 public:
  CaptionOnFailure(Form& form, std::string caption)
      : form_(form), caption_(std::move(caption)), exceptions_(std::uncaught_exceptions()) {}
  ~CaptionOnFailure() {
    if (std::uncaught_exceptions() > exceptions_) form_.Caption = caption_;
  }
  CaptionOnFailure(const CaptionOnFailure&) = delete;
  CaptionOnFailure& operator=(const CaptionOnFailure&) = delete;

 private:
  Form& form_;
  std::string caption_;
  int exceptions_;
};

}  // namespace kv::ui
