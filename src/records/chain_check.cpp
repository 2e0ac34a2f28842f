#include "records/chain_check.h"

#include "records/chain_ends.h"
#include "records/chain_image.h"

namespace kv {

namespace {

class Checker {
 public:
  Checker(const ChainFiles& files, std::int16_t count, ChainCommand command, std::int16_t from)
      : image_(files), count_(count), command_(command) {
    step_.record = from;
  }

  CheckedStep run() {
    const ChainEnds ends = chainEnds([this](int b) { return image_.entry(b); }, count_);
    first_ = ends.first;
    last_ = ends.last;
    if (!first_) return fail(1);
    if (!last_) return fail(2);
    step_.chainOfOne = first_ == last_;
    step_.error = command_ == ChainCommand::First || command_ == ChainCommand::Last ? toEnd() : toNeighbour();
    if (valid(step_.record)) {
      step_.atStart = head(step_.record);
      step_.atEnd = tail(step_.record);
    }
    return step_;
  }

 private:
  bool valid(int r) const { return r >= 1 && r <= count_; }
  bool head(int r) const { return r == first_ || image_.prev(r) == r; }
  bool tail(int r) const { return r == last_ || image_.next(r) == r; }

  CheckedStep fail(int error) {
    step_.error = error;
    return step_;
  }

  // First and last: from the chain's start (end) along the chain over deleted records to the first live
  // one. Returns the error, 0 when it found one.
  int toEnd() {
    const bool first = command_ == ChainCommand::First;
    step_.record = static_cast<std::int16_t>(first ? first_ : last_);
    for (int reached = 0;; ++reached) {
      const int r = step_.record;
      // A record of the file reached once more than the file holds records: the walk goes round a ring.
      if (valid(r) && reached == count_) break;
      ++step_.beeps;
      if (!valid(r)) return first ? 3 : 5;
      if (image_.live(r)) return 0;
      if (first ? tail(r) : head(r)) break;
      step_.record = static_cast<std::int16_t>(first ? image_.next(r) : image_.prev(r));
    }
    return first ? 4 : 6;
  }

  // Previous and next: the record the window's record points to, when it lies in the file and is live.
  int toNeighbour() {
    if (step_.record < 1) {
      step_.record = static_cast<std::int16_t>(first_);
      return 7;
    }
    if (step_.record > count_) {
      step_.record = static_cast<std::int16_t>(last_);
      return 8;
    }
    const int target = command_ == ChainCommand::Previous ? image_.prev(step_.record) : image_.next(step_.record);
    if (!valid(target)) return 9;
    if (!image_.live(target)) return 10;
    step_.record = static_cast<std::int16_t>(target);
    return 0;
  }

  const ChainImage image_;
  const std::int16_t count_;
  const ChainCommand command_;
  int first_ = 0;
  int last_ = 0;
  CheckedStep step_;
};

}  // namespace

CheckedStep checkedChainStep(const ChainFiles& files, std::int16_t count, ChainCommand command, std::int16_t from) {
  return Checker(files, count, command, from).run();
}

}  // namespace kv
