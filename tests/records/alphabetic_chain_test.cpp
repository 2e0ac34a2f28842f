// The alphabetic chain: insertion and unlink on real files, the edge cases that catch real faults, a
// randomised property test against the checker, and damaged files.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <map>
#include <random>

#include "base/collation.h"
#include "base/text.h"
#include "files/files.h"
#include "records/alphabetic_chain.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::checkChain;
using testing::randomTurkishCode;
using testing::Company;
using testing::RecordingSink;
using testing::TempFolder;

std::vector<std::string> codesInChainOrder(Company& c) {
  std::vector<std::string> out;
  for (auto r : checkChain(c.files()).order) out.push_back(toUtf8(trim(c.record(r).Code.view())));
  return out;
}

// A record as a row names it: its code, and its name after a colon when it has one (UTF-8).
std::string label(const ProductRecord& rec) {
  std::string out = toUtf8(trim(rec.Code.view()));
  const std::string name = toUtf8(trim(rec.Name.view()));
  if (!name.empty()) out += ":" + name;
  return out;
}

// The chain over `files` is sound and runs through the records labelled `want`; every record's pointers
// name its neighbours (an end names itself), and every bucket's entry its first and last record in that
// order (0 and 0 when it holds none).
void expectChain(const Company& c, const ChainFiles& files, const std::vector<std::string>& want) {
  const testing::ChainReport report = checkChain(files);
  EXPECT_TRUE(report.sound) << (report.problems.empty() ? "" : report.problems.front());
  const std::vector<std::int16_t>& order = report.order;
  std::vector<std::string> labels;
  std::vector<IndexEntry> buckets(kBucketCount + 1);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const ProductRecord rec = c.record(order[i]);
    labels.push_back(label(rec));
    EXPECT_EQ(rec.ChainPrev, order[i == 0 ? i : i - 1]) << labels.back();
    EXPECT_EQ(rec.ChainNext, order[i + 1 == order.size() ? i : i + 1]) << labels.back();
    const int b = bucketOf(keyOf(files.key == ChainKey::Name ? rec.Name.view() : rec.Code.view()));
    if (buckets[b].First == 0) buckets[b].First = order[i];
    buckets[b].Last = order[i];
  }
  EXPECT_EQ(labels, want);
  for (int b = 1; b <= kBucketCount; ++b) {
    const IndexEntry e = c.entry(b);
    EXPECT_EQ(e.First, buckets[b].First) << "bucket " << b;
    EXPECT_EQ(e.Last, buckets[b].Last) << "bucket " << b;
  }
}

class ChainTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

// ---- Linking and unlinking: the chain as the collation orders it ------------------------------------

TEST_F(ChainTest, LinkingAndUnlinkingLeaveTheChainInCollationOrder) {
  struct Case {
    const char* what;
    std::vector<Company::Spec> linked;  // record 1, 2, ... in the order they are linked
    std::vector<std::string> want;      // the chain, by label
    ChainKey key = ChainKey::Code;
    bool sorts = false;                      // linked with the sorts' rule
    std::vector<std::int16_t> deleted = {};  // then unlinked as the delete does, in this order
    std::int16_t recoded = 0;                // then unlinked as the save does, given `newCode`, and linked again
    const char* newCode = "";
  };
  const Case cases[] = {
      {.what = "the first record of an empty file points to itself both ways",
       .linked = {{"KASNAK"}},
       .want = {"KASNAK"}},
      {.what = "Turkish letters follow their base letters",
       .linked = {{"İNCE"}, {"ÇARK"}, {"DİŞLİ"}, {"IŞIK"}, {"CIVATA"}, {"ıhlamur"}, {"ÖRS"}, {"OK"}, {"ŞAFT"},
                  {"SAP"}, {"ÜST"}, {"UZUN"}, {"ĞA"}, {"GÖVDE"}, {"inç"}, {"HAT"}},
       .want = {"CIVATA", "ÇARK", "DİŞLİ", "GÖVDE", "ĞA", "HAT", "IŞIK", "ıhlamur", "İNCE", "inç", "OK", "ÖRS", "SAP",
                "ŞAFT", "UZUN", "ÜST"}},
      {.what = "a shorter key goes before the longer one it begins",
       .linked = {{"ABC"}, {"ABD"}, {"AB"}},
       .want = {"AB", "ABC", "ABD"}},
      {.what = "equal keys lie in the order they were linked: after the last, and after every equal first",
       .linked = {{"M1"}, {"M5"}, {"M9"}, {"M9", "2"}, {"M1", "2"}, {"M1", "3"}},
       .want = {"M1", "M1:2", "M1:3", "M5", "M9", "M9:2"}},
      {.what = "a key in an empty bucket links between the neighbouring buckets",
       .linked = {{"A9"}, {"Z1"}, {"M5"}},
       .want = {"A9", "M5", "Z1"}},
      {.what = "the sorts place a key equal to the first before it",
       .linked = {{"M1"}, {"M9"}, {"M1", "2"}},
       .want = {"M1:2", "M1", "M9"},
       .sorts = true},
      {.what = "names are linked by the name field",
       .linked = {{"1", "Zeytin"}, {"2", "Armut"}, {"3", "Elma"}},
       .want = {"2:Armut", "3:Elma", "1:Zeytin"},
       .key = ChainKey::Name},
      {.what = "unlinking the only record of a bucket empties it",
       .linked = {{"A1"}, {"K1"}, {"Z1"}},
       .want = {"A1", "Z1"},
       .deleted = {2}},
      {.what = "unlinking the chain's ends makes the neighbours the new ends",
       .linked = {{"A1"}, {"B1"}, {"B2"}, {"Z1"}},
       .want = {"B1", "B2"},
       .deleted = {1, 4}},
      {.what = "a save unlinks, then the new code links at its new place",
       .linked = {{"A1"}, {"M1"}, {"Z1"}},
       .want = {"A1", "Z1", "ZZ"},
       .recoded = 2,
       .newCode = "ZZ"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempFolder fresh;
    Company c;
    const ChainFiles files{c.dataFile(), c.indexFile(), k.key};
    InsertPolicy policy = quietInsertPolicy();
    policy.equalFirstGoesBefore = k.sorts;
    for (const Company::Spec& s : k.linked) {
      const std::int16_t r = c.append(testing::makeProduct(s.code, s.name, s.kind));
      ASSERT_EQ(insertIntoAlphabeticIndex(files, r, policy, nullptr), InsertResult::Linked);
    }
    RecordingSink sink;
    for (std::int16_t r : k.deleted) {
      ASSERT_EQ(unlinkFromAlphabeticIndex(files, r, UnlinkVariant::Delete, &sink), UnlinkResult::Unlinked);
      EXPECT_EQ(c.record(r).Kind, -1);
    }
    if (k.recoded) {
      ASSERT_EQ(unlinkFromAlphabeticIndex(files, k.recoded, UnlinkVariant::Save, &sink), UnlinkResult::Unlinked);
      ProductRecord rec = c.record(k.recoded);
      rec.Code = w(k.newCode);
      c.write(k.recoded, rec);
      ASSERT_EQ(insertIntoAlphabeticIndex(files, k.recoded, toldInsertPolicy(), &sink), InsertResult::Linked);
    }
    EXPECT_TRUE(sink.shown.empty());
    expectChain(c, files, k.want);
  }
}

TEST_F(ChainTest, UpperBeforeLowerBeforeNextLetterInAnyInsertionOrder) {
  std::vector<std::string> codes = {"A1", "a1", "B1"};
  std::sort(codes.begin(), codes.end());
  do {
    TempFolder f;
    Company c;
    for (const auto& code : codes) c.add(code);
    auto report = checkChain(c.files());
    ASSERT_TRUE(report.sound) << report.problems.front();
    EXPECT_EQ(codesInChainOrder(c), (std::vector<std::string>{"A1", "a1", "B1"}));
    EXPECT_GE(c.entry(34).First, 1);
    EXPECT_GE(c.entry(35).First, 1);
    EXPECT_GE(c.entry(36).First, 1);
  } while (std::next_permutation(codes.begin(), codes.end()));
}

// ---- A code outside the collation: no bucket, never in the chain ---------------------------------------

TEST_F(ChainTest, ARecordWithoutABucketIsNeitherLinkedNorUnlinkedAndNothingIsSaid) {
  using Act = bool (*)(const ChainFiles&, std::int16_t, MessageSink&);
  struct Case {
    const char* what;
    Act act;                      // true when it gave what it should
    bool pointersByHand = false;  // the record's pointers set to record 1 by a hand repair first
    bool marksDeleted = false;    // the product file changes: the record is marked deleted
  };
  const Case cases[] = {
      {"the insertion links nothing",
       [](const ChainFiles& f, std::int16_t r, MessageSink& s) {
         return insertIntoAlphabeticIndex(f, r, toldInsertPolicy(), &s) == InsertResult::NoBucket;
       }},
      {"the save's unlink finds it not in the chain",
       [](const ChainFiles& f, std::int16_t r, MessageSink& s) {
         return unlinkFromAlphabeticIndex(f, r, UnlinkVariant::Save, &s) == UnlinkResult::NotInChain;
       }},
      {"the delete's unlink finds it not in the chain",
       [](const ChainFiles& f, std::int16_t r, MessageSink& s) {
         return unlinkFromAlphabeticIndex(f, r, UnlinkVariant::Delete, &s) == UnlinkResult::NotInChain;
       }},
      {"the delete of one with pointers never touches entry zero",
       [](const ChainFiles& f, std::int16_t r, MessageSink& s) {
         return unlinkFromAlphabeticIndex(f, r, UnlinkVariant::Delete, &s) == UnlinkResult::Unlinked;
       },
       true, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempFolder fresh;
    Company c;
    c.add("A1");
    const std::int16_t r = c.append(testing::makeProduct("éLMA"));
    if (k.pointersByHand) {
      ProductRecord rec = c.record(r);
      rec.ChainPrev = 1;
      rec.ChainNext = 1;
      c.write(r, rec);
    }
    const auto dat = fresh.bytes("KLVR952.DAT");
    const auto abc = fresh.bytes("KLVR952.ABC");
    RecordingSink sink;
    EXPECT_TRUE(k.act(c.files(), r, sink));
    EXPECT_EQ(sink.beeps, 0);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(fresh.bytes("KLVR952.ABC"), abc);
    if (!k.marksDeleted) {
      EXPECT_EQ(fresh.bytes("KLVR952.DAT"), dat);
      EXPECT_EQ(c.record(r).ChainPrev, 0);
      EXPECT_EQ(c.record(r).ChainNext, 0);
    }
    EXPECT_TRUE(checkChain(c.files()).sound);
  }
}

TEST_F(ChainTest, TheIndexOpeningRuleEmptiesTheFirst109EntriesOfAnIndexOfAnotherLength) {
  struct Case {
    const char* what;
    std::size_t bytes;
    std::size_t after;  // the index's length afterwards
  };
  const Case cases[] = {{"an empty index is opened as 109 empty entries", 0, 436},
                        {"a longer index keeps its extra entries", 440, 440}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempFolder fresh;
    fresh.write("KLVR952.ABC", std::vector<std::uint8_t>(k.bytes, 0x11));
    int f = nextFreeFileNumber();
    openRandom(f, "KLVR952.ABC", 4);
    EXPECT_TRUE(applyIndexOpeningRule(f));
    EXPECT_EQ(fileLength(f), static_cast<std::int64_t>(k.after));
    EXPECT_EQ(applyIndexOpeningRule(f), k.after != 436);  // holds again only at exactly 109 entries
    closeFile(f);
    const auto bytes = fresh.bytes("KLVR952.ABC");
    ASSERT_EQ(bytes.size(), k.after);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 436, [](auto b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(bytes.begin() + 436, bytes.end(), [](auto b) { return b == 0x11; }));
  }
}

// ---- Randomised: any sequence of insertions and unlinks leaves a sound chain ----------------------------

TEST_F(ChainTest, RandomInsertionsAndUnlinksKeepOneSoundChain) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    TempFolder f;
    Company c;
    std::mt19937 rng(seed);
    std::vector<std::int16_t> live;
    std::map<std::int16_t, int> linkedAt;  // step at which each record was last linked
    for (int step = 0; step < 300; ++step) {
      std::uniform_int_distribution<int> action(0, 9);
      int a = action(rng);
      if (a < 6 || live.empty()) {
        std::string code = randomTurkishCode(rng);
        auto r = c.add(code);
        live.push_back(r);
        linkedAt[r] = step;
      } else if (a < 8) {
        std::uniform_int_distribution<std::size_t> which(0, live.size() - 1);
        auto idx = which(rng);
        auto r = live[idx];
        ASSERT_NE(unlinkFromAlphabeticIndex(c.files(), r, UnlinkVariant::Delete, nullptr), UnlinkResult::PointerError);
        live.erase(live.begin() + static_cast<long>(idx));
      } else {
        // A changed code: unlink as the save does, write the new code, link again.
        std::uniform_int_distribution<std::size_t> which(0, live.size() - 1);
        auto r = live[which(rng)];
        auto result = unlinkFromAlphabeticIndex(c.files(), r, UnlinkVariant::Save, nullptr);
        ASSERT_NE(result, UnlinkResult::PointerError);
        auto rec = c.record(r);
        rec.Code = w(randomTurkishCode(rng));
        c.write(r, rec);
        ASSERT_EQ(insertIntoAlphabeticIndex(c.files(), r, quietInsertPolicy(), nullptr), InsertResult::Linked);
        linkedAt[r] = step;
      }
      auto report = checkChain(c.files());
      ASSERT_TRUE(report.sound) << "seed " << seed << " step " << step << ": " << report.problems.front();
    }
    // Records with equal keys lie in the order in which they were last linked.
    auto order = checkChain(c.files()).order;
    for (std::size_t i = 1; i < order.size(); ++i) {
      auto ra = c.record(order[i - 1]);
      auto rb = c.record(order[i]);
      auto ka = keyOf(ra.Code.view());
      auto kb = keyOf(rb.Code.view());
      if (compareKeys(std::string(ka), std::string(kb)) == 0) {
        EXPECT_LT(linkedAt[order[i - 1]], linkedAt[order[i]])
            << "seed " << seed << " records " << order[i - 1] << ", " << order[i] << " key " << toUtf8(std::string(ka));
      }
    }
  }
}

// ---- Damaged files: the operation ends with its message, nothing hangs, nothing is written outside -----

void setNext(Company& c, std::int16_t r, std::int16_t next) {
  ProductRecord rec = c.record(r);
  rec.ChainNext = next;
  c.write(r, rec);
}

// What a row of the damaged files looks at afterwards: the company, the record just linked, what was said.
struct After {
  const Company& c;
  std::int16_t r;
  const RecordingSink& sink;
  const TempFolder& folder;
};

TEST_F(ChainTest, AnInsertionIntoADamagedFileEndsWithItsMessageAndWritesNothing) {
  struct Case {
    const char* what;
    std::vector<Company::Spec> linked;
    std::function<void(Company&)> damage = nullptr;
    const char* code;  // of the record then linked
    InsertResult result;
    bool told = true;  // the main window's policy, else the quiet one
    // What else holds afterwards.
    std::function<void(const After&)> also = nullptr;
    // The index the insertion uses, when not the company's own.
    std::function<int(const TempFolder&)> index = nullptr;
  };
  const int m = collationRank('M');
  const Case cases[] = {
      {.what = "a loop inside a bucket ends with the critical message",
       .linked = {{"M1"}, {"M2"}, {"M9"}},
       .damage = [](Company& c) { setNext(c, 2, 1); },  // M2 leads back to M1: the walk never reaches M9
       .code = "M5",
       .result = InsertResult::CriticalError,
       .also =
           [](const After& a) {
             EXPECT_EQ(a.sink.shown[0].title, "KALVOR 952 Uyarlama 3.0  ( 'On Error GoTo' )");
           }},
      {.what = "a pointer past the end never extends the file",
       .linked = {{"A1"}, {"M1"}},
       .damage = [m](Company& c) { put(c.indexFile(), m, IndexEntry{2, 900}); },  // bucket M's Last beyond the file
       .code = "M5",
       .result = InsertResult::CriticalError,
       .also = [m](const After& a) { EXPECT_EQ(a.c.entry(m), (IndexEntry{2, 900})); }},
      {.what = "the quiet insertion says nothing",
       .linked = {{"M1"}},
       .damage = [m](Company& c) { put(c.indexFile(), m, IndexEntry{1, 900}); },
       .code = "M5",
       .result = InsertResult::CriticalError,
       .told = false},
      {.what = "the walk running off the last bucket is a sorting error",
       .linked = {{"M1"}, {"M9"}},
       .damage = [](Company& c) { setNext(c, 1, 1); },  // the chain ends at M1 although the bucket's Last is M9
       .code = "M5",
       .result = InsertResult::SortingError,
       .also =
           [](const After& a) {
             EXPECT_EQ(a.sink.shown[0].text,
                       "Sıralama hatalı!...  Düzeltmek için, 'SERVİS' menüsüne girip, 'Oluştur' komutunu "
                       "çalıştırın...");
             EXPECT_EQ(a.sink.shown[0].title, "SIRALAMA  HATASI !");
           }},
      {.what = "the walk running off the chain carries it on to the next bucket",
       .linked = {{"M1"}, {"M9"}, {"Z1"}},
       .damage = [](Company& c) { setNext(c, 1, 1); },  // the chain ends at M1 although M9 and Z1 follow
       .code = "M5",
       .result = InsertResult::Linked,
       .also =
           [](const After& a) {
             EXPECT_EQ(a.c.record(1).ChainNext, a.r);
             EXPECT_EQ(a.c.record(a.r).ChainNext, 3);
           }},
      // The walk for M3 goes 5, 6, 8, 1, finds the chain ending at 1, carries it on to bucket N's first
      // record, which leads back to 6: a loop.
      {.what = "a carry-on that ends in a loop is never written",
       .linked = {{"A1"}, {"M9"}, {"M3"}, {"Z2"}, {"M1"}, {"M2"}, {"M3"}, {"M2"}, {"M3"}, {"B1"}},
       .damage =
           [](Company& c) {
             setNext(c, 8, 1);
             setNext(c, 1, 1);
             put(c.indexFile(), collationRank('N'), IndexEntry{6, 0});
           },
       .code = "M3",
       .result = InsertResult::CriticalError},
      {.what = "a short index ends the insertion with its message",
       .linked = {{"A1"}},
       .code = "Z1",
       .result = InsertResult::CriticalError,
       .also = [](const After& a) { EXPECT_EQ(a.folder.bytes("SHORT.ABC").size(), 40u); },
       .index =
           [](const TempFolder& f) {
             f.write("SHORT.ABC", std::vector<std::uint8_t>(40, 0));
             const int idx = nextFreeFileNumber();
             openRandom(idx, "SHORT.ABC", 4);
             return idx;
           }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempFolder fresh;
    Company c;
    c.addAll(k.linked);
    if (k.damage) k.damage(c);
    const ChainFiles files{c.dataFile(), k.index ? k.index(fresh) : c.indexFile(), ChainKey::Code};
    const std::int16_t r = c.append(testing::makeProduct(k.code));
    const auto dat = fresh.bytes("KLVR952.DAT");
    const auto abc = fresh.bytes("KLVR952.ABC");
    RecordingSink sink;
    EXPECT_EQ(insertIntoAlphabeticIndex(files, r, k.told ? toldInsertPolicy() : quietInsertPolicy(), &sink),
              k.result);
    const bool said = k.told && k.result != InsertResult::Linked;
    EXPECT_EQ(sink.beeps, said ? 1 : 0);
    ASSERT_EQ(sink.shown.size(), said ? 1u : 0u);
    if (k.result != InsertResult::Linked) {
      // The new record was appended with both pointers 0, and stays so.
      EXPECT_EQ(fresh.bytes("KLVR952.DAT"), dat);
      EXPECT_EQ(fresh.bytes("KLVR952.ABC"), abc);
      EXPECT_EQ(c.record(r).ChainPrev, 0);
      EXPECT_EQ(c.record(r).ChainNext, 0);
    }
    if (k.also) k.also({c, r, sink, fresh});
  }
}

// While it lives, every write that reaches `limit` bytes into a file fails, as on a full disk.
class WriteLimit {
 public:
  explicit WriteLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = old_;
    l.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &l);
  }
  ~WriteLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST_F(ChainTest, AWriteThatFailsHalfWayPutsBackWhatWasWritten) {
  // Records 1 to 3 can be written, record 4 and the new one cannot: both the insertion after M1 and the
  // deletion of M1 write the index and record 1 or 3 before they reach record 4.
  for (bool insertion : {true, false}) {
    TempFolder f;
    Company c;
    c.addAll({{"M1"}, {"B1"}, {"C1"}, {"Z1"}});
    auto r = insertion ? c.append(testing::makeProduct("M5")) : std::int16_t{1};
    auto dat = f.bytes("KLVR952.DAT");
    auto abc = f.bytes("KLVR952.ABC");
    {
      WriteLimit limit(3 * ProductRecord::Length);
      RecordingSink sink;
      if (insertion) {
        EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, toldInsertPolicy(), &sink),
                  InsertResult::CriticalError);
        EXPECT_EQ(sink.shown.size(), 1u);
      } else {
        EXPECT_THROW(unlinkFromAlphabeticIndex(c.files(), r, UnlinkVariant::Delete, &sink), FileError);
      }
    }
    EXPECT_EQ(f.bytes("KLVR952.DAT"), dat) << insertion;
    EXPECT_EQ(f.bytes("KLVR952.ABC"), abc) << insertion;
  }
}

TEST_F(ChainTest, AnUnlinkWithAPointerPastTheEndShowsThePointerMessage) {
  struct Case {
    UnlinkVariant variant;
    const char* text;
  };
  // The save's check comes before anything is written; the delete has marked the record deleted and
  // emptied its bucket before it.
  const Case cases[] = {
      {UnlinkVariant::Save,
       " 2 numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek için 'Oluştur' komutunu çalıştırın..."},
      {UnlinkVariant::Delete,
       " 2 numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek için 'SERVİS' komutunu çalıştırın..."},
  };
  for (const Case& k : cases) {
    const bool deletes = k.variant == UnlinkVariant::Delete;
    SCOPED_TRACE(deletes ? "delete" : "save");
    TempFolder fresh;
    Company c;
    c.addAll({{"A1"}, {"M1"}, {"Z1"}});
    ProductRecord rec = c.record(2);
    rec.ChainNext = 700;
    c.write(2, rec);
    const auto dat = fresh.bytes("KLVR952.DAT");
    const auto abc = fresh.bytes("KLVR952.ABC");
    RecordingSink sink;
    EXPECT_EQ(unlinkFromAlphabeticIndex(c.files(), 2, k.variant, &sink), UnlinkResult::PointerError);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, k.text);
    EXPECT_EQ(sink.shown[0].title, "İNDEKS POİNTER HATASI !");
    if (deletes) {
      EXPECT_EQ(c.record(2).Kind, -1);
      EXPECT_EQ(c.entry(collationRank('M')), (IndexEntry{0, 0}));
    } else {
      EXPECT_EQ(fresh.bytes("KLVR952.DAT"), dat);
      EXPECT_EQ(fresh.bytes("KLVR952.ABC"), abc);
    }
  }
}

}  // namespace
}  // namespace kv
