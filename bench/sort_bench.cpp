// The two sorts of a full product file (32767 records) with random codes and names, some of them equal:
// from reading the files to the swap, the backups included. Each run starts from the same unsorted files,
// written outside the timed part.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "files/files.h"
#include "product/product_sort.h"
#include "product/product_titles.h"
#include "quiet_sink.h"
#include "records/chain_bulk_link.h"
#include "support/company.h"

namespace {

using kv::testing::Company;
using kv::testing::TempFolder;

struct Files {
  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> index;
};

// A linked product file of random codes and names, as bytes.
Files unsortedFiles(const TempFolder& folder) {
  static const char* const words[] = {"Vida",   "Somun", "Pul",  "Mil",   "Rulman",
                                      "Kasnak", "Çark",  "Şaft", "Gövde", "Kapak"};
  std::mt19937 rng(952);
  {
    Company c;
    for (int i = 0; i < kv::kMaxRecords16; ++i) {
      const std::string name = std::string(words[rng() % 10]) + " " + std::to_string(rng() % 5000);
      c.append(kv::testing::makeProduct(kv::testing::randomTurkishCode(rng), name, 1 + static_cast<int>(rng() % 7)));
    }
    kv::linkAllRecords(c.files(), kv::quietInsertPolicy());
  }
  return {folder.bytes("KLVR952.DAT"), folder.bytes("KLVR952.ABC")};
}

template <kv::SortResult (*Sort)(const std::string&, kv::SortReport&, kv::MessageSink&)>
void BM_Sort(benchmark::State& state) {
  TempFolder folder;
  const Files files = unsortedFiles(folder);
  kv::bench::Quiet quiet;
  kv::SortTitles titles(quiet);
  for (auto _ : state) {
    state.PauseTiming();
    folder.write("KLVR952.DAT", files.data);
    folder.write("KLVR952.ABC", files.index);
    state.ResumeTiming();
    if (Sort("KLVR952", titles, quiet) != kv::SortResult::Sorted) state.SkipWithError("the sort failed");
  }
}

BENCHMARK(BM_Sort<kv::sortByCode>)->Name("SortByCode/32767")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<kv::sortByName>)->Name("SortByName/32767")->Unit(benchmark::kMillisecond);

}  // namespace
