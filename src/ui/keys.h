// Key codes as the windows see them: KeyDown gets the Windows virtual-key code and the shift state,
// KeyPress the Windows-1254 code of the character (Enter 13, Esc 27, Backspace 8 are characters too).
#pragma once

#include "ui/layer_guard.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv::ui {

namespace Key {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Pause = 19;
inline constexpr int CapsLock = 20;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Numpad0 = 96;  // .. Numpad9 = 105
inline constexpr int F1 = 112;
inline constexpr int F2 = 113;
inline constexpr int F3 = 114;
inline constexpr int F4 = 115;
inline constexpr int F5 = 116;
inline constexpr int F6 = 117;
inline constexpr int F7 = 118;
inline constexpr int F8 = 119;
inline constexpr int F9 = 120;
inline constexpr int F10 = 121;
inline constexpr int F11 = 122;
inline constexpr int F12 = 123;
}  // namespace Key

// The Shift argument of KeyDown: a sum of these.
namespace Mask {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
}  // namespace Mask

// The key that types a Windows-1254 character on the Turkish Q keyboard, with the shift state it needs;
// Backspace, Tab, Enter and Esc are their own keys; key 0 for another control character.
struct KeyStroke {
  int keyCode = 0;
  int shift = 0;
};
KeyStroke keyStrokeOf(unsigned char c);

// The character that a key types by itself: Enter 13, Esc 27, Backspace 8, Space, digits, letters
// (lower case, upper case with Shift), Ctrl with a letter 1..26. Nothing for the other keys.
std::optional<unsigned char> characterOfKey(int keyCode, int shift);

// The Windows-1254 text of UTF-8 input (typed, pasted), without the characters that have no byte: those
// are refused at input. Malformed sequences are dropped too.
std::string typeable(std::string_view utf8);

}  // namespace kv::ui
