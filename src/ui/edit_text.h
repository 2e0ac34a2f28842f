// The text of an entry field (text box, combo box) with its caret and selection, edited as a Windows edit
// control edits it: typed characters replace the selection, Backspace and Delete, the caret keys with
// Shift to select, and the clipboard keys.
#pragma once

#include "ui/layer_guard.h"

#include <string>
#include <string_view>

namespace kv::ui {

class Backend;

class EditText {
 public:
  const std::string& text() const { return text_; }
  int selStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  int selLength() const { return anchor_ < caret_ ? caret_ - anchor_ : anchor_ - caret_; }
  std::string selText() const { return text_.substr(selStart(), selLength()); }
  int maxLength() const { return maxLength_; }

  // Each returns true when the text changed. Text set by code is not limited by MaxLength. setText puts
  // the caret at the start; only while the user types into the box (`typing`) does a text that is the
  // same, or the same with blanks left out, keep the caret and the selection by the characters they
  // stand among. Any other content set while typing puts the caret at the start too.
  bool setText(const std::string& text, bool typing = false);
  void setSelStart(int v);
  void setSelLength(int v);
  void select(int start, int length);
  bool setSelText(std::string_view s);
  void setMaxLength(int v) { maxLength_ = v < 0 ? 0 : v; }

  enum class Result { Nothing, Moved, Changed };
  // The edit control's own work after the KeyDown and KeyPress handlers let a key through.
  Result keyDown(int keyCode, int shift, Backend& backend);
  Result keyPress(int keyAscii, Backend& backend);

 private:
  int size() const { return static_cast<int>(text_.size()); }
  // When `text` is the text with none but blanks left out, moves the caret and the selection back over
  // the blanks gone before them and returns true.
  bool keepPlacesIfTidied(const std::string& text);
  // Inserts s in place of the selection; typed or pasted text keeps to MaxLength.
  bool insert(std::string_view s, bool limited);
  bool erase(int from, int to);
  void moveCaret(int to, bool extend);
  void copy(Backend& backend) const;

  std::string text_;
  int anchor_ = 0;
  int caret_ = 0;
  int maxLength_ = 0;  // 0: no limit
};

}  // namespace kv::ui
