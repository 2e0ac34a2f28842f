// The rebuild of a damaged product file: what is carried over against a plain filter of the old records,
// the new chain sound, the old bytes in the backups, and a failing write that changes nothing.
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <random>
#include <stdexcept>

#include "base/messages.h"
#include "base/text.h"
#include "files/files.h"
#include "product/data_file_rebuild.h"
#include "product/product_titles.h"
#include "support/company.h"
#include "support/file_faults.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;

// The service window's titles of the rebuild, counted.
struct CountingTitle : ProgressSink, DataFileRebuildTitles {
  CountingTitle() : DataFileRebuildTitles(static_cast<ProgressSink&>(*this)) {}
  void progress(const std::string&) override { ++shown; }
  int shown = 0;
};

// A damaged company: deleted and blank-coded records, codes with leading blanks or outside the
// collation, pointers that loop or leave the file, an index of stray entries, and a cut-off last record.
std::vector<ProductRecord> makeDamagedCompany(const TempFolder& folder, std::mt19937& rng, int n) {
  std::vector<ProductRecord> written;
  {
    Company c;
    std::uniform_int_distribution<int> stray(-2, n + 2);
    for (int i = 0; i < n; ++i) {
      const int pick = static_cast<int>(rng() % 8);
      std::string code = testing::randomTurkishCode(rng);
      if (pick == 0) code = "";
      if (pick == 1) code = "   " + code;
      if (pick == 2) code = "é" + code;
      const int kind = pick == 3 ? -1 : static_cast<int>(rng() % 8);
      ProductRecord r = testing::makeProduct("", "ad " + std::to_string(i), kind);
      r.Code = w(code);  // as stored, leading blanks and all
      r.ChainPrev = static_cast<std::int16_t>(stray(rng));
      r.ChainNext = static_cast<std::int16_t>(stray(rng));
      r.RandomNumber = static_cast<std::int32_t>(rng());
      c.append(r);
      written.push_back(c.record(static_cast<std::int16_t>(i + 1)));
    }
    for (int b = 1; b <= 109; ++b)
      put(c.indexFile(), b, IndexEntry{static_cast<std::int16_t>(stray(rng)), static_cast<std::int16_t>(stray(rng))});
  }
  std::vector<std::uint8_t> bytes = folder.bytes("KLVR952.DAT");
  bytes.insert(bytes.end(), 300, 'x');
  folder.write("KLVR952.DAT", bytes);
  return written;
}

TEST(DataFileRebuild, KeepsTheLiveCodedRecordsInOrderLinksThemSoundlyAndBacksUpTheOldBytes) {
  std::mt19937 rng(1113);
  for (int n : {0, 1, 5, 200}) {
    TempFolder folder;
    const std::vector<ProductRecord> old = makeDamagedCompany(folder, rng, n);
    const std::vector<std::uint8_t> oldData = folder.bytes("KLVR952.DAT");
    const std::vector<std::uint8_t> oldIndex = folder.bytes("KLVR952.ABC");
    std::vector<ProductRecord> kept;
    for (ProductRecord r : old) {
      const std::string code = trim(r.Code.view());
      if (code.empty() || r.Kind < 0) continue;
      r.Code = code;
      kept.push_back(r);
    }

    CountingTitle title;
    const ProductFileReplacement result = rebuildDataAndIndex("KLVR952", title);
    ASSERT_TRUE(result.replaced) << n;
    EXPECT_EQ(title.shown, n);  // every whole record read, the cut-off tail not
    EXPECT_EQ(result.written, static_cast<int>(kept.size()));
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), oldData);
    EXPECT_EQ(folder.bytes("952KLVR.ABC"), oldIndex);
    Company rebuilt;
    ASSERT_EQ(rebuilt.count(), static_cast<int>(kept.size()));
    EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), kept.size() * ProductRecord::Length);
    for (std::size_t i = 0; i < kept.size(); ++i) {
      ProductRecord r = rebuilt.record(static_cast<std::int16_t>(i + 1));
      r.ChainPrev = kept[i].ChainPrev;
      r.ChainNext = kept[i].ChainNext;
      std::vector<std::uint8_t> got(ProductRecord::Length), want(ProductRecord::Length);
      r.encode(got.data());
      kept[i].encode(want.data());
      EXPECT_EQ(got, want) << "record " << i + 1 << " of " << n;
    }
    const testing::ChainReport report = testing::checkChain(rebuilt.files());
    EXPECT_TRUE(report.sound) << (report.problems.empty() ? "" : report.problems.front());
  }
}

TEST(DataFileRebuild, AWriteThatFailsHalfwayLeavesTheOldFilesComplete) {
  std::mt19937 rng(7);
  TempFolder folder;
  makeDamagedCompany(folder, rng, 300);
  folder.write("952KLVR.DAT", {1});
  const std::vector<std::uint8_t> oldData = folder.bytes("KLVR952.DAT");
  const std::vector<std::uint8_t> oldIndex = folder.bytes("KLVR952.ABC");
  CountingTitle title;
  ProductFileReplacement result;
  {
    testing::FailOn full(FileOp::Write, "KLVR952.DAT.~new", ENOSPC, 2, 1);
    result = rebuildDataAndIndex("KLVR952", title);
  }
  EXPECT_FALSE(result.replaced);
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->fileName(), "KLVR952.DAT");
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), oldData);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), oldIndex);
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), std::vector<std::uint8_t>{1});
  EXPECT_FALSE(fileExists("952KLVR.ABC"));
}

// The service window's titles of the rebuild: the last one shown (UTF-8), after the window's caption came
// back; a title that cannot be shown throws (as anything thrown inside the run).
struct LastTitle : ProgressSink, DataFileRebuildTitles {
  LastTitle() : DataFileRebuildTitles(static_cast<ProgressSink&>(*this), w(kCaption)) {}
  void progress(const std::string& text) override {
    if (throwsAt && ++shown == throwsAt) throw std::runtime_error("title");
    last = toUtf8(text);
  }
  static constexpr const char* kCaption = " KALVOR 952 Uyarlama 3.0 SERVİS";
  int throwsAt = 0;
  int shown = 0;
  std::string last;
};

TEST(DataFileRebuild, ItsEndPutsTheWindowsCaptionBackWhateverHappened) {
  struct Case {
    const char* what;
    bool writeFails;
    int titleThrowsAt;
  };
  const Case cases[] = {{"rebuilt", false, 0}, {"a write that fails", true, 0}, {"a throw", false, 3}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempFolder folder;
    std::mt19937 rng(5);
    makeDamagedCompany(folder, rng, 10);
    LastTitle title;
    title.throwsAt = k.titleThrowsAt;
    std::optional<testing::FailOn> full;
    if (k.writeFails) full.emplace(FileOp::Write, "KLVR952.DAT.~new", ENOSPC);
    if (k.titleThrowsAt)
      EXPECT_THROW(rebuildDataAndIndex("KLVR952", title), std::runtime_error);
    else
      EXPECT_EQ(rebuildDataAndIndex("KLVR952", title).replaced, !k.writeFails);
    EXPECT_EQ(title.last, LastTitle::kCaption);
  }
}

}  // namespace
}  // namespace kv
