#include "records/code_search.h"

#include "base/collation.h"
#include "base/text.h"
#include "records/chain_walk.h"

namespace kv {

namespace {

int bucketOrLast(unsigned char c) {
  int b = collationRank(c);
  return b == 0 ? kBucketCount : b;
}

}  // namespace

CodeSearchResult findByCode(const FileHandle& products, const FileHandle& index, std::int16_t recordCount,
                            std::string_view searchText, CodeMatch match,
                            const std::function<bool(const ProductRecord&)>& accept, ProductRecord& buffer) {
  CodeSearchResult result;
  if (searchText.empty()) return result;
  const auto first = static_cast<unsigned char>(searchText[0]);
  const int upperBucket = bucketOrLast(first);
  const int lowerBucket = bucketOrLast(lowerChar(first));
  const std::int32_t stepLimit = 2 * static_cast<std::int32_t>(recordCount);

  auto matches = [&](const ProductRecord& rec) {
    std::string candidate = upperCase(trimView(rec.Code.view()));
    bool textMatches = match == CodeMatch::Exact ? candidate == searchText
                                                 : candidate.size() >= searchText.size() &&
                                                       candidate.compare(0, searchText.size(), searchText) == 0;
    return textMatches && accept(rec);
  };

  // Each bucket's records, from its First to its Last along the chain. Returns true when the search ends.
  auto walkBucket = [&](int bucket) {
    const IndexEntry e = index.get<IndexEntry>(bucket);
    result.leftAt = e.First;
    if (e.First == 0) return false;
    ChainWalkEnd end = walkChain(products, recordCount, e.First, true, e.Last, stepLimit, buffer,
                                 [&](std::int16_t, const ProductRecord& rec) { return matches(rec); });
    // A walk ends on its bucket's Last, or with the pointer that led nowhere (a record pointing to itself
    // leads to 0).
    if (end.how == ChainWalkEnd::How::End) result.leftAt = end.at == e.Last ? end.at : 0;
    if (end.how == ChainWalkEnd::How::OutOfRange) result.leftAt = end.beyond;
    if (end.how == ChainWalkEnd::How::Found) {
      result.status = CodeSearchResult::Status::Found;
      result.record = end.at;
      return true;
    }
    if (end.how == ChainWalkEnd::How::Locked) {
      result.status = CodeSearchResult::Status::Locked;
      return true;
    }
    return false;
  };

  if (walkBucket(upperBucket)) return result;
  if (lowerBucket == upperBucket) result.leftAt = 0;
  if (lowerBucket != upperBucket && walkBucket(lowerBucket)) return result;

  // A code whose first character has no place in the collation is never on the chain: an exact lookup
  // (the duplicate check above all) must still find such a record, so it looks through the file.
  if (match == CodeMatch::Exact && collationRank(first) == 0) {
    for (int r = 1; r <= recordCount; ++r) {
      buffer = products.get<ProductRecord>(r);
      if (matches(buffer)) {
        result.status = CodeSearchResult::Status::Found;
        result.record = static_cast<std::int16_t>(r);
        return result;
      }
    }
  }
  return result;
}

std::string codeSearchLockedText() {
  return "Kayıt arama işlemi kilitlendi!... Hatayı düzeltmek için, 'SERVİS' menüsüne geçip, 'Oluştur' komutunu "
         "çalıştırın..."_w;
}

std::string codeSearchLockedTitle() { return "! KAYIT SIRALAMA HATASI !"_w; }

}  // namespace kv
