// The files of the recipe side, the chain rule of the rewriting operations, and the four owner tests.
#include <gtest/gtest.h>

#include "base/text.h"
#include "files/files.h"
#include "recipe/recipe_files.h"
#include "support/company.h"

namespace kv {
namespace {

TEST(RecipeFiles, NamesBackupsAndRecordShapes) {
  EXPECT_EQ(companyFileName("KLVR952", RecipeFileKind::Recipes), "KLVR952.REC");
  EXPECT_EQ(companyFileName("ŞİRKET"_w, RecipeFileKind::ListDefinitions), "ŞİRKET.LTD"_w);
  EXPECT_EQ(companyFileName("A", RecipeFileKind::WorkingCopy), "A.RCT");
  EXPECT_EQ(companyFileName("A", RecipeFileKind::Levels), "A.KDM");
  EXPECT_EQ(companyFileName("A", RecipeFileKind::RecipeScratch), "A.TMP");
  EXPECT_EQ(companyFileName("A", RecipeFileKind::LevelScratch), "A.TMP");

  EXPECT_EQ(backupFileName(RecipeFileKind::Recipes), "952KLVR.REC");
  EXPECT_EQ(backupFileName(RecipeFileKind::ListDefinitions), "952KLVR.LTD");
  EXPECT_EQ(backupFileName(RecipeFileKind::WorkingCopy), "952KLVR.RCT");
  EXPECT_EQ(backupFileName(RecipeFileKind::Levels), "");  // work files are never kept
  EXPECT_EQ(backupFileName(RecipeFileKind::RecipeScratch), "");

  EXPECT_EQ(recordLengthOf(RecipeFileKind::RecipeScratch), 128);
  EXPECT_EQ(recordLengthOf(RecipeFileKind::LevelScratch), 118);
}

TEST(RecipeFiles, RecipeLinesAreNumberedIn32BitsAndLevelLinesIn16) {
  testing::TempFolder folder;
  FileHandle rec = openRecipeSideFile("KLVR952", RecipeFileKind::Recipes);
  FileHandle kdm = openRecipeSideFile("KLVR952", RecipeFileKind::Levels);
  EXPECT_EQ(rec.get<RecipeRecord>(40000).NextLine, 0);  // beyond the end: a zero record, no error
  EXPECT_THROW(kdm.get<LevelRecord>(32768), FileError);
}

TEST(RecipeFiles, PresenceIsTheExactName) {
  testing::TempFolder folder;
  EXPECT_FALSE(listedUnderExactName("KLVR952.REC"));
  folder.write("klvr952.rec", {});
  EXPECT_FALSE(listedUnderExactName("KLVR952.REC"));  // the listing gives the name as it is on disk
  folder.write("KLVR952.REC", {});
  EXPECT_TRUE(listedUnderExactName("KLVR952.REC"));
}

TEST(RecipeChains, TheRewritingOperationsReadASelfPointerAsTheEnd) {
  RecipeRecord line;
  line.Deleted = "H";
  EXPECT_TRUE(isLiveLine(line));
  line.NextLine = 7;
  EXPECT_EQ(successorForRewrite(line, 3, 10), 7);
  EXPECT_EQ(successorForRewrite(line, 7, 10), 0);
  EXPECT_EQ(successorForRewrite(line, 3, 6), 0);
  line.NextLine = -7;
  EXPECT_EQ(successorForRewrite(line, 3, 10), 0);
  for (const char* flag : {"E", "h", " "}) {
    line.Deleted = flag;
    EXPECT_FALSE(isLiveLine(line)) << flag;
  }
}

// Product "dişli" at record 5 with random number 77, and head lines that match it in some of the ways.
TEST(RecipeChains, TheFourOwnerTests) {
  ProductRecord owner = testing::makeProduct("dişli");
  owner.RandomNumber = 77;
  struct Case {
    const char* what;
    std::int16_t record;
    std::int32_t random;
    const char* code;
    const char* deleted;
    std::int16_t sequence;
    bool rebuild, workingCopy, listReport, levelExpansion;
  };
  const Case cases[] = {
      {"all three", 5, 77, "  DİŞLİ ", "H", 1, true, true, true, true},
      {"record and random", 5, 77, "BAŞKA", "H", 1, true, true, false, false},
      {"record and code", 5, 1, "DİŞLİ", "H", 1, true, true, true, true},
      {"random and code", 6, 77, "dişli", "H", 1, true, true, true, true},
      {"code only", 6, 1, "DİŞLİ", "H", 1, true, false, true, true},
      {"record only", 5, 1, "BAŞKA", "H", 1, false, false, false, false},
      {"erased head", 5, 77, "DİŞLİ", "E", 1, false, false, false, true},
      {"not the first line", 5, 77, "DİŞLİ", "H", 2, false, false, false, true},
      {"dotless i is another letter", 5, 1, "DIŞLI", "H", 1, false, false, false, false},
  };
  for (const Case& c : cases) {
    RecipeRecord line;
    line.OwnerRecord = c.record;
    line.OwnerRandomNumber = c.random;
    line.OwnerCode = w(c.code);
    line.Deleted = c.deleted;
    line.Sequence = c.sequence;
    EXPECT_EQ(headsChainForRebuild(line, 5, owner), c.rebuild) << c.what;
    EXPECT_EQ(headsChainForWorkingCopy(line, 5, owner), c.workingCopy) << c.what;
    EXPECT_EQ(headsChainForListReport(line, owner), c.listReport) << c.what;
    EXPECT_EQ(headsChainForLevelExpansion(line, owner.Code), c.levelExpansion) << c.what;
  }
}

}  // namespace
}  // namespace kv
