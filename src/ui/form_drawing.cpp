#include <stdexcept>

#include "ui/application.h"
#include "ui/form.h"

namespace kv::ui {

double pixelsPerUnit(int scaleMode) {
  switch (scaleMode) {
    case Scale::Twip:
      return 96.0 / 1440.0;
    case Scale::Point:
      return 96.0 / 72.0;
    case Scale::Pixel:
      return 1.0;
    case Scale::Inch:
      return 96.0;
    case Scale::Millimetre:
      return 96.0 / 25.4;
    case Scale::Centimetre:
      return 96.0 / 2.54;
    default:
      throw std::invalid_argument("unknown ScaleMode");
  }
}

Color QBColor(int index) {
  static constexpr Color kPalette[16] = {RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
                                         RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
                                         RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
                                         RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
  return kPalette[index & 15];
}

void Form::setScaleMode(const int& v) {
  pixelsPerUnit(v);  // refuses an unknown mode
  scaleMode_ = v;
}

double Form::currentX() const { return xPixels_ / pixelsPerUnit(scaleMode_); }
void Form::setCurrentX(const double& v) { xPixels_ = v * pixelsPerUnit(scaleMode_); }
double Form::currentY() const { return yPixels_ / pixelsPerUnit(scaleMode_); }
void Form::setCurrentY(const double& v) { yPixels_ = v * pixelsPerUnit(scaleMode_); }

double Form::ScaleWidth() const { return width_ / pixelsPerUnit(scaleMode_); }
double Form::ScaleHeight() const { return height_ / pixelsPerUnit(scaleMode_); }

double Form::TextWidth(std::string_view text) const {
  return app_.backend().textWidth(font_, text) / pixelsPerUnit(scaleMode_);
}

double Form::TextHeight(std::string_view) const { return app_.backend().textHeight(font_) / pixelsPerUnit(scaleMode_); }

void Form::Cls() {
  drawing_.clear();
  xPixels_ = yPixels_ = 0;
  changed(FormChange::Drawing);
}

void Form::addDrawing(DrawItem item) {
  drawing_.push_back(std::move(item));
  changed(FormChange::Drawing);
}

void Form::Print(std::string_view text, PrintEnd end) {
  DrawItem item;
  item.kind = DrawItem::Kind::Text;
  item.x1 = xPixels_;
  item.y1 = yPixels_;
  item.text = std::string(text);
  item.font = font_;
  item.color = foreColor_;
  addDrawing(std::move(item));
  if (end == PrintEnd::Stay) {
    xPixels_ += app_.backend().textWidth(font_, text);
  } else {
    xPixels_ = 0;
    yPixels_ += app_.backend().textHeight(font_);
  }
}

void Form::Line(double x1, double y1, double x2, double y2) {
  const double k = pixelsPerUnit(scaleMode_);
  DrawItem item;
  item.kind = DrawItem::Kind::Line;
  item.x1 = x1 * k;
  item.y1 = y1 * k;
  item.x2 = x2 * k;
  item.y2 = y2 * k;
  item.font = font_;
  item.color = foreColor_;
  xPixels_ = item.x2;
  yPixels_ = item.y2;
  addDrawing(std::move(item));
}

}  // namespace kv::ui
