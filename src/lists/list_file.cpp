#include "lists/list_file.h"

#include <cmath>
#include <utility>

#include "base/collation.h"
#include "base/numbers.h"
#include "base/program_title.h"
#include "base/text.h"
#include "records/chain_ends.h"
#include "records/chain_walk.h"

namespace kv {

namespace {

const char* const kTitle = KV_PROGRAM_TITLE "  LİSTE";

int boundRank(std::string_view s, std::size_t i) {
  return i < s.size() ? collationRank(static_cast<unsigned char>(s[i])) : 1;
}

// A bucket of the index: the first character's place; an empty text counts as a blank.
int bucketOfBound(std::string_view s) { return s.empty() ? 1 : collationRank(static_cast<unsigned char>(s[0])); }

std::string keyOfCode(const ProductRecord& rec) { return upperCase(trim(rec.Code.str())); }

class ListBuilder {
 public:
  ListBuilder(const ProductFile& products, FileHandle& list, MessageSink& sink)
      : products_(products), list_(list), sink_(sink), count_(products.count()) {}

  ListBuild alphabetic(const std::string& first, const std::string& last);
  ListBuild recordOrder(std::string first, std::int32_t from, std::int32_t to);

 private:
  bool valid(int r) const { return r >= 1 && r <= count_; }
  // A record that points on to itself ends the chain only as the chain's last record, the one the index
  // names last; anywhere else the chain broke off there, as at a pointer outside the file.
  bool brokeOff(const ChainWalkEnd& end) const {
    return end.how == ChainWalkEnd::How::End &&
           end.at != chainEnds([this](int b) { return products_.entry(b); }, count_).last;
  }
  // The bounded walk of the chain: as many steps as the file has records, and the one it starts with.
  template <class Visit>
  ChainWalkEnd walk(int start, bool forward, std::int16_t stop, ProductRecord& rec, Visit&& visit) const {
    return walkChain(products_.data(), count_, static_cast<std::int16_t>(start), forward, stop, count_ + 1, rec,
                     std::forward<Visit>(visit));
  }
  ProductRecord read(int r) const { return products_.read(static_cast<std::int16_t>(r)); }
  void output(const ProductRecord& rec, int r) {
    if (rec.Kind < 0) return;
    ++out_.count;
    list_.put(out_.count, listRecordOf(rec, static_cast<std::int16_t>(r)));
  }
  ListBuild chainError() {
    sink_.beep();
    sink_.message("Alfabetik sıralama hatası!...\rDüzeltmek için 'SERVİS' menüsüne girin..."_w, MsgButtons::Ok,
                  MsgIcon::Exclamation, w(kTitle));
    return out_;
  }
  ListBuild outputChainError() {
    sink_.beep();
    sink_.message("Alfabetik sıralama hatası!... Düzeltmek için 'SERVİS' menüsüne girin..."_w, MsgButtons::YesNo,
                  MsgIcon::Question, w(kTitle));
    return out_;
  }

  const ProductFile& products_;
  FileHandle& list_;
  MessageSink& sink_;
  const std::int16_t count_;
  ListBuild out_;
};

ListBuild ListBuilder::alphabetic(const std::string& first, const std::string& last) {
  // The last record of the range: from the end of the last bound's bucket (or the nearest filled one
  // below it) back along the chain to the last code that does not pass the bound. The bound is upper
  // case, but a code within it may begin with the lower-case letter, which the chain holds after the
  // upper-case one: the search starts in that letter's bucket.
  int b = std::max(bucketOfBound(last), bucketOfBound(lowerCase(last.substr(0, 1))));
  if (b < 2 || b > kBucketCount) b = kBucketCount;
  int stop = products_.entry(b).Last;
  while (!valid(stop) && b > 2) stop = products_.entry(--b).Last;
  ProductRecord rec;
  if (valid(stop)) {
    const ChainWalkEnd end = walk(stop, false, 0, rec, [&](std::int16_t, const ProductRecord& r) {
      return compareWithBound(keyOfCode(r), last) <= 0;
    });
    if (end.how == ChainWalkEnd::How::OutOfRange || end.how == ChainWalkEnd::How::Locked) return chainError();
    // When the head of the chain lies beyond the bound there is no stop record: the walk below then
    // runs to the chain's end.
    stop = end.how == ChainWalkEnd::How::Found ? end.at : 0;
  } else {
    stop = 0;
  }

  // The first record of the range: from the start of the first bound's bucket (or the nearest filled one
  // above it) on along the chain to the first code that is not before the bound.
  b = bucketOfBound(first);
  if (b < 2 || b > kBucketCount) b = 2;
  int r = products_.entry(b).First;
  while (!valid(r)) {
    if (b >= kBucketCount) {
      sink_.beep();
      sink_.message("İndeks listelemeye uygun olmadığı için\rkayıt sırasına göre liste yapılacak..."_w, MsgButtons::Ok,
                    MsgIcon::None, w(kTitle));
      return recordOrder(first, 1, count_);
    }
    r = products_.entry(++b).First;
  }
  const ChainWalkEnd begin = walk(r, true, 0, rec, [&](std::int16_t, const ProductRecord& x) {
    return compareWithBound(keyOfCode(x), first) >= 0;
  });
  if (begin.how == ChainWalkEnd::How::End && !brokeOff(begin)) return out_;  // every code lies before the range
  if (begin.how != ChainWalkEnd::How::Found) return chainError();

  // The range ends with the stop record itself, so that every record of a code listed twice is listed.
  // Upper-cased, the codes between the two need not lie within the bounds: a code in lower case stands
  // after every upper-case code of its letter. A code saved as typed in the service window may stand
  // anywhere in the chain, so only the walk itself tells whether the range holds a code.
  const ChainWalkEnd listed = walk(begin.at, true, static_cast<std::int16_t>(stop), rec,
                                   [&](std::int16_t n, const ProductRecord& x) {
                                     const std::string key = keyOfCode(x);
                                     if (compareWithBound(key, first) >= 0 && compareWithBound(key, last) <= 0)
                                       output(x, n);
                                     return false;
                                   });
  if (listed.how != ChainWalkEnd::How::End) return outputChainError();
  if (listed.at != stop) {
    // The walk ran to the chain's end without the stop record. With nothing written the stop record lies
    // before the start and the range holds no code; after records of the range, or at a record that ends
    // the chain before its last, the chain broke off within the range.
    if (out_.count == 0 && !brokeOff(listed)) return out_;
    return outputChainError();
  }
  out_.ready = true;
  return out_;
}

// Records from..to (within the file) whose code is `first`, or all of them when it is empty.
ListBuild ListBuilder::recordOrder(std::string first, std::int32_t from, std::int32_t to) {
  if (to > count_) to = count_;
  for (std::int32_t r = std::max<std::int32_t>(from, 1); r <= to; ++r) {
    const ProductRecord rec = read(r);
    if (!first.empty() && keyOfCode(rec) != first) continue;
    output(rec, r);
  }
  out_.ready = true;
  return out_;
}

// The number a record-number box starts with. Unlike the program's other number boxes these take a
// comma for the end of the number, not for a decimal mark: "2,5" is record 2.
double recordNumberIn(std::string_view box) { return leadingNumber(box.substr(0, box.find(','))); }

// A typed record number, rounded as the original rounded it (halves to the even neighbour), kept within
// what a record number can be.
std::int32_t recordNumberOf(double v) {
  if (!(v < 1e9)) return 1000000000;
  return static_cast<std::int32_t>(std::nearbyint(v));
}

}  // namespace

int compareWithBound(std::string_view code, std::string_view bound) {
  const std::size_t n = std::max(code.size(), bound.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int d = boundRank(code, i) - boundRank(bound, i);
    if (d != 0) return d;
  }
  return 0;
}

ProductRecord listRecordOf(ProductRecord rec, std::int16_t n) {
  rec.RecordNumber = n;
  rec.Code = trim(rec.Code.str());
  return rec;
}

ListBuild buildProductList(const ProductFile& products, FileHandle& list, const ListRange& range, MessageSink& sink) {
  // Every build starts from an empty file, so no record of an earlier, longer list is left at its end.
  const std::string name = list.name();
  list.close();
  if (fileExists(name)) deleteFile(name);
  list.open(name, ProductRecord::Length);

  std::string first = upperCase(trim(range.first));
  const std::string last = upperCase(trim(range.last));
  ListBuilder builder(products, list, sink);
  if (range.order == ListOrder::Alphabetic) return builder.alphabetic(first, last);

  // A number in the first box starts the range there; a text names the one code to list.
  std::int32_t from = 1;
  const double start = recordNumberIn(first);
  if (start > 0) {
    from = recordNumberOf(start - 1) + 1;
    first.clear();
  }
  const double end = recordNumberIn(last);
  const std::int32_t to = end > from - 1 ? recordNumberOf(end) : products.count();
  return builder.recordOrder(first, from, to);
}

}  // namespace kv
