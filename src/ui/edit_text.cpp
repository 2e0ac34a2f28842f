#include "ui/edit_text.h"

#include <algorithm>

#include "ui/backend.h"
#include "ui/keys.h"

namespace kv::ui {

bool EditText::setText(const std::string& text, bool typing) {
  const bool changed = text != text_;
  if (!typing || !keepPlacesIfTidied(text)) anchor_ = caret_ = 0;
  text_ = text;
  return changed;
}

bool EditText::keepPlacesIfTidied(const std::string& text) {
  const int after = static_cast<int>(text.size());
  int kept = 0, anchor = anchor_, caret = caret_;
  for (int at = 0; at < size(); ++at) {
    if (kept < after && text_[at] == text[kept]) {
      ++kept;
    } else if (text_[at] == ' ') {  // a blank left out: the places beyond it move back by one
      if (at < anchor_) --anchor;
      if (at < caret_) --caret;
    } else {
      return false;
    }
  }
  if (kept < after) return false;
  anchor_ = anchor;
  caret_ = caret;
  return true;
}

void EditText::setSelStart(int v) { anchor_ = caret_ = std::clamp(v, 0, size()); }

void EditText::setSelLength(int v) {
  const int start = selStart();
  anchor_ = start;
  caret_ = start + std::clamp(v, 0, size() - start);
}

void EditText::select(int start, int length) {
  setSelStart(start);
  setSelLength(length);
}

bool EditText::setSelText(std::string_view s) { return insert(s, false); }

bool EditText::insert(std::string_view s, bool limited) {
  const int start = selStart();
  const int length = selLength();
  if (limited && s.empty()) return false;  // an empty clipboard pastes nothing
  if (limited && maxLength_ > 0) {
    const int room = maxLength_ - (size() - length);
    if (room <= 0) return false;
    if (static_cast<int>(s.size()) > room) s = s.substr(0, room);
  }
  if (s.empty() && length == 0) return false;
  const bool changed = text_.compare(start, length, s) != 0;
  text_.replace(start, length, s);
  anchor_ = caret_ = start + static_cast<int>(s.size());
  return changed;
}

bool EditText::erase(int from, int to) {
  if (from >= to) return false;
  text_.erase(from, to - from);
  anchor_ = caret_ = from;
  return true;
}

void EditText::moveCaret(int to, bool extend) {
  caret_ = std::clamp(to, 0, size());
  if (!extend) anchor_ = caret_;
}

void EditText::copy(Backend& backend) const {
  if (selLength() > 0) backend.setClipboardText(selText());
}

namespace {

// Pasted text: the first line only, without control characters (the back end has already left out what
// has no Windows-1254 byte).
std::string pastable(const std::string& clip) {
  std::string out;
  for (char ch : clip) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == 13 || c == 10) break;
    if (c >= 32) out += ch;
  }
  return out;
}

}  // namespace

EditText::Result EditText::keyDown(int keyCode, int shift, Backend& backend) {
  const bool withShift = (shift & Mask::Shift) != 0;
  const bool withCtrl = (shift & Mask::Ctrl) != 0;
  const int before = caret_;
  const int anchorBefore = anchor_;
  switch (keyCode) {
    case Key::Left:
      moveCaret(!withShift && selLength() > 0 ? selStart() : caret_ - 1, withShift);
      break;
    case Key::Right:
      moveCaret(!withShift && selLength() > 0 ? selStart() + selLength() : caret_ + 1, withShift);
      break;
    case Key::Home:
      moveCaret(0, withShift);
      break;
    case Key::End:
      moveCaret(size(), withShift);
      break;
    case Key::Delete:
      if (withShift) {  // cut
        copy(backend);
        return erase(selStart(), selStart() + selLength()) ? Result::Changed : Result::Nothing;
      }
      if (selLength() > 0) return erase(selStart(), selStart() + selLength()) ? Result::Changed : Result::Nothing;
      return erase(caret_, std::min(caret_ + 1, size())) ? Result::Changed : Result::Nothing;
    case Key::Insert:
      if (withCtrl) copy(backend);
      if (withShift) return insert(pastable(backend.clipboardText()), true) ? Result::Changed : Result::Nothing;
      return Result::Nothing;
    default:
      return Result::Nothing;
  }
  return caret_ != before || anchor_ != anchorBefore ? Result::Moved : Result::Nothing;
}

EditText::Result EditText::keyPress(int keyAscii, Backend& backend) {
  switch (keyAscii) {
    case 8:  // Backspace
      if (selLength() > 0) return erase(selStart(), selStart() + selLength()) ? Result::Changed : Result::Nothing;
      return erase(std::max(caret_ - 1, 0), caret_) ? Result::Changed : Result::Nothing;
    case 3:  // Ctrl+C
      copy(backend);
      return Result::Nothing;
    case 24:  // Ctrl+X
      copy(backend);
      return erase(selStart(), selStart() + selLength()) ? Result::Changed : Result::Nothing;
    case 22:  // Ctrl+V
      return insert(pastable(backend.clipboardText()), true) ? Result::Changed : Result::Nothing;
    default:
      break;
  }
  if (keyAscii < 32 || keyAscii > 255) return Result::Nothing;  // Enter, Esc and the like type nothing
  const char ch = static_cast<char>(keyAscii);
  return insert(std::string_view(&ch, 1), true) ? Result::Changed : Result::Nothing;
}

}  // namespace kv::ui
