#include "product/data_file_rebuild.h"

#include <cstring>
#include <optional>
#include <vector>

#include "base/bytes.h"
#include "base/end_reported.h"
#include "base/text.h"
#include "files/company_lock.h"
#include "product/data_file_service.h"
#include "records/product_record.h"

namespace kv {

namespace {

namespace off = product_offsets;

// The records carried over, as they will lie in the new file: in record order, code left-aligned, out of
// the chain until they are linked.
std::vector<std::uint8_t> carriedOver(const std::string& dataName, DataFileRebuildReport& report) {
  const FileHandle old(dataName, ProductRecord::Length);
  const int count = wholeRecords(old);
  const std::span<const std::uint8_t> image = fileImage(old.number());
  std::vector<std::uint8_t> kept;
  kept.reserve(static_cast<std::size_t>(count) * ProductRecord::Length);
  for (int r = 1; r <= count; ++r) {
    const std::uint8_t* record = image.data() + static_cast<std::size_t>(r - 1) * ProductRecord::Length;
    const std::string_view stored(reinterpret_cast<const char*>(record + off::Code), off::CodeWidth);
    report.recordRead(stored);
    const std::string_view code = trimView(stored);
    if (code.empty() || bytes::getI16(record + off::Kind) < 0) continue;
    kept.insert(kept.end(), record, record + ProductRecord::Length);
    std::uint8_t* copy = kept.data() + kept.size() - ProductRecord::Length;
    std::memcpy(copy + off::Code, fitText(code, off::CodeWidth).data(), off::CodeWidth);
  }
  return kept;
}

ProductFileReplacement rebuild(const std::string& company, DataFileRebuildReport& report) {
  // Held from the first read to the commit: no other program changes the files between.
  std::optional<CompanyLock> hold;
  std::vector<std::uint8_t> kept;
  try {
    hold.emplace(company);
    kept = carriedOver(company + ".DAT", report);
  } catch (const FileError& e) {
    ProductFileReplacement failed;
    failed.failure = e;
    return failed;
  }
  return replaceProductFile(company, kept, serviceInsertPolicy());
}

}  // namespace

InsertPolicy serviceInsertPolicy() {
  InsertPolicy policy;
  policy.sortingError = UserMessage{"Alfabetik sıralama hatası!..."_w, "! HATA !"};
  return policy;
}

ProductFileReplacement rebuildDataAndIndex(const std::string& company, DataFileRebuildReport& report) {
  return endReported([&] { return rebuild(company, report); },
                     [&](const ProductFileReplacement* result) { report.ended(result && result->replaced); });
}

}  // namespace kv
