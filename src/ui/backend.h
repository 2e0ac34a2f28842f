// What the forms layer needs of a platform. The model (forms and controls) holds every state; a back end
// mirrors it on the screen (the desktop back end) or records it (the headless back end of the tests), and
// delivers the user's input through Input (input.h).
#pragma once

#include "ui/layer_guard.h"

#include <string>
#include <string_view>

#include "base/messages.h"

namespace kv::ui {

class Control;
class Form;

struct Font {
  std::string name = "DejaVu Sans";
  double size = 9;  // points
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

struct ScreenSize {
  int Width = 0;  // pixels
  int Height = 0;
};

// What changed on a form, for the back end.
enum class FormChange { Caption, Geometry, MousePointer, Visibility, Focus, Drawing, Other };

class Backend {
 public:
  virtual ~Backend() = default;

  // A form was loaded (its controls exist) or is being unloaded (it is still alive during the call).
  virtual void formLoaded(Form&) {}
  virtual void formUnloaded(Form&) {}
  virtual void formChanged(Form&, FormChange) {}
  // A property of a control of a loaded form changed; a control is going away.
  virtual void controlChanged(Control&) {}
  virtual void controlDestroyed(Control&) {}
  // Paint the form now (Refresh), and bring the screen in step after the outermost event handler returned.
  virtual void refresh(Form&) {}
  virtual void flush() {}

  // text and title in Windows-1254; a carriage return breaks the line. owner may be null.
  virtual MsgAnswer messageBox(Form* owner, const std::string& text, MsgButtons buttons, MsgIcon icon,
                               const std::string& title) = 0;
  virtual void beep() = 0;

  // Text metrics of a font, in pixels.
  virtual double textWidth(const Font& font, std::string_view text) = 0;
  virtual double textHeight(const Font& font) = 0;
  virtual ScreenSize screen() = 0;

  // The clipboard as Windows-1254 text: characters without a byte are left out.
  virtual std::string clipboardText() = 0;
  virtual void setClipboardText(const std::string& text) = 0;

  // The program ended (its end command, or its last window closed).
  virtual void ended() {}
  // An error escaped an event handler. Returns true when the error should go on to the caller (tests);
  // the desktop shows it and ends the program instead.
  virtual bool unhandledError(const std::string& what) = 0;
};

}  // namespace kv::ui
