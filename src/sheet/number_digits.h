// The digits of number cells that the program chooses, put into the sheet as the workbook library packs
// it. The library prints every number with "%.16G" (a Single's 0,1 becomes 0.1000000014901161) and takes
// no digits of ours, so the sheet part is rewritten on its way into the archive: in each chosen cell, the
// text between <v> and </v>. This is a rewriter of the parts' bytes alone, fed a piece at a time; the
// archive's hooks (minizip_hooks.h) feed it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::sheet {

class NumberDigits {
 public:
  // A number cell the library has taken (row and column from 1, in the order it writes them: row by row,
  // column by column) and the digits it is to hold instead of the library's; digits longer than a
  // Single's longest are left to the library.
  void add(std::int32_t row, int column, std::string_view digits);

  // A part begins, a piece of it is written, it ends. What is to go on is handed to `write`, which
  // returns kWritten or a fault of its own; each gives that result, kWritten when nothing was handed on.
  static constexpr int kWritten = 0;
  using Write = std::function<int(std::string_view)>;
  void partBegins(std::string_view name);
  int piece(std::string_view bytes, const Write& write);
  int partEnds(const Write& write);
  bool rewriting() const { return rewriting_; }

 private:
  struct Chosen {
    std::int32_t row;
    std::int32_t column;
    std::array<char, 16> digits;  // ended by a NUL
  };
  void nextCell();

  std::vector<Chosen> cells_;  // 24 bytes a cell until the workbook is written
  std::size_t next_ = 0;       // the next cell to rewrite
  std::string tag_;            // its opening, `<c r="B2"`
  bool inCell_ = false;        // its opening has passed; its <v> has not
  std::string held_;           // what waits for the next piece to be told apart
  bool rewriting_ = false;
};

}  // namespace kv::sheet
