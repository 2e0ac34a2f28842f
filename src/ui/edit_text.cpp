#include "ui/edit_text.h"

#include <algorithm>

#include "ui/backend.h"
#include "ui/keys.h"

namespace kv::ui {

bool EditText::setText(const std::string& text, bool keepCaret) {
  const bool changed = text != text_;
  if (!keepCaret) {
    anchor_ = caret_ = 0;
  } else if (changed) {
    const int before = size(), after = static_cast<int>(text.size()), shorter = std::min(before, after);
    int same = 0, tail = 0;  // characters alike at the start and, beyond them, at the end
    while (same < shorter && text_[same] == text[same]) ++same;
    while (tail < shorter - same && text_[before - 1 - tail] == text[after - 1 - tail]) ++tail;
    auto place = [&](int at) {
      return at <= same ? at : at >= before - tail ? at - before + after : std::min(at, after - tail);
    };
    anchor_ = place(anchor_);
    caret_ = place(caret_);
  }
  text_ = text;
  return changed;
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
