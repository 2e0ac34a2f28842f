#include "common/code_search.h"

#include "common/collation.h"
#include "common/files.h"
#include "common/text.h"

namespace kv {

namespace {

int bucketOrLast(unsigned char c) {
  int b = collationRank(c);
  return b == 0 ? kBucketCount : b;
}

}  // namespace

CodeSearchResult findByCode(int productFile, int indexFile, std::int16_t recordCount, std::string_view searchText,
                            CodeMatch match, const std::function<bool(const ProductRecord&)>& accept,
                            ProductRecord& buffer) {
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

  auto walk = [&](int bucket) {
    IndexEntry e = get<IndexEntry>(indexFile, bucket);
    std::int32_t steps = 0;
    int r = e.First;
    while (r >= 1 && r <= recordCount) {
      if (++steps > stepLimit) {
        result.status = CodeSearchResult::Status::Locked;
        return true;
      }
      get(productFile, r, buffer);
      result.lastRead = static_cast<std::int16_t>(r);
      if (matches(buffer)) {
        result.status = CodeSearchResult::Status::Found;
        result.record = static_cast<std::int16_t>(r);
        return true;
      }
      if (r == e.Last || buffer.ChainNext == r) return false;
      r = buffer.ChainNext;
    }
    return false;
  };

  if (walk(upperBucket)) return result;
  if (lowerBucket != upperBucket && walk(lowerBucket)) return result;

  // A code whose first character has no place in the collation is never on the chain: an exact lookup
  // (the duplicate check above all) must still find such a record, so it looks through the file.
  if (match == CodeMatch::Exact && collationRank(first) == 0) {
    for (int r = 1; r <= recordCount; ++r) {
      get(productFile, r, buffer);
      result.lastRead = static_cast<std::int16_t>(r);
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
