// The alphabetic chain over a full product file (32767 records): linking every record into an empty
// chain in ascending and in random code order, one by one and all at once, and unlinking every second
// record as a deletion does. Each run starts from a fresh company folder built outside the timed part.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "files/files.h"
#include "records/alphabetic_chain.h"
#include "records/chain_bulk_link.h"
#include "support/company.h"

namespace {

using kv::testing::Company;
using kv::testing::TempFolder;

constexpr int kRecords = kv::kMaxRecords16;

std::vector<std::string> ascendingCodes() {
  std::vector<std::string> codes;
  for (int i = 1; i <= kRecords; ++i) {
    char code[8];
    std::snprintf(code, sizeof code, "P%05d", i);
    codes.emplace_back(code);
  }
  return codes;
}

// Codes of 6 to 12 upper-case Turkish letters (UTF-8), the same every run.
std::vector<std::string> randomTurkishCodes() {
  static const std::vector<std::string> letters = {"A", "B", "C", "Ç", "D", "E", "F", "G", "Ğ", "H",
                                                   "I", "İ", "J", "K", "L", "M", "N", "O", "Ö", "P",
                                                   "R", "S", "Ş", "T", "U", "Ü", "V", "Y", "Z"};
  std::mt19937 rng(952);
  std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
  std::uniform_int_distribution<int> length(6, 12);
  std::vector<std::string> codes;
  for (int i = 0; i < kRecords; ++i) {
    std::string code;
    for (int n = length(rng); n > 0; --n) code += letters[letter(rng)];
    codes.push_back(code);
  }
  return codes;
}

// A company folder whose product file holds the codes, appended in their order and not yet linked.
struct Fixture {
  TempFolder folder;
  Company company;
  explicit Fixture(const std::vector<std::string>& codes) {
    for (const auto& code : codes) company.append(kv::testing::makeProduct(code));
  }
  void linkAll(benchmark::State& state) {
    const auto policy = kv::quietInsertPolicy();
    for (int r = 1; r <= kRecords; ++r)
      if (kv::insertIntoAlphabeticIndex(company.files(), static_cast<std::int16_t>(r), policy, nullptr) !=
          kv::InsertResult::Linked)
        state.SkipWithError("a record was not linked");
  }
  void requireSoundChain(benchmark::State& state, std::size_t linked) {
    auto report = kv::testing::checkChain(company.files());
    if (!report.sound || report.order.size() != linked) state.SkipWithError("the chain is not sound");
  }
};

template <class Link>
void linkBenchmark(benchmark::State& state, const std::vector<std::string>& codes, Link link) {
  bool checked = false;
  for (auto _ : state) {
    state.PauseTiming();
    auto f = std::make_unique<Fixture>(codes);
    state.ResumeTiming();
    link(*f);
    state.PauseTiming();
    if (!checked) f->requireSoundChain(state, kRecords);
    checked = true;
    f.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_LinkAscending(benchmark::State& state) {
  linkBenchmark(state, ascendingCodes(), [&](Fixture& f) { f.linkAll(state); });
}
void BM_LinkRandom(benchmark::State& state) {
  linkBenchmark(state, randomTurkishCodes(), [&](Fixture& f) { f.linkAll(state); });
}
void BM_BulkLinkRandom(benchmark::State& state) {
  linkBenchmark(state, randomTurkishCodes(),
                [](Fixture& f) { kv::linkAllRecords(f.company.files(), kv::quietInsertPolicy()); });
}

void BM_UnlinkEverySecond(benchmark::State& state) {
  const auto codes = randomTurkishCodes();
  bool checked = false;
  for (auto _ : state) {
    state.PauseTiming();
    auto f = std::make_unique<Fixture>(codes);
    f->linkAll(state);
    state.ResumeTiming();
    for (int r = 2; r <= kRecords; r += 2)
      if (kv::unlinkFromAlphabeticIndex(f->company.files(), static_cast<std::int16_t>(r), kv::UnlinkVariant::Delete,
                                        nullptr) !=
          kv::UnlinkResult::Unlinked)
        state.SkipWithError("a record was not unlinked");
    state.PauseTiming();
    if (!checked) f->requireSoundChain(state, (kRecords + 1) / 2);
    checked = true;
    f.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * (kRecords / 2));
}

BENCHMARK(BM_LinkAscending)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LinkRandom)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BulkLinkRandom)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UnlinkEverySecond)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
