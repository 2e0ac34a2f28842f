// The data-file service over a full product file (32767 records with random Turkish codes, some deleted,
// some blank-coded): the rebuild through the bulk link, and the checked walk along the whole chain in code
// order and back, step by step as the service window takes it.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "files/files.h"
#include "product/data_file_rebuild.h"
#include "product/product_titles.h"
#include "quiet_sink.h"
#include "records/chain_check.h"
#include "support/company.h"

namespace {

using kv::testing::Company;
using kv::testing::TempFolder;

constexpr int kRecords = kv::kMaxRecords16;

// A damaged file: every record out of the chain, one in 50 deleted, one in 100 without a code.
void writeCompany() {
  Company c;
  std::mt19937 rng(1113);
  for (int i = 1; i <= kRecords; ++i) {
    const std::string code = i % 100 == 0 ? "" : kv::testing::randomTurkishCode(rng);
    c.append(kv::testing::makeProduct(code, "", i % 50 == 0 ? -1 : 1));
  }
}

void BM_RebuildOfAFullFile(benchmark::State& state) {
  TempFolder folder;
  writeCompany();
  kv::bench::Quiet quiet;
  kv::DataFileRebuildTitles titles(quiet);
  for (auto _ : state) {
    const kv::ProductFileReplacement result = kv::rebuildDataAndIndex("KLVR952", titles);
    if (!result.replaced) state.SkipWithError("the rebuild failed");
  }
}
BENCHMARK(BM_RebuildOfAFullFile)->Unit(benchmark::kMillisecond);

// The whole chain walked with the checked step, from its first record to its last or back.
void BM_ChainCheckOfAFullFile(benchmark::State& state) {
  const bool forward = state.range(0) == 1;
  TempFolder folder;
  writeCompany();
  kv::DataFileRebuildReport unseen;
  const kv::ProductFileReplacement rebuilt = kv::rebuildDataAndIndex("KLVR952", unseen);
  Company c;
  const auto count = c.count();
  const kv::ChainCommand start = forward ? kv::ChainCommand::First : kv::ChainCommand::Last;
  const kv::ChainCommand onward = forward ? kv::ChainCommand::Next : kv::ChainCommand::Previous;
  for (auto _ : state) {
    int steps = 0;
    kv::CheckedStep step = kv::checkedChainStep(c.files(), count, start, 1);
    for (std::int16_t at = 0; step.error == 0 && step.record != at; ++steps) {
      at = step.record;
      step = kv::checkedChainStep(c.files(), count, onward, at);
    }
    if (step.error != 0 || steps != rebuilt.written) state.SkipWithError("the walk did not cover the chain");
  }
}
BENCHMARK(BM_ChainCheckOfAFullFile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
