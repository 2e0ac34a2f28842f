// The main window's save on a full product file (32767 linked records with random Turkish codes), as the
// product file makes it: a record whose code stays, and one whose code changes (out of the chain and in
// again at its new place), each with whatever reaching the disk takes. The median of the saves is given as
// a counter, in milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "files/files.h"
#include "records/chain_bulk_link.h"
#include "records/product_file.h"
#include "support/company.h"

namespace {

using kv::testing::Company;
using kv::testing::TempFolder;

void writeFullCompany() {
  Company c;
  std::mt19937 rng(952);
  for (int i = 0; i < kv::kMaxRecords16; ++i) c.append(kv::testing::makeProduct(kv::testing::randomTurkishCode(rng)));
  kv::linkAllRecords(c.files(), kv::quietInsertPolicy());
}

void BM_SaveOnAFullFile(benchmark::State& state) {
  const bool newCode = state.range(0) == 1;
  TempFolder folder;
  writeFullCompany();
  kv::ProductFile products;
  products.open("KLVR952");
  std::mt19937 rng(1113);
  std::vector<double> times;
  for (auto _ : state) {
    const auto n = static_cast<std::int16_t>(1 + rng() % kv::kMaxRecords16);
    kv::ProductRecord r = products.read(n);
    if (newCode) r.Code = kv::testing::makeProduct(kv::testing::randomTurkishCode(rng)).Code;
    r.Cost += 1;
    const auto start = std::chrono::steady_clock::now();
    products.save(n, r, kv::quietInsertPolicy(), nullptr);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
  state.counters["median_ms"] = times[times.size() / 2];
}
BENCHMARK(BM_SaveOnAFullFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(400);

}  // namespace
