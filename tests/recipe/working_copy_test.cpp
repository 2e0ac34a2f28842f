// The working copy: what is copied out of a store and mended there, how the head is found, and the
// editor's page save, write-back, line deletion and chain erasure in both stores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/text.h"
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

  // The recipes written so far become the list definitions too.
  void copyRecipesToLists() { copyFile("KLVR952.REC", "KLVR952.LTD"); }
  WorkingCopyResult prepare(std::int16_t p, bool listMode = false) {
    products.recount();
    return PrepareWorkingCopy({company.name(), &products, p, listMode}, said, said);
  }
  std::vector<RecipeRecord> lines(const std::string& file) const {
    std::vector<std::uint8_t> b = folder.bytes(file);
    std::vector<RecipeRecord> out;
    for (std::size_t at = 0; at + 128 <= b.size(); at += 128) out.push_back(RecipeRecord::decode(b.data() + at));
    return out;
  }
  std::vector<std::int32_t> homes() const {
    std::vector<std::int32_t> out;
    for (const auto& l : lines("KLVR952.RCT")) out.push_back(l.NextLine);
    return out;
  }
  // The editor's session after a preparation of product p.
  RecipeEditSession edit(std::int16_t p, bool listMode, const WorkingCopyResult& r) {
    RecipeEditSession s;
    s.company = company.name();
    s.products = &products;
    s.activeRecord = p;
    s.listMode = listMode;
    s.ownerCode = r.ownerCode;
    s.ownerRandomNumber = r.ownerRandomNumber;
    s.listHead = r.listHead.value_or(0);
    s.recipeDate = Date::fromYmd(2025, 4, 9);
    s.open();
    return s;
  }
  void setLine(std::int32_t n, std::int32_t next, const char* deleted = "H") {
    RecipeRecord r = recipes.line(n);
    r.NextLine = next;
    r.Deleted = deleted;
    recipes.write(n, r);
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
  std::int16_t b = company.add("B", "Bilye");
  std::int16_t c = company.add("C", "Eski");
  std::int16_t d = company.add("D", "Disk");
  std::int32_t h = recipes.define(p, {{"A"}, {"B"}, {"C"}, {"D"}, {"X"}});
  RecipeRecord beyond = recipes.line(h + 1);
  beyond.ItemRecord = 999;
  beyond.OwnerRecord = 42;
  recipes.write(h + 1, beyond);
  setLine(h + 4, h + 1);  // X leads back to B
  ProductRecord old = company.record(c);
  old.Kind = -1;
  company.write(c, old);
  std::int16_t c2 = company.add("C", "Yeni");
  ProductRecord renamed = company.record(d);
  renamed.Code = "D2";
  company.write(d, renamed);

  WorkingCopyResult r = prepare(p);

  EXPECT_EQ(r.outcome, WorkingCopyOutcome::Copied);
  EXPECT_EQ(r.lines, 5);
  EXPECT_EQ(homes(), (std::vector<std::int32_t>{h, h + 1, h + 2, h + 3, h + 4}));
  std::vector<RecipeRecord> got = lines("KLVR952.RCT");
  const std::int16_t items[] = {a, b, c2, d, 0};
  const char* names[] = {"Ayak", "Bilye", "Yeni", "Disk", ""};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(got[i].ItemRecord, items[i]) << i;
    EXPECT_EQ(trim(got[i].Name.view()), names[i]) << i;
    EXPECT_EQ(got[i].OwnerRecord, p) << i;
  }
  EXPECT_EQ(trim(got[3].Code.view()), "D");  // no product carries the changed code's old code
  EXPECT_EQ(recipes.line(h + 4).NextLine, 0);  // mended in the store
  EXPECT_EQ(recipes.line(h + 1).OwnerRecord, p);
}

// Random stores: the copy is the live chain from the head up to an erased line, a number outside the
// store or a line already copied.
TEST_F(WorkingCopy, TheCopyIsTheLiveChainUpToItsFirstBreak) {
  std::int16_t p = company.add("P");
  recipes.define(p, {{"P"}});
  recipes.padTo(40);
  std::mt19937 rng(952);
  for (int round = 0; round < 200; ++round) {
    std::vector<RecipeRecord> store(41);
    for (std::int32_t n = 1; n <= 40; ++n) {
      store[n] = recipes.makeLine(p, {"P"});
      store[n].Sequence = 2;
      store[n].Deleted = rng() % 6 ? "H" : "E";
      store[n].NextLine = static_cast<std::int32_t>(rng() % 44) - 1;
      if (rng() % 3 == 0) store[n].NextLine = 1 + static_cast<std::int32_t>(rng() % 40);
    }
    const std::int32_t head = 1 + static_cast<std::int32_t>(rng() % 40);
    store[head].Sequence = 1;
    store[head].Deleted = "H";
    for (std::int32_t n = 1; n <= 40; ++n) recipes.write(n, store[n]);
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
    WorkingCopyOutcome outcome;
    std::int32_t head, recipeNumberAfter;
    std::optional<std::int32_t> listHead;
  };
  const Case cases[] = {
      {own, false, WorkingCopyOutcome::Copied, own, own, std::nullopt},
      {other, false, WorkingCopyOutcome::Copied, own, own, 0},
      {40, false, WorkingCopyOutcome::Copied, own, own, 0},
      {0, true, WorkingCopyOutcome::Copied, own, 0, own},
  };
  for (const Case& c : cases) {
    ProductRecord owner = company.record(p);
    owner.RecipeNumber = c.pointer;
    company.write(p, owner);
    if (c.listMode) copyRecipesToLists();
    WorkingCopyResult r = prepare(p, c.listMode);
    EXPECT_EQ(r.outcome, c.outcome) << c.pointer;
    EXPECT_EQ(homes().at(0), c.head) << c.pointer;
    EXPECT_EQ(company.record(p).RecipeNumber, c.recipeNumberAfter) << c.pointer;
    EXPECT_EQ(r.listHead, c.listHead) << c.pointer;
  }
  std::int16_t none = company.add("N");
  EXPECT_EQ(prepare(none).outcome, WorkingCopyOutcome::NoHead);
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(said.events.back(), "title:  KALVOR 952 Uyarlama 3.0 BETA");
}

TEST_F(WorkingCopy, AnOldCopyIsKeptOnlyWhenItHasContent) {
  std::int16_t p = company.add("P");
  folder.write("952KLVR.RCT", {1});
  folder.write("KLVR952.RCT", {});
  prepare(p);
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), std::vector<std::uint8_t>{1});
  folder.write("KLVR952.RCT", {2, 3});
  prepare(p);
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), (std::vector<std::uint8_t>{2, 3}));
}

TEST_F(WorkingCopy, AFailureIsToldOnceAndLeavesNoCopy) {
  std::int16_t p = company.add("P");
  company.add("A");
  std::int32_t h = recipes.define(p, {{"A"}, {"A"}, {"A"}});
  FailOn full(FileOp::Write, "KLVR952.RCT", ENOSPC, 2);

  EXPECT_EQ(prepare(p).outcome, WorkingCopyOutcome::Failed);

  EXPECT_EQ(said.count("box"), 1);
  EXPECT_EQ(said.count("box: Dönüşüm sırasında hata oluştu... | ! HATA !"), 1);
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(company.record(p).RecipeNumber, h);
}

// Three lines of which the second is new, in a store of ten records.
TEST_F(WorkingCopy, WritingBackGivesNewLinesHomesAtTheEndAndRelinksTheChain) {
  for (bool listMode : {false, true}) {
    SCOPED_TRACE(listMode);
    std::int16_t p = company.add(listMode ? "L" : "R");
    company.add("A");
    recipes.padTo(2);
    std::int32_t h = recipes.define(p, {{"A"}, {"A"}, {"A"}});
    recipes.padTo(10);
    const std::int32_t end = recipes.count() + 1;  // 11 the first time
    if (listMode) copyRecipesToLists();
    RecipeEditSession s = edit(p, listMode, prepare(p, listMode));
    RecipeRecord fresh = s.workingCopy.get<RecipeRecord>(2);
    fresh.NextLine = 0;
    fresh.Deleted = "?";
    s.workingCopy.put(2, fresh);

    EXPECT_EQ(s.WriteBackRecipeLines(), 3);

    EXPECT_EQ(homes(), (std::vector<std::int32_t>{h, end, h + 2}));
    std::vector<RecipeRecord> store = lines(kStore[listMode]);
    ASSERT_EQ(store.size(), static_cast<std::size_t>(end));
    EXPECT_EQ(store[h - 1].NextLine, end);
    EXPECT_EQ(store[end - 1].NextLine, h + 2);
    EXPECT_EQ(store[h + 1].NextLine, 0);
    EXPECT_EQ(store[end - 1].Deleted, "H");
    EXPECT_EQ((std::vector<int>{store[h - 1].Sequence, store[end - 1].Sequence, store[h + 1].Sequence}),
              (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(company.record(p).RecipeNumber, h);  // a list definition leaves the product as it was
  }
}

TEST_F(WorkingCopy, APageSavesExistingLinesInPlaceAndAppendsNewOnes) {
  std::int16_t p = company.add("P");
  company.add("A");
  std::int32_t h = recipes.define(p, {{"A"}, {"A"}});
  RecipeEditSession s = edit(p, false, prepare(p));
  GridPage page;
  EXPECT_FALSE(s.SaveGridPage(1, page));
  page[0] = {7, 4, " A ", "Ayak", 3, "Ad", 2.5f};
  page[3] = {8, 2, "C", "", 1, "", 4};  // below an empty row: the line after the last

  EXPECT_TRUE(s.SaveGridPage(1, page));

  std::vector<RecipeRecord> got = lines("KLVR952.RCT");
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(s.lineCount, 3);
  EXPECT_EQ(got[0].NextLine, h);
  EXPECT_EQ(got[0].Sequence, 1);
  EXPECT_EQ(got[0].Total, 7.5f);
  EXPECT_EQ(got[0].Year, 2025);
  EXPECT_EQ(got[1].NextLine, h + 1);  // the empty row left its line alone
  EXPECT_EQ(got[1].ItemRecord, 2);
  EXPECT_EQ(trim(got[2].Code.view()), "C");
  EXPECT_EQ(got[2].NextLine, 0);
  EXPECT_EQ(got[2].Deleted, "H");
  EXPECT_EQ(got[2].Sequence, 0);
  EXPECT_EQ(got[2].OwnerRecord, p);
}

TEST_F(WorkingCopy, DeletingLinesAndErasingTheChain) {
  for (bool listMode : {false, true}) {
    SCOPED_TRACE(listMode);
    std::int16_t p = company.add(listMode ? "L" : "R");
    company.add("A");
    std::int32_t h = recipes.define(p, {{"A"}, {"A"}, {"A"}, {"A"}});
    setLine(h + 3, h + 3);
    if (listMode) copyRecipesToLists();
    RecipeEditSession s = edit(p, listMode, prepare(p, listMode));
    const std::vector<std::uint8_t> before = folder.bytes("KLVR952.RCT");
    EXPECT_EQ(s.DeleteRecipeLine(0), DeleteLineResult::NoLine);
    EXPECT_EQ(s.DeleteRecipeLine(5), DeleteLineResult::NoLine);
    EXPECT_EQ(folder.bytes("KLVR952.RCT"), before);

    EXPECT_EQ(s.DeleteRecipeLine(2), DeleteLineResult::Deleted);
    EXPECT_EQ(homes(), (std::vector<std::int32_t>{h, h + 2, h + 3}));
    EXPECT_EQ(s.lineCount, 3);
    std::vector<RecipeRecord> store = lines(kStore[listMode]);
    EXPECT_EQ(store[h].Deleted, "E");
    EXPECT_EQ(store[h].NextLine, h + 2);

    // Erasing starts at the head whatever its flag and stops at the first line that is not live.
    const char* flags[] = {"E", "H", "E"};
    for (int i = 0; i < 3; ++i) {
      store[h - 1 + i].Deleted = flags[i];
      s.store.put(h + i, store[h - 1 + i]);
    }
    s.EraseRecipeChain();
    store = lines(kStore[listMode]);
    std::vector<std::string> after;
    for (int i = 0; i < 4; ++i) after.push_back(store[h - 1 + i].Deleted.str() + std::to_string(store[h - 1 + i].NextLine));
    EXPECT_EQ(after, (std::vector<std::string>{"E0", "E0", "E" + std::to_string(h + 3), "H0"}));
    EXPECT_EQ(company.record(p).RecipeNumber, listMode ? h : 0);
  }
}

TEST_F(WorkingCopy, AFailedDeletionLeavesTheWorkingCopyAsItWas) {
  std::int16_t p = company.add("P");
  company.add("A");
  recipes.define(p, {{"A"}, {"A"}});
  RecipeEditSession s = edit(p, false, prepare(p));
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.RCT");
  struct Fault {
    FileOp op;
    const char* file;
  };
  for (Fault f : {Fault{FileOp::Write, "KLVR952.TMP"}, Fault{FileOp::Flush, "KLVR952.TMP"},
                  Fault{FileOp::Rename, "KLVR952.RCT"}}) {
    FailOn fault(f.op, f.file, EIO);
    EXPECT_THROW(s.DeleteRecipeLine(1), FileError);
    EXPECT_EQ(folder.bytes("KLVR952.RCT"), before);
    EXPECT_FALSE(fileExists("KLVR952.TMP"));
    EXPECT_EQ(s.lineCount, 2);
  }
  EXPECT_EQ(s.DeleteRecipeLine(1), DeleteLineResult::Deleted);
  EXPECT_EQ(s.lineCount, 1);
}

}  // namespace
}  // namespace kv::testing
