#include "product/product_sort.h"

#include <cstring>

#include "base/collation.h"
#include "base/end_reported.h"
#include "base/text.h"
#include "files/company_lock.h"
#include "files/file_error_message.h"
#include "files/files.h"
#include "product/data_file_service.h"
#include "records/chain_bulk_link.h"
#include "records/chain_ends.h"
#include "records/chain_image.h"
#include "records/product_file_replacement.h"
#include "records/product_record.h"

namespace kv {

namespace {

constexpr std::size_t kRecord = ProductRecord::Length;

// The record order of the code sort over records 1..count: the chain followed from the first bucket's
// first record, each record taken once and deleted ones skipped, then the live records the chain did not
// reach, in record order.
std::vector<std::int16_t> codeSortOrder(const ChainImage& image, std::int16_t count) {
  // A start beyond the file is taken as the index gives it: the chain is then not followed at all.
  const int start = chainEnds([&image](int b) { return image.entry(b); }, kMaxRecords16).first;
  // A lost start, a broken or looped chain: every record is looked at once, and no live one is lost.
  std::vector<std::int16_t> order;
  order.reserve(static_cast<std::size_t>(count));
  std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
  for (int c = start; c >= 1 && c <= count && !seen[c];) {
    seen[c] = true;
    if (image.live(c)) order.push_back(static_cast<std::int16_t>(c));
    const int next = image.next(c);
    if (next == c) break;
    c = next;
  }
  for (int r = 1; r <= count; ++r)
    if (!seen[r] && image.live(r)) order.push_back(static_cast<std::int16_t>(r));
  return order;
}

// The record order of the name sort over records 1..count (`image` keyed by name): the live records with
// an empty name first, then the others in the order that linking their names one by one in record order
// gives. Nothing when a live record's name begins with a character outside the collation (it could not be
// placed).
std::optional<std::vector<std::int16_t>> nameSortOrder(const ChainImage& image, std::int16_t count) {
  std::vector<std::int16_t> order;
  std::vector<std::int16_t> named;
  std::vector<std::string_view> keys;
  for (int r = 1; r <= count; ++r) {
    if (!image.live(r)) continue;
    const std::string_view key = keyOf(image.keyField(r));
    if (key.empty()) {
      order.push_back(static_cast<std::int16_t>(r));  // an empty name sorts first
      continue;
    }
    if (bucketOf(key) == 0) return std::nullopt;
    named.push_back(static_cast<std::int16_t>(r));
    keys.push_back(key);
  }
  for (const std::int32_t at : chainOrder(keys, sortInsertPolicy())) order.push_back(named[at]);
  return order;
}

// What a sort takes from the files: the live records, whole, in its order. Not placed: a name could not
// be placed, and nothing is taken.
struct SortedRecords {
  bool placed = true;
  std::vector<std::uint8_t> records;
  std::int16_t count() const { return static_cast<std::int16_t>(records.size() / kRecord); }
};

// A file without a live record is not sorted: nothing is written, so the backups of the last job stay.
bool refusedAsEmpty(const SortedRecords& sorted, MessageSink& sink) {
  if (!sorted.placed || !sorted.records.empty()) return false;
  sink.beep();
  return true;
}

// Reads the company's ".DAT" and ".ABC" and takes the records in the order `orderOf` gives; the files are
// closed again before it returns. Only whole records are sorted, as the rebuild carries them over: a tail
// shorter than a record stays in the backup. A file that fails is told, and nothing is returned.
template <class OrderOf>
std::optional<SortedRecords> readSorted(const std::string& company, ChainKey key, OrderOf orderOf,
                                        MessageSink& sink) {
  try {
    const FileHandle data(company + ".DAT", ProductRecord::Length);
    const FileHandle index(company + ".ABC", IndexEntry::Length);
    const ChainImage image({data.number(), index.number(), key});
    const std::optional<std::vector<std::int16_t>> order = orderOf(image, wholeRecords(data));
    SortedRecords sorted;
    sorted.placed = order.has_value();
    if (order) {
      sorted.records.resize(order->size() * kRecord);
      for (std::size_t i = 0; i < order->size(); ++i)
        std::memcpy(sorted.records.data() + i * kRecord, image.record((*order)[i]), kRecord);
    }
    return sorted;
  } catch (const FileError& e) {
    tellFileError(sink, e);
    return std::nullopt;
  }
}

// The company is held from the sort's first read to its commit: no other program changes the files
// between what the sort read and what takes their place.
std::optional<CompanyLock> holdCompany(const std::string& company, MessageSink& sink) {
  try {
    return CompanyLock(company);
  } catch (const FileError& e) {
    tellFileError(sink, e);
    return std::nullopt;
  }
}

// The sorted records become the new product file, in their order; the chain and index are built by code
// with the sorts' rule, and the files are swapped. Returns false after it has told a failure.
bool RebuildFromSortedList(const std::string& company, const SortedRecords& sorted, SortReport& report,
                           MessageSink& sink) {
  report.writing(sorted.count());
  const ProductFileReplacement replaced = replaceProductFile(company, sorted.records, sortInsertPolicy());
  if (!replaced.replaced) {
    tellFileError(sink, *replaced.failure);
    return false;
  }
  report.sorted();
  return true;
}

// A sort that started ends, whatever happens in `sort`.
template <class Sort>
SortResult endsReported(SortReport& report, Sort sort) {
  report.started();
  return endReported(sort, [&](const SortResult* result) { report.ended(result ? *result : SortResult::Failed); });
}

}  // namespace

InsertPolicy sortInsertPolicy() {
  InsertPolicy policy;
  policy.equalFirstGoesBefore = true;
  return policy;
}

SortResult sortByCode(const std::string& company, SortReport& report, MessageSink& sink) {
  return endsReported(report, [&] {
    const std::optional<CompanyLock> hold = holdCompany(company, sink);
    if (!hold) return SortResult::Failed;
    const std::optional<SortedRecords> sorted = readSorted(
        company, ChainKey::Code,
        [](const ChainImage& image, std::int16_t count) { return std::optional(codeSortOrder(image, count)); }, sink);
    if (!sorted) return SortResult::Failed;
    if (refusedAsEmpty(*sorted, sink)) return SortResult::NothingLive;
    report.codesOrdered();
    return RebuildFromSortedList(company, *sorted, report, sink) ? SortResult::Sorted : SortResult::Failed;
  });
}

SortResult sortByName(const std::string& company, SortReport& report, MessageSink& sink) {
  return endsReported(report, [&] {
    const std::optional<CompanyLock> hold = holdCompany(company, sink);
    if (!hold) return SortResult::Failed;
    const std::optional<SortedRecords> sorted = readSorted(company, ChainKey::Name, nameSortOrder, sink);
    if (!sorted) return SortResult::Failed;
    if (refusedAsEmpty(*sorted, sink)) return SortResult::NothingLive;
    report.namesRead();
    if (!sorted->placed) {
      sink.beep();
      sink.message("Yeni oluşturulan dosya boyutu hatalı!\rAlfabetik sıralama iptal edildi..."_w, MsgButtons::Ok,
                   MsgIcon::Exclamation, "SIRALAMA  HATASI !"_w);
      return SortResult::Refused;
    }
    report.namesPlaced();
    return RebuildFromSortedList(company, *sorted, report, sink) ? SortResult::Sorted : SortResult::Failed;
  });
}

}  // namespace kv
