#include "base/clock.h"

#include <chrono>
#include <ctime>
#include <random>

#include "base/numbers.h"

namespace kv {

namespace {

class SystemClock : public Clock {
 public:
  Date today() const override {
    std::tm tm = local();
    return Date::fromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  }
  double secondsSinceMidnight() const override {
    std::tm tm = local();
    auto now = std::chrono::system_clock::now().time_since_epoch();
    double fraction = static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count() % 1000) / 1000.0;
    return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + fraction;
  }

 private:
  static std::tm local() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
  }
};

class MersenneRandom : public RandomSource {
 public:
  explicit MersenneRandom(std::uint64_t seed) : engine_(seed) {}
  double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

 private:
  std::mt19937_64 engine_;
};

// The clock and the random source put in place of the system's (tests), if any.
const Clock*& installedClock() {
  static const Clock* c = nullptr;
  return c;
}

RandomSource*& installedRandom() {
  static RandomSource* r = nullptr;
  return r;
}

}  // namespace

const Clock& clock() {
  static const SystemClock system;
  return installedClock() ? *installedClock() : system;
}

void setClock(const Clock* c) { installedClock() = c; }

RandomSource& randomSource() {
  static MersenneRandom own{std::random_device{}()};
  return installedRandom() ? *installedRandom() : own;
}

void setRandomSource(RandomSource* r) { installedRandom() = r; }

std::unique_ptr<RandomSource> makeSeededRandom(std::uint64_t seed) { return std::make_unique<MersenneRandom>(seed); }

std::int32_t drawRandomIdentity() {
  double v = randomSource().next() * 2147483647.0;
  return roundToLong(v).value_or(0);
}

}  // namespace kv
