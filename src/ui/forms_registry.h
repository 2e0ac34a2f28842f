// The windows of the program by name. Windows of different layers do not include each other: they show,
// hide and unload each other through this registry, and the program (or a test) registers how each
// window is made: registerForm("frmAnaliz", [] { return std::make_unique<frmAnaliz>(); });
#pragma once

#include "ui/layer_guard.h"

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv::ui {

class Application;
class Form;

using FormFactory = std::function<std::unique_ptr<Form>()>;

// Registers (or replaces) the factory of a window name, for every application of the process.
void registerForm(const std::string& name, FormFactory factory);
// The names registered so far, sorted.
std::vector<std::string> registeredForms();

class Forms {
 public:
  explicit Forms(Application& app);
  ~Forms();
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;

  // The window of that name; loaded (constructed, then Form_Load) on first use.
  //
  // A file that fails in a window's own event (Load, Activate, Deactivate, Resize, QueryUnload, Unload)
  // is shown over that window (Application::showFileError) and the layer goes on as if the event had
  // returned there, so the code that showed, hid or unloaded the window goes on too:
  // - Load: the window stays loaded and comes up when it is shown, with what Form_Load did until then,
  //   so that the user can leave it by its exit command;
  // - Activate: the window is the active one and gets the focus as usual;
  // - QueryUnload, Unload: the window is not unloaded (as with Cancel = 1): what the window does on its way
  //   out did not finish, and the program must not lose its last window over it.
  Form& get(std::string_view name);
  template <class T>
  T& get(std::string_view name) {
    return dynamic_cast<T&>(get(name));
  }
  // The loaded window of that name, or null; never loads.
  Form* find(std::string_view name) const;
  bool isLoaded(std::string_view name) const { return find(name) != nullptr; }

  // Shows the window modeless (loading it first when needed); the window visible before is hidden.
  void show(std::string_view name);
  // Hides a loaded window; it keeps its state and its files.
  void hide(std::string_view name);
  // Unloads a loaded window (Form_QueryUnload, Form_Unload); its next use loads it afresh.
  void unload(std::string_view name);

  // The visible window, the active one (the last the program showed), the loaded ones.
  Form* visible() const;
  Form* active() const { return active_; }
  std::vector<Form*> loaded() const;
  // True once a window has been shown: from then on, the program ends when none is visible.
  bool started() const { return started_; }
  // The name of the first window the program showed (the start-up dialog).
  const std::string& firstShown() const { return firstShown_; }

  // What the window of that name keeps while it is unloaded, made on its first use: an unloaded window
  // loads afresh, and this is what it comes back to. It lasts as long as the program's windows.
  template <class T>
  T& kept(std::string_view name) {
    auto it = kept_.find(name);
    if (it == kept_.end()) it = kept_.emplace(std::string(name), T{}).first;
    return std::any_cast<T&>(it->second);
  }

 private:
  friend class Application;
  friend class Form;
  friend class Input;

  // Runs one of the window's own events; false when a file failed in it (then shown over the window).
  template <class Event>
  bool raise(Form& form, Event&& event);
  void load(Form& form);
  void show(Form& form);
  void hide(Form& form);
  // Returns false when the window refused (Cancel).
  bool unload(Form& form, int unloadMode);
  void activate(Form& form);
  void release(Form& form);
  void unloadAllSilently();
  void destroyUnloaded();

  Application& app_;
  std::map<std::string, std::any, std::less<>> kept_;  // before the windows, so that it outlives them
  std::vector<std::unique_ptr<Form>> loaded_;
  std::vector<std::unique_ptr<Form>> unloaded_;  // destroyed when the outermost handler has returned
  Form* active_ = nullptr;
  bool started_ = false;
  std::string firstShown_;
};

}  // namespace kv::ui
