// A read-only view of the two files of a chain, straight from the file layer's images, for the chain's
// walks: they read many records and write nothing while they read. Valid until the next write to either
// file or its close.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/bytes.h"
#include "records/alphabetic_chain.h"
#include "records/product_record.h"

namespace kv {

class ChainImage {
 public:
  explicit ChainImage(const ChainFiles& files);

  const ChainFiles& files() const { return files_; }
  std::int16_t count() const { return count_; }
  bool inRange(int r) const { return r >= 1 && r <= count_; }

  // Record r (1..count) as the file layer reads it: a last record cut short reads zero-filled.
  const std::uint8_t* record(int r) const {
    const std::size_t at = static_cast<std::size_t>(r - 1) * ProductRecord::Length;
    return at + ProductRecord::Length <= records_.size() ? records_.data() + at : tail_.data();
  }
  // Record r is live: its Kind is not negative (a deleted record has -1).
  bool live(int r) const { return bytes::getI16(record(r) + product_offsets::Kind) >= 0; }
  std::int16_t prev(int r) const { return bytes::getI16(record(r) + product_offsets::ChainPrev); }
  std::int16_t next(int r) const { return bytes::getI16(record(r) + product_offsets::ChainNext); }
  // The key field of record r as it lies in the record, blanks and all.
  std::string_view keyField(int r) const {
    return {reinterpret_cast<const char*>(record(r) + keyOffset_), static_cast<std::size_t>(keyWidth_)};
  }
  // Index entry b (1-based); what lies beyond the end of the index reads as zeros.
  IndexEntry entry(int b) const;

 private:
  ChainFiles files_;
  std::int16_t count_;
  int keyOffset_;
  int keyWidth_;
  std::span<const std::uint8_t> records_;
  std::span<const std::uint8_t> index_;
  std::array<std::uint8_t, ProductRecord::Length> tail_{};
};

// Writes record r's ChainPrev and ChainNext, and nothing else of it.
void writeChainPointers(int recordFile, int r, int prev, int next);

}  // namespace kv
