#include "common/product_file_replacement.h"

#include <algorithm>

#include "common/bytes.h"
#include "common/chain_bulk_link.h"
#include "common/file_replacement.h"
#include "common/product_record.h"

namespace kv {

namespace {

// Written in blocks of records: one write for many records, the same bytes on disk.
void writeRecords(const std::string& name, std::span<const std::uint8_t> records) {
  constexpr std::size_t kBlock = 64 * ProductRecord::Length;
  const FileHandle file(name, static_cast<int>(kBlock));
  std::int32_t block = 0;
  for (std::size_t at = 0; at < records.size(); at += kBlock)
    putRecord(file.number(), ++block, records.subspan(at, std::min(kBlock, records.size() - at)));
}

// A failure in a temporary file is told by the name of the file it stands in for.
FileError naming(const FileError& e, const std::string& dataName, const std::string& indexName) {
  std::string name = e.fileName();
  for (const std::string* target : {&dataName, &indexName})
    if (name.starts_with(*target + ".~")) name = *target;
  return FileError(e.kind(), e.op(), name, e.systemError(), e.what());
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
  FileReplacement replacement;
  try {
    const std::string newData = replacement.stage(dataName, "952KLVR.DAT");
    const std::string newIndex = replacement.stage(indexName, "952KLVR.ABC");
    writeRecords(newData, records);
    const FileHandle data(newData, ProductRecord::Length);
    const FileHandle index(newIndex, IndexEntry::Length);
    const auto live = [records](int r) {
      return bytes::getI16(records.data() + static_cast<std::size_t>(r - 1) * ProductRecord::Length +
                           product_offsets::Kind) >= 0;
    };
    linkAllRecords({data.number(), index.number(), ChainKey::Code}, policy, live);
  } catch (const FileError& e) {
    result.failure = naming(e, dataName, indexName);
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
