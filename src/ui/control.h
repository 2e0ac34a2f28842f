// The base of every control: name, container, geometry, state and the events all controls share.
#pragma once

#include "ui/layer_guard.h"

#include <functional>
#include <string>

#include "ui/backend.h"
#include "ui/placement.h"
#include "ui/property.h"

namespace kv::ui {

class Form;
class Frame;

enum class ControlKind {
  Label,
  TextBox,
  CommandButton,
  OptionButton,
  CheckBox,
  Frame,
  ComboBox,
  TabStrip,
  PictureBox,
  Timer,
  FlexGrid
};

class Control : public Placement {
 public:
  ~Control() override;

  virtual ControlKind kind() const = 0;
  const std::string& Name() const { return name_; }
  Form& Parent() const { return form_; }
  // The frame the control stands in; null when it stands on the form.
  Frame* Container() const { return container_; }

 private:
  bool enabled() const { return enabled_; }
  void setEnabled(const bool& v);
  bool visible() const { return visible_; }
  void setVisible(const bool& v);
  const std::string& toolTipText() const { return toolTip_; }
  void setToolTipText(const std::string& v);
  int tabIndex() const { return tabIndex_; }
  void setTabIndex(const int& v);
  bool tabStop() const { return tabStop_; }
  void setTabStop(const bool& v) { tabStop_ = v; }
  const std::string& fontName() const { return font_.name; }
  void setFontName(const std::string& v);
  double fontSize() const { return font_.size; }
  void setFontSize(const double& v);
  bool fontBold() const { return font_.bold; }
  void setFontBold(const bool& v);

 public:
  Property<Control, bool, &Control::enabled, &Control::setEnabled> Enabled{this};
  Property<Control, bool, &Control::visible, &Control::setVisible> Visible{this};
  Property<Control, std::string, &Control::toolTipText, &Control::setToolTipText> ToolTipText{this};
  // Left, Top, Width, Height (Placement): pixels, relative to the container (the frame, or the form).
  void Move(int left, int top, int width, int height) override;
  // The order of the Tab key: TabIndex, then the order the controls were made.
  Property<Control, int, &Control::tabIndex, &Control::setTabIndex> TabIndex{this};
  Property<Control, bool, &Control::tabStop, &Control::setTabStop> TabStop{this};
  Property<Control, std::string, &Control::fontName, &Control::setFontName> FontName{this};
  Property<Control, double, &Control::fontSize, &Control::setFontSize> FontSize{this};
  Property<Control, bool, &Control::fontBold, &Control::setFontBold> FontBold{this};
  const Font& font() const { return font_; }

  // Moves the focus here (nothing when the control cannot take it: disabled, invisible, or a kind that
  // never takes it).
  void SetFocus();
  // Enabled and visible, with its containers; and of a kind that takes the focus.
  bool CanFocus() const;
  bool EffectivelyEnabled() const;
  bool EffectivelyVisible() const;
  void Refresh();

  // Events. Which of them a kind raises is told with the kind.
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  std::function<void(int& KeyCode, int Shift)> KeyDown;
  std::function<void(int& KeyAscii)> KeyPress;

 protected:
  Control(Form& form, std::string name, bool takesFocus);
  Control(Frame& container, std::string name, bool takesFocus);

  // Tells the back end that the control's state changed.
  void changed();
  // The user is typing here: a keystroke of this control, which still has the focus, is being handled
  // (the window's and the control's KeyDown and KeyPress, the typing itself and the Change it raises).
  bool beingTyped() const;
  bool attached() const;
  Backend& backend() const;

  // What the user's actions do beyond the events (Input calls these).
  virtual void userClick() { raise(Click); }
  virtual void userDblClick() { raise(DblClick); }
  virtual void keyDownAction(int KeyCode, int Shift) {
    (void)KeyCode;
    (void)Shift;
  }
  virtual void keyPressAction(int KeyAscii) { (void)KeyAscii; }
  // The focus arrived here, before GotFocus runs.
  virtual void focusArrived() {}
  virtual void enabledChanged() {}

  static void raise(const std::function<void()>& event) {
    if (event) event();
  }

 private:
  friend class Input;
  friend class Form;

  Form& form_;
  Frame* container_;
  std::string name_;
  bool takesFocus_;
  bool enabled_ = true;
  bool visible_ = true;
  std::string toolTip_;
  int tabIndex_ = 0;
  bool tabStop_ = true;
  int order_ = 0;
  Font font_;
};

// Controls with a caption: labels, buttons, option buttons, check boxes, frames.
class CaptionControl : public Control {
 private:
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& v);

 public:
  Property<CaptionControl, std::string, &CaptionControl::caption, &CaptionControl::setCaption> Caption{this};

 protected:
  using Control::Control;

 private:
  std::string caption_;
};

}  // namespace kv::ui
