#include "sheet/number_digits.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <utility>

namespace kv::sheet {

namespace {

constexpr std::string_view kSheetPart = "xl/worksheets/sheet1.xml";

}  // namespace

void NumberDigits::add(std::int32_t row, int column, std::string_view digits) {
  Chosen c{row, column, {}};
  if (digits.empty() || digits.size() >= c.digits.size()) return;
  digits.copy(c.digits.data(), digits.size());
  cells_.push_back(c);
}

void NumberDigits::nextCell() {
  if (next_ >= cells_.size()) return;
  const Chosen& c = cells_[next_];
  char ref[LXW_MAX_CELL_NAME_LENGTH];
  lxw_rowcol_to_cell(ref, static_cast<lxw_row_t>(c.row - 1), static_cast<lxw_col_t>(c.column - 1));
  tag_ = std::string("<c r=\"") + ref + '"';
}

void NumberDigits::partBegins(std::string_view name) {
  rewriting_ = name == kSheetPart && !cells_.empty();
  next_ = 0;
  inCell_ = false;
  held_.clear();
  nextCell();
}

int NumberDigits::piece(std::string_view bytes, const Write& write) {
  held_.append(bytes);
  std::string out;
  std::size_t done = 0;             // held_[0, done) has gone to `out`
  std::size_t keep = held_.size();  // held_[keep, end) waits for the next piece
  while (next_ < cells_.size()) {
    if (!inCell_) {
      const std::size_t at = held_.find(tag_, done);
      if (at == std::string::npos) {
        keep = std::max(done, held_.size() - std::min(held_.size(), tag_.size() - 1));  // a part of the opening?
        break;
      }
      inCell_ = true;
      out.append(held_, done, at + tag_.size() - done);
      done = at + tag_.size();
    }
    const std::size_t open = held_.find("<v>", done);
    const std::size_t close = open == std::string::npos ? open : held_.find("</v>", open);
    if (close == std::string::npos) {
      keep = done;
      break;
    }
    out.append(held_, done, open + 3 - done);
    out += cells_[next_].digits.data();
    done = close;
    inCell_ = false;
    ++next_;
    nextCell();
  }
  out.append(held_, done, keep - done);
  held_.erase(0, keep);
  return out.empty() ? kWritten : write(out);
}

int NumberDigits::partEnds(const Write& write) {
  rewriting_ = false;
  const std::string rest = std::exchange(held_, {});
  return rest.empty() ? kWritten : write(rest);
}

}  // namespace kv::sheet
