#include "records/chain_image.h"

#include <algorithm>

#include "files/files.h"

namespace kv {

namespace off = product_offsets;

ChainImage::ChainImage(const ChainFiles& files)
    : files_(files),
      count_(static_cast<std::int16_t>(recordCount(files.recordFile))),
      keyOffset_(files.key == ChainKey::Code ? off::Code : off::Name),
      keyWidth_(files.key == ChainKey::Code ? off::CodeWidth : off::NameWidth),
      records_(fileImage(files.recordFile)),
      index_(fileImage(files.indexFile)) {
  const std::size_t full = static_cast<std::size_t>(count_) * ProductRecord::Length;
  if (records_.size() < full)
    std::copy(records_.begin() + static_cast<long>(full - ProductRecord::Length), records_.end(), tail_.begin());
}

IndexEntry ChainImage::entry(int b) const {
  const std::size_t at = static_cast<std::size_t>(b - 1) * IndexEntry::Length;
  std::uint8_t raw[IndexEntry::Length] = {};
  for (std::size_t i = 0; i < IndexEntry::Length && at + i < index_.size(); ++i) raw[i] = index_[at + i];
  return IndexEntry::decode(raw);
}

void writeChainPointers(int recordFile, int r, int prev, int next) {
  std::array<std::uint8_t, ProductRecord::Length> buf;
  getRecord(recordFile, r, buf);
  bytes::putI16(buf.data() + off::ChainPrev, static_cast<std::int16_t>(prev));
  bytes::putI16(buf.data() + off::ChainNext, static_cast<std::int16_t>(next));
  putRecord(recordFile, r, buf);
}

}  // namespace kv
