// The files of the recipe side, the rules of their line chains and the owner tests that find a chain's
// head. Every company file is the company name followed by its extension in the working folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "files/files.h"
#include "records/product_record.h"
#include "records/recipe_record.h"

namespace kv {

enum class RecipeFileKind {
  Recipes,          // ".REC", the lines of all recipes
  ListDefinitions,  // ".LTD", the lines of all list definitions
  WorkingCopy,      // ".RCT", one chain copied out for editing or reporting
  RecipeScratch,    // ".TMP" with recipe lines
  Levels,           // ".KDM", the explosion of one product
  LevelScratch,     // ".TMP" with level lines
};

// The store a window works on: the list definitions or the recipes.
inline RecipeFileKind definitionStore(bool listMode) {
  return listMode ? RecipeFileKind::ListDefinitions : RecipeFileKind::Recipes;
}

std::string companyFileName(std::string_view company, RecipeFileKind kind);
// The fixed backup "952KLVR" with the file's extension; empty for the work files, which are never kept.
std::string backupFileName(RecipeFileKind kind);
// Where a working copy's present content goes when a command replaces or retires it: a non-empty copy
// becomes the backup, an empty one is not kept ("").
std::string workingCopyBackup(std::string_view copyName);
int recordLengthOf(RecipeFileKind kind);

// The whole records of the company's file of this kind, from its length: a part record does not count;
// 0 when the file is missing.
std::int32_t wholeRecordCount(std::string_view company, RecipeFileKind kind);

// Positions in a chain (Sequence) are 16-bit: a chain holds at most this many lines.
inline constexpr std::int32_t kLongestChain = kMaxRecords16;

// Opens a file of the company with the record length and record limit of its kind: recipe-line numbers
// are 32-bit; level-file record numbers are 16-bit, and so are those of the working copy, whose line k is
// the chain's k-th line.
FileHandle openRecipeSideFile(std::string_view company, RecipeFileKind kind);

// The presence test of the windows: a directory lookup of the name gives back that name, letter case
// included.
bool listedUnderExactName(std::string_view name);

// Chain rules. A chain follows NextLine and ends at a NextLine outside 1..record count and at a line that
// is not live.
bool isLiveLine(const RecipeRecord& line);
inline bool isLineNumber(std::int32_t n, std::int32_t count) { return n >= 1 && n <= count; }
// The successor of line `self` for the operations that rewrite chains: a NextLine naming the line itself
// or lying outside 1..count reads as 0.
std::int32_t successorForRewrite(const RecipeRecord& line, std::int32_t self, std::int32_t count);

// Walks the chain that starts at line `head` of `store` (`count` lines): calls visit(n, line) for each line
// reached until it returns false. The walk ends, too, at a NextLine outside 1..count and at one that leads
// back to a line the walk has already read, so it reads each line at most once. Returns the last line read
// (0 when `head` lies outside the store).
template <class Visit>
std::int32_t walkChain(const FileHandle& store, std::int32_t count, std::int32_t head, Visit&& visit) {
  std::unordered_set<std::int32_t> read;
  std::int32_t n = head, last = 0;
  while (isLineNumber(n, count) && read.insert(n).second) {
    const RecipeRecord line = store.get<RecipeRecord>(n);
    last = n;
    if (!visit(n, line)) break;
    n = line.NextLine;
  }
  return last;
}

// A level line made from recipe line `n`: the item's code, name, unit and type (TypeChar: the first
// character of the type number's text), the line and its successor, its quantity and its cost as the unit
// cost. Where it stands in the tree and its total are the caller's.
LevelRecord levelLineFrom(const RecipeRecord& line, std::int32_t n);

// Codes compare trimmed and in upper case.
std::string codeKey(std::string_view code);

// The owner tests: does `line` head the chain of product `owner`, stored at .DAT record `ownerRecord`?
// The definition rebuild: a live head whose record number and random number, or whose code, match.
bool headsChainForRebuild(const RecipeRecord& line, std::int16_t ownerRecord, const ProductRecord& owner);
// The working copy: a live head matching at least two of record number, random number and code.
bool headsChainForWorkingCopy(const RecipeRecord& line, std::int16_t ownerRecord, const ProductRecord& owner);
// The list report: a live head whose code matches.
bool headsChainForListReport(const RecipeRecord& line, const ProductRecord& owner);
// The level expansion: the line the component's RecipeNumber names (already checked to lie in the
// file) carries the component's code; neither its flag nor its position is tested.
bool headsChainForLevelExpansion(const RecipeRecord& line, std::string_view componentCode);

}  // namespace kv
