// The sorts of the product file: the records in their new order, numbered afresh, the chain and index by
// code, the old files kept as backups; a damaged chain loses no live record, and a sort that cannot be
// done writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>

#include "base/messages.h"
#include "base/collation.h"
#include "base/text.h"
#include "files/files.h"
#include "product/product_sort.h"
#include "product/product_titles.h"
#include "records/chain_bulk_link.h"
#include "support/company.h"
#include "support/file_faults.h"

namespace kv {
namespace {

using testing::checkChain;
using testing::Company;
using testing::TempFolder;

// The operations window's titles of a sort, as UTF-8 texts; with the window's caption (UTF-8), which comes
// back at the end.
struct Titles : ProgressSink, SortTitles {
  explicit Titles(const char* caption = nullptr)
      : SortTitles(static_cast<ProgressSink&>(*this), caption ? std::optional(w(caption)) : std::nullopt) {}
  void progress(const std::string& text) override { seen.push_back(toUtf8(text)); }
  std::vector<std::string> seen;
};

using Bytes = std::vector<std::uint8_t>;

// The old record numbers (kept in RecordNumber) of the sorted file, in record order.
std::vector<int> oldNumbers() {
  Company c;
  std::vector<int> out;
  for (std::int16_t r = 1; r <= c.count(); ++r) out.push_back(c.record(r).RecordNumber);
  return out;
}

// A file's bytes with 300 bytes of its first record after them.
Bytes withTail(Bytes data) {
  data.insert(data.end(), data.begin(), data.begin() + std::min<std::size_t>(300, data.size()));
  return data;
}

std::vector<int> liveRecords(Company& c) {
  std::vector<int> out;
  for (std::int16_t r = 1; r <= c.count(); ++r)
    if (c.record(r).Kind >= 0) out.push_back(r);
  return out;
}

// Random codes and names, some without a bucket or empty, and deleted records out of the chain.
void fillRandom(Company& c, std::mt19937& rng, int n, bool namesWithBucket) {
  const char* names[] = {"", "Armut", "armut", "Elma", "Zeytin", "ışık", "Çivi", "çivi", "Armut 2", "1 Vida"};
  for (int i = 0; i < n; ++i) {
    const int pick = static_cast<int>(rng() % 12);
    const std::string code = pick == 0 ? "" : pick == 1 ? "é1" : testing::randomTurkishCode(rng);
    std::string name = names[rng() % std::size(names)];
    if (!namesWithBucket && pick == 2) name = "éclair";
    if (rng() % 6 == 0)
      c.append(testing::makeProduct(code, name, -1));
    else
      c.add(code, name, static_cast<int>(rng() % 8));
  }
}

// What every sort leaves: one sound chain by code over the records 1..k in record order (the records
// without a bucket after them), every old live record once, the old files as the backups.
void expectSortedFile(const std::vector<int>& wantOld, const Bytes& oldData, const Bytes& oldIndex,
                      const TempFolder& folder) {
  EXPECT_EQ(oldNumbers(), wantOld);
  Company c;
  const testing::ChainReport report = checkChain(c.files());
  EXPECT_TRUE(report.sound) << (report.problems.empty() ? "" : report.problems[0]);
  for (std::size_t i = 0; i < report.order.size(); ++i) EXPECT_EQ(report.order[i], static_cast<int>(i + 1));
  for (std::int16_t r = static_cast<std::int16_t>(report.order.size() + 1); r <= c.count(); ++r)
    EXPECT_EQ(bucketOf(keyOf(c.record(r).Code.view())), 0);
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), oldData);
  EXPECT_EQ(folder.bytes("952KLVR.ABC"), oldIndex);
}

TEST(ProductSort, TheCodeSortCopiesTheChainThenTheLiveRecordsItMissedAndKeepsTheOldFiles) {
  std::mt19937 rng(15);
  for (int n : {0, 1, 2, 60, 400}) {
    SCOPED_TRACE(n);
    TempFolder folder;
    std::vector<int> want;
    {
      Company c;
      fillRandom(c, rng, n, true);
      for (std::int16_t r : checkChain(c.files()).order) want.push_back(r);
      for (int r : liveRecords(c))
        if (std::find(want.begin(), want.end(), r) == want.end()) want.push_back(r);
    }
    // A last record cut short, as a write that failed halfway leaves it: never sorted, kept in the backup.
    folder.write("KLVR952.DAT", withTail(folder.bytes("KLVR952.DAT")));
    const Bytes oldData = folder.bytes("KLVR952.DAT"), oldIndex = folder.bytes("KLVR952.ABC");
    Titles titles;
    testing::RecordingSink sink;
    ASSERT_EQ(sortByCode("KLVR952", titles, sink), want.empty() ? SortResult::NothingLive : SortResult::Sorted);
    EXPECT_TRUE(sink.shown.empty());
    if (want.empty()) continue;
    expectSortedFile(want, oldData, oldIndex, folder);
    EXPECT_EQ(titles.seen.back(), "İşlem tamamlandı...");
  }
}

TEST(ProductSort, ADamagedChainLosesNoLiveRecordAndTakesNoneTwice) {
  struct Damage {
    const char* what;
    void (*apply)(Company&);
  };
  const Damage damages[] = {
      {"lost index", [](Company& c) { for (int b = 1; b <= kBucketCount; ++b) put(c.indexFile(), b, IndexEntry{}); }},
      {"loop back to the start",
       [](Company& c) {
         const auto order = checkChain(c.files()).order;
         ProductRecord last = c.record(order.back());
         last.ChainNext = order.front();
         c.write(order.back(), last);
       }},
      {"pointer outside the file",
       [](Company& c) {
         const auto order = checkChain(c.files()).order;
         ProductRecord mid = c.record(order[order.size() / 2]);
         mid.ChainNext = 9999;
         c.write(order[order.size() / 2], mid);
       }},
      {"deleted record left on the chain",
       [](Company& c) {
         const std::int16_t r = checkChain(c.files()).order[3];
         ProductRecord rec = c.record(r);
         rec.Kind = -1;
         c.write(r, rec);
       }},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    TempFolder folder;
    std::vector<int> live;
    {
      Company c;
      std::mt19937 rng(7);
      fillRandom(c, rng, 80, true);
      d.apply(c);
      live = liveRecords(c);
    }
    Titles titles;
    testing::RecordingSink sink;
    ASSERT_EQ(sortByCode("KLVR952", titles, sink), SortResult::Sorted);
    std::vector<int> got = oldNumbers();
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, live);
    EXPECT_TRUE(checkChain(Company().files()).sound);
  }
}

TEST(ProductSort, TheNameSortOrdersAsLinkingTheNamesOneByOneDoesWithEmptyNamesFirst) {
  std::mt19937 rng(952);
  for (int n : {1, 2, 50, 300}) {
    SCOPED_TRACE(n);
    TempFolder folder;
    std::vector<int> want;
    {
      Company c;
      fillRandom(c, rng, n, true);
      // The reference: the live records linked by name one by one, in record order, with the sorts' rule.
      Company ref("REF");
      std::vector<int> named;
      for (int r : liveRecords(c)) {
        if (keyOf(c.record(static_cast<std::int16_t>(r)).Name.view()).empty()) {
          want.push_back(r);
          continue;
        }
        named.push_back(r);
        const std::int16_t at = ref.append(c.record(static_cast<std::int16_t>(r)));
        insertIntoAlphabeticIndex({ref.dataFile(), ref.indexFile(), ChainKey::Name}, at, sortInsertPolicy(), nullptr);
      }
      for (std::int16_t at : checkChain({ref.dataFile(), ref.indexFile(), ChainKey::Name}).order)
        want.push_back(named[at - 1]);
    }
    // A last record cut short, as a write that failed halfway leaves it: never sorted, kept in the backup.
    folder.write("KLVR952.DAT", withTail(folder.bytes("KLVR952.DAT")));
    const Bytes oldData = folder.bytes("KLVR952.DAT"), oldIndex = folder.bytes("KLVR952.ABC");
    Titles titles;
    testing::RecordingSink sink;
    ASSERT_EQ(sortByName("KLVR952", titles, sink), want.empty() ? SortResult::NothingLive : SortResult::Sorted);
    if (want.empty()) continue;
    Company sorted;
    EXPECT_TRUE(checkChain(sorted.files()).sound);
    EXPECT_EQ(oldNumbers(), want);
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), oldData);
    EXPECT_EQ(folder.bytes("952KLVR.ABC"), oldIndex);
  }
}

TEST(ProductSort, TheFixturesOfBothSorts) {
  TempFolder folder;
  {
    Company c;
    c.add("B", "Zeytin");
    c.append(testing::makeProduct("A", "Armut", -1));
    c.add("A", "Elma");
    c.add("C", "Armut");
  }
  Titles titles;
  testing::RecordingSink sink;
  ASSERT_EQ(sortByCode("KLVR952", titles, sink), SortResult::Sorted);
  EXPECT_EQ(oldNumbers(), (std::vector<int>{3, 1, 4}));
  EXPECT_EQ(folder.bytes("952KLVR.DAT").size(), 4u * ProductRecord::Length);
  ASSERT_EQ(sortByName("KLVR952", titles, sink), SortResult::Sorted);
  EXPECT_EQ(oldNumbers(), (std::vector<int>{4, 3, 1}));  // Armut, Elma, Zeytin
  EXPECT_EQ(checkChain(Company().files()).order, (std::vector<std::int16_t>{2, 3, 1}));  // A, B, C
  EXPECT_EQ(titles.seen, (std::vector<std::string>{" Alfabetik  sıralama başladı...", "FAZ 1 :  % 100",
                                                   "FAZ 2 :  3. Kayıt", "İşlem tamamlanıyor...", "İşlem tamamlandı...",
                                                   " Alfabetik  sıralama başladı...", "FAZ 1 : KADEME 1 : % 100",
                                                   "FAZ 1 : KADEME 2 : Devam...", "FAZ 1 : KADEME 3 : % 100",
                                                   "FAZ 2 :  3. Kayıt", "İşlem tamamlanıyor...", "İşlem tamamlandı..."}));
  EXPECT_TRUE(sink.shown.empty());
}

using Sort = SortResult (*)(const std::string&, SortReport&, MessageSink&);

// A message box throws when the program ends while it is open.
struct ProgramEnded {};
struct EndingSink : testing::RecordingSink {
  bool ends = false;
  MsgAnswer message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
    const MsgAnswer answer = RecordingSink::message(text, buttons, icon, title);
    if (ends) throw ProgramEnded{};
    return answer;
  }
};

TEST(ProductSort, ASortThatCannotBeDoneWritesNothing) {
  struct Case {
    const char* what;
    Sort sort;
    std::vector<Company::Spec> live;
    SortResult result;
    int messages;
    const char* lastTitle;
    const char* caption = nullptr;  // the window's, which the sort's end puts back
    bool programEnds = false;       // in the sort's message box
  };
  const char* const started = " Alfabetik  sıralama başladı...";
  const char* const window = "DİĞER İŞLEMLER";
  const Case cases[] = {
      {"nothing live", sortByName, {}, SortResult::NothingLive, 0, started},
      {"nothing live, by code", sortByCode, {}, SortResult::NothingLive, 0, started},
      {"a name outside the collation", sortByName, {{"A", "Elma"}, {"B", "éclair"}}, SortResult::Refused, 1,
       "FAZ 1 : KADEME 1 : % 100"},
      {"the window's caption after a stop", sortByCode, {}, SortResult::NothingLive, 0, window, window},
      {"the window's caption after a throw", sortByName, {{"A", "Elma"}, {"B", "éclair"}}, SortResult::Refused, 1,
       window, window, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempFolder folder;
    {
      Company c;
      c.append(testing::makeProduct("D", "Silinmiş", -1));
      c.addAll(k.live);
    }
    const Bytes oldData = folder.bytes("KLVR952.DAT"), oldIndex = folder.bytes("KLVR952.ABC");
    Titles titles(k.caption);
    EndingSink sink;
    sink.ends = k.programEnds;
    if (k.programEnds)
      EXPECT_THROW(k.sort("KLVR952", titles, sink), ProgramEnded);
    else
      EXPECT_EQ(k.sort("KLVR952", titles, sink), k.result);
    EXPECT_EQ(titles.seen.back(), k.lastTitle);
    EXPECT_EQ(sink.beeps, 1);
    ASSERT_EQ(sink.shown.size(), static_cast<std::size_t>(k.messages));
    if (k.messages) {
      EXPECT_EQ(sink.shown[0].text, "Yeni oluşturulan dosya boyutu hatalı!\rAlfabetik sıralama iptal edildi...");
    }
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), oldData);
    EXPECT_EQ(folder.bytes("KLVR952.ABC"), oldIndex);
    EXPECT_FALSE(fileExists("952KLVR.DAT"));
  }
}

TEST(ProductSort, ASwapThatFailsLeavesTheOldFilesAndNamesTheFile) {
  for (FileOp op : {FileOp::Write, FileOp::Rename, FileOp::Flush}) {
    TempFolder folder;
    {
      Company c;
      c.addAll({{"B", "Zeytin"}, {"A", "Elma"}});
    }
    folder.write("952KLVR.DAT", {1, 2, 3});
    const Bytes oldData = folder.bytes("KLVR952.DAT"), oldIndex = folder.bytes("KLVR952.ABC");
    Titles titles;
    testing::RecordingSink sink;
    {
      testing::FailOn fail(op, "", ENOSPC);
      EXPECT_EQ(sortByCode("KLVR952", titles, sink), SortResult::Failed);
    }
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].title, "! DOSYA HATASI !");
    const std::string& said = sink.shown[0].text;
    EXPECT_TRUE(said.find(".DAT\"") != std::string::npos || said.find(".ABC\"") != std::string::npos) << said;
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), oldData);
    EXPECT_EQ(folder.bytes("KLVR952.ABC"), oldIndex);
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), (Bytes{1, 2, 3}));
  }
}

}  // namespace
}  // namespace kv
