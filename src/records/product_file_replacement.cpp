#include "records/product_file_replacement.h"

#include <algorithm>
#include <vector>

#include "base/bytes.h"
#include "files/file_replacement.h"
#include "records/chain_bulk_link.h"
#include "records/product_record.h"

namespace kv {

namespace {

// Written in blocks of records: one write for many records, the same bytes on disk. The chain pointers are
// written as 0: the records leave whatever chain they came from and are linked afresh.
void writeRecords(const std::string& name, std::span<const std::uint8_t> records) {
  constexpr std::size_t kBlock = 64 * ProductRecord::Length;
  const FileHandle file(name, static_cast<int>(kBlock));
  std::vector<std::uint8_t> block;
  std::int32_t n = 0;
  for (std::size_t at = 0; at < records.size(); at += kBlock) {
    const auto part = records.subspan(at, std::min(kBlock, records.size() - at));
    block.assign(part.begin(), part.end());
    for (std::size_t r = 0; r < block.size(); r += ProductRecord::Length) {
      bytes::putI16(block.data() + r + product_offsets::ChainPrev, 0);
      bytes::putI16(block.data() + r + product_offsets::ChainNext, 0);
    }
    putRecord(file.number(), ++n, block);
  }
}

}  // namespace

ProductFileReplacement replaceProductFile(const std::string& company, std::span<const std::uint8_t> records,
                                          const InsertPolicy& policy) {
  const std::string dataName = company + ".DAT";
  const std::string indexName = company + ".ABC";
  ProductFileReplacement result;
  const std::size_t count = records.size() / ProductRecord::Length;
  if (records.size() % ProductRecord::Length != 0 || count > static_cast<std::size_t>(kMaxRecords16)) {
    // Not a whole number of records, or more than a 16-bit file holds: nothing is written.
    result.failure = FileError(FileError::Kind::BadRecordNumber, FileOp::Write, dataName, 0,
                               "the new product file would not hold these records");
    return result;
  }
  FileReplacement replacement(company);
  try {
    const std::string newData = replacement.newContentFor(dataName, "952KLVR.DAT");
    const std::string newIndex = replacement.newContentFor(indexName, "952KLVR.ABC");
    writeRecords(newData, records);
    const FileHandle data(newData, ProductRecord::Length);
    const FileHandle index(newIndex, IndexEntry::Length);
    const auto live = [records](int r) {
      return bytes::getI16(records.data() + static_cast<std::size_t>(r - 1) * ProductRecord::Length +
                           product_offsets::Kind) >= 0;
    };
    linkAllRecords({data.number(), index.number(), ChainKey::Code}, policy, live);
  } catch (const FileError& e) {
    result.failure = replacement.naming(e);
    return result;
  }
  if (!replacement.commit()) {
    result.failure = replacement.error();
    return result;
  }
  result.replaced = true;
  result.written = static_cast<std::int16_t>(count);
  return result;
}

}  // namespace kv
