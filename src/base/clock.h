// The time of day and the random source, injectable so that tests are repeatable.
#pragma once

#include <cstdint>
#include <memory>

#include "base/dates.h"

namespace kv {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date today() const = 0;
  virtual double secondsSinceMidnight() const = 0;
};

// The program's clock: the system's local time unless a test put another in its place.
const Clock& clock();
// Replaces the clock (nullptr brings back the system clock). The caller keeps ownership.
void setClock(const Clock* c);

// A clock standing still at a chosen moment, for tests.
class FixedClock : public Clock {
 public:
  explicit FixedClock(Date d, double seconds = 0) : date_(d), seconds_(seconds) {}
  Date today() const override { return date_; }
  double secondsSinceMidnight() const override { return seconds_; }
  void set(Date d, double seconds = 0) {
    date_ = d;
    seconds_ = seconds;
  }

 private:
  Date date_;
  double seconds_;
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniform value in [0, 1).
  virtual double next() = 0;
};

// The program's random source, seeded once when first used in a run; never re-seeded.
RandomSource& randomSource();
// Replaces the random source (nullptr brings back the program's own). The caller keeps ownership.
void setRandomSource(RandomSource* r);

// A generator with a chosen seed, for tests.
std::unique_ptr<RandomSource> makeSeededRandom(std::uint64_t seed);

// The random identity of a new product record: a uniform value in [0, 1) times 2147483647, rounded to
// the nearest whole number, halves to even.
std::int32_t drawRandomIdentity();

}  // namespace kv
