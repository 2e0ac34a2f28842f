// Drives the windows in tests, without a screen: starts a fresh application on the headless back end,
// sends the user's keys, typing and clicks to the visible window through the same path as the desktop,
// answers message boxes from a script and reads back what the program showed.
//
//   HeadlessDriver ui;
//   registerForm("frmTest", [] { return std::make_unique<frmTest>(); });
//   ui.start("frmTest");
//   ui.answer(MsgAnswer::No);
//   ui.type("Çelik");                 // UTF-8, as typed on the keyboard
//   ui.key(Key::F2);
//   EXPECT_EQ(ui.get<TextBox>("bilKod").Text(), "ÇELİK"_w);
//   EXPECT_EQ(ui.messages().at(0).title, "! DİKKAT !"_w);
#pragma once

#include "ui/layer_guard.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/application.h"
#include "ui/headless_backend.h"

namespace kv::ui {

class Control;
class Form;

class HeadlessDriver {
 public:
  HeadlessDriver();
  ~HeadlessDriver();
  HeadlessDriver(const HeadlessDriver&) = delete;
  HeadlessDriver& operator=(const HeadlessDriver&) = delete;

  Application& app() { return *app_; }
  HeadlessBackend& backend() { return backend_; }

  // Shows the first window of the program.
  void start(std::string_view form);
  // The visible window (null when none); a loaded window by name (throws when not loaded).
  Form* visible() const;
  Form& form(std::string_view name) const;
  // A control of the visible window by name (throws when there is none of that name and kind).
  Control& control(std::string_view name) const;
  template <class T>
  T& get(std::string_view name) const {
    return dynamic_cast<T&>(control(name));
  }
  // Name of the control that has the focus in the visible window ("" when none).
  std::string focused() const;

  // Keys, to the visible window. key: a whole keystroke (KeyDown, and KeyPress when the key types a
  // character: Enter, Esc, Backspace, Space, letters, digits, Ctrl+letter). keyDown and keyPress: only
  // that event (with the control's own work after it).
  void key(int keyCode, int shift = 0);
  void keyDown(int keyCode, int shift = 0);
  void keyPress(int keyAscii);
  // Types UTF-8 text, each character as a keystroke of the Turkish Q keyboard; a character without a
  // Windows-1254 byte is refused, as at the desktop.
  void type(std::string_view utf8);
  // The clipboard (UTF-8, filtered like the desktop's) and Ctrl+V.
  void setClipboard(std::string_view utf8);
  void paste();

  // Mouse, on controls of the visible window by name. A double click is a click, then the second press,
  // which reaches the control only while its window is still the visible one (as on the desktop, where a
  // click that closed the window leaves nothing of it under the mouse).
  void click(std::string_view control);
  void dblClick(std::string_view control);
  void clickForm();
  void dblClickForm();
  void focus(std::string_view control);
  void chooseTab(std::string_view tabStrip, int index);
  void pickItem(std::string_view combo, int index);
  void clickCell(std::string_view grid, int row, int col);
  void dblClickCell(std::string_view grid, int row, int col);
  // The title-bar close box of the visible window.
  void closeBox();

  // Moves the timers' clock on, ticking every timer that falls due on the way, in time order.
  void advance(int milliseconds);

  // Message boxes are answered in order from this script; an unscripted box takes its first button.
  void answer(MsgAnswer a) { backend_.answer(a); }
  std::vector<Shown> messages() const;
  std::vector<std::string> captions() const;  // every title set, in order
  std::vector<std::string> captions(std::string_view form) const;
  int beeps() const;
  const std::vector<Shown>& shown() const { return backend_.shown(); }
  void clearShown() { backend_.clearShown(); }

  bool ended() const { return app_->ended(); }
  void setScreen(int width, int height) { backend_.setScreen({width, height}); }

 private:
  Form& visibleForm() const;
  // The visible window when it is still `first` (compared, never read: it may be gone); null otherwise.
  Form* stillVisible(const Form* first) const;

  HeadlessBackend backend_;
  std::unique_ptr<Application> app_;
};

}  // namespace kv::ui
