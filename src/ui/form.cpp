#include "ui/form.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/control.h"
#include "ui/forms_registry.h"

namespace kv::ui {

Form::Form() : Placement(640, 480), app_(Application::current()) {}

Form::~Form() = default;

bool Form::alive() const { return Loaded() && !app_.ended(); }

void Form::Show() {
  app_.run([this] { app_.forms().show(*this); });
}

void Form::Hide() {
  app_.run([this] { app_.forms().hide(*this); });
}

void Form::Unload() {
  app_.run([this] { app_.forms().unload(*this, UnloadMode::FromCode); });
}

void Form::setCaption(const std::string& v) {
  caption_ = v;
  changed(FormChange::Caption);
}

void Form::Move(int left, int top, int width, int height) {
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  changed(FormChange::Geometry);
  if (resized && Loaded()) app_.run([this] { Form_Resize(); });
}

void Form::setMousePointer(const int& v) {
  mousePointer_ = v;
  changed(FormChange::MousePointer);
}

void Form::setSizable(const bool& v) {
  sizable_ = v;
  changed(FormChange::Geometry);
}

Control* Form::control(std::string_view name) const {
  for (Control* c : controls_)
    if (c->Name() == name) return c;
  return nullptr;
}

void Form::addControl(Control& c) {
  c.order_ = nextTabIndex_;
  c.tabIndex_ = nextTabIndex_++;
  controls_.push_back(&c);
  if (Loaded()) app_.backend().controlChanged(c);
}

void Form::removeControl(Control& c) {
  if (focused_ == &c) focused_ = nullptr;
  std::erase(controls_, &c);
}

void Form::controlChanged(Control& c) {
  if (Loaded()) app_.backend().controlChanged(c);
}

void Form::changed(FormChange what) {
  if (Loaded()) app_.backend().formChanged(*this, what);
}

MsgAnswer Form::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
  app_.stopIfEnded();
  app_.backend().flush();
  const MsgAnswer answer = app_.backend().messageBox(this, text, buttons, icon, title);
  app_.stopIfEnded();
  return answer;
}

void Form::beep() { app_.backend().beep(); }

MsgAnswer Form::message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
  return MsgBox(text, buttons, icon, title);
}

void Form::progress(const std::string& text) { Caption = text; }

void Form::Refresh() {
  if (Loaded()) app_.backend().refresh(*this);
}

void Form::moveFocus(Control* target) {
  if (target == focused_) return;
  Control* old = focused_;
  focused_ = target;
  changed(FormChange::Focus);
  if (old && old->LostFocus) old->LostFocus();
  if (!alive()) return;
  if (!target || focused_ != target) return;
  target->focusArrived();
  if (alive() && focused_ == target && target->GotFocus) target->GotFocus();
}

namespace {

// The Tab order: TabIndex, then the order the controls were made (the sort is stable).
std::vector<Control*> tabOrder(const std::vector<Control*>& controls, const Control* alsoThis) {
  std::vector<Control*> order;
  for (Control* c : controls)
    if (c->CanFocus() && (c->TabStop() || c == alsoThis)) order.push_back(c);
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
  return order;
}

}  // namespace

void Form::focusFirst() {
  const std::vector<Control*> order = tabOrder(controls_, nullptr);
  if (!order.empty()) moveFocus(order.front());
}

void Form::tabFocus(bool backwards) {
  const std::vector<Control*> order = tabOrder(controls_, focused_);
  if (order.empty()) return;
  const auto here = std::find(order.begin(), order.end(), focused_);
  const int n = static_cast<int>(order.size());
  int i = here == order.end() ? (backwards ? 0 : n - 1) : static_cast<int>(here - order.begin());
  for (int step = 0; step < n; ++step) {
    i = (i + (backwards ? n - 1 : 1)) % n;
    if (order[i]->TabStop()) {
      moveFocus(order[i]);
      return;
    }
  }
}

}  // namespace kv::ui
