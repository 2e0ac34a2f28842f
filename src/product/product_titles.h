// The titles the product windows show of the product engines' stages: the service window's of the
// rebuild, the operations window's of the sorts. Each window takes its own title back when the job
// returns.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/messages.h"
#include "product/data_file_rebuild.h"
#include "product/product_sort.h"

namespace kv {

// The rebuild's titles: every record read, by its code as stored.
class DataFileRebuildTitles : public DataFileRebuildReport {
 public:
  explicit DataFileRebuildTitles(ProgressSink& title) : title_(title) {}
  void recordRead(std::string_view code) override;

 private:
  ProgressSink& title_;
};

// The sorts' titles, in two phases: the records taken in their order, then the new file written.
class SortTitles : public SortReport {
 public:
  explicit SortTitles(ProgressSink& title) : title_(title) {}
  void started() override;
  void codesOrdered() override;
  void namesRead() override;
  void namesPlaced() override;
  void writing(std::int16_t records) override;
  void sorted() override;

 private:
  ProgressSink& title_;
};

}  // namespace kv
