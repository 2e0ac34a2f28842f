// The running program: its back end, its windows, the depth of the event handlers that run, and its end.
#pragma once

#include "ui/layer_guard.h"

#include <functional>
#include <memory>

#include "ui/backend.h"

namespace kv {
class FileError;
}

namespace kv::ui {

class Form;
class Forms;

// Thrown by End() to leave every running handler at once; caught where the platform delivered the event.
// It is no std::exception, so a window's `catch (const std::exception&)` around a file operation lets it
// pass. Windows must not catch (...).
struct ProgramEnd {};

class Application {
 public:
  // The new application becomes the current one (one at a time).
  explicit Application(Backend& backend);
  // Unloads every window without running its events.
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application& current();
  static bool exists();

  Backend& backend() { return backend_; }
  Forms& forms() { return *forms_; }

  // Runs an event that the platform delivers (a key, a click, a timer tick). Counts the handler depth;
  // stops quietly at End(). A file that fails in it (a FileError that no handler caught) stops the event
  // and is shown in the window that was visible when it came (showFileError), which comes back when the
  // event had left no window visible; the program goes on. When
  // the outermost handler has returned: tells the backups that its commands could not renew, destroys the
  // windows unloaded meanwhile, ends the program when no window is visible any more, and brings the back
  // end in step.
  void deliver(const std::function<void()>& event);
  // Runs program code: directly inside a handler, as a delivered event outside one.
  void run(const std::function<void()>& code);
  int depth() const { return depth_; }

  // The policy for a file that failed: a beep and the file message (fileErrorMessage) with the
  // exclamation icon, over `where` while it is loaded, else over the visible window.
  void showFileError(const FileError& error, Form* where);

  // A window has lost its company's files: it tells why (over `where`, as showFileError), and the program
  // leaves the company once the running handler has returned: every window is unloaded without its events,
  // the company is let go, and the window the program started with (the start-up dialog) is shown. A
  // command that waits for the company's next opening is told by the leaving itself.
  void leaveCompany(const FileError& why, Form* where);
  // A window has lost its files in the running handler: the program leaves the company once it returns.
  bool leavingCompany() const { return leaving_; }

  bool ended() const { return ended_; }
  // Ends the program at once: every window goes without its events, open files are closed.
  [[noreturn]] void end();
  // Throws ProgramEnd when the program has ended (after a nested event loop returned).
  void stopIfEnded() const;

 private:
  void bringBack(Form* origin);
  void leaveCompanyWhenDue();
  void tellBackupsNotRenewed();
  void settle();
  void endNow();

  Backend& backend_;
  std::unique_ptr<Forms> forms_;
  int depth_ = 0;
  bool ended_ = false;
  bool leaving_ = false;
};

// The program's own calls, as the windows make them.
Forms& forms();
[[noreturn]] void End();
void LeaveCompany(Form& where, const FileError& why);
bool LeavingCompany();
void Beep();
// A message box over no window: what the program tells at its start, before its first window.
MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title);
ScreenSize Screen();

}  // namespace kv::ui
