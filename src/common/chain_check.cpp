#include "common/chain_check.h"

#include "common/chain_ends.h"
#include "common/chain_image.h"

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
    return command_ == ChainCommand::First || command_ == ChainCommand::Last ? toEnd() : toNeighbour();
  }

 private:
  bool valid(int r) const { return r >= 1 && r <= count_; }
  bool head(int r) const { return r == first_ || image_.prev(r) == r; }
  bool tail(int r) const { return r == last_ || image_.next(r) == r; }
  static ButtonChange enabled(bool on) { return on ? ButtonChange::Enable : ButtonChange::Disable; }

  CheckedStep fail(int error) {
    step_.error = error;
    const bool forward = command_ == ChainCommand::Next || command_ == ChainCommand::Last;
    (forward ? step_.next : step_.previous) = ButtonChange::Disable;
    return step_;
  }

  // First and last: from the chain's start (end) along the chain over deleted records to the first live
  // one. "Back" is the button towards the end the walk starts at, "ahead" the other one.
  CheckedStep toEnd() {
    const bool first = command_ == ChainCommand::First;
    ButtonChange& back = first ? step_.previous : step_.next;
    ButtonChange& ahead = first ? step_.next : step_.previous;
    auto atStart = [&](int r) { return first ? head(r) : tail(r); };
    auto atFar = [&](int r) { return first ? tail(r) : head(r); };
    step_.record = static_cast<std::int16_t>(first ? first_ : last_);
    back = ButtonChange::Disable;
    if (first_ != last_) ahead = ButtonChange::Enable;
    for (int reached = 0;; ++reached) {
      const int r = step_.record;
      // A record of the file reached once more than the file holds records: the walk goes round a ring.
      if (valid(r) && reached == count_) break;
      ++step_.beeps;
      if (!valid(r)) return fail(first ? 3 : 5);
      if (atStart(r)) {
        back = ButtonChange::Disable;
      } else {
        back = ButtonChange::Enable;
        ahead = enabled(!atFar(r));
      }
      if (image_.live(r)) return step_;
      if (atFar(r)) break;
      step_.record = first ? image_.next(r) : image_.prev(r);
    }
    return fail(first ? 4 : 6);
  }

  // Previous and next: the record the window's record points to, when it lies in the file and is live.
  CheckedStep toNeighbour() {
    const bool previous = command_ == ChainCommand::Previous;
    if (first_ == last_)
      step_.previous = step_.next = ButtonChange::Disable;
    else
      (previous ? step_.next : step_.previous) = ButtonChange::Enable;
    if (step_.record < 1) {
      step_.record = static_cast<std::int16_t>(first_);
      return fail(7);
    }
    if (step_.record > count_) {
      step_.record = static_cast<std::int16_t>(last_);
      return fail(8);
    }
    const int target = previous ? image_.prev(step_.record) : image_.next(step_.record);
    if (!valid(target)) return fail(9);
    if (!image_.live(target)) return fail(10);
    if (head(target)) {
      if (previous) step_.previous = ButtonChange::Disable;
    } else {
      step_.previous = ButtonChange::Enable;
      if (!tail(target))
        step_.next = ButtonChange::Enable;
      else if (!previous)
        step_.next = ButtonChange::Disable;
    }
    step_.record = static_cast<std::int16_t>(target);
    return step_;
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
