// A file of the recipe side opened on a free file number for the length of a scope.
#pragma once

#include <string_view>

#include "common/files.h"
#include "recipe/recipe_files.h"

namespace kv {

class ScopedFile {
 public:
  ScopedFile() = default;
  ~ScopedFile() { close(); }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;

  void open(std::string_view company, RecipeFileKind kind) {
    close();
    int n = nextFreeFileNumber();
    openRecipeSideFile(n, company, kind);
    number_ = n;
  }
  void close() {
    if (number_) closeFile(number_);
    number_ = 0;
  }
  int number() const { return number_; }
  bool isOpen() const { return number_ != 0; }

 private:
  int number_ = 0;
};

}  // namespace kv
