// Position and size in pixels, of a window on the screen or of a control in its container: written one at
// a time as the original wrote them (`Left = 10`) or all at once (Move).
#pragma once

#include "ui/layer_guard.h"

#include "ui/property.h"

namespace kv::ui {

class Placement {
 private:
  int left() const { return left_; }
  void setLeft(const int& v) { Move(v, top_, width_, height_); }
  int top() const { return top_; }
  void setTop(const int& v) { Move(left_, v, width_, height_); }
  int width() const { return width_; }
  void setWidth(const int& v) { Move(left_, top_, v, height_); }
  int height() const { return height_; }
  void setHeight(const int& v) { Move(left_, top_, width_, v); }

 public:
  Placement(const Placement&) = delete;
  Placement& operator=(const Placement&) = delete;

  Property<Placement, int, &Placement::left, &Placement::setLeft> Left{this};
  Property<Placement, int, &Placement::top, &Placement::setTop> Top{this};
  Property<Placement, int, &Placement::width, &Placement::setWidth> Width{this};
  Property<Placement, int, &Placement::height, &Placement::setHeight> Height{this};
  virtual void Move(int left, int top, int width, int height) = 0;

 protected:
  Placement(int width, int height) : width_(width), height_(height) {}
  virtual ~Placement() = default;

  int left_ = 0, top_ = 0, width_, height_;
};

}  // namespace kv::ui
