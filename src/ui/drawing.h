// The form's own drawing surface, as the paged screen report uses it: text at a current position, lines,
// a font and a colour, in the scale the window chose. The form records what was drawn as a display list,
// which the desktop back end paints and tests inspect.
#pragma once

#include "ui/layer_guard.h"

#include <cstdint>
#include <string>

#include "ui/backend.h"

namespace kv::ui {

// ScaleMode values: the unit of the surface's coordinates.
namespace Scale {
inline constexpr int Twip = 1;
inline constexpr int Point = 2;
inline constexpr int Pixel = 3;
inline constexpr int Inch = 5;
inline constexpr int Millimetre = 6;
inline constexpr int Centimetre = 7;
}  // namespace Scale

// Pixels per unit of a ScaleMode, at the program's 96 pixels per inch; throws for an unknown mode.
double pixelsPerUnit(int scaleMode);

// Colours as the original wrote them: 0x00BBGGRR.
using Color = std::uint32_t;
constexpr Color RGB(int r, int g, int b) {
  return static_cast<Color>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
// The 16 colours of the classic palette (0 black, 1 dark blue, 2 dark green, 4 dark red, ...).
Color QBColor(int index);

// One thing drawn. Coordinates are pixels of the form's client area; a text's point is its top left.
struct DrawItem {
  enum class Kind { Text, Line };
  Kind kind = Kind::Text;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::string text;  // Windows-1254
  Font font;
  Color color = 0;
};

enum class PrintEnd { NewLine, Stay };

}  // namespace kv::ui
