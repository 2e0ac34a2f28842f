// The total consumption build: random trees against a short recursive expansion with an ordered merge,
// the fields the passes give, and the walks, limits and failures.
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "report_fixture.h"
#include "support/file_faults.h"

namespace kv::testing {
namespace {

const std::string kStart = "title: Toplam listeleme işlemleri başladı...";
const std::string kFlattened = "title:  KALVOR 952 Uyarlama 3.0 BETA";
const std::string kAddingUp = "title:  Toplam listeleme işlemleri devam ediyor...";
const std::string kFinal = "title:  KALVOR 952 Uyarlama 3.0  BETA";
const std::string kFailed = "title: Toplam listeleme işlemleri esnasında hata oluştu...";

using Items = std::vector<std::pair<std::string, float>>;

std::string codeOf(const LevelRecord& r) { return toUtf8(trimRight(r.Code.view())); }

Items items(const std::vector<LevelRecord>& records) {
  Items out;
  for (const LevelRecord& r : records) out.emplace_back(codeOf(r), r.Quantity);
  return out;
}

// What a record keeps of its item's first line: the line, its parent and the parent's place in the list
// the pass read, its level, unit cost and next line; beside the sum and its total.
std::string describe(const LevelRecord& r) {
  std::ostringstream s;
  s << codeOf(r) << " " << r.Quantity << " x " << r.UnitCost << " = " << r.Total << ", line " << r.RecipeLine
    << " next " << r.NextLine << " type " << r.TypeChar.view() << r.LineType << ", level " << r.Level << " under "
    << r.ParentLevelRecord << " of " << trimRight(r.ParentCode.view()) << " #" << r.ParentRecord << ", "
    << r.IndexInGroup << r.Reserved;
  return s.str();
}

TEST_F(Reports, AThreeLevelTreeIsAddedUpPerCodeInFirstOccurrenceOrder) {
  company.addAll({{"P"}, {"A"}, {"B"}, {"S"}, {"X"}, {"Y"}, {"Z"}});
  recipes.define(1, {{"A", 2, 10}, {"B", 3, 20}, {"X", 5, 1}});  // lines 1-3
  recipes.define(2, {{"X", 3, 0.25f}, {"S", 2, 7}});             // 4-5
  recipes.define(3, {{"S", 4, 7}, {"Y", 0.5f, 3}});              // 6-7: S used twice
  recipes.define(4, {{"X", 1.5f, 0.5f}, {"Z", 2, 2}});           // 8-9: X reached on three branches

  EXPECT_EQ(ended(dialogBuild(1)), Ended(TotalConsumptionOutcome::Built, 3));

  // Pass 1 gives [X 6, S 4, S 12, Y 1.5, X 5]; pass 2 [X 6, X 6, Z 8, X 18, Z 24, Y 1.5, X 5].
  std::vector<std::string> got;
  for (const LevelRecord& r : readLevelFile(folder)) got.push_back(describe(r));
  EXPECT_EQ(got, (std::vector<std::string>{"X 35 x 0.25 = 8.75, line 4 next 5 type 11, level 1 under 1 of A #2, 00",
                                           "Z 32 x 2 = 64, line 9 next 0 type 11, level 2 under 2 of S #4, 00",
                                           "Y 1.5 x 3 = 4.5, line 7 next 0 type 11, level 1 under 2 of B #3, 00"}));
  EXPECT_EQ(said.events, (std::vector<std::string>{kStart, kFlattened, kAddingUp, "beep", kFinal}));
}

// ---- Random trees against the recursive definition ----

struct RefLine {
  std::string code;  // as stored, blanks included
  float quantity, cost;
  int assembly = -1;      // the assembly whose recipe the code names
  bool unnamed = false;   // ItemRecord 0: never expanded
  bool misnamed = false;  // ItemRecord names another product: found again by its code
  bool erased = false;
  std::int32_t stored = 0;  // its line in ".REC"
  int level = 0;            // in the flattened list
};

// Every line whose item has a recipe is replaced by all that recipe's lines (erased ones too), the
// product's own recipe ends at its first erased line; then one item per trimmed code, in order.
struct RefTree {
  std::vector<std::vector<RefLine>> recipes;
  std::vector<RefLine> flat;

  void expand(const RefLine& l, float quantity, int level) {
    if (l.assembly >= 0 && !l.unnamed && !recipes[l.assembly].empty() && level < 20) {
      for (const RefLine& sub : recipes[l.assembly]) expand(sub, single(double(sub.quantity) * quantity), level + 1);
    } else if (flat.size() <= 32767) {
      flat.push_back(l);
      flat.back().quantity = quantity;
      flat.back().level = level;
    }
  }
  std::vector<RefLine> totalOf(int product) {
    flat.clear();
    for (const RefLine& l : recipes[product]) {
      if (l.erased) break;
      expand(l, l.quantity, 0);
    }
    std::vector<RefLine> out;
    std::map<std::string, std::size_t> at;
    for (const RefLine& i : flat) {
      auto [it, fresh] = at.try_emplace(trim(i.code), out.size());
      if (fresh)
        out.push_back(i);
      else
        out[it->second].quantity = single(double(out[it->second].quantity) + i.quantity);
    }
    return out;
  }
};

TEST_F(Reports, RandomTreesGiveTheRecursiveExpansionAddedUp) {
  std::mt19937 rng(952);
  std::uniform_int_distribution<int> percent(0, 99), lineCount(1, 4), cents(1, 900);
  const std::vector<std::string> leafCodes = {"x", "X", " x", "x  ", "y", "Y", "ç", "Ç"};
  const int assemblies = 24;
  int compared = 0;
  for (int round = 0; round < 12; ++round) {
    RefTree ref;
    ref.recipes.resize(assemblies);
    const std::int16_t base = company.count();
    const std::string prefix = numbered("R", round) + "-";
    auto name = [&](int i) { return numbered(prefix, i); };
    for (int i = 0; i < assemblies; ++i) company.add(name(i));
    for (int i = 0; i < assemblies; ++i) {
      if (i > 0 && percent(rng) < 20) continue;  // a component without a recipe
      // Lines name assemblies of the next two tiers of three only: no tree contains itself.
      const int first = (i / 3 + 1) * 3, last = std::min(assemblies - 1, first + 5);
      for (int n = lineCount(rng); n > 0; --n) {
        RefLine l{leafCodes[percent(rng) % leafCodes.size()], cents(rng) / 100.0f, cents(rng) / 8.0f};
        if (first <= last && percent(rng) < 55) {
          l.assembly = first + percent(rng) % (last - first + 1);
          l.code = name(l.assembly);
          l.unnamed = percent(rng) < 8;
          l.misnamed = !l.unnamed && percent(rng) < 10;
        }
        l.erased = percent(rng) < 8;
        ref.recipes[i].push_back(l);
      }
      std::vector<RecipeFile::Line> lines;
      for (const RefLine& l : ref.recipes[i]) lines.push_back({l.code, l.quantity, l.cost});
      const std::int32_t head = recipes.define(static_cast<std::int16_t>(base + 1 + i), lines);
      for (std::size_t k = 0; k < lines.size(); ++k) {
        RefLine& l = ref.recipes[i][k];
        l.stored = head + static_cast<std::int32_t>(k);
        setLine(l.stored, [&](RecipeRecord& r) {
          if (l.erased) r.Deleted = "E";
          if (l.unnamed) r.ItemRecord = 0;
          if (l.misnamed) r.ItemRecord = 1;
        });
      }
    }
    for (int i = 0; i < assemblies; ++i) {
      if (ref.recipes[i].empty()) continue;
      const std::vector<RefLine> want = ref.totalOf(i);
      const TotalConsumptionResult result = dialogBuild(static_cast<std::int16_t>(base + 1 + i));
      const std::vector<LevelRecord> got = readLevelFile(folder);
      if (ref.flat.size() > 32767) {
        EXPECT_EQ(result.outcome, TotalConsumptionOutcome::Failed);
        continue;
      }
      ASSERT_EQ(got.size(), want.size()) << "round " << round << " assembly " << i;
      EXPECT_EQ(result.levelRecordCount, static_cast<std::int16_t>(want.size()));
      for (std::size_t k = 0; k < want.size(); ++k) {
        SCOPED_TRACE(codeOf(got[k]));
        EXPECT_EQ(codeOf(got[k]), trimRight(want[k].code));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got[k].Quantity), std::bit_cast<std::uint32_t>(want[k].quantity));
        EXPECT_EQ(got[k].UnitCost, want[k].cost);
        EXPECT_EQ(got[k].Total, single(double(want[k].quantity) * want[k].cost));
        EXPECT_EQ(got[k].Level, want[k].level);
        EXPECT_EQ(got[k].RecipeLine, want[k].stored);
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 150);
}

// ---- What counts as one item ----

TEST_F(Reports, CodesDifferingInCaseStayApartInBlanksTheyMergeAndTheEditorKeepsLineTypesApart) {
  std::int16_t p = company.add("P");
  recipes.define(p, {{"ab", 1, 1}, {"AB", 2, 1}, {" ab", 3, 1}, {"ab  ", 4, 1}});
  setLine(4, [](RecipeRecord& r) { r.LineType = 3; });

  dialogBuild(p);
  EXPECT_EQ(items(readLevelFile(folder)), (Items{{"ab", 8}, {"AB", 2}}));

  said.events.clear();
  EXPECT_EQ(editorBuild(p).outcome, TotalConsumptionOutcome::Built);
  EXPECT_EQ(items(readLevelFile(folder)), (Items{{"ab", 4}, {"AB", 2}, {"ab", 4}}));
  EXPECT_TRUE(recipes.file().isOpen());
  EXPECT_EQ(said.events, (std::vector<std::string>{kStart, kAddingUp, "beep", kFinal}));
}

// ---- Walks and limits ----

TEST_F(Reports, EveryWalkEndsWhereItsChainLeadsBackOrNamesAnotherOwner) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  std::int16_t d = company.add("D");
  company.addAll({{"B"}, {"C"}, {"X"}, {"Y"}});
  recipes.define(p, {{"A", 1, 1}, {"D", 1, 1}, {"B", 1, 1}, {"C", 1, 1}});  // 1-4
  recipes.define(a, {{"X", 1, 1}});                                         // 5
  recipes.define(d, {{"X", 1, 1}, {"Y", 1, 1}});                            // 6-7
  setLine(4, [](RecipeRecord& r) { r.NextLine = 3; });                      // C leads back to B
  setLine(7, [](RecipeRecord& r) { r.NextLine = 6; });                      // Y leads back to D's head
  setLine(5, [](RecipeRecord& r) { r.OwnerCode = "Q"; });                   // A's recipe names another owner

  for (bool fromEditor : {false, true}) {
    EXPECT_EQ((fromEditor ? editorBuild(p) : dialogBuild(p)).outcome, TotalConsumptionOutcome::Built);
    EXPECT_EQ(items(readLevelFile(folder)), (Items{{"A", 1}, {"X", 1}, {"Y", 1}, {"B", 1}, {"C", 1}}));
  }
}

TEST_F(Reports, RecipesStoredBeyondLine32767AreExpanded) {
  std::int16_t p = company.add("P");
  std::int16_t a = company.add("A");
  company.addAll({{"X"}, {"Y"}});
  recipes.padTo(40000);
  recipes.define(a, {{"X", 2, 1}, {"Y", 1, 1}});
  recipes.define(p, {{"A", 3, 1}});
  for (bool fromEditor : {false, true}) {
    EXPECT_EQ((fromEditor ? editorBuild(p) : dialogBuild(p)).outcome, TotalConsumptionOutcome::Built);
    EXPECT_EQ(items(readLevelFile(folder)), (Items{{"X", 6}, {"Y", 3}}));
  }
}

TEST_F(Reports, AProductInItsOwnRecipeStopsAtLevel20) {
  std::int16_t p = company.add("P");
  company.add("X");
  recipes.define(p, {{"P", 1, 1}, {"X", 1, 2}});

  EXPECT_EQ(dialogBuild(p).outcome, TotalConsumptionOutcome::Built);
  std::vector<LevelRecord> got = readLevelFile(folder);
  EXPECT_EQ(items(got), (Items{{"P", 1}, {"X", 21}}));
  EXPECT_EQ(got[0].Level, 20);
  EXPECT_EQ(got[1].Level, 20);
}

TEST_F(Reports, AFailedBuildKeepsNoListAndNoScratchFile) {
  company.addAll({{"P"}, {"B"}, {"X"}});
  recipes.define(1, {{"P", 1, 1}, {"P", 1, 1}});  // doubles every pass: outgrows the level file
  recipes.define(2, {{"X", 1, 1}});
  FailOn full(FileOp::Write, "KLVR952.TMP", ENOSPC);  // B's list cannot be written

  for (const auto& [product, fromEditor] : {std::pair<std::int16_t, bool>{1, false}, {2, false}, {1, true}, {2, true}}) {
    EXPECT_EQ(ended(fromEditor ? editorBuild(product) : dialogBuild(product)),
              Ended(TotalConsumptionOutcome::Failed, 0));
    EXPECT_TRUE(readLevelFile(folder).empty());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "KLVR952.TMP"));
    EXPECT_EQ(said.events.back(), kFailed);
  }
  EXPECT_EQ(said.count("beep"), 0);
}

// ---- Guards and nothing to list ----

TEST_F(Reports, AnErasedFirstLineIsNothingToListAndNoRecipeBeepsWithoutAnEarlierCount) {
  std::int16_t p = company.add("P");
  std::int16_t bare = company.add("BARE");
  recipes.define(p, {{"BARE", 1, 1}});
  setLine(1, [](RecipeRecord& r) { r.Deleted = "E"; });
  EXPECT_EQ(ended(dialogBuild(p)), Ended(TotalConsumptionOutcome::Empty, 0));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "KLVR952.KDM"));
  EXPECT_EQ(said.events, (std::vector<std::string>{kStart, kFinal}));

  said.events.clear();
  folder.write("KLVR952.KDM", std::vector<std::uint8_t>(118, 7));  // an earlier product's tree
  recipes.close();
  std::filesystem::remove(folder.path() / "KLVR952.REC");
  for (std::int16_t product : {std::int16_t{0}, bare, p})  // P's recipe lies in a missing ".REC"
    EXPECT_EQ(ended(dialogBuild(product)), Ended(TotalConsumptionOutcome::GuardFailed, 0));
  EXPECT_EQ(said.events, (std::vector<std::string>{"beep", "beep", "beep"}));
  EXPECT_EQ(folder.bytes("KLVR952.KDM").size(), 118u);
}

}  // namespace
}  // namespace kv::testing
