#include "ui/headless_driver.h"

#include <stdexcept>

#include "ui/combobox.h"
#include "ui/controls.h"
#include "ui/flexgrid.h"
#include "ui/form.h"
#include "ui/forms_registry.h"
#include "ui/input.h"
#include "ui/keys.h"
#include "ui/tabstrip.h"

namespace kv::ui {

HeadlessDriver::HeadlessDriver() : app_(std::make_unique<Application>(backend_)) {}

HeadlessDriver::~HeadlessDriver() = default;

void HeadlessDriver::start(std::string_view form) { app_->forms().show(form); }

Form* HeadlessDriver::visible() const { return app_->forms().visible(); }

Form& HeadlessDriver::form(std::string_view name) const {
  Form* f = app_->forms().find(name);
  if (!f) throw std::invalid_argument("window not loaded: " + std::string(name));
  return *f;
}

Form& HeadlessDriver::visibleForm() const {
  Form* f = visible();
  if (!f) throw std::logic_error("no window is visible");
  return *f;
}

Control& HeadlessDriver::control(std::string_view name) const {
  Control* c = visibleForm().control(name);
  if (!c) throw std::invalid_argument("no control " + std::string(name) + " in " + visibleForm().Name());
  return *c;
}

std::string HeadlessDriver::focused() const {
  Form* f = visible();
  return f && f->ActiveControl() ? f->ActiveControl()->Name() : std::string();
}

void HeadlessDriver::key(int keyCode, int shift) {
  if (ended()) return;
  Input::keystroke(visibleForm(), keyCode, shift, characterOfKey(keyCode, shift));
}

void HeadlessDriver::keyDown(int keyCode, int shift) {
  if (ended()) return;
  Input::keyDown(visibleForm(), keyCode, shift);
}

void HeadlessDriver::keyPress(int keyAscii) {
  if (ended()) return;
  Input::keyPress(visibleForm(), static_cast<unsigned char>(keyAscii));
}

void HeadlessDriver::type(std::string_view utf8) {
  for (char ch : typeable(utf8)) {
    if (ended()) return;
    const auto c = static_cast<unsigned char>(ch);
    const KeyStroke ks = keyStrokeOf(c);
    Input::keystroke(visibleForm(), ks.keyCode, ks.shift, c);
  }
}

void HeadlessDriver::setClipboard(std::string_view utf8) { backend_.setClipboardText(typeable(utf8)); }

void HeadlessDriver::paste() { key('V', Mask::Ctrl); }

void HeadlessDriver::click(std::string_view name) {
  if (ended()) return;
  Input::click(control(name));
}

// A double click as the desktop delivers it: the first press and release are a click; the second press
// is the double click, and it reaches only what is still on the screen where the first click was: a click
// that unloaded its window destroyed the window's controls, and a hidden window takes no mouse. So the
// second press goes to the window of the first only while that window is still the visible one, and to
// its control looked up afresh by name.
Form* HeadlessDriver::stillVisible(const Form* first) const {
  Form* now = visible();
  return !ended() && now == first ? now : nullptr;
}

void HeadlessDriver::dblClick(std::string_view name) {
  if (ended()) return;
  Form* first = &visibleForm();
  Input::click(control(name));
  if (Form* f = stillVisible(first))
    if (Control* c = f->control(name)) Input::dblClick(*c);
}

void HeadlessDriver::clickForm() {
  if (ended()) return;
  Input::formClick(visibleForm());
}

void HeadlessDriver::dblClickForm() {
  if (ended()) return;
  Form* first = &visibleForm();
  Input::formClick(*first);
  if (Form* f = stillVisible(first)) Input::formDblClick(*f);
}

void HeadlessDriver::focus(std::string_view name) {
  if (ended()) return;
  Input::focus(control(name));
}

void HeadlessDriver::chooseTab(std::string_view tabStrip, int index) {
  if (ended()) return;
  Input::chooseTab(get<TabStrip>(tabStrip), index);
}

void HeadlessDriver::pickItem(std::string_view combo, int index) {
  if (ended()) return;
  Input::pickItem(get<ComboBox>(combo), index);
}

void HeadlessDriver::clickCell(std::string_view grid, int row, int col) {
  if (ended()) return;
  Input::gridClick(get<FlexGrid>(grid), row, col);
}

void HeadlessDriver::dblClickCell(std::string_view grid, int row, int col) {
  if (ended()) return;
  Form* first = &visibleForm();
  Input::gridClick(get<FlexGrid>(grid), row, col);
  if (Form* f = stillVisible(first))
    if (auto* g = dynamic_cast<FlexGrid*>(f->control(grid))) Input::gridDblClick(*g, row, col);
}

void HeadlessDriver::closeBox() {
  if (ended()) return;
  Input::closeBox(visibleForm());
}

void HeadlessDriver::advance(int milliseconds) {
  const long long until = backend_.now() + milliseconds;
  long long due = 0;
  while (!ended()) {
    Timer* t = backend_.nextDue(until, due);
    if (!t) break;
    backend_.setNow(due);
    backend_.ticked(*t, due);
    Input::timerTick(*t);
  }
  backend_.setNow(until);
}

std::vector<Shown> HeadlessDriver::messages() const {
  std::vector<Shown> out;
  for (const Shown& s : backend_.shown())
    if (s.kind == Shown::Kind::Message) out.push_back(s);
  return out;
}

std::vector<std::string> HeadlessDriver::captions() const {
  std::vector<std::string> out;
  for (const Shown& s : backend_.shown())
    if (s.kind == Shown::Kind::Caption) out.push_back(s.text);
  return out;
}

std::vector<std::string> HeadlessDriver::captions(std::string_view form) const {
  std::vector<std::string> out;
  for (const Shown& s : backend_.shown())
    if (s.kind == Shown::Kind::Caption && s.form == form) out.push_back(s.text);
  return out;
}

int HeadlessDriver::beeps() const {
  int n = 0;
  for (const Shown& s : backend_.shown()) n += s.kind == Shown::Kind::Beep;
  return n;
}

}  // namespace kv::ui
