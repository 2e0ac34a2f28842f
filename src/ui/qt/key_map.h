// Keys and text of Qt turned into the program's: Windows virtual-key codes, the shift state, and
// Windows-1254 characters (a character without a byte is refused).
#pragma once

#include "ui/layer_guard.h"

#include <QString>
#include <Qt>
#include <optional>
#include <string>
#include <string_view>

namespace kv::ui::desktop {

struct TranslatedKey {
  int keyCode = 0;  // 0: no KeyDown
  int shift = 0;
  std::optional<unsigned char> character;
  bool refused = false;  // the key typed a character that has no Windows-1254 byte
};

int shiftState(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a Qt key; 0 when the key has none of its own (then the character tells).
int virtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
TranslatedKey translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

QString toQString(std::string_view cp1254);
// The Windows-1254 text of a Qt text, without the characters that have no byte.
std::string fromQString(const QString& text);

}  // namespace kv::ui::desktop
