#include "common/alphabetic_chain.h"

#include <array>
#include <string>

#include "common/bytes.h"
#include "common/collation.h"
#include "common/files.h"
#include "common/numbers.h"
#include "common/product_record.h"
#include "common/text.h"

namespace kv {

namespace {

namespace off = product_offsets;

// A failure that ends an insertion: which message applies.
struct ChainFailure {
  bool sorting = false;
};

// Reads and writes of the two files, every record number checked against the file first.
class ChainAccess {
 public:
  explicit ChainAccess(const ChainFiles& f)
      : files_(f),
        count_(static_cast<std::int16_t>(recordCount(f.recordFile))),
        keyOffset_(f.key == ChainKey::Code ? off::Code : off::Name),
        keyWidth_(f.key == ChainKey::Code ? off::CodeWidth : off::NameWidth) {}

  std::int16_t count() const { return count_; }
  bool inRange(int r) const { return r >= 1 && r <= count_; }
  void require(int r) const {
    if (!inRange(r)) throw ChainFailure{};
  }

  std::int16_t prev(int r) const { return bytes::getI16(peek(r) + off::ChainPrev); }
  std::int16_t next(int r) const { return bytes::getI16(peek(r) + off::ChainNext); }
  // Valid until the next write.
  std::string_view key(int r) const {
    return keyOf(std::string_view(reinterpret_cast<const char*>(peek(r) + keyOffset_), keyWidth_));
  }

  void setPrev(int r, int p) { patch(r, off::ChainPrev, p); }
  void setNext(int r, int n) { patch(r, off::ChainNext, n); }
  void setBoth(int r, int p, int n) {
    std::array<std::uint8_t, ProductRecord::Length> buf;
    getRecord(files_.recordFile, r, buf);
    bytes::putI16(buf.data() + off::ChainPrev, static_cast<std::int16_t>(p));
    bytes::putI16(buf.data() + off::ChainNext, static_cast<std::int16_t>(n));
    putRecord(files_.recordFile, r, buf);
  }

  IndexEntry entry(int b) const { return get<IndexEntry>(files_.indexFile, b); }
  void setEntry(int b, IndexEntry e) { put(files_.indexFile, b, e); }

 private:
  const std::uint8_t* peek(int r) const {
    require(r);
    return peekRecord(files_.recordFile, r).data();
  }
  void patch(int r, int offset, int value) {
    std::array<std::uint8_t, ProductRecord::Length> buf;
    getRecord(files_.recordFile, r, buf);
    bytes::putI16(buf.data() + offset, static_cast<std::int16_t>(value));
    putRecord(files_.recordFile, r, buf);
  }

  ChainFiles files_;
  std::int16_t count_;
  int keyOffset_;
  int keyWidth_;
};

void tell(MessageSink* sink, const std::optional<UserMessage>& m) {
  if (!sink || !m) return;
  sink->beep();
  sink->message(m->text, MsgButtons::Ok, MsgIcon::Exclamation, m->title);
}

// The insertion proper. Returns normally when linked; throws ChainFailure or FileError otherwise. Every
// record and entry it is going to write through is checked before the first write of each step.
void linkRecord(ChainAccess& a, int R, const std::string& K, int b, const InsertPolicy& policy) {
  IndexEntry e = a.entry(b);
  auto checkEntry = [&](int r) {
    a.require(r);
    if (r == R) throw ChainFailure{};  // the index names the record being placed: damaged
  };

  // Append after the bucket's last record.
  if (e.Last >= 1) {
    int L = e.Last;
    checkEntry(L);
    if (compareKeys(K, a.key(L)) >= 0) {
      int N = a.next(L);
      bool lEndsChain = N == L;
      if (!lEndsChain) checkEntry(N);
      a.setEntry(b, IndexEntry{e.First, static_cast<std::int16_t>(R)});
      a.setNext(L, R);
      if (!lEndsChain) a.setPrev(N, R);
      a.setBoth(R, L, lEndsChain ? R : N);
      return;
    }
  }

  // Prepend before the bucket's first record.
  if (e.First >= 1) {
    int F = e.First;
    checkEntry(F);
    std::string_view fKey = a.key(F);
    bool before = compareKeys(K, fKey) < 0 || (policy.equalFirstGoesBefore && K == fKey);
    if (before) {
      int P = a.prev(F);
      bool fStartsChain = P == F;
      if (!fStartsChain) checkEntry(P);
      a.setEntry(b, IndexEntry{static_cast<std::int16_t>(R), e.Last});
      a.setPrev(F, R);
      if (!fStartsChain) a.setNext(P, R);
      a.setBoth(R, fStartsChain ? R : P, F);
      return;
    }
  }

  // An empty (or half-set) bucket: link between the nearest lower and higher buckets.
  if (e.First < 1 || e.Last < 1) {
    int P = 0, N = 0;
    for (int lb = b - 1; lb >= 2 && P == 0; --lb) {
      IndexEntry le = a.entry(lb);
      if (le.Last >= 1) P = le.Last;
    }
    for (int ub = b + 1; ub <= kBucketCount && N == 0; ++ub) {
      IndexEntry ue = a.entry(ub);
      if (ue.First >= 1) N = ue.First;
    }
    if (P) checkEntry(P);
    if (N) checkEntry(N);
    a.setEntry(b, IndexEntry{static_cast<std::int16_t>(R), static_cast<std::int16_t>(R)});
    if (P) a.setNext(P, R);
    if (N) a.setPrev(N, R);
    a.setBoth(R, P ? P : R, N ? N : R);
    return;
  }

  // Walk inside the bucket: here F's key <= K < L's key. Bounded by twice the record count.
  int W = e.First;
  long steps = 0;
  const long limit = 2L * a.count();
  for (;;) {
    if (++steps > limit) throw ChainFailure{};
    int next = a.next(W);
    if (next == W) {
      // The chain ends before the place was found: carry it on to the next bucket's first record.
      int N = 0;
      for (int ub = b + 1; ub <= kBucketCount && N == 0; ++ub) {
        IndexEntry ue = a.entry(ub);
        if (ue.First >= 1) N = ue.First;
      }
      if (N == 0) throw ChainFailure{true};
      checkEntry(N);
      a.setNext(W, N);
      a.setPrev(N, W);
      next = N;
    }
    checkEntry(next);
    W = next;
    if (compareKeys(K, a.key(W)) < 0) {
      int P = a.prev(W);
      checkEntry(P);
      a.setPrev(W, R);
      a.setNext(P, R);
      a.setBoth(R, P, W);
      return;
    }
  }
}

}  // namespace

InsertPolicy mainWindowInsertPolicy(bool quietInsert) {
  InsertPolicy p;
  if (quietInsert) return p;
  p.sortingError = UserMessage{
      "Sıralama hatalı!...  Düzeltmek için, 'SERVİS' menüsüne girip, 'Oluştur' komutunu çalıştırın..."_w,
      "SIRALAMA  HATASI !"_w};
  p.criticalError = UserMessage{
      "Alfabetik sıralama işleminde kritik hata oluştu!... Data dosyasını ve sıralamayı düzeltmek için, "
      "'SERVİS' menüsüne geçip, 'Oluştur' komutunu çalıştırın..."_w,
      "KALVOR 952 Uyarlama 3.0  ( 'On Error GoTo' )"_w};
  return p;
}

InsertResult insertIntoAlphabeticIndex(const ChainFiles& files, std::int16_t record, const InsertPolicy& policy,
                                       MessageSink* sink) {
  ChainAccess a(files);
  bool sorting = false;
  try {
    a.require(record);
    std::string K(a.key(record));
    int b = bucketOf(K);
    if (b == 0) return InsertResult::NoBucket;
    if (recordCount(files.indexFile) < kBucketCount) throw ChainFailure{};
    linkRecord(a, record, K, b, policy);
    return InsertResult::Linked;
  } catch (const ChainFailure& f) {
    sorting = f.sorting;
  } catch (const FileError&) {
    sorting = false;
  }
  tell(sink, sorting ? policy.sortingError : policy.criticalError);
  // Leave the record visibly out of the chain.
  try {
    if (a.inRange(record)) a.setBoth(record, 0, 0);
  } catch (const FileError&) {
  }
  return sorting ? InsertResult::SortingError : InsertResult::CriticalError;
}

UnlinkResult unlinkFromAlphabeticIndex(const ChainFiles& files, std::int16_t record, UnlinkVariant variant,
                                       MessageSink* sink) {
  ChainAccess a(files);
  const int R = record;
  auto pointerError = [&] {
    if (sink) {
      sink->beep();
      std::string text = recordNumberText(R) +
                         (variant == UnlinkVariant::Save
                              ? " numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek için 'Oluştur' komutunu "
                                "çalıştırın..."_w
                              : " numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek için 'SERVİS' komutunu "
                                "çalıştırın..."_w);
      sink->message(text, MsgButtons::Ok, MsgIcon::Exclamation, "İNDEKS POİNTER HATASI !"_w);
    }
    return UnlinkResult::PointerError;
  };

  if (!a.inRange(R)) return pointerError();
  const int P0 = a.prev(R);
  const int N0 = a.next(R);
  if (P0 == 0 && N0 == 0) return UnlinkResult::NotInChain;
  const bool pointersSound = a.inRange(P0) && a.inRange(N0);
  if (variant == UnlinkVariant::Save && !pointersSound) return pointerError();

  // The bucket is the one the insertion used: the first character of the trimmed code. (Codes are stored
  // without leading blanks; one written with them by another path still finds its bucket.) A record whose
  // code has no bucket leaves the buckets alone.
  const std::string K(a.key(R));
  const int b = bucketOf(K);
  auto sameBucket = [&](int r) {
    if (!a.inRange(r)) return false;
    std::string_view k = a.key(r);
    return !k.empty() && k[0] == K[0];
  };
  if (b >= 1 && recordCount(files.indexFile) >= b) {
    IndexEntry e = a.entry(b);
    if (e.First == R) e.First = static_cast<std::int16_t>(N0 != R && sameBucket(N0) ? N0 : 0);
    if (e.Last == R) e.Last = static_cast<std::int16_t>(P0 != R && sameBucket(P0) ? P0 : e.First);
    a.setEntry(b, e);
  }

  if (variant == UnlinkVariant::Delete) {
    ProductRecord rec = get<ProductRecord>(files.recordFile, R);
    rec.Kind = -1;
    rec.ChainPrev = 0;
    rec.ChainNext = 0;
    put(files.recordFile, R, rec);
    if (!pointersSound) return pointerError();
  }

  if (P0 != R) {
    int n = a.next(P0);
    if (n == R)
      a.setNext(P0, N0 == R ? P0 : N0);
    else if (!a.inRange(n))
      a.setNext(P0, P0);
  }
  if (N0 != R) {
    int p = a.prev(N0);
    if (p == R)
      a.setPrev(N0, P0 == R ? N0 : P0);
    else if (!a.inRange(p))
      a.setPrev(N0, N0);
  }
  return UnlinkResult::Unlinked;
}

bool applyIndexOpeningRule(int indexFile) {
  if (recordCount(indexFile) == kBucketCount) return false;
  for (int b = 1; b <= kBucketCount; ++b) put(indexFile, b, IndexEntry{});
  return true;
}

}  // namespace kv
