#include "recipe/recipe_files.h"

#include <algorithm>
#include <string>

#include "base/text.h"
#include "files/files.h"

namespace kv {

namespace {

std::string_view extensionOf(RecipeFileKind kind) {
  switch (kind) {
    case RecipeFileKind::Recipes: return ".REC";
    case RecipeFileKind::ListDefinitions: return ".LTD";
    case RecipeFileKind::WorkingCopy: return ".RCT";
    case RecipeFileKind::Levels: return ".KDM";
    case RecipeFileKind::RecipeScratch:
    case RecipeFileKind::LevelScratch: return ".TMP";
  }
  return "";
}

bool isLevelFile(RecipeFileKind kind) { return kind == RecipeFileKind::Levels || kind == RecipeFileKind::LevelScratch; }

bool isLiveHead(const RecipeRecord& line) { return isLiveLine(line) && line.Sequence == 1; }

}  // namespace

std::string companyFileName(std::string_view company, RecipeFileKind kind) {
  return std::string(company) + std::string(extensionOf(kind));
}

std::string backupFileName(RecipeFileKind kind) {
  switch (kind) {
    case RecipeFileKind::Recipes:
    case RecipeFileKind::ListDefinitions:
    case RecipeFileKind::WorkingCopy: return "952KLVR" + std::string(extensionOf(kind));
    default: return "";
  }
}

int recordLengthOf(RecipeFileKind kind) { return isLevelFile(kind) ? LevelRecord::Length : RecipeRecord::Length; }

std::int32_t wholeRecordCount(std::string_view company, RecipeFileKind kind) {
  const std::int64_t whole = fileLengthByName(companyFileName(company, kind)) / recordLengthOf(kind);
  return static_cast<std::int32_t>(std::min<std::int64_t>(whole, kMaxRecords32));
}

std::string workingCopyBackup(std::string_view copyName) {
  return fileLengthByName(copyName) > 0 ? backupFileName(RecipeFileKind::WorkingCopy) : std::string();
}

FileHandle openRecipeSideFile(std::string_view company, RecipeFileKind kind) {
  const bool numbered16 = isLevelFile(kind) || kind == RecipeFileKind::WorkingCopy;
  return FileHandle(companyFileName(company, kind), recordLengthOf(kind), numbered16 ? kMaxRecords16 : kMaxRecords32);
}

bool listedUnderExactName(std::string_view name) { return fileExists(name) && diskName(name) == name; }

bool isLiveLine(const RecipeRecord& line) { return line.Deleted == "H"; }

std::int32_t successorForRewrite(const RecipeRecord& line, std::int32_t self, std::int32_t count) {
  std::int32_t n = line.NextLine;
  return n == self || !isLineNumber(n, count) ? 0 : n;
}

LevelRecord levelLineFrom(const RecipeRecord& line, std::int32_t n) {
  LevelRecord r;
  r.Code = line.Code;
  r.Name = line.Name;
  r.Unit = line.Unit;
  r.TypeChar = std::to_string(line.LineType).substr(0, 1);
  r.LineType = line.LineType;
  r.RecipeLine = n;
  r.NextLine = line.NextLine;
  r.Quantity = line.Quantity;
  r.UnitCost = line.Cost;
  return r;
}

std::string codeKey(std::string_view code) { return upperCase(trimView(code)); }

bool headsChainForRebuild(const RecipeRecord& line, std::int16_t ownerRecord, const ProductRecord& owner) {
  if (!isLiveHead(line)) return false;
  bool sameIdentity = line.OwnerRecord == ownerRecord && line.OwnerRandomNumber == owner.RandomNumber;
  return sameIdentity || codeKey(line.OwnerCode) == codeKey(owner.Code);
}

bool headsChainForWorkingCopy(const RecipeRecord& line, std::int16_t ownerRecord, const ProductRecord& owner) {
  if (!isLiveHead(line)) return false;
  int matches = (line.OwnerRecord == ownerRecord) + (line.OwnerRandomNumber == owner.RandomNumber) +
                (codeKey(line.OwnerCode) == codeKey(owner.Code));
  return matches >= 2;
}

bool headsChainForListReport(const RecipeRecord& line, const ProductRecord& owner) {
  return isLiveHead(line) && codeKey(line.OwnerCode) == codeKey(owner.Code);
}

bool headsChainForLevelExpansion(const RecipeRecord& line, std::string_view componentCode) {
  return codeKey(line.OwnerCode) == codeKey(componentCode);
}

}  // namespace kv
