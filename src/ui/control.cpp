#include "ui/control.h"

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace kv::ui {

Control::Control(Form& form, std::string name, bool takesFocus)
    : Placement(100, 24),
      form_(form),
      container_(nullptr),
      name_(std::move(name)),
      takesFocus_(takesFocus),
      font_(form.font()) {
  form_.addControl(*this);
}

Control::Control(Frame& container, std::string name, bool takesFocus)
    : Placement(100, 24),
      form_(container.Parent()),
      container_(&container),
      name_(std::move(name)),
      takesFocus_(takesFocus),
      font_(container.font()) {
  form_.addControl(*this);
}

Control::~Control() {
  if (attached()) form_.app().backend().controlDestroyed(*this);
  form_.removeControl(*this);
}

bool Control::attached() const { return form_.Loaded(); }

Backend& Control::backend() const { return form_.app().backend(); }

void Control::changed() { form_.controlChanged(*this); }

bool Control::beingTyped() const { return form_.typedInto_ == this && form_.focused_ == this; }

void Control::setEnabled(const bool& v) {
  if (v == enabled_) return;
  enabled_ = v;
  enabledChanged();
  changed();
}

void Control::setVisible(const bool& v) {
  if (v == visible_) return;
  visible_ = v;
  changed();
}

void Control::setToolTipText(const std::string& v) {
  toolTip_ = v;
  changed();
}

void Control::Move(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width < 0 ? 0 : width;
  height_ = height < 0 ? 0 : height;
  changed();
}

void Control::setTabIndex(const int& v) {
  tabIndex_ = v;
  changed();
}

void Control::setFontName(const std::string& v) {
  font_.name = v;
  changed();
}

void Control::setFontSize(const double& v) {
  font_.size = v;
  changed();
}

void Control::setFontBold(const bool& v) {
  font_.bold = v;
  changed();
}

bool Control::EffectivelyEnabled() const { return enabled_ && (!container_ || container_->EffectivelyEnabled()); }

bool Control::EffectivelyVisible() const { return visible_ && (!container_ || container_->EffectivelyVisible()); }

bool Control::CanFocus() const { return takesFocus_ && EffectivelyEnabled() && EffectivelyVisible(); }

void Control::SetFocus() {
  if (!CanFocus()) return;
  form_.moveFocus(this);
}

void Control::Refresh() { form_.Refresh(); }

void CaptionControl::setCaption(const std::string& v) {
  caption_ = v;
  changed();
}

}  // namespace kv::ui
