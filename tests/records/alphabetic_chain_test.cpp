// The alphabetic chain: insertion and unlink on real files, the edge cases that catch real faults, a
// randomised property test against the checker, and damaged files.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
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

class ChainTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(ChainTest, FirstRecordOfAnEmptyFilePointsToItselfBothWays) {
  Company c;
  auto r = c.add("KASNAK");
  auto rec = c.record(r);
  EXPECT_EQ(rec.ChainPrev, r);
  EXPECT_EQ(rec.ChainNext, r);
  int b = collationRank('K');
  EXPECT_EQ(c.entry(b), (IndexEntry{r, r}));
  EXPECT_TRUE(checkChain(c.files()).sound);
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

TEST_F(ChainTest, TurkishLettersFollowTheirBaseLetters) {
  Company c;
  for (const char* code : {"İNCE", "ÇARK", "DİŞLİ", "IŞIK", "CIVATA", "ıhlamur", "ÖRS", "OK", "ŞAFT", "SAP",
                           "ÜST", "UZUN", "ĞA", "GÖVDE", "inç", "HAT"})
    c.add(code);
  ASSERT_TRUE(checkChain(c.files()).sound);
  EXPECT_EQ(codesInChainOrder(c),
            (std::vector<std::string>{"CIVATA", "ÇARK", "DİŞLİ", "GÖVDE", "ĞA", "HAT", "IŞIK", "ıhlamur", "İNCE",
                                      "inç", "OK", "ÖRS", "SAP", "ŞAFT", "UZUN", "ÜST"}));
}

TEST_F(ChainTest, AShorterKeyGoesBeforeTheLongerOneItBegins) {
  Company c;
  c.add("ABC");
  c.add("ABD");
  c.add("AB");
  ASSERT_TRUE(checkChain(c.files()).sound);
  EXPECT_EQ(codesInChainOrder(c), (std::vector<std::string>{"AB", "ABC", "ABD"}));
}

TEST_F(ChainTest, EqualKeysLieInTheOrderTheyWereLinked) {
  Company c;
  auto a1 = c.add("M1");
  auto first = c.add("M5");
  auto last = c.add("M9");
  // Equal to the last key: appended after it, becomes Last.
  auto eqLast = c.add("M9");
  EXPECT_EQ(c.entry(collationRank('M')).Last, eqLast);
  // Equal to the first key (and smaller than the last): after every record with that key.
  auto eqFirst = c.add("M1");
  auto eqFirst2 = c.add("M1");
  auto report = checkChain(c.files());
  ASSERT_TRUE(report.sound);
  EXPECT_EQ(report.order, (std::vector<std::int16_t>{a1, eqFirst, eqFirst2, first, last, eqLast}));
}

TEST_F(ChainTest, AKeyInAnEmptyBucketLinksBetweenTheNeighbouringBuckets) {
  Company c;
  auto a = c.add("A9");
  auto z = c.add("Z1");
  auto m = c.add("M5");
  auto rec = c.record(m);
  EXPECT_EQ(rec.ChainPrev, a);
  EXPECT_EQ(rec.ChainNext, z);
  EXPECT_EQ(c.record(a).ChainNext, m);
  EXPECT_EQ(c.record(z).ChainPrev, m);
  EXPECT_TRUE(checkChain(c.files()).sound);
}

TEST_F(ChainTest, ACodeOutsideTheCollationIsNotLinkedAndNothingIsSaid) {
  Company c;
  c.add("B1");
  auto before = folder.bytes("KLVR952.ABC");
  auto r = c.append(testing::makeProduct("éLMA"));
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, toldInsertPolicy(), &sink), InsertResult::NoBucket);
  EXPECT_EQ(sink.beeps, 0);
  EXPECT_TRUE(sink.shown.empty());
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), before);
  EXPECT_EQ(c.record(r).ChainPrev, 0);
  EXPECT_EQ(c.record(r).ChainNext, 0);
  EXPECT_TRUE(checkChain(c.files()).sound);
}

TEST_F(ChainTest, UnlinkingTheOnlyRecordOfABucketEmptiesIt) {
  Company c;
  c.add("A1");
  auto k = c.add("K1");
  c.add("Z1");
  RecordingSink sink;
  ASSERT_EQ(unlinkFromAlphabeticIndex(c.files(), k, UnlinkVariant::Delete, &sink), UnlinkResult::Unlinked);
  EXPECT_EQ(c.entry(collationRank('K')), (IndexEntry{0, 0}));
  EXPECT_EQ(c.record(k).Kind, -1);
  auto report = checkChain(c.files());
  EXPECT_TRUE(report.sound) << report.problems.front();
  EXPECT_EQ(codesInChainOrder(c), (std::vector<std::string>{"A1", "Z1"}));
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ChainTest, UnlinkingTheChainEndsMakesTheNeighboursTheNewEnds) {
  Company c;
  auto a = c.add("A1");
  auto b = c.add("B1");
  auto b2 = c.add("B2");
  auto z = c.add("Z1");
  ASSERT_EQ(unlinkFromAlphabeticIndex(c.files(), a, UnlinkVariant::Delete, nullptr), UnlinkResult::Unlinked);
  EXPECT_EQ(c.record(b).ChainPrev, b);
  ASSERT_EQ(unlinkFromAlphabeticIndex(c.files(), z, UnlinkVariant::Delete, nullptr), UnlinkResult::Unlinked);
  EXPECT_EQ(c.record(b2).ChainNext, b2);
  EXPECT_TRUE(checkChain(c.files()).sound);
}

TEST_F(ChainTest, SaveUnlinkThenInsertMovesARecordToItsNewPlace) {
  Company c;
  c.add("A1");
  auto m = c.add("M1");
  c.add("Z1");
  ASSERT_EQ(unlinkFromAlphabeticIndex(c.files(), m, UnlinkVariant::Save, nullptr), UnlinkResult::Unlinked);
  auto rec = c.record(m);
  rec.Code = "ZZ";
  c.write(m, rec);
  ASSERT_EQ(insertIntoAlphabeticIndex(c.files(), m, toldInsertPolicy(), nullptr), InsertResult::Linked);
  EXPECT_TRUE(checkChain(c.files()).sound);
  EXPECT_EQ(codesInChainOrder(c), (std::vector<std::string>{"A1", "Z1", "ZZ"}));
}

TEST_F(ChainTest, AnUnlinkedRecordIsReportedNotInChainAndNothingIsWritten) {
  Company c;
  c.add("A1");
  auto r = c.append(testing::makeProduct("éX"));
  auto dat = folder.bytes("KLVR952.DAT");
  auto abc = folder.bytes("KLVR952.ABC");
  EXPECT_EQ(unlinkFromAlphabeticIndex(c.files(), r, UnlinkVariant::Save, nullptr), UnlinkResult::NotInChain);
  EXPECT_EQ(unlinkFromAlphabeticIndex(c.files(), r, UnlinkVariant::Delete, nullptr), UnlinkResult::NotInChain);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), dat);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);
}

TEST_F(ChainTest, AnEmptyIndexIsOpenedAs109EmptyEntries) {
  folder.write("KLVR952.ABC", {});
  int f = nextFreeFileNumber();
  openRandom(f, "KLVR952.ABC", 4);
  EXPECT_TRUE(applyIndexOpeningRule(f));
  EXPECT_EQ(fileLength(f), 436);
  EXPECT_FALSE(applyIndexOpeningRule(f));
  closeFile(f);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), std::vector<std::uint8_t>(436, 0));
}

TEST_F(ChainTest, ALongerIndexKeepsItsExtraEntriesAndIsReset) {
  std::vector<std::uint8_t> content(440, 0x11);
  folder.write("KLVR952.ABC", content);
  int f = nextFreeFileNumber();
  openRandom(f, "KLVR952.ABC", 4);
  EXPECT_TRUE(applyIndexOpeningRule(f));
  closeFile(f);
  auto after = folder.bytes("KLVR952.ABC");
  ASSERT_EQ(after.size(), 440u);
  EXPECT_TRUE(std::all_of(after.begin(), after.begin() + 436, [](auto b) { return b == 0; }));
  EXPECT_EQ(after[436], 0x11);
}

// ---- The sorts' variant -------------------------------------------------------------------------------

TEST_F(ChainTest, TheSortsPlaceAKeyEqualToTheFirstBeforeIt) {
  Company c;
  auto m1 = c.add("M1");
  c.add("M9");
  auto r = c.append(testing::makeProduct("M1"));
  InsertPolicy sortPolicy;
  sortPolicy.equalFirstGoesBefore = true;
  ASSERT_EQ(insertIntoAlphabeticIndex(c.files(), r, sortPolicy, nullptr), InsertResult::Linked);
  EXPECT_EQ(c.entry(collationRank('M')).First, r);
  EXPECT_EQ(c.record(r).ChainNext, m1);
  EXPECT_TRUE(checkChain(c.files()).sound);
}

TEST_F(ChainTest, NamesAreLinkedByTheNameField) {
  Company c;
  c.add("1", "Zeytin");
  c.add("2", "Armut");
  c.add("3", "Elma");
  // Link a second chain by name over the same file in a fresh index.
  int idx = nextFreeFileNumber();
  openRandom(idx, "KLVR952.IND", 4);
  applyIndexOpeningRule(idx);
  for (std::int16_t r = 1; r <= 3; ++r) {
    auto rec = c.record(r);
    rec.ChainPrev = rec.ChainNext = 0;
    c.write(r, rec);
  }
  ChainFiles byName{c.dataFile(), idx, ChainKey::Name};
  for (std::int16_t r = 1; r <= 3; ++r) insertIntoAlphabeticIndex(byName, r, InsertPolicy{}, nullptr);
  auto report = checkChain(byName);
  ASSERT_TRUE(report.sound);
  EXPECT_EQ(report.order, (std::vector<std::int16_t>{2, 3, 1}));
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

TEST_F(ChainTest, ALoopInsideABucketEndsWithTheCriticalMessage) {
  Company c;
  auto m1 = c.add("M1");
  auto m2 = c.add("M2");
  c.add("M9");
  // m2 points back to m1: a loop that never reaches M9.
  auto rec = c.record(m2);
  rec.ChainNext = m1;
  c.write(m2, rec);
  auto r = c.append(testing::makeProduct("M5"));
  auto size = folder.bytes("KLVR952.DAT").size();
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, toldInsertPolicy(), &sink), InsertResult::CriticalError);
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].title, "KALVOR 952 Uyarlama 3.0  ( 'On Error GoTo' )");
  EXPECT_EQ(sink.beeps, 1);
  EXPECT_EQ(c.record(r).ChainPrev, 0);
  EXPECT_EQ(c.record(r).ChainNext, 0);
  EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), size);
}

TEST_F(ChainTest, APointerPastTheEndNeverExtendsTheFile) {
  Company c;
  c.add("A1");
  auto m = c.add("M1");
  // Bucket M's Last points far beyond the file.
  put(c.indexFile(), collationRank('M'), IndexEntry{m, 900});
  auto r = c.append(testing::makeProduct("M5"));
  auto size = folder.bytes("KLVR952.DAT").size();
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, toldInsertPolicy(), &sink), InsertResult::CriticalError);
  EXPECT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), size);
  EXPECT_EQ(c.entry(collationRank('M')), (IndexEntry{m, 900}));
}

TEST_F(ChainTest, QuietInsertionSaysNothingOnFailure) {
  Company c;
  auto m = c.add("M1");
  put(c.indexFile(), collationRank('M'), IndexEntry{m, -5 + 905});
  auto r = c.append(testing::makeProduct("M5"));
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, quietInsertPolicy(), &sink), InsertResult::CriticalError);
  EXPECT_TRUE(sink.shown.empty());
  EXPECT_EQ(sink.beeps, 0);
}

TEST_F(ChainTest, TheWalkRunningOffTheLastBucketIsASortingError) {
  Company c;
  auto m1 = c.add("M1");
  c.add("M9");
  // The chain ends at M1 although the bucket's Last is M9.
  auto rec = c.record(m1);
  rec.ChainNext = m1;
  c.write(m1, rec);
  auto r = c.append(testing::makeProduct("M5"));
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, toldInsertPolicy(), &sink), InsertResult::SortingError);
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].text,
            "Sıralama hatalı!...  Düzeltmek için, 'SERVİS' menüsüne girip, 'Oluştur' komutunu çalıştırın...");
  EXPECT_EQ(sink.shown[0].title, "SIRALAMA  HATASI !");
  EXPECT_EQ(c.record(r).ChainNext, 0);
}

TEST_F(ChainTest, TheWalkRunningOffTheChainCarriesItOnToTheNextBucket) {
  Company c;
  auto m1 = c.add("M1");
  auto m9 = c.add("M9");
  auto z = c.add("Z1");
  // The chain ends at M1 although M9 and Z1 follow.
  auto rec = c.record(m1);
  rec.ChainNext = m1;
  c.write(m1, rec);
  auto r = c.append(testing::makeProduct("M5"));
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, toldInsertPolicy(), &sink), InsertResult::Linked);
  EXPECT_TRUE(sink.shown.empty());
  EXPECT_EQ(c.record(m1).ChainNext, r);
  EXPECT_EQ(c.record(r).ChainNext, z);
  (void)m9;
}

TEST_F(ChainTest, ACarryOnThatEndsInALoopIsNeverWritten) {
  Company c;
  c.addAll({{"A1"}, {"M9"}, {"M3"}, {"Z2"}, {"M1"}, {"M2"}, {"M3"}, {"M2"}, {"M3"}, {"B1"}});
  // The walk for M3 goes 5, 6, 8, 1, finds the chain ending at 1, carries it on to bucket N's first record,
  // which leads back to 6: a loop.
  auto rec = c.record(8);
  rec.ChainNext = 1;
  c.write(8, rec);
  rec = c.record(1);
  rec.ChainNext = 1;
  c.write(1, rec);
  put(c.indexFile(), collationRank('N'), IndexEntry{6, 0});
  auto r = c.append(testing::makeProduct("M3"));
  auto dat = folder.bytes("KLVR952.DAT");
  auto abc = folder.bytes("KLVR952.ABC");
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex(c.files(), r, toldInsertPolicy(), &sink), InsertResult::CriticalError);
  EXPECT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), dat);  // record 11 was appended with both pointers 0
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);
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

TEST_F(ChainTest, AShortIndexEndsTheInsertionWithItsMessage) {
  Company c;
  c.add("A1");
  folder.write("SHORT.ABC", std::vector<std::uint8_t>(40, 0));
  int idx = nextFreeFileNumber();
  openRandom(idx, "SHORT.ABC", 4);
  auto r = c.append(testing::makeProduct("Z1"));
  RecordingSink sink;
  EXPECT_EQ(insertIntoAlphabeticIndex({c.dataFile(), idx, ChainKey::Code}, r, toldInsertPolicy(), &sink),
            InsertResult::CriticalError);
  EXPECT_EQ(sink.shown.size(), 1u);
  closeFile(idx);
  EXPECT_EQ(folder.bytes("SHORT.ABC").size(), 40u);
}

TEST_F(ChainTest, UnlinkWithAPointerPastTheEndShowsThePointerMessage) {
  Company c;
  c.add("A1");
  auto m = c.add("M1");
  c.add("Z1");
  auto rec = c.record(m);
  rec.ChainNext = 700;
  c.write(m, rec);
  auto abc = folder.bytes("KLVR952.ABC");
  RecordingSink sink;
  EXPECT_EQ(unlinkFromAlphabeticIndex(c.files(), m, UnlinkVariant::Save, &sink), UnlinkResult::PointerError);
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].text,
            " 2 numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek için 'Oluştur' komutunu çalıştırın...");
  EXPECT_EQ(sink.shown[0].title, "İNDEKS POİNTER HATASI !");
  // The save's check comes before anything is written.
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);

  RecordingSink sink2;
  EXPECT_EQ(unlinkFromAlphabeticIndex(c.files(), m, UnlinkVariant::Delete, &sink2), UnlinkResult::PointerError);
  ASSERT_EQ(sink2.shown.size(), 1u);
  EXPECT_EQ(sink2.shown[0].text,
            " 2 numaralı kayıtın indeks pointerleri hatalı!  Düzeltmek için 'SERVİS' komutunu çalıştırın...");
  // The delete has marked the record deleted and adjusted the bucket before the test.
  EXPECT_EQ(c.record(m).Kind, -1);
  EXPECT_EQ(c.entry(collationRank('M')), (IndexEntry{0, 0}));
}

TEST_F(ChainTest, DeleteOfARecordWithoutABucketNeverTouchesEntryZero) {
  Company c;
  c.add("A1");
  auto r = c.append(testing::makeProduct("éX"));
  auto rec = c.record(r);
  rec.ChainPrev = 1;  // pointers set by hand repair
  rec.ChainNext = 1;
  c.write(r, rec);
  auto abc = folder.bytes("KLVR952.ABC");
  EXPECT_EQ(unlinkFromAlphabeticIndex(c.files(), r, UnlinkVariant::Delete, nullptr), UnlinkResult::Unlinked);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);
}

}  // namespace
}  // namespace kv
