// How engine code speaks to the user without knowing about windows: the window that starts an operation
// passes in a sink, which shows message boxes and beeps in that window (or records them, in tests).
#pragma once

#include <string>

namespace kv {

enum class MsgIcon { None, Exclamation, Question, Stop };
enum class MsgButtons { Ok, YesNo, RetryCancel, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Retry, Cancel };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void beep() = 0;
  // text and title in Windows-1254; a carriage return (13) breaks the line.
  virtual MsgAnswer message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) = 0;
};

// Where a window shows how a long job goes: its title. Engines never take one; they report their stages,
// and the titles a window makes of them (the parts' `*_titles`) are shown here.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // text in Windows-1254.
  virtual void progress(const std::string& text) = 0;
};

// A message box text and title, as the policies of the engines carry them.
struct UserMessage {
  std::string text;
  std::string title;
};

// Shows the message with an OK button and the icon.
inline void tell(MessageSink& sink, const UserMessage& m, MsgIcon icon) {
  sink.message(m.text, MsgButtons::Ok, icon, m.title);
}

}  // namespace kv
