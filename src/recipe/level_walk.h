// The walk of a level build: a product's recipe expanded depth-first into the level file, one level line
// per recipe line reached, the lines of a component's own recipe one level below the component's line.
//
// Every walk ends: a chain ends where its NextLine leads outside the recipe file or back to a line of the
// same chain; a component whose recipe is already open on the current branch is not entered again, as
// one below the deepest level is not; and the level file holds at most 32767 lines.
//
// A recipe left unexpanded for either reason is a level error, told at the first one only: recipe chains
// that lead back into each other meet it at thousands of lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "base/messages.h"
#include "files/files.h"
#include "recipe/component_lookup.h"
#include "records/product_file.h"
#include "records/product_record.h"
#include "records/recipe_record.h"

namespace kv {

struct WalkFiles {
  const FileHandle* recipeFile = nullptr;
  std::int32_t recipeCount = 0;
  FileHandle* levelFile = nullptr;  // empty, open with 118-byte records
  ProductFile& products;
};

class LevelWalk {
 public:
  static constexpr int kDeepestLevel = 20;

  // tellsLevelError: the first level error gives a beep and a message box (the others none).
  LevelWalk(const WalkFiles& files, MessageSink& messages, bool tellsLevelError);

  // Expands the recipe of `product`, stored at .DAT record `record`. Throws LevelRunFailure or FileError
  // on a failure; what was written until then stays.
  void run(std::int16_t record, const ProductRecord& product);

  int deepest() const { return deepest_; }
  bool levelErrorMet() const { return levelErrorMet_; }

 private:
  // The open group of one level: the lines of one recipe being written under one parent.
  struct Group {
    std::int16_t parentRecord = 0;
    std::string parentCode;
    std::int32_t head = 0;      // the recipe's head line, to tell a recipe that contains itself
    std::uint32_t serial = 0;   // tells this group's visits from those of earlier groups on the level
    std::int32_t next = 0;      // the next line to visit
    std::int16_t siblings = 0;  // lines written so far
    std::int16_t lastWritten = 0;  // level-file record of the last line written
  };

  RecipeRecord read(std::int32_t n);
  void write(const RecipeRecord& line, std::int32_t n);
  void examine(RecipeRecord line);
  void openGroup(const Component& component, const RecipeRecord& headLine);
  bool openOnBranch(std::int32_t head) const;
  void markVisited(std::int32_t n);
  bool canFollow(std::int32_t n) const;

  WalkFiles files_;
  MessageSink& messages_;
  bool tellsLevelError_;
  bool levelErrorMet_ = false;
  ComponentLookup components_;
  std::array<Group, kDeepestLevel + 1> groups_;
  int level_ = 0;
  int deepest_ = 0;
  std::int16_t written_ = 0;
  std::uint32_t serials_ = 0;
  std::unordered_map<std::int64_t, std::uint32_t> visits_;  // (line, level) -> serial of the visiting group
};

}  // namespace kv
