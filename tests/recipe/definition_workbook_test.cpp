// The definition workbook: a store goes out to a workbook and comes back the same; a workbook the import
// cannot read as its own changes nothing.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <random>

#include "base/text.h"
#include "recipe/definition_workbook.h"
#include "recipe/recipe_files.h"
#include "sheet/sheet.h"
#include "support/company.h"

namespace kv {
namespace {

using kv::testing::TempFolder;

// Lines whose every field survives the trip: texts without leading blanks, Singles of any value, every
// erased flag but a NUL.
RecipeRecord randomLine(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto single = [&] {
    const float f = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    return std::isfinite(f) ? f : 16777215.0f;
  };
  const char* texts[] = {"00123", "1E3", "=A1", "ÇARK ğüşıöç", "Şaft", ""};
  RecipeRecord r;
  r.ItemRecord = static_cast<std::int16_t>(pick(-5, 32767));
  r.LineType = static_cast<std::int16_t>(pick(1, 7));
  r.Code = w(texts[pick(0, 5)]);
  r.Name = w(texts[pick(0, 5)]);
  r.Quantity = single();
  r.Unit = "KG";
  r.Deleted = std::string(1, " EHx"[pick(0, 3)]);
  r.Cost = single();
  r.Coefficient = 1.0000001f;
  r.Price = single();
  r.Total = 12345678.0f;
  r.Day = 9, r.Month = 12, r.Year = 2026;
  r.OwnerCode = w(texts[pick(0, 5)]);
  r.OwnerRecord = static_cast<std::int16_t>(pick(0, 32767));
  r.OwnerRandomNumber = pick(0, 2147483647);
  r.NextLine = pick(-1, 2000000);
  r.Sequence = static_cast<std::int16_t>(pick(1, 300));
  return r;
}

class DefinitionWorkbookTest : public ::testing::Test {
 protected:
  void makeStore(bool listMode, int lines, unsigned seed) {
    std::mt19937 rng(seed);
    FileHandle store = openRecipeSideFile("FİRMA"_w, listMode ? RecipeFileKind::ListDefinitions : RecipeFileKind::Recipes);
    for (int i = 1; i <= lines; ++i) store.put(i, randomLine(rng));
  }
  void useAsImport(const std::string& workbook) {
    std::filesystem::rename(folder.path() / workbook, folder.path() / "KLVR952.XLS");
  }
  TempFolder folder;
};

TEST_F(DefinitionWorkbookTest, ExportThenImportGivesTheSameStore) {
  for (bool listMode : {false, true}) {
    const char* file = listMode ? "FİRMA.LTD" : "FİRMA.REC";
    makeStore(listMode, 300, listMode ? 2 : 1);
    const auto before = folder.bytes(file);
    useAsImport(toUtf8(exportDefinitionWorkbook("FİRMA"_w, listMode).file));
    const DefinitionWorkbook read = readDefinitionWorkbook();
    ASSERT_EQ(read.problem, sheet::ImportProblem::None);
    ASSERT_EQ(read.lines.size(), 300u);
    ASSERT_FALSE(importDefinitionLines("FİRMA"_w, listMode, read.lines));
    EXPECT_TRUE(folder.bytes(file) == before) << file;
    EXPECT_TRUE(folder.bytes(listMode ? "952KLVR.LTD" : "952KLVR.REC") == before);
  }
  // A NUL flag, which no workbook holds, comes back as a blank: not a live line either.
  FileHandle store = openRecipeSideFile("FİRMA"_w, RecipeFileKind::Recipes);
  RecipeRecord line = store.get<RecipeRecord>(1);
  line.Deleted = std::string_view("\0", 1);
  store.put(1, line);
  useAsImport(toUtf8(exportDefinitionWorkbook("FİRMA"_w, false).file));
  EXPECT_EQ(readDefinitionWorkbook().lines.at(0).Deleted.view(), " ");
}

TEST_F(DefinitionWorkbookTest, RowsEndAtTheFirstWithoutARecordNumberAndOnlyAnEmptyFlagIsALiveLine) {
  sheet::NewWorkbook book;
  for (int c = 1; c <= 19; ++c) book.Cells(1, c, sheet::Cell::text("H"));
  const char* numbers[] = {"1", "7", "2,5", "0", "5"};
  for (int r = 0; r < 5; ++r) {
    book.Cells(r + 2, 1, sheet::Cell::text(numbers[r]));
    book.Cells(r + 2, 4, sheet::Cell::text("  KOD"));
    book.Cells(r + 2, 6, sheet::Cell::text(r == 1 ? "x" : "2.5"));
    book.Cells(r + 2, 17, sheet::Cell::text("99999999999"));
    book.Cells(r + 2, 20, sheet::Cell::text(r == 0 ? "Evet" : r == 2 ? " " : ""));
  }
  useAsImport(book.Show());
  const DefinitionWorkbook read = readDefinitionWorkbook();
  ASSERT_EQ(read.lines.size(), 3u);
  EXPECT_EQ(read.lines[0].Deleted.view(), "E");
  EXPECT_EQ(read.lines[1].Deleted.view(), "H");
  EXPECT_EQ(read.lines[2].Deleted.view(), " ");
  EXPECT_EQ(read.lines[0].Code.view().substr(0, 5), "  KOD");
  EXPECT_EQ(read.lines[0].Quantity, 2.5f);
  EXPECT_EQ(read.lines[1].Quantity, 0.0f);
  EXPECT_EQ(read.lines[2].OwnerRandomNumber, 0);
}

TEST_F(DefinitionWorkbookTest, AWorkbookOfAnotherLayoutIsRefused) {
  for (int headers : {18, 21}) {
    sheet::NewWorkbook book;
    for (int c = 1; c <= headers; ++c) book.Cells(1, c, sheet::Cell::text("H"));
    book.Cells(2, 1, sheet::Cell::number(1));
    useAsImport(book.Show());
    EXPECT_EQ(readDefinitionWorkbook().problem, sheet::ImportProblem::Layout) << headers;
  }
  folder.write("KLVR952.XLS", {'x'});
  EXPECT_EQ(readDefinitionWorkbook().problem, sheet::ImportProblem::Unreadable);
}

}  // namespace
}  // namespace kv
