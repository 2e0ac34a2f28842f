// Properties written as the original wrote them: `bilKod.Text = "x"_w;` runs the control's setter (and with
// it the events the change raises), `bilKod.Text()` reads the value. The windows' controls and the printer
// both use them.
#pragma once

#include <tuple>
#include <utility>

namespace kv {

// A property of an owner object, read through Get and written through Set (member function pointers).
template <class Owner, class T, auto Get, auto Set>
class Property {
 public:
  explicit Property(Owner* owner) : owner_(owner) {}
  Property(const Property&) = delete;

  decltype(auto) operator()() const { return (owner_->*Get)(); }
  operator T() const { return (owner_->*Get)(); }

  Property& operator=(const T& value) {
    (owner_->*Set)(value);
    return *this;
  }
  // Copying one property into another copies the value: `a.Text = b.Text;`.
  Property& operator=(const Property& other) { return *this = T(other()); }

  friend bool operator==(const Property& a, const T& b) { return a() == b; }

 private:
  Owner* owner_;
};

// An indexed property: `MSFlexGrid1.TextMatrix(r, c) = "x"_w;`, `int w = grid.ColWidth(2);`.
template <class Owner, class T, auto Get, auto Set, class... Index>
class ItemRef {
 public:
  ItemRef(Owner* owner, Index... index) : owner_(owner), index_(index...) {}
  ItemRef(const ItemRef&) = default;

  T operator()() const {
    return std::apply([this](auto... i) -> T { return (owner_->*Get)(i...); }, index_);
  }
  operator T() const { return (*this)(); }

  const ItemRef& operator=(const T& value) const {
    std::apply([this, &value](auto... i) { (owner_->*Set)(i..., value); }, index_);
    return *this;
  }
  const ItemRef& operator=(const ItemRef& other) const { return *this = T(other()); }

  friend bool operator==(const ItemRef& a, const T& b) { return a() == b; }

 private:
  Owner* owner_;
  std::tuple<Index...> index_;
};

}  // namespace kv
