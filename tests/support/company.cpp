#include "support/company.h"

#include <fstream>
#include <random>
#include <set>
#include <stdexcept>

#include "base/collation.h"
#include "base/text.h"
#include "files/files.h"
#include "records/chain_ends.h"

namespace kv::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::mt19937_64 rng{std::random_device{}()};
  for (;;) {
    path_ = fs::temp_directory_path() / ("kalvor-test-" + std::to_string(rng()));
    if (fs::create_directory(path_)) break;
  }
  setWorkingFolder(path_);
}

TempFolder::~TempFolder() {
  closeAllFiles();
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::vector<std::uint8_t> TempFolder::bytes(const std::string& utf8Name) const {
  std::ifstream in(path_ / utf8Name, std::ios::binary);
  if (!in) return {};
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void TempFolder::write(const std::string& utf8Name, const std::vector<std::uint8_t>& content) const {
  std::ofstream out(path_ / utf8Name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
}

ProductRecord makeProduct(std::string_view codeUtf8, std::string_view nameUtf8, int kind) {
  ProductRecord r;
  r.Kind = static_cast<std::int16_t>(kind);
  r.Code = w(codeUtf8);
  r.Name = w(nameUtf8);
  r.CostCurrency = "YTL";
  return r;
}

ProductRecord makeFilledProduct() {
  ProductRecord r = makeProduct("  KASNAK-12  ", "Kasnak", 2);
  r.Description = w("Döküm gövde"), r.Unit = "AD", r.ProductGroup = w("Güç aktarma");
  r.Cost = 12.5f, r.CostCurrency = "EUR", r.CostType = 2, r.CostDate = "02.01.2001", r.DocumentNo = "E-77";
  r.SpecialCode = "X1", r.Coefficient = 1.5f, r.Supplier = w("Çelik AŞ"), r.Dimensions = "100 x 40";
  r.Weight = "2,5 kg", r.HasPicture = 1, r.SpecialNote = w("Özel"), r.UpdatedDate = "31.12.2009";
  return r;
}

std::string randomTurkishCode(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {"A", "a", "B", "Ç", "ç", "C", "G", "Ğ", "ğ", "I", "ı", "İ",
                                                  "i", "Ö", "ö", "Ş", "ş", "Ü", "ü", "Z", "0", "9", "-", " ", "."};
  std::uniform_int_distribution<int> len(1, 6), pick(0, static_cast<int>(pieces.size()) - 1);
  std::string code;
  int n = len(rng);
  for (int i = 0; i < n; ++i) code += pieces[pick(rng)];
  auto b = code.find_first_not_of(' ');
  if (b == std::string::npos) return "X";
  return code.substr(b);
}

std::string numbered(std::string_view prefix, long long n) {
  std::string code(prefix);
  code += std::to_string(n);
  return code;
}

Company::Company(std::string nameUtf8) : name_(w(nameUtf8)) {
  dataFile_ = nextFreeFileNumber();
  openRandom(dataFile_, name_ + ".DAT", ProductRecord::Length);
  indexFile_ = nextFreeFileNumber();
  openRandom(indexFile_, name_ + ".ABC", IndexEntry::Length);
  applyIndexOpeningRule(indexFile_);
}

Company::~Company() { close(); }

void Company::close() {
  if (dataFile_) closeFile(dataFile_);
  if (indexFile_) closeFile(indexFile_);
  dataFile_ = indexFile_ = 0;
}

std::int16_t Company::append(const ProductRecord& rec) {
  auto n = static_cast<std::int16_t>(count() + 1);
  ProductRecord r = rec;
  r.RecordNumber = n;
  put(dataFile_, n, r);
  return n;
}

std::int16_t Company::add(std::string_view codeUtf8, std::string_view nameUtf8, int kind) {
  std::int16_t n = append(makeProduct(codeUtf8, nameUtf8, kind));
  auto result = insertIntoAlphabeticIndex(files(), n, quietInsertPolicy(), nullptr);
  if (result == InsertResult::SortingError || result == InsertResult::CriticalError)
    throw std::runtime_error("test company: insertion failed for " + std::string(codeUtf8));
  return n;
}

void Company::addAll(const std::vector<Spec>& specs) {
  for (const auto& s : specs) add(s.code, s.name, s.kind);
}

ProductRecord Company::record(std::int16_t n) const { return get<ProductRecord>(dataFile_, n); }
void Company::write(std::int16_t n, const ProductRecord& rec) { put(dataFile_, n, rec); }
IndexEntry Company::entry(int bucket) const { return get<IndexEntry>(indexFile_, bucket); }
std::int16_t Company::count() const { return static_cast<std::int16_t>(recordCount(dataFile_)); }

MsgAnswer RecordingSink::message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
  shown.push_back({toUtf8(text), toUtf8(title), buttons, icon});
  if (!script.empty()) {
    MsgAnswer a = script.front();
    script.erase(script.begin());
    return a;
  }
  return fallback;
}

ChainReport checkChain(const ChainFiles& files) {
  ChainReport rep;
  auto fail = [&](const std::string& p) {
    rep.sound = false;
    if (rep.problems.size() < 20) rep.problems.push_back(p);
  };
  const int n = recordCount(files.recordFile);
  std::vector<ProductRecord> recs(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) recs[i] = get<ProductRecord>(files.recordFile, i);
  auto key = [&](int r) {
    return std::string(keyOf(files.key == ChainKey::Code ? recs[r].Code.view() : recs[r].Name.view()));
  };
  if (recordCount(files.indexFile) != kBucketCount) fail("index does not hold 109 entries");
  std::vector<IndexEntry> entries(kBucketCount + 1);
  for (int b = 1; b <= kBucketCount; ++b) entries[b] = get<IndexEntry>(files.indexFile, b);

  // The records that must be on the chain.
  std::set<int> linkable;
  for (int i = 1; i <= n; ++i)
    if (recs[i].Kind >= 0 && bucketOf(key(i)) > 0) linkable.insert(i);

  // The start as the index gives it, so that one beyond the file is found out below.
  const int start = chainEnds([&entries](int b) { return entries[b]; }, kMaxRecords16).first;

  std::vector<int> firstOf(kBucketCount + 1, 0), lastOf(kBucketCount + 1, 0);
  std::set<int> seen;
  if (start != 0) {
    if (start > n) {
      fail("chain start outside the file");
    } else if (recs[start].ChainPrev != start) {
      fail("first record " + std::to_string(start) + " does not point to itself");
    }
    int r = start, prev = 0, prevBucket = 0;
    while (r >= 1 && r <= n) {
      if (!seen.insert(r).second) {
        fail("loop at record " + std::to_string(r));
        break;
      }
      rep.order.push_back(static_cast<std::int16_t>(r));
      if (prev && recs[r].ChainPrev != prev) fail("ChainPrev of " + std::to_string(r) + " is wrong");
      if (prev && compareKeys(key(prev), key(r)) > 0)
        fail("records " + std::to_string(prev) + " and " + std::to_string(r) + " out of key order");
      if (!linkable.count(r)) fail("record " + std::to_string(r) + " must not be on the chain");
      int b = bucketOf(key(r));
      if (b > 0) {
        if (firstOf[b] == 0) {
          if (b < prevBucket) fail("bucket " + std::to_string(b) + " is not contiguous");
          firstOf[b] = r;
        } else if (lastOf[b] != prev) {
          fail("bucket " + std::to_string(b) + " is not contiguous");
        }
        lastOf[b] = r;
        prevBucket = b;
      }
      int next = recs[r].ChainNext;
      if (next == r) break;
      if (next < 1 || next > n) {
        fail("ChainNext of " + std::to_string(r) + " lies outside the file");
        break;
      }
      prev = r;
      r = next;
    }
  }
  for (int r : linkable)
    if (!seen.count(r)) fail("record " + std::to_string(r) + " is not on the chain");
  for (int i = 1; i <= n; ++i)
    if (!seen.count(i) && (recs[i].ChainPrev != 0 || recs[i].ChainNext != 0))
      fail("record " + std::to_string(i) + " is off the chain but has pointers");
  for (int b = 1; b <= kBucketCount; ++b)
    if (entries[b].First != firstOf[b] || entries[b].Last != lastOf[b])
      fail("bucket " + std::to_string(b) + " holds (" + std::to_string(entries[b].First) + ", " +
           std::to_string(entries[b].Last) + "), expected (" + std::to_string(firstOf[b]) + ", " +
           std::to_string(lastOf[b]) + ")");
  return rep;
}

}  // namespace kv::testing
