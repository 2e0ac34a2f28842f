#include "ui/application.h"

#include <stdexcept>

#include "base/text.h"
#include "files/company_lock.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "ui/form.h"
#include "ui/forms_registry.h"

namespace kv::ui {

namespace {

// The application that runs, if any.
Application*& running() {
  static Application* app = nullptr;
  return app;
}

}  // namespace

Application::Application(Backend& backend) : backend_(backend), forms_(std::make_unique<Forms>(*this)) {
  if (running()) throw std::logic_error("only one forms application may run at a time");
  running() = this;
}

Application::~Application() {
  forms_->unloadAllSilently();
  forms_->destroyUnloaded();
  leaveSession();
  running() = nullptr;
}

Application& Application::current() {
  if (!running()) throw std::logic_error("no forms application is running");
  return *running();
}

bool Application::exists() { return running() != nullptr; }

void Application::deliver(const std::function<void()>& event) {
  if (ended_) return;
  bool failed = false;
  Form* origin = forms_->visible();
  ++depth_;
  try {
    try {
      event();
    } catch (const FileError& e) {
      bringBack(origin);
      showFileError(e, origin);
    }
  } catch (const ProgramEnd&) {
    // The program ended inside the handler; nothing more of it runs.
  } catch (const std::exception& e) {
    if (backend_.unhandledError(e.what())) {
      if (--depth_ == 0) settle();
      throw;
    }
    failed = true;
  } catch (...) {
    if (--depth_ == 0) settle();
    throw;
  }
  --depth_;
  if (failed) endNow();
  if (depth_ == 0) settle();
}

void Application::run(const std::function<void()>& code) {
  if (ended_) return;
  if (depth_ > 0) {
    code();
    return;
  }
  deliver(code);
}

void Application::showFileError(const FileError& error, Form* where) {
  if (!where || !where->Loaded()) where = forms_->visible();
  if (where) {
    tellFileError(*where, error);
    return;
  }
  const UserMessage m = fileErrorMessage(error);
  backend_.beep();
  backend_.messageBox(nullptr, m.text, MsgButtons::Ok, MsgIcon::Exclamation, m.title);
}

// A command that failed after its window had gone (hidden or unloaded on its way to the next one) left
// no window on the screen: its window comes back (loaded afresh when it was unloaded), so that the
// program does not end over a file.
void Application::bringBack(Form* origin) {
  if (!origin || forms_->visible()) return;
  if (origin->Loaded())
    forms_->show(*origin);
  else
    forms_->show(origin->Name());
}

void Application::leaveCompany(const FileError& why, Form* where) {
  const std::string company = sessionCompany();
  if (why.kind() != FileError::Kind::Unfinished || company.empty() || !isUnfinished(company))
    showFileError(why, where);
  leaving_ = true;
}

// The program leaves its company when a window has lost its files, and when a command of the company could
// not make its renames after its point of no return: that command is completed when the company is next
// opened, and until then the company's files are not used. The window the program started with (the
// start-up dialog) takes the screen; choosing the company there completes the command. Another company's
// unfinished command concerns only that company.
void Application::leaveCompanyWhenDue() {
  const std::string company = sessionCompany();
  const bool unfinished = !company.empty() && isUnfinished(company);
  Form* shown = forms_->visible();
  if ((!unfinished && !leaving_) || !shown) return;
  leaving_ = false;
  if (shown->Name() == forms_->firstShown()) return;
  if (unfinished) {
    backend_.beep();
    backend_.messageBox(shown,
                        "\""_w + company + "\" şirketinin son işlemi tamamlanamadı!...\r\rİşlem, şirket yeniden "
                        "açıldığında tamamlanacak; o zamana kadar şirketin dosyaları kullanılmayacak..."_w,
                        MsgButtons::Ok, MsgIcon::Exclamation, "! DİKKAT !"_w);
  }
  forms_->unloadAllSilently();
  forms_->destroyUnloaded();
  leaveSession();
  forms_->show(forms_->firstShown());
}

// A command that went on without renewing a backup (another user's, in a shared folder whose sticky bit
// keeps it theirs) is told once, after its event, over the window on the screen: the same for every
// window's command and for the start-up dialog's recovery.
void Application::tellBackupsNotRenewed() {
  Form* shown = forms_->visible();
  if (!shown) return;
  const std::vector<FileError> notRenewed = takeBackupsNotRenewed();
  if (notRenewed.empty()) return;
  shown->beep();
  tell(*shown, backupsNotRenewedMessage(notRenewed), MsgIcon::Exclamation);
}

void Application::settle() {
  if (!ended_ && forms_->started()) {
    tellBackupsNotRenewed();
    leaveCompanyWhenDue();
  }
  forms_->destroyUnloaded();
  if (!ended_ && forms_->started() && !forms_->visible()) endNow();
  if (!ended_) backend_.flush();
}

void Application::end() {
  endNow();
  throw ProgramEnd{};
}

void Application::endNow() {
  if (ended_) return;
  ended_ = true;
  closeAllFiles();
  leaveSession();
  forms_->unloadAllSilently();
  if (depth_ == 0) forms_->destroyUnloaded();
  backend_.ended();
}

void Application::stopIfEnded() const {
  if (ended_) throw ProgramEnd{};
}

Forms& forms() { return Application::current().forms(); }

void End() { Application::current().end(); }

void LeaveCompany(Form& where, const FileError& why) { Application::current().leaveCompany(why, &where); }

bool LeavingCompany() { return Application::current().leavingCompany(); }

void Beep() { Application::current().backend().beep(); }

MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
  return Application::current().backend().messageBox(nullptr, text, buttons, icon, title);
}

ScreenSize Screen() { return Application::current().backend().screen(); }

}  // namespace kv::ui
