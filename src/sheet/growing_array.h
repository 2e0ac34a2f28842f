// An array of plain values that grows with realloc: a large one is then moved by the system (mremap)
// rather than copied into fresh memory, so that a sheet of millions of cells touches its memory once.
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace kv::sheet {

template <class T>
class GrowingArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  GrowingArray() = default;
  ~GrowingArray() { std::free(data_); }
  GrowingArray(GrowingArray&& o) noexcept { *this = std::move(o); }
  GrowingArray& operator=(GrowingArray&& o) noexcept {
    std::swap(data_, o.data_);
    std::swap(size_, o.size_);
    std::swap(capacity_, o.capacity_);
    return *this;
  }

  void append(const T* values, std::size_t n) {
    if (size_ + n > capacity_) grow(size_ + n);
    if (n > 0) std::memcpy(data_ + size_, values, n * sizeof(T));
    size_ += n;
  }
  void push_back(const T& v) { append(&v, 1); }
  // Only ever smaller.
  void truncate(std::size_t n) { size_ = n < size_ ? n : size_; }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T& back() { return data_[size_ - 1]; }

 private:
  void grow(std::size_t least) {
    std::size_t capacity = capacity_ < 64 ? 64 : capacity_ * 2;
    if (capacity < least) capacity = least;
    void* more = std::realloc(data_, capacity * sizeof(T));
    if (more == nullptr) throw std::bad_alloc();
    data_ = static_cast<T*>(more);
    capacity_ = capacity;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace kv::sheet
