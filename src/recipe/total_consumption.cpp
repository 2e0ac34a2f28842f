#include "recipe/total_consumption.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/end_reported.h"
#include "base/text.h"
#include "files/files.h"
#include "recipe/component_lookup.h"
#include "recipe/level_arithmetic.h"
#include "recipe/recipe_files.h"
#include "recipe/recipe_source.h"
#include "records/recipe_record.h"

namespace kv {

namespace {

constexpr int kDeepestLevel = 20;

// One line of the flattened list: the recipe line it was made from and what the flattening gave it.
struct Entry {
  std::int32_t line = 0;
  float quantity = 0;
  std::int16_t level = 0;
  std::int16_t parentEntry = 0;  // its parent's record number in the list the pass read; 0 on level 0
  std::int32_t parent = 0;       // the product whose recipe holds the line, in parents_
};

// What a line is replaced by: the lines of its item's recipe, or nothing when it stays as it is.
struct Expansion {
  std::int32_t parent = 0;
  std::vector<std::pair<std::int32_t, float>> lines;  // line number and quantity
};

struct Parent {
  std::int16_t record = 0;
  std::string code;  // trimmed, as stored
};

// Every list the build makes fits the level file, or the build fails.
void append(std::vector<Entry>& to, const Entry& entry) {
  if (to.size() == kMaxRecords16) throw LevelRunFailure("the level file is full");
  to.push_back(entry);
}

class TotalConsumptionRun {
 public:
  TotalConsumptionRun(const TotalConsumptionInput& input, const TotalConsumptionPolicy& policy, MessageSink& messages,
                      TotalConsumptionReport& report)
      : in_(input),
        policy_(policy),
        messages_(messages),
        report_(report),
        components_(input.products) {}

  TotalConsumptionResult run();

 private:
  TotalConsumptionResult build();
  bool guardsPass();
  void makeLevelFileAnew();
  void walkOwnRecipe();
  void flatten();
  const Expansion& expansionOf(std::int32_t line);
  std::vector<LevelRecord> addUp() const;
  void writeLevelFile(const std::vector<LevelRecord>& records);
  TotalConsumptionResult failed();

  const TotalConsumptionInput& in_;
  const TotalConsumptionPolicy& policy_;
  MessageSink& messages_;
  TotalConsumptionReport& report_;
  ComponentLookup components_;
  RecipeSource recipe_;
  std::vector<Parent> parents_;
  std::vector<Entry> entries_;
  std::unordered_map<std::int32_t, Expansion> expansions_;
};

TotalConsumptionResult TotalConsumptionRun::run() {
  if (!guardsPass()) {
    messages_.beep();
    return {TotalConsumptionOutcome::GuardFailed, 0};
  }
  report_.started();
  return endReported([&] { return build(); }, [&](const TotalConsumptionResult* r) {
    report_.ended(r ? r->outcome : TotalConsumptionOutcome::Failed);
  });
}

TotalConsumptionResult TotalConsumptionRun::build() {
  std::int16_t count = 0;
  try {
    makeLevelFileAnew();
    walkOwnRecipe();
    if (entries_.empty()) {
      recipe_.ownFile.close();
      return {TotalConsumptionOutcome::Empty, 0};
    }
    flatten();
    report_.flattened();
    const std::vector<LevelRecord> records = addUp();
    writeLevelFile(records);
    count = static_cast<std::int16_t>(records.size());
  } catch (const FileError&) {
    return failed();
  } catch (const LevelRunFailure&) {
    return failed();
  }
  recipe_.ownFile.close();
  messages_.beep();
  return {TotalConsumptionOutcome::Built, count};
}

bool TotalConsumptionRun::guardsPass() {
  return openRecipeSource(policy_, in_.products, in_.activeRecord, recipe_);
}

// An earlier product's list never survives a build, whatever becomes of it.
void TotalConsumptionRun::makeLevelFileAnew() { openLevelFileAnew(in_.products.company()).close(); }

// The product's own lines, in chain order, up to the first that is not live; neither their owner nor
// their position is looked at.
void TotalConsumptionRun::walkOwnRecipe() {
  const ProductRecord& product = recipe_.product;
  parents_.push_back({in_.activeRecord, trim(product.Code.view())});
  walkChain(recipe_.lines(), recipe_.count, product.RecipeNumber, [&](std::int32_t n, const RecipeRecord& line) {
    if (!isLiveLine(line)) return false;
    append(entries_, Entry{n, line.Quantity, 0, 0, 0});
    return true;
  });
}

// Each pass replaces every line whose item has a recipe by that recipe's lines, in place, so the list
// keeps the tree's order. The passes end when one replaces nothing or the 20th level is reached.
void TotalConsumptionRun::flatten() {
  for (std::int16_t level = 0; level < kDeepestLevel;) {
    std::vector<Entry> next;
    next.reserve(entries_.size());
    bool replaced = false;
    for (std::size_t r = 0; r < entries_.size(); ++r) {
      const Entry& entry = entries_[r];
      const Expansion& expansion = expansionOf(entry.line);
      if (expansion.lines.empty()) {
        append(next, entry);
        continue;
      }
      if (!replaced) {
        replaced = true;
        ++level;
      }
      for (const auto& [line, quantity] : expansion.lines) {
        const float multiplied = storedSingle(static_cast<double>(quantity) * static_cast<double>(entry.quantity));
        append(next, Entry{line, multiplied, level, static_cast<std::int16_t>(r + 1), expansion.parent});
      }
    }
    if (!replaced) return;
    entries_ = std::move(next);
  }
}

// The item is the product the line names when it carries the line's code, else the first live product
// with that code; a line naming no product (ItemRecord 0) stays. The item's recipe runs from its
// RecipeNumber while the lines carry the item's code, erased ones included. A line's expansion never
// changes during a build, so it is worked out once.
const Expansion& TotalConsumptionRun::expansionOf(std::int32_t n) {
  auto [it, fresh] = expansions_.try_emplace(n);
  Expansion& expansion = it->second;
  if (!fresh) return expansion;
  const std::optional<Component> item = components_.componentOf(recipe_.lines().get<RecipeRecord>(n));
  if (!item) return expansion;
  walkChain(recipe_.lines(), recipe_.count, item->recipeHead, [&](std::int32_t s, const RecipeRecord& line) {
    if (!headsChainForLevelExpansion(line, item->code)) return false;
    if (expansion.lines.size() == kMaxRecords16) throw LevelRunFailure("a recipe outgrows the level file");
    expansion.lines.emplace_back(s, line.Quantity);
    return true;
  });
  if (!expansion.lines.empty()) {
    expansion.parent = static_cast<std::int32_t>(parents_.size());
    parents_.push_back({item->record, item->code});
  }
  return expansion;
}

// One record per item, in the order of its first line, holding that line with the quantities of all the
// item's lines added in list order; the total is the sum times the first line's unit cost.
std::vector<LevelRecord> TotalConsumptionRun::addUp() const {
  std::vector<LevelRecord> records;
  std::unordered_map<std::string, std::size_t> itemAt;
  for (const Entry& entry : entries_) {
    LevelRecord r = levelLineFrom(recipe_.lines().get<RecipeRecord>(entry.line), entry.line);
    std::string key = trim(r.Code.view());
    if (policy_.separatesLineTypes) key = r.TypeChar.str() + key;
    auto [it, fresh] = itemAt.try_emplace(std::move(key), records.size());
    if (!fresh) {
      LevelRecord& first = records[it->second];
      first.Quantity = storedSingle(static_cast<double>(first.Quantity) + static_cast<double>(entry.quantity));
      continue;
    }
    const Parent& parent = parents_[entry.parent];
    r.ParentCode = parent.code;
    r.ParentRecord = parent.record;
    r.Level = entry.level;
    r.ParentLevelRecord = entry.parentEntry;
    r.Quantity = entry.quantity;
    records.push_back(r);
  }
  for (LevelRecord& r : records) r.Total = lineTotal(r.Quantity, r.UnitCost);
  return records;
}

// The list is written into the scratch file, which then takes the level file's place in one step.
void TotalConsumptionRun::writeLevelFile(const std::vector<LevelRecord>& records) {
  const std::string scratchName = companyFileName(in_.products.company(), RecipeFileKind::LevelScratch);
  if (fileExists(scratchName)) deleteFile(scratchName);
  FileHandle scratch = openRecipeSideFile(in_.products.company(), RecipeFileKind::LevelScratch);
  for (std::size_t i = 0; i < records.size(); ++i) scratch.put(static_cast<std::int32_t>(i + 1), records[i]);
  scratch.close();
  replaceFile(scratchName, companyFileName(in_.products.company(), RecipeFileKind::Levels));
}

// Nothing of a failed build is kept: the scratch file goes, and the level file stays as the start left it
// (empty, or the earlier one when it could not be made anew; the count of 0 keeps it from any report).
TotalConsumptionResult TotalConsumptionRun::failed() {
  recipe_.ownFile.close();
  deleteFileQuietly(companyFileName(in_.products.company(), RecipeFileKind::LevelScratch));
  return {TotalConsumptionOutcome::Failed, 0};
}

}  // namespace

TotalConsumptionPolicy totalConsumptionFromRecipeFile() { return {}; }

TotalConsumptionPolicy totalConsumptionFromStore(const FileHandle& store, std::int32_t storeCount) {
  TotalConsumptionPolicy p;
  p.store = &store;
  p.storeCount = storeCount;
  p.separatesLineTypes = true;
  return p;
}

TotalConsumptionResult BuildTotalConsumptionFile(const TotalConsumptionInput& input,
                                                 const TotalConsumptionPolicy& policy, MessageSink& messages,
                                                 TotalConsumptionReport& report) {
  return TotalConsumptionRun(input, policy, messages, report).run();
}

}  // namespace kv
