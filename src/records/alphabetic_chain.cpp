#include "records/alphabetic_chain.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <utility>
#include <vector>
#include <string>

#include "base/bytes.h"
#include "base/collation.h"
#include "base/numbers.h"
#include "base/program_title.h"
#include "base/text.h"
#include "files/files.h"
#include "records/chain_image.h"
#include "records/product_record.h"

namespace kv {

namespace {

namespace off = product_offsets;

// A failure that ends an insertion: which message applies.
struct ChainFailure {
  bool sorting = false;
};

// The key of the record being placed, its ranks worked out once for every comparison of the walk.
struct PlacedKey {
  explicit PlacedKey(std::string_view k) : text(k), prepared(k) {}
  std::string_view text;
  PreparedKey prepared;
};

// One operation on the chain. It reads the files' images, every record number checked
// against the file first, and plans its writes instead of making them; its later reads see what it has
// planned, as if it had written. Only when the operation has found its way through does apply() make the
// writes, so an operation that fails on the way leaves the files as they were.
class ChainPlan {
 public:
  explicit ChainPlan(const ChainImage& image) : image_(image) {}

  std::int16_t count() const { return image_.count(); }
  bool inRange(int r) const { return image_.inRange(r); }
  void require(int r) const {
    if (!inRange(r)) throw ChainFailure{};
  }

  std::int16_t prev(int r) const {
    if (const Write* w = planned(Target::Record, r)) return w->a;
    require(r);
    return image_.prev(r);
  }
  std::int16_t next(int r) const {
    if (const Write* w = planned(Target::Record, r)) return w->b;
    require(r);
    return image_.next(r);
  }
  std::string_view key(int r) const {
    require(r);
    return keyOf(image_.keyField(r));
  }
  // k against the key of record r, as compareKeys compares them.
  int compare(const PlacedKey& k, int r) const {
    require(r);
    return k.prepared.compare(image_.keyField(r));
  }
  // The walk will read record r's pointers next: start fetching them while its key is compared.
  void prefetch(int r) const {
    if (inRange(r)) __builtin_prefetch(image_.record(r) + off::ChainPrev);
  }

  IndexEntry entry(int b) const {
    if (const Write* w = planned(Target::Entry, b)) return {w->a, w->b};
    return image_.entry(b);
  }

  void setPrev(int r, int p) { plan(r).a = static_cast<std::int16_t>(p); }
  void setNext(int r, int n) { plan(r).b = static_cast<std::int16_t>(n); }
  void setBoth(int r, int p, int n) {
    Write& w = plan(r);
    w.a = static_cast<std::int16_t>(p);
    w.b = static_cast<std::int16_t>(n);
  }
  // Kind -1, both pointers 0.
  void markDeleted(int r) {
    setBoth(r, 0, 0);
    plan(r).deleted = true;
  }
  void setEntry(int b, IndexEntry e) {
    Write* w = planned(Target::Entry, b);
    if (!w) w = &writes_.emplace_back(Write{Target::Entry, b});
    w->a = e.First;
    w->b = e.Last;
  }

  // Makes the planned writes in the order they were first planned. When one fails, what was written is
  // put back as it was (as far as the files allow) and the FileError goes on to the caller. The images
  // are not read again afterwards.
  void apply() const {
    std::vector<Bytes> before(writes_.size());
    std::size_t known = 0;  // the writes whose bytes before were read, and so can be put back
    try {
      for (const Write& w : writes_) {
        getRecord(fileOf(w), w.n, bytesOf(w, before[known]));
        Bytes after = before[known++];
        std::uint8_t* pair = after.data() + (w.target == Target::Entry ? 0 : off::ChainPrev);
        bytes::putI16(pair, w.a);
        bytes::putI16(pair + 2, w.b);
        if (w.deleted) bytes::putI16(after.data() + off::Kind, -1);
        putRecord(fileOf(w), w.n, bytesOf(w, after));
      }
    } catch (const FileError&) {
      while (known-- > 0) {
        try {
          putRecord(fileOf(writes_[known]), writes_[known].n, bytesOf(writes_[known], before[known]));
        } catch (const FileError&) {
        }
      }
      throw;
    }
  }

 private:
  enum class Target { Record, Entry };
  // A record's ChainPrev and ChainNext, or an entry's First and Last.
  struct Write {
    Target target;
    int n;
    std::int16_t a = 0;
    std::int16_t b = 0;
    bool deleted = false;
  };

  // Few writes are planned (a handful on the longest path), so a look along them is enough.
  const Write* planned(Target t, int n) const {
    for (const Write& w : writes_)
      if (w.n == n && w.target == t) return &w;
    return nullptr;
  }
  Write* planned(Target t, int n) { return const_cast<Write*>(std::as_const(*this).planned(t, n)); }
  // The planned write of record r, started from its pointers as they read now.
  Write& plan(int r) {
    if (Write* w = planned(Target::Record, r)) return *w;
    return writes_.emplace_back(Write{Target::Record, r, prev(r), next(r)});
  }
  using Bytes = std::array<std::uint8_t, ProductRecord::Length>;
  // The bytes of a record or of an entry.
  static std::span<std::uint8_t> bytesOf(const Write& w, Bytes& b) {
    return std::span(b).first(w.target == Target::Entry ? IndexEntry::Length : ProductRecord::Length);
  }
  int fileOf(const Write& w) const {
    return w.target == Target::Entry ? image_.files().indexFile : image_.files().recordFile;
  }

  const ChainImage& image_;
  std::vector<Write> writes_;
};

void tell(MessageSink* sink, const std::optional<UserMessage>& m) {
  if (!sink || !m) return;
  sink->beep();
  sink->message(m->text, MsgButtons::Ok, MsgIcon::Exclamation, m->title);
}

// The insertion proper, planned on `a`. Returns normally when the place is found; throws ChainFailure
// otherwise. Every record and entry it follows is checked against the files before it is read.
void linkRecord(ChainPlan& a, int R, const PlacedKey& key, int b, const InsertPolicy& policy) {
  IndexEntry e = a.entry(b);
  auto checkEntry = [&](int r) {
    a.require(r);
    if (r == R) throw ChainFailure{};  // the index names the record being placed: damaged
  };

  // Append after the bucket's last record.
  if (e.Last >= 1) {
    int L = e.Last;
    checkEntry(L);
    if (a.compare(key, L) >= 0) {
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
    bool before = a.compare(key, F) < 0 || (policy.equalFirstGoesBefore && key.text == a.key(F));
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

  // Walk inside the bucket: here F's key <= K < L's key. Bounded by twice the record count, so a walk
  // that does not end fails before anything is written.
  int W = e.First;
  long steps = 0;
  const long limit = 2L * a.count();
  for (;;) {
    if (++steps > limit) throw ChainFailure{};
    int next = a.next(W);
    if (next == W) {
      // The chain ends before the place was found: carry it on to the next bucket's first record. The
      // repair is only planned: should the walk fail further on, it is never written.
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
    a.prefetch(W);
    if (a.compare(key, W) < 0) {
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

InsertPolicy quietInsertPolicy() { return {}; }

InsertPolicy toldInsertPolicy() {
  InsertPolicy p;
  p.sortingError = UserMessage{
      "Sıralama hatalı!...  Düzeltmek için, 'SERVİS' menüsüne girip, 'Oluştur' komutunu çalıştırın..."_w,
      "SIRALAMA  HATASI !"_w};
  p.criticalError = UserMessage{
      "Alfabetik sıralama işleminde kritik hata oluştu!... Data dosyasını ve sıralamayı düzeltmek için, "
      "'SERVİS' menüsüne geçip, 'Oluştur' komutunu çalıştırın..."_w,
      KV_PROGRAM_TITLE "  ( 'On Error GoTo' )"_w};
  return p;
}

InsertResult insertIntoAlphabeticIndex(const ChainFiles& files, std::int16_t record, const InsertPolicy& policy,
                                       MessageSink* sink) {
  bool sorting = false;
  bool inRange = false;
  try {
    const ChainImage image(files);
    inRange = image.inRange(record);
    if (!inRange) throw ChainFailure{};
    const std::string_view K = keyOf(image.keyField(record));
    const int b = bucketOf(K);
    if (b == 0) return InsertResult::NoBucket;
    if (recordCount(files.indexFile) < kBucketCount) throw ChainFailure{};
    ChainPlan a(image);
    linkRecord(a, record, PlacedKey(K), b, policy);
    a.apply();
    return InsertResult::Linked;
  } catch (const ChainFailure& f) {
    sorting = f.sorting;
  } catch (const FileError&) {
    sorting = false;
  }
  tell(sink, sorting ? policy.sortingError : policy.criticalError);
  // Leave the record visibly out of the chain.
  try {
    if (inRange) writeChainPointers(files.recordFile, record, 0, 0);
  } catch (const FileError&) {
  }
  return sorting ? InsertResult::SortingError : InsertResult::CriticalError;
}

UnlinkResult unlinkFromAlphabeticIndex(const ChainFiles& files, std::int16_t record, UnlinkVariant variant,
                                       MessageSink* sink) {
  const ChainImage image(files);
  ChainPlan a(image);
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
    a.markDeleted(R);
    if (!pointersSound) {
      a.apply();
      return pointerError();
    }
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
  a.apply();
  return UnlinkResult::Unlinked;
}

bool applyIndexOpeningRule(int indexFile) {
  if (recordCount(indexFile) == kBucketCount) return false;
  for (int b = 1; b <= kBucketCount; ++b) put(indexFile, b, IndexEntry{});
  return true;
}

}  // namespace kv
