// A window of the program. Each window is a class derived from Form; see ui.h for how one is written.
#pragma once

#include "ui/layer_guard.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/messages.h"
#include "ui/backend.h"
#include "ui/drawing.h"
#include "ui/placement.h"
#include "ui/property.h"

namespace kv::ui {

class Application;
class Control;

// The UnloadMode argument of Form_QueryUnload.
namespace UnloadMode {
inline constexpr int CloseBox = 0;  // the user closed the window with its title-bar close box
inline constexpr int FromCode = 1;  // the program unloaded it
}  // namespace UnloadMode

// MousePointer values.
namespace Pointer {
inline constexpr int Default = 0;
inline constexpr int Hourglass = 11;
}  // namespace Pointer

class Form : public MessageSink, public ProgressSink, public Placement {
 public:
  Form();
  ~Form() override;

  // The name the window was registered under.
  const std::string& Name() const { return name_; }
  bool Loaded() const { return loaded_ && !unloaded_; }
  bool Visible() const { return visible_; }

  // Me.Show (modeless), Me.Hide, Unload Me. A window unloaded inside its own handler is destroyed after
  // the outermost handler has returned, so the handler may go on (for instance to show another window).
  void Show();
  void Hide();
  void Unload();

 private:
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& v);
  int mousePointer() const { return mousePointer_; }
  void setMousePointer(const int& v);
  bool keyPreview() const { return keyPreview_; }
  void setKeyPreview(const bool& v) { keyPreview_ = v; }
  bool sizable() const { return sizable_; }
  void setSizable(const bool& v);
  double currentX() const;
  void setCurrentX(const double& v);
  double currentY() const;
  void setCurrentY(const double& v);
  int scaleMode() const { return scaleMode_; }
  void setScaleMode(const int& v);
  const std::string& fontName() const { return font_.name; }
  void setFontName(const std::string& v) { font_.name = v; }
  double fontSize() const { return font_.size; }
  void setFontSize(const double& v) { font_.size = v; }
  bool fontBold() const { return font_.bold; }
  void setFontBold(const bool& v) { font_.bold = v; }
  Color foreColor() const { return foreColor_; }
  void setForeColor(const Color& v) { foreColor_ = v; }

 public:
  // The title; every assignment is a status line the back end shows (and the headless one records).
  Property<Form, std::string, &Form::caption, &Form::setCaption> Caption{this};
  // Left, Top (on the screen) and Width, Height (of the client area) in pixels: see Placement.
  void Move(int left, int top, int width, int height) override;
  void Move(int left, int top) { Move(left, top, width_, height_); }
  // Pointer::Default or Pointer::Hourglass, over this window.
  Property<Form, int, &Form::mousePointer, &Form::setMousePointer> MousePointer{this};
  // The window sees KeyDown and KeyPress before the control that has the focus.
  Property<Form, bool, &Form::keyPreview, &Form::setKeyPreview> KeyPreview{this};
  // The user may resize the window (Form_Resize follows); windows are of fixed size otherwise.
  Property<Form, bool, &Form::sizable, &Form::setSizable> Sizable{this};

  // Names the window's exit command (what its exit button or ESC does): the title-bar close box then runs
  // it instead of unloading the window, and the command decides whether the window goes. Without one,
  // the close box unloads the window after Form_QueryUnload (UnloadMode::CloseBox).
  void closeBoxRuns(std::function<void()> exitCommand) { exitCommand_ = std::move(exitCommand); }

  // The control that has the focus (null when none).
  Control* ActiveControl() const { return focused_; }
  // A control by name (null when none), and all of them in the order they were made.
  Control* control(std::string_view name) const;
  const std::vector<Control*>& Controls() const { return controls_; }

  // A message box over this window. text: carriage returns break the line.
  MsgAnswer MsgBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
                   const std::string& title = "");
  // The window is the sink for engines that report to the user, and for the titles of their stages.
  void beep() override;
  MsgAnswer message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
  void progress(const std::string& text) override;

  // The drawing surface. Coordinates in the unit of ScaleMode (pixels unless set).
  void Cls();
  Property<Form, double, &Form::currentX, &Form::setCurrentX> CurrentX{this};
  Property<Form, double, &Form::currentY, &Form::setCurrentY> CurrentY{this};
  Property<Form, int, &Form::scaleMode, &Form::setScaleMode> ScaleMode{this};
  // The window's font: of the surface, and the first font of every control made after it is set.
  Property<Form, std::string, &Form::fontName, &Form::setFontName> FontName{this};
  Property<Form, double, &Form::fontSize, &Form::setFontSize> FontSize{this};
  Property<Form, bool, &Form::fontBold, &Form::setFontBold> FontBold{this};
  Property<Form, Color, &Form::foreColor, &Form::setForeColor> ForeColor{this};
  static constexpr PrintEnd Stay = PrintEnd::Stay;
  // Prints at the current position; then the next line starts (x 0, y one text height down), or with
  // Stay the position moves to the end of the text.
  void Print(std::string_view text, PrintEnd end = PrintEnd::NewLine);
  // A line; the current position moves to its end.
  void Line(double x1, double y1, double x2, double y2);
  double TextWidth(std::string_view text) const;
  double TextHeight(std::string_view text = "") const;
  double ScaleWidth() const;
  double ScaleHeight() const;
  const std::vector<DrawItem>& Drawing() const { return drawing_; }
  const Font& font() const { return font_; }
  // Paints the window now (during a long operation).
  void Refresh();

 protected:
  // The window's own events. Override those the window handles.
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Deactivate() {}
  virtual void Form_Resize() {}
  // The title-bar close box and Unload run QueryUnload first; Cancel = 1 keeps the window. A window whose
  // close box should do what its exit command does names that command with closeBoxRuns instead.
  virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {
    (void)Cancel;
    (void)UnloadMode;
  }
  virtual void Form_Unload(int& Cancel) { (void)Cancel; }
  virtual void Form_Click() {}
  virtual void Form_DblClick() {}
  // With KeyPreview (before the control), or when no control has the focus. KeyCode = 0 keeps the key
  // from the control's KeyDown, KeyAscii = 0 from its KeyPress and from typing.
  virtual void Form_KeyDown(int& KeyCode, int Shift) {
    (void)KeyCode;
    (void)Shift;
  }
  virtual void Form_KeyPress(int& KeyAscii) { (void)KeyAscii; }

 private:
  friend class Forms;
  friend class Input;
  friend class Control;

  Application& app() const { return app_; }
  // Controls register themselves.
  void addControl(Control& c);
  void removeControl(Control& c);
  void controlChanged(Control& c);
  void changed(FormChange what);
  // Focus moves in the order of Windows: LostFocus of the old control, then GotFocus of the new one.
  void moveFocus(Control* target);
  void focusFirst();
  void tabFocus(bool backwards);
  void addDrawing(DrawItem item);
  bool alive() const;

  Application& app_;
  std::string name_;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool visible_ = false;
  bool shownOnce_ = false;
  bool unloading_ = false;
  std::string caption_;
  int mousePointer_ = Pointer::Default;
  bool keyPreview_ = false;
  bool sizable_ = false;
  std::function<void()> exitCommand_;
  std::vector<Control*> controls_;
  int nextTabIndex_ = 0;
  Control* focused_ = nullptr;
  Control* typedInto_ = nullptr;  // the control whose keystroke is being handled
  // The drawing surface.
  Font font_;
  double xPixels_ = 0, yPixels_ = 0;  // the current position
  int scaleMode_ = Scale::Pixel;
  Color foreColor_ = 0;
  std::vector<DrawItem> drawing_;
};

}  // namespace kv::ui
