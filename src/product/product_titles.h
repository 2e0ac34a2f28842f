// The titles the product windows show of the product engines' stages: the service window's of the
// rebuild, the operations window's of the sorts. When the job has ended, whatever happened, they put back
// the caption the window gives them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/messages.h"
#include "product/data_file_rebuild.h"
#include "product/product_sort.h"

namespace kv {

// The rebuild's titles: every record read, by its code as stored. `caption` is the window's title once
// the rebuild has ended; without one, the last record's title stays.
class DataFileRebuildTitles : public DataFileRebuildReport {
 public:
  explicit DataFileRebuildTitles(ProgressSink& title, std::optional<std::string> caption = std::nullopt)
      : title_(title), caption_(std::move(caption)) {}
  void recordRead(std::string_view code) override;
  void ended(bool replaced) override;

 private:
  ProgressSink& title_;
  std::optional<std::string> caption_;
};

// The sorts' titles, in two phases: the records taken in their order, then the new file written.
// `caption` is the window's title once the sort has ended; without one, the last stage's title stays.
class SortTitles : public SortReport {
 public:
  explicit SortTitles(ProgressSink& title, std::optional<std::string> caption = std::nullopt)
      : title_(title), caption_(std::move(caption)) {}
  void started() override;
  void codesOrdered() override;
  void namesRead() override;
  void namesPlaced() override;
  void writing(std::int16_t records) override;
  void sorted() override;
  void ended(SortResult result) override;

 private:
  ProgressSink& title_;
  std::optional<std::string> caption_;
};

}  // namespace kv
