#include "recipe/level_walk.h"

#include <algorithm>

#include "base/text.h"
#include "files/files.h"
#include "recipe/level_arithmetic.h"
#include "recipe/recipe_files.h"

namespace kv {

LevelWalk::LevelWalk(const WalkFiles& files, MessageSink& messages, bool tellsLevelError)
    : files_(files), messages_(messages), tellsLevelError_(tellsLevelError), components_(files.products) {}

void LevelWalk::run(std::int16_t record, const ProductRecord& product) {
  level_ = 0;
  groups_[0] = Group{record, trim(product.Code), product.RecipeNumber, ++serials_};
  std::int32_t current = product.RecipeNumber;
  for (;;) {
    RecipeRecord line = read(current);
    markVisited(current);
    Group& group = groups_[level_];
    if (!isLiveLine(line)) {
      group.next = 0;  // an erased line ends its chain
    } else {
      group.next = line.NextLine;
      ++group.siblings;
      write(line, current);
      examine(line);
    }
    // The next line of a level is taken only after the whole subtree of the previous one (pre-order).
    while (!canFollow(groups_[level_].next))
      if (--level_ < 0) return;
    current = groups_[level_].next;
  }
}

RecipeRecord LevelWalk::read(std::int32_t n) { return files_.recipeFile->get<RecipeRecord>(n); }

void LevelWalk::write(const RecipeRecord& line, std::int32_t n) {
  if (written_ == kMaxRecords16) throw LevelRunFailure("the level file is full");
  const Group& group = groups_[level_];
  LevelRecord r = levelLineFrom(line, n);
  r.ParentCode = group.parentCode;
  r.ParentRecord = group.parentRecord;
  r.Level = static_cast<std::int16_t>(level_);
  r.IndexInGroup = group.siblings;
  r.ParentLevelRecord = level_ == 0 ? 0 : groups_[level_ - 1].lastWritten;
  r.Total = lineTotal(line.Quantity, line.Cost);
  files_.levelFile->put(written_ + 1, r);
  ++written_;
  groups_[level_].lastWritten = written_;
}

// Decides whether the line's component is expanded; a component's head line may in turn name a
// component with a recipe, which is then expanded below it.
void LevelWalk::examine(RecipeRecord line) {
  for (;;) {
    std::optional<Component> component = components_.componentOf(line);
    if (!component || !isLineNumber(component->recipeHead, files_.recipeCount)) return;
    const std::int32_t head = component->recipeHead;
    RecipeRecord headLine = read(head);
    if (!headsChainForLevelExpansion(headLine, component->code)) {
      // The link names another product's chain: that chain goes back to its owner, and the line is
      // costed as it stands.
      components_.returnChainToOwner(headLine, head);
      return;
    }
    if (level_ == kDeepestLevel || openOnBranch(head)) {
      if (tellsLevelError_ && !levelErrorMet_) {
        messages_.beep();
        messages_.message("Kademe hatası oluştu! (Kademe Sayısı > 20)"_w, MsgButtons::Ok, MsgIcon::Exclamation,
                          "! HATA !");
      }
      levelErrorMet_ = true;
      return;
    }
    openGroup(*component, headLine);
    write(headLine, head);  // the head is written whatever its flag
    line = headLine;
  }
}

void LevelWalk::openGroup(const Component& component, const RecipeRecord& headLine) {
  ++level_;
  deepest_ = std::max(deepest_, level_);
  groups_[level_] = Group{component.record, component.code, component.recipeHead, ++serials_, headLine.NextLine, 1};
  markVisited(component.recipeHead);
}

bool LevelWalk::openOnBranch(std::int32_t head) const {
  for (int l = 0; l <= level_; ++l)
    if (groups_[l].head == head) return true;
  return false;
}

void LevelWalk::markVisited(std::int32_t n) { visits_[static_cast<std::int64_t>(n) * 32 + level_] = groups_[level_].serial; }

bool LevelWalk::canFollow(std::int32_t n) const {
  if (!isLineNumber(n, files_.recipeCount)) return false;
  auto it = visits_.find(static_cast<std::int64_t>(n) * 32 + level_);
  return it == visits_.end() || it->second != groups_[level_].serial;
}

}  // namespace kv
