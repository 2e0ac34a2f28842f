// The list working copy: which chain is found, which of its lines reach ".RCT", and what becomes of the
// old working copy.
#include "reports/list_working_copy.h"
#include "reports/report_titles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "../recipe/report_fixture.h"
#include "files/files.h"
#include "support/file_faults.h"

namespace kv::testing {
namespace {

const std::vector<std::uint8_t> kOldCopy(3 * 128, 0x55);

// Q's list at lines 1-2, then P's list of four lines at 3-6; the recipes file stands for ".LTD".
class ListCopy : public Reports {
 protected:
  ListCopy() {
    p = company.add("P");
    std::int16_t q = company.add("Q");
    recipes.define(q, {{"A"}, {"B"}});
    recipes.define(p, {{"A"}, {"B"}, {"C"}, {"D"}});
  }
  ListWorkingCopyResult prepare() {
    recipes.close();
    copyFile("KLVR952.REC", "KLVR952.LTD");
    products.recount();
    ListWorkingCopyTitles titles(said);
    return PrepareListWorkingCopy({products, p}, titles);
  }
  std::vector<std::uint8_t> lines(const std::vector<int>& numbers) const {
    std::vector<std::uint8_t> all = folder.bytes("KLVR952.LTD"), out;
    for (int n : numbers) out.insert(out.end(), all.begin() + (n - 1) * 128, all.begin() + n * 128);
    return out;
  }
  bool exists(const char* name) const { return std::filesystem::exists(folder.path() / name); }

  std::int16_t p = 0;
};

struct Case {
  const char* name;
  std::int32_t line;  // changed in ".LTD"
  void (*change)(RecipeRecord&);
  std::int32_t head;
  std::vector<int> copied;
};

class ListCopyCases : public ListCopy, public ::testing::WithParamInterface<Case> {};

TEST_P(ListCopyCases, CopiesTheLiveLinesOfTheFirstHeadAsStoredOverTheOldCopy) {
  setLine(GetParam().line, GetParam().change);
  folder.write("KLVR952.RCT", kOldCopy);

  ListWorkingCopyResult result = prepare();

  EXPECT_EQ(result.head, GetParam().head);
  EXPECT_EQ(result.listRecordCount, static_cast<std::int16_t>(GetParam().copied.size()));
  EXPECT_EQ(result.outcome,
            GetParam().copied.empty() ? ListWorkingCopyOutcome::NothingToList : ListWorkingCopyOutcome::Copied);
  EXPECT_EQ(folder.bytes("KLVR952.RCT"), lines(GetParam().copied));
  EXPECT_TRUE(exists("KLVR952.RCT"));
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), kOldCopy);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Lists, ListCopyCases,
    ::testing::Values(
        Case{"Plain", 3, [](RecipeRecord&) {}, 3, {3, 4, 5, 6}},
        Case{"ErasedLineStillLinked", 4, [](RecipeRecord& r) { r.Deleted = "E"; }, 3, {3, 5, 6}},
        Case{"OwnerInOtherCaseAndBlanks", 3, [](RecipeRecord& r) { r.OwnerCode = " p"; }, 3, {3, 4, 5, 6}},
        Case{"ErasedHeadIsPassedOver", 1, [](RecipeRecord& r) { r.OwnerCode = "P", r.Deleted = "E"; }, 3, {3, 4, 5, 6}},
        Case{"LowerHeadWins", 1, [](RecipeRecord& r) { r.OwnerCode = "P"; }, 1, {1, 2}},
        Case{"ChainLeadingBackEnds", 6, [](RecipeRecord& r) { r.NextLine = 4; }, 3, {3, 4, 5, 6}},
        Case{"NoList", 3, [](RecipeRecord& r) { r.Sequence = 2; }, 0, {}}),
    [](const ::testing::TestParamInfo<Case>& instance) { return std::string(instance.param.name); });
// clang-format on

TEST_F(ListCopy, AnEmptyOldCopyIsDeletedAndTheTitleCountsTheLinesBeforeTheHead) {
  folder.write("KLVR952.RCT", {});
  folder.write("952KLVR.RCT", kOldCopy);

  EXPECT_EQ(prepare().listRecordCount, 4);

  EXPECT_EQ(folder.bytes("952KLVR.RCT"), kOldCopy);
  EXPECT_EQ(said.events, (std::vector<std::string>{"title: Liste işlemleri yapılıyor...", "title:  1", "title:  2",
                                                   "title:  KALVOR 952 Uyarlama 3.0 BETA"}));
}

TEST_F(ListCopy, AnOldCopyThatCannotBeSetAsideStopsThePreparation) {
  folder.write("KLVR952.RCT", kOldCopy);
  FailOn refused(FileOp::Rename, "KLVR952.RCT", EACCES);

  ListWorkingCopyResult result = prepare();

  EXPECT_EQ(result.outcome, ListWorkingCopyOutcome::Failed);
  EXPECT_EQ(result.listRecordCount, 0);
  EXPECT_EQ(folder.bytes("KLVR952.RCT"), kOldCopy);
  EXPECT_EQ(said.events.back(), "title: Liste işlemleri esnasında hata oluştu...");
}

TEST_F(ListCopy, AFailedWriteLeavesNoHalfCopy) {
  FailOn full(FileOp::Write, "KLVR952.RCT.~new", ENOSPC, 2);

  EXPECT_EQ(prepare().outcome, ListWorkingCopyOutcome::Failed);
  EXPECT_FALSE(exists("KLVR952.RCT"));
}

}  // namespace
}  // namespace kv::testing
