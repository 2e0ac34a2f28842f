#include "product/product_sort.h"

#include <algorithm>
#include <cstring>

#include "common/bytes.h"
#include "common/chain_bulk_link.h"
#include "common/collation.h"
#include "common/file_error_message.h"
#include "common/files.h"
#include "common/numbers.h"
#include "common/product_file_replacement.h"
#include "common/product_record.h"
#include "common/text.h"

namespace kv {

namespace {

constexpr std::size_t kRecord = ProductRecord::Length;

std::int16_t countOf(std::span<const std::uint8_t> records) {
  return static_cast<std::int16_t>(records.size() / kRecord);
}
const std::uint8_t* recordAt(std::span<const std::uint8_t> records, int r) {
  return records.data() + static_cast<std::size_t>(r - 1) * kRecord;
}
std::int16_t field16(std::span<const std::uint8_t> records, int r, int offset) {
  return bytes::getI16(recordAt(records, r) + offset);
}
bool live(std::span<const std::uint8_t> records, int r) { return field16(records, r, product_offsets::Kind) >= 0; }

// Both files read whole into memory: the sort works there and writes new files only.
struct ProductImage {
  std::vector<std::uint8_t> records;  // whole records; a last record cut short is filled with zeros
  std::vector<std::uint8_t> index;    // 109 entries; missing ones read as empty
};

ProductImage readProductImage(const std::string& company) {
  ProductImage image;
  const FileHandle data(company + ".DAT", ProductRecord::Length);
  const std::span<const std::uint8_t> bytes = fileImage(data.number());
  image.records.assign(static_cast<std::size_t>(data.count()) * kRecord, 0);
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.records.size()), image.records.begin());
  const FileHandle index(company + ".ABC", IndexEntry::Length);
  const std::span<const std::uint8_t> entries = fileImage(index.number());
  image.index.assign(static_cast<std::size_t>(kBucketCount) * IndexEntry::Length, 0);
  std::copy_n(entries.begin(), std::min(entries.size(), image.index.size()), image.index.begin());
  return image;
}

std::optional<ProductImage> readOrTell(const std::string& company, MessageSink& sink) {
  try {
    return readProductImage(company);
  } catch (const FileError& e) {
    tellFileError(sink, e);
    return std::nullopt;
  }
}

std::string percentTitle(const char* stage) { return w(stage) + recordNumberText(100); }

}  // namespace

InsertPolicy sortInsertPolicy() {
  InsertPolicy policy;
  policy.equalFirstGoesBefore = true;
  return policy;
}

std::vector<std::int16_t> codeSortOrder(std::span<const std::uint8_t> records, std::span<const std::uint8_t> index) {
  const std::int16_t count = countOf(records);
  int start = 0;
  for (int b = 2; b <= kBucketCount && start == 0; ++b) {
    const std::size_t at = static_cast<std::size_t>(b - 1) * IndexEntry::Length;
    if (at + IndexEntry::Length > index.size()) break;
    const std::int16_t first = bytes::getI16(index.data() + at);
    if (first > 0) start = first;
  }
  // A lost start, a broken or looped chain: every record is looked at once, and no live one is lost.
  std::vector<std::int16_t> order;
  order.reserve(static_cast<std::size_t>(count));
  std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
  for (int c = start; c >= 1 && c <= count && !seen[c];) {
    seen[c] = true;
    if (live(records, c)) order.push_back(static_cast<std::int16_t>(c));
    const int next = field16(records, c, product_offsets::ChainNext);
    if (next == c) break;
    c = next;
  }
  for (int r = 1; r <= count; ++r)
    if (!seen[r] && live(records, r)) order.push_back(static_cast<std::int16_t>(r));
  return order;
}

std::optional<std::vector<std::int16_t>> nameSortOrder(std::span<const std::uint8_t> records) {
  const std::int16_t count = countOf(records);
  std::vector<std::int16_t> order;
  std::vector<std::int16_t> named;
  std::vector<std::string_view> keys;
  for (int r = 1; r <= count; ++r) {
    if (!live(records, r)) continue;
    const std::string_view key = keyOf(
        {reinterpret_cast<const char*>(recordAt(records, r) + product_offsets::Name), product_offsets::NameWidth});
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

bool RebuildFromSortedList(const std::string& company, std::span<const std::uint8_t> records,
                           std::span<const std::int16_t> order, ProgressSink& progress, MessageSink& sink) {
  progress.progress("FAZ 2 : "_w + recordNumberText(static_cast<long long>(order.size())) + ". Kayıt"_w);
  std::vector<std::uint8_t> sorted(order.size() * kRecord);
  for (std::size_t i = 0; i < order.size(); ++i) {
    std::memcpy(sorted.data() + i * kRecord, recordAt(records, order[i]), kRecord);
  }
  progress.progress("İşlem tamamlanıyor..."_w);
  const ProductFileReplacement replaced = replaceProductFile(company, sorted, sortInsertPolicy());
  if (!replaced.replaced) {
    tellFileError(sink, *replaced.failure);
    return false;
  }
  progress.progress("İşlem tamamlandı..."_w);
  return true;
}

SortResult sortByCode(const std::string& company, ProgressSink& progress, MessageSink& sink) {
  progress.progress(" Alfabetik  sıralama başladı..."_w);
  const std::optional<ProductImage> image = readOrTell(company, sink);
  if (!image) return SortResult::Failed;
  const std::vector<std::int16_t> order = codeSortOrder(image->records, image->index);
  progress.progress(percentTitle("FAZ 1 :  %"));
  return RebuildFromSortedList(company, image->records, order, progress, sink) ? SortResult::Sorted
                                                                               : SortResult::Failed;
}

SortResult sortByName(const std::string& company, ProgressSink& progress, MessageSink& sink) {
  progress.progress(" Alfabetik  sıralama başladı..."_w);
  const std::optional<ProductImage> image = readOrTell(company, sink);
  if (!image) return SortResult::Failed;
  const std::optional<std::vector<std::int16_t>> order = nameSortOrder(image->records);
  if (order && order->empty()) {  // nothing live: nothing to sort, and nothing is written
    sink.beep();
    return SortResult::NothingLive;
  }
  progress.progress(percentTitle("FAZ 1 : KADEME 1 : %"));
  if (!order) {
    sink.beep();
    sink.message("Yeni oluşturulan dosya boyutu hatalı!\rAlfabetik sıralama iptal edildi..."_w, MsgButtons::Ok,
                 MsgIcon::Exclamation, "SIRALAMA  HATASI !"_w);
    return SortResult::Refused;
  }
  progress.progress("FAZ 1 : KADEME 2 : Devam..."_w);
  progress.progress(percentTitle("FAZ 1 : KADEME 3 : %"));
  return RebuildFromSortedList(company, image->records, *order, progress, sink) ? SortResult::Sorted
                                                                                : SortResult::Failed;
}

}  // namespace kv
