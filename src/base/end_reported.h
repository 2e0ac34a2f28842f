// An engine that reports the stages of its job tells the job's end whatever happens, so that the window
// always takes back what it gave up for the job (its commands, its record, its title).
#pragma once

#include <optional>
#include <utility>

namespace kv {

// Runs `job` and tells `ended` its end: with the job's result, or with none (null) when the job threw, the
// exception then going on.
template <class Job, class Ended>
auto endReported(Job&& job, Ended&& ended) {
  using Result = decltype(job());
  std::optional<Result> result;
  try {
    result.emplace(job());
  } catch (...) {
    ended(static_cast<const Result*>(nullptr));
    throw;
  }
  ended(&*result);
  return std::move(*result);
}

}  // namespace kv
