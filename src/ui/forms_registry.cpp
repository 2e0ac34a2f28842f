#include "ui/forms_registry.h"

#include <map>
#include <stdexcept>

#include "files/files.h"
#include "ui/application.h"
#include "ui/control.h"
#include "ui/form.h"

namespace kv::ui {

namespace {

std::map<std::string, FormFactory, std::less<>>& factories() {
  static std::map<std::string, FormFactory, std::less<>> all;
  return all;
}

}  // namespace

void registerForm(const std::string& name, FormFactory factory) { factories()[name] = std::move(factory); }

std::vector<std::string> registeredForms() {
  std::vector<std::string> names;
  for (const auto& [name, factory] : factories()) names.push_back(name);
  return names;
}

Forms::Forms(Application& app) : app_(app) {}

Forms::~Forms() = default;

Form* Forms::find(std::string_view name) const {
  for (const auto& f : loaded_)
    if (f->name_ == name) return f.get();
  return nullptr;
}

Form& Forms::get(std::string_view name) {
  if (Form* f = find(name)) return *f;
  const auto factory = factories().find(name);
  if (factory == factories().end()) throw std::invalid_argument("no window registered as " + std::string(name));
  app_.run([&] {
    std::unique_ptr<Form> made = factory->second();
    made->name_ = std::string(name);
    Form& form = *made;
    loaded_.push_back(std::move(made));
    load(form);
  });
  Form* f = find(name);
  if (!f) throw std::runtime_error("window " + std::string(name) + " went while loading");
  return *f;
}

template <class Event>
bool Forms::raise(Form& form, Event&& event) {
  try {
    event();
    return true;
  } catch (const FileError& e) {
    app_.showFileError(e, &form);
    return false;
  }
}

void Forms::load(Form& form) {
  form.loaded_ = true;
  app_.backend().formLoaded(form);
  raise(form, [&] { form.Form_Load(); });
}

void Forms::show(std::string_view name) {
  app_.run([&] { show(get(name)); });
}

void Forms::hide(std::string_view name) {
  if (Form* f = find(name)) app_.run([&] { hide(*f); });
}

void Forms::unload(std::string_view name) {
  if (Form* f = find(name)) app_.run([&] { unload(*f, UnloadMode::FromCode); });
}

Form* Forms::visible() const {
  for (const auto& f : loaded_)
    if (f->visible_) return f.get();
  return nullptr;
}

std::vector<Form*> Forms::loaded() const {
  std::vector<Form*> all;
  for (const auto& f : loaded_) all.push_back(f.get());
  return all;
}

// Only one window is visible at a time: showing one hides the other. The window activates when it was not
// the active one; a window shown for the first time is resized (its layout) before that, and the focus
// goes to its first control in the Tab order when no control has it.
void Forms::show(Form& form) {
  if (!form.alive()) return;
  started_ = true;
  if (firstShown_.empty()) firstShown_ = form.Name();
  if (Form* other = visible(); other && other != &form) hide(*other);
  if (!form.alive()) return;
  if (!form.visible_) {
    form.visible_ = true;
    form.changed(FormChange::Visibility);
    if (!form.shownOnce_) {
      form.shownOnce_ = true;
      raise(form, [&] { form.Form_Resize(); });
      if (!form.alive()) return;
    }
  }
  if (active_ != &form) activate(form);
  if (!form.alive() || active_ != &form) return;
  if (!form.focused_ || !form.focused_->CanFocus()) form.focusFirst();
}

void Forms::activate(Form& form) {
  Form* previous = active_;
  active_ = &form;
  if (previous && previous != &form && previous->alive()) raise(*previous, [&] { previous->Form_Deactivate(); });
  if (form.alive() && active_ == &form) raise(form, [&] { form.Form_Activate(); });
}

void Forms::hide(Form& form) {
  if (!form.visible_) return;
  form.visible_ = false;
  form.changed(FormChange::Visibility);
  if (active_ == &form) {
    active_ = nullptr;
    if (form.alive()) raise(form, [&] { form.Form_Deactivate(); });
  }
}

// The window's exit command may run inside its own Form_QueryUnload and unload it there; an Unload inside
// Form_Unload is ignored. A file that fails in either keeps the window, as Cancel does.
bool Forms::unload(Form& form, int unloadMode) {
  if (!form.Loaded()) return true;
  if (form.unloading_) return false;
  int cancel = 0;
  if (!raise(form, [&] { form.Form_QueryUnload(cancel, unloadMode); })) cancel = 1;
  if (cancel == 0 && form.alive()) {
    form.unloading_ = true;
    if (!raise(form, [&] { form.Form_Unload(cancel); })) cancel = 1;
    form.unloading_ = false;
  }
  if (cancel != 0 || !form.alive()) return !form.Loaded();
  release(form);
  return true;
}

// The window leaves the program: the back end drops it, the object lives on until the outermost handler
// has returned.
void Forms::release(Form& form) {
  if (active_ == &form) active_ = nullptr;
  form.visible_ = false;
  app_.backend().formUnloaded(form);
  form.unloaded_ = true;
  for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
    if (it->get() == &form) {
      unloaded_.push_back(std::move(*it));
      loaded_.erase(it);
      break;
    }
  }
}

void Forms::unloadAllSilently() {
  while (!loaded_.empty()) release(*loaded_.back());
}

void Forms::destroyUnloaded() {
  while (!unloaded_.empty()) {
    std::vector<std::unique_ptr<Form>> going;
    going.swap(unloaded_);
    going.clear();
  }
}

}  // namespace kv::ui
