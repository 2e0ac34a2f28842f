// The working copy: what is copied out of a store and mended there, how the head is found, and the
// editor's page save, write-back, line deletion and chain erasure in both stores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "recipe/recipe_titles.h"
#include "recipe/working_copy.h"
#include "support/company.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

const char* const kStore[] = {"KLVR952.REC", "KLVR952.LTD"};

class WorkingCopy : public ::testing::Test {
 protected:
  WorkingCopy() { products.open(company.name()); }

  WorkingCopyResult prepare(std::int16_t p, bool listMode = false) {
    if (listMode) copyFile("KLVR952.REC", "KLVR952.LTD");  // the recipes stand for the list definitions
    products.recount();
    WorkingCopyTitles titles(said);
    return PrepareWorkingCopy({products, p, listMode}, said, titles);
  }
  std::vector<RecipeRecord> lines(const std::string& file) const {
    std::vector<std::uint8_t> b = folder.bytes(file);
    std::vector<RecipeRecord> out;
    for (std::size_t at = 0; at + 128 <= b.size(); at += 128) out.push_back(RecipeRecord::decode(b.data() + at));
    return out;
  }
  // Per line of a file: NextLine, Sequence and the erased flag, e.g. "12/1H".
  std::vector<std::string> links(const std::string& file) const {
    std::vector<std::string> out;
    for (const auto& l : lines(file))
      out.push_back(std::to_string(l.NextLine) + "/" + std::to_string(l.Sequence) + l.Deleted.str());
    return out;
  }
  std::vector<std::int32_t> homes() const {
    std::vector<std::int32_t> out;
    for (const auto& l : lines("KLVR952.RCT")) out.push_back(l.NextLine);
    return out;
  }
  // The editor's session after a preparation of product p.
  RecipeEditSession edit(std::int16_t p, bool listMode = false) {
    WorkingCopyResult r = prepare(p, listMode);
    RecipeEditSession s{products};
    s.job = recipeJob({products, p, listMode}, r);
    s.recipeDate = Date::fromYmd(2025, 4, 9);
    s.open();
    return s;
  }

  TempFolder folder;
  Company company;
  ProductFile products;
  RecipeFile recipes{company};
  Transcript said;
};

TEST_F(WorkingCopy, LinesAreRefreshedFromTheProductsAndALoopEndsTheChain) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A", "Ayak");
  std::int16_t c = company.add("C", "Eski");
  std::int16_t d = company.add("D", "Disk");
  std::int32_t h = recipes.define(p, {{"A"}, {"A"}, {"C"}, {"D"}, {"X"}});
  RecipeRecord line = recipes.line(h + 1);
  line.ItemRecord = 999;  // beyond the product file
  line.OwnerRecord = 42;
  recipes.write(h + 1, line);
  line = recipes.line(h + 4);
  line.NextLine = h + 1;  // back into the chain
  recipes.write(h + 4, line);
  ProductRecord changed = company.record(c);
  changed.Kind = -1;
  company.write(c, changed);
  std::int16_t c2 = company.add("C", "Yeni");
  changed = company.record(d);
  changed.Code = "D2";  // no product carries the old code any more: the line keeps it
  company.write(d, changed);

  EXPECT_EQ(prepare(p).lines, 5);

  std::vector<std::string> got;
  for (const auto& l : lines("KLVR952.RCT"))
    got.push_back(std::to_string(l.NextLine) + " " + std::to_string(l.ItemRecord) + " " + trim(l.Code.view()) + " " +
                  trim(l.Name.view()) + " " + std::to_string(l.OwnerRecord));
  const std::string o = " " + std::to_string(p);
  EXPECT_EQ(got, (std::vector<std::string>{std::to_string(h) + " " + std::to_string(a) + " A Ayak" + o,
                                           std::to_string(h + 1) + " " + std::to_string(a) + " A Ayak" + o,
                                           std::to_string(h + 2) + " " + std::to_string(c2) + " C Yeni" + o,
                                           std::to_string(h + 3) + " " + std::to_string(d) + " D Disk" + o,
                                           std::to_string(h + 4) + " 0 X " + o}));
  EXPECT_EQ(recipes.line(h + 4).NextLine, 0);  // mended in the store
}

// Random stores: the copy is the live chain from the head up to an erased line, a number outside the
// store or a line already copied.
TEST_F(WorkingCopy, TheCopyIsTheLiveChainUpToItsFirstBreak) {
  std::int16_t p = company.add("P");
  recipes.padTo(40);
  std::mt19937 rng(952);
  auto draw = [&](int n) { return static_cast<std::int32_t>(rng() % n); };
  for (int round = 0; round < 200; ++round) {
    std::vector<RecipeRecord> store(41);
    for (std::int32_t n = 1; n <= 40; ++n) {
      store[n] = recipes.makeLine(p, {"P"});
      store[n].Deleted = draw(6) ? "H" : "E";
      store[n].NextLine = draw(3) ? 1 + draw(40) : draw(44) - 1;
      recipes.write(n, store[n]);
    }
    const std::int32_t head = 1 + draw(40);
    store[head].Sequence = 1;
    store[head].Deleted = "H";
    recipes.write(head, store[head]);
    ProductRecord owner = company.record(p);
    owner.RecipeNumber = head;
    company.write(p, owner);

    std::vector<std::int32_t> expected{head};
    for (std::int32_t n = store[head].NextLine; n >= 1 && n <= 40 && store[n].Deleted == "H" &&
                                                std::find(expected.begin(), expected.end(), n) == expected.end();
         n = store[n].NextLine)
      expected.push_back(n);
    ASSERT_EQ(prepare(p).outcome, WorkingCopyOutcome::Copied);
    ASSERT_EQ(homes(), expected) << "round " << round;
  }
}

TEST_F(WorkingCopy, TheHeadIsThePointedLineWhenTwoOwnerFieldsMatchElseTheFirstFoundByScanning) {
  std::int16_t q = company.add("Q");
  std::int16_t p = company.add("P");
  std::int32_t other = recipes.define(q, {{"Q"}});
  std::int32_t own = recipes.define(p, {{"Q"}, {"Q"}});
  RecipeRecord moved = recipes.line(own);
  moved.OwnerRecord = 9;  // code and random number still match
  recipes.write(own, moved);
  struct Case {
    std::int32_t pointer;
    bool listMode;
    std::int32_t recipeNumberAfter;
    std::optional<std::int32_t> listHead;
  };
  for (const Case& c : {Case{own, false, own, std::nullopt}, Case{other, false, own, 0}, Case{40, false, own, 0},
                        Case{0, true, 0, own}}) {
    ProductRecord owner = company.record(p);
    owner.RecipeNumber = c.pointer;
    company.write(p, owner);
    WorkingCopyResult r = prepare(p, c.listMode);
    EXPECT_EQ(homes().at(0), own) << c.pointer;
    EXPECT_EQ(company.record(p).RecipeNumber, c.recipeNumberAfter) << c.pointer;
    EXPECT_EQ(r.listHead, c.listHead) << c.pointer;
  }
  // An old copy is kept only when it has content.
  std::int16_t none = company.add("N");
  EXPECT_EQ(prepare(none).outcome, WorkingCopyOutcome::NoHead);
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(lines("952KLVR.RCT").size(), 2u);
  folder.write("KLVR952.RCT", {});
  prepare(none);
  EXPECT_EQ(lines("952KLVR.RCT").size(), 2u);
  EXPECT_EQ(said.events.back(), "title:  KALVOR 952 Uyarlama 3.0 BETA");
}

// Positions in a chain are 16-bit: a longer chain is cut at its 32767th line, told once, and stays so.
TEST_F(WorkingCopy, ALongChainIsCutAtTheLastPositionASequenceHolds) {
  std::int16_t p = company.add("P");
  const std::int32_t h = recipes.define(p, std::vector<RecipeFile::Line>(32769, {"P"}));
  RecipeEditSession s = edit(p);
  EXPECT_EQ(said.count("box: Bir liste en fazla 32767 satır alabilir!...  İlk 32767 satır alındı... | ! HATA !"), 1);
  EXPECT_THROW(s.workingCopy.put(32768, RecipeRecord{}), FileError);
  EXPECT_EQ(s.WriteBackRecipeLines(), 32767);
  EXPECT_EQ(links("KLVR952.REC").at(h + 32765), "0/32767H");
}

TEST_F(WorkingCopy, AFailureIsToldOnceAndLeavesNoCopy) {
  std::int16_t p = company.add("P");
  std::int32_t h = recipes.define(p, {{"P"}, {"P"}, {"P"}});
  FailOn full(FileOp::Write, "KLVR952.RCT.~new", ENOSPC, 2);

  EXPECT_EQ(prepare(p).outcome, WorkingCopyOutcome::Failed);

  EXPECT_EQ(said.count("box"), 1);
  EXPECT_EQ(said.count("box: Dönüşüm sırasında hata oluştu... | ! HATA !"), 1);
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(company.record(p).RecipeNumber, h);
}

// Three lines of which the second is new, in a store of ten records (the first time).
TEST_F(WorkingCopy, WritingBackGivesNewLinesHomesAtTheEndAndRelinksTheChain) {
  for (bool listMode : {false, true}) {
    std::int16_t p = company.add(listMode ? "L" : "R");
    recipes.padTo(2);
    std::int32_t h = recipes.define(p, {{"R"}, {"R"}, {"R"}});
    recipes.padTo(10);
    const std::int32_t end = recipes.count() + 1;
    RecipeEditSession s = edit(p, listMode);
    RecipeRecord fresh = s.workingCopy.get<RecipeRecord>(2);
    fresh.NextLine = 0;
    fresh.Deleted = "?";
    s.workingCopy.put(2, fresh);

    EXPECT_EQ(s.WriteBackRecipeLines(), 3);

    EXPECT_EQ(homes(), (std::vector<std::int32_t>{h, end, h + 2}));
    std::vector<std::string> store = links(kStore[listMode]);
    ASSERT_EQ(store.size(), static_cast<std::size_t>(end));
    EXPECT_EQ((std::vector<std::string>{store[h - 1], store[end - 1], store[h + 1]}),
              (std::vector<std::string>{std::to_string(end) + "/1H", std::to_string(h + 2) + "/2H", "0/3H"}));
    EXPECT_EQ(company.record(p).RecipeNumber, h);  // a list definition leaves the product as it was
  }
}

TEST_F(WorkingCopy, APageSavesExistingLinesInPlaceAndAppendsNewOnes) {
  std::int16_t p = company.add("P");
  std::int32_t h = recipes.define(p, {{"P"}, {"P"}});
  RecipeEditSession s = edit(p);
  GridPage page;
  EXPECT_FALSE(s.SaveGridPage(1, page).written);
  page[0] = {7, 4, " A ", "Ayak", 3, "Ad", 2.5f};
  page[3] = {8, 2, "C", "", 1, "", 4};  // below an empty row: the line after the last

  EXPECT_TRUE(s.SaveGridPage(1, page).written);

  EXPECT_EQ(s.lineCount, 3);
  EXPECT_EQ(links("KLVR952.RCT"),
            (std::vector<std::string>{std::to_string(h) + "/1H", std::to_string(h + 1) + "/2H", "0/0H"}));
  std::vector<RecipeRecord> got = lines("KLVR952.RCT");
  EXPECT_EQ(got[0].Total, 7.5f);
  EXPECT_EQ(got[0].Year, 2025);
  EXPECT_EQ(got[1].ItemRecord, p);  // the empty row left its line alone
  EXPECT_EQ(trim(got[2].Code.view()), "C");
  EXPECT_EQ(got[2].OwnerRecord, p);
}

// New lines come from a blank record, nothing carried over from the line written before them; a row
// confirmed on its own brings the unwritten new rows above it along, and a row without a code writes
// nothing.
TEST_F(WorkingCopy, NewLinesStartBlankAndNeverLeaveAGap) {
  for (bool alone : {false, true}) {
    std::int16_t p = company.add(alone ? "R" : "S");
    recipes.define(p, {{"P"}, {"P"}});
    RecipeEditSession s = edit(p);
    RecipeRecord second = s.workingCopy.get<RecipeRecord>(2);
    second.Coefficient = 7;
    second.Price = 3;
    s.workingCopy.put(2, second);
    GridPage page = s.readRows(1, 2);
    page[2] = {5, 2, "B", "", 2, "", 1};
    page[3] = {6, 2, "C", "", 3, "", 1};
    if (alone) {
      EXPECT_FALSE(s.SaveGridRow(1, page, 4).written);
      EXPECT_EQ(lines("KLVR952.RCT").size(), 2u);
      EXPECT_TRUE(s.SaveGridRow(1, page, 3).written);
    } else {
      EXPECT_TRUE(s.SaveGridPage(1, page).written);
    }
    EXPECT_EQ(s.lineCount, 4);
    const std::vector<RecipeRecord> got = lines("KLVR952.RCT");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[1].Coefficient, 7);
    for (const RecipeRecord& l : {got[2], got[3]}) {
      EXPECT_EQ(l.Coefficient, 0);
      EXPECT_EQ(l.Price, 0);
      EXPECT_EQ(l.Sequence, 0);
      EXPECT_EQ(l.NextLine, 0);
      EXPECT_EQ(l.Deleted.str(), "H");
    }
    EXPECT_EQ(trim(got[2].Code.view()) + trim(got[3].Code.view()), "BC");
    // A line counted ahead of the working copy is not written back.
    s.lineCount = 5;
    EXPECT_EQ(s.WriteBackRecipeLines(), 4);
  }
}

TEST_F(WorkingCopy, DeletingLinesAndErasingTheChain) {
  for (bool listMode : {false, true}) {
    std::int16_t p = company.add(listMode ? "L" : "R");
    std::int32_t h = recipes.define(p, {{"R"}, {"R"}, {"R"}, {"R"}});
    RecipeEditSession s = edit(p, listMode);
    const std::vector<std::uint8_t> before = folder.bytes("KLVR952.RCT");
    EXPECT_EQ(s.DeleteRecipeLine(0), DeleteLineResult::NoLine);
    EXPECT_EQ(s.DeleteRecipeLine(5), DeleteLineResult::NoLine);
    EXPECT_EQ(folder.bytes("KLVR952.RCT"), before);

    EXPECT_EQ(s.DeleteRecipeLine(2), DeleteLineResult::Deleted);
    EXPECT_EQ(homes(), (std::vector<std::int32_t>{h, h + 2, h + 3}));
    EXPECT_EQ(s.lineCount, 3);
    // The store's chain stays whole until the write-back or the erase.
    EXPECT_EQ(links(kStore[listMode]).at(h), std::to_string(h + 2) + "/2H");

    // Erasing marks the deleted line's home, starts at the head whatever its flag and stops at the first
    // line that is not live.
    std::vector<RecipeRecord> store = lines(kStore[listMode]);
    const char* flags[] = {"E", "H", "E"};
    for (int i = 0; i < 3; ++i) {
      store[h - 1 + i].Deleted = flags[i];
      s.store.put(h + i, store[h - 1 + i]);
    }
    s.EraseRecipeChain();
    std::vector<std::string> after = links(kStore[listMode]);
    EXPECT_EQ(std::vector<std::string>(after.begin() + h - 1, after.begin() + h + 3),
              (std::vector<std::string>{"0/1E", std::to_string(h + 2) + "/2E", std::to_string(h + 3) + "/3E", "0/4H"}));
    EXPECT_EQ(company.record(p).RecipeNumber, listMode ? h : 0);
  }
}

TEST_F(WorkingCopy, AFailedDeletionLeavesTheWorkingCopyAsItWas) {
  std::int16_t p = company.add("P");
  recipes.define(p, {{"P"}, {"P"}});
  RecipeEditSession s = edit(p);
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.RCT");
  for (FileOp op : {FileOp::Write, FileOp::Flush, FileOp::Rename}) {
    FailOn fault(op, op == FileOp::Rename ? "KLVR952.RCT" : "KLVR952.TMP", EIO);
    EXPECT_THROW(s.DeleteRecipeLine(1), FileError);
    EXPECT_EQ(folder.bytes("KLVR952.RCT"), before);
    EXPECT_FALSE(fileExists("KLVR952.TMP"));
  }
  EXPECT_EQ(s.DeleteRecipeLine(1), DeleteLineResult::Deleted);
  EXPECT_EQ(s.lineCount, 1);
}

}  // namespace
}  // namespace kv::testing
