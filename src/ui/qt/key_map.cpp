#include "ui/qt/key_map.h"

#include <QList>

#include "base/text.h"
#include "ui/keys.h"

namespace kv::ui::desktop {

int shiftState(Qt::KeyboardModifiers modifiers) {
  int s = 0;
  if (modifiers & Qt::ShiftModifier) s |= Mask::Shift;
  if (modifiers & Qt::ControlModifier) s |= Mask::Ctrl;
  if (modifiers & Qt::AltModifier) s |= Mask::Alt;
  return s;
}

int virtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = (modifiers & Qt::KeypadModifier) != 0;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return Key::F1 + (qtKey - Qt::Key_F1);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // the same codes
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return keypad ? Key::Numpad0 + (qtKey - Qt::Key_0) : qtKey;
  switch (qtKey) {
    case Qt::Key_Backspace:
      return Key::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Shift:
      return Key::Shift;
    case Qt::Key_Control:
      return Key::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return Key::Alt;
    case Qt::Key_Pause:
      return Key::Pause;
    case Qt::Key_CapsLock:
      return Key::CapsLock;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_Space:
      return Key::Space;
    case Qt::Key_PageUp:
      return Key::PageUp;
    case Qt::Key_PageDown:
      return Key::PageDown;
    case Qt::Key_End:
      return Key::End;
    case Qt::Key_Home:
      return Key::Home;
    case Qt::Key_Left:
      return Key::Left;
    case Qt::Key_Up:
      return Key::Up;
    case Qt::Key_Right:
      return Key::Right;
    case Qt::Key_Down:
      return Key::Down;
    case Qt::Key_Print:
      return 44;
    case Qt::Key_Insert:
      return Key::Insert;
    case Qt::Key_Delete:
      return Key::Delete;
    case Qt::Key_Meta:
      return 91;
    case Qt::Key_Menu:
      return 93;
    case Qt::Key_NumLock:
      return 144;
    case Qt::Key_ScrollLock:
      return 145;
    default:
      break;
  }
  if (keypad) {
    switch (qtKey) {
      case Qt::Key_Asterisk:
        return 106;
      case Qt::Key_Plus:
        return 107;
      case Qt::Key_Minus:
        return 109;
      case Qt::Key_Period:
      case Qt::Key_Comma:
        return 110;
      case Qt::Key_Slash:
        return 111;
      default:
        break;
    }
  }
  return 0;
}

TranslatedKey translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  TranslatedKey k;
  k.shift = shiftState(modifiers);
  k.keyCode = virtualKeyOf(qtKey, modifiers);
  const bool ctrl = (k.shift & Mask::Ctrl) != 0, alt = (k.shift & Mask::Alt) != 0;
  // The character: Backspace, Enter, Esc and Ctrl with a letter as on Windows, the typed text otherwise.
  // Alt with a key types nothing (on Windows it goes to the menus), nor do Delete and Tab.
  if (k.keyCode == Key::Back || k.keyCode == Key::Enter || k.keyCode == Key::Escape ||
      (ctrl && !alt && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
    k.character = characterOfKey(k.keyCode, k.shift);
  } else if (!alt && !ctrl && k.keyCode != Key::Delete && k.keyCode != Key::Tab && !text.isEmpty() &&
             text.at(0).unicode() >= 32 && text.at(0).unicode() != 127) {
    const std::string typed = fromQString(text);
    if (typed.size() == 1)
      k.character = static_cast<unsigned char>(typed[0]);
    else
      k.refused = true;
  }
  if (k.refused) {
    k.keyCode = 0;
    return k;
  }
  // A key without a code of its own (a Turkish letter, punctuation): the key that types its character.
  if (k.keyCode == 0 && k.character) {
    const KeyStroke ks = keyStrokeOf(*k.character);
    k.keyCode = ks.keyCode;
  }
  return k;
}

QString toQString(std::string_view cp1254) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1254.size()));
  for (char c : cp1254) out.append(QChar(static_cast<char16_t>(cp1254ToUnicode(static_cast<unsigned char>(c)))));
  return out;
}

std::string fromQString(const QString& text) {
  std::string out;
  for (const char32_t cp : text.toUcs4()) {
    if (const auto byte = unicodeToCp1254(cp)) out += static_cast<char>(*byte);
  }
  return out;
}

}  // namespace kv::ui::desktop
