// What is hostile in a workbook gives SheetError, never an overflow, an exhausted memory or a read without
// end.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "sheet/readers.h"
#include "sheet/sheet.h"
#include "support/company.h"

namespace kv::sheet {
namespace {

using kv::testing::TempFolder;

// A workbook of one sheet as a spreadsheet program zips it; `blanks` blanks stand inside its sheetData.
void writeXlsx(const std::filesystem::path& path, const std::string& sheetData, std::size_t blanks = 0) {
  const std::string parts[][2] = {
      {"xl/workbook.xml", R"(<workbook xmlns:r="r"><sheets><sheet name="S" r:id="rId1"/></sheets></workbook>)"},
      {"xl/_rels/workbook.xml.rels",
       R"(<Relationships><Relationship Id="rId1" Type="w/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)"},
      {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>"},
  };
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, text] : parts) {
    zipOpenNewFileInZip64(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_BEST_SPEED, 1);
    zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size()));
    if (name.ends_with("sheet1.xml")) {
      const std::string blank(1 << 20, ' ');
      for (std::size_t left = blanks; left > 0; left -= std::min(left, blank.size()))
        zipWriteInFileInZip(zip, blank.data(), static_cast<unsigned>(std::min(left, blank.size())));
      const std::string rest = sheetData + "</sheetData></worksheet>";
      zipWriteInFileInZip(zip, rest.data(), static_cast<unsigned>(rest.size()));
    }
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
}

// Read here, in the test's own process, where the sanitizers watch every step of the arithmetic.
TEST(SheetReader, HostileCellAndRowNumbersAreCheckedBeforeTheArithmetic) {
  TempFolder folder;
  // The rows a sheet that is read holds (none when it is refused), and the kind of the first cell of its last.
  const struct {
    const char* sheetData;
    std::int32_t rows;
    CellKind kind;
  } cases[] = {
      {R"(<row r="1"><c r="AAAAAAAAAA1"><v>1</v></c></row>)", 0, CellKind::Empty},
      {R"(<row r="2147483647"><c><v>1</v></c></row><row><c><v>2</v></c></row>)", 0, CellKind::Empty},
      {R"(<row r="1048576"><c><v>1</v></c></row><row><c><v>2</v></c></row>)", kMaxSheetRows, CellKind::Number},
      {R"(<row r="1"><c t="d"><v>2020--2147483648-01</v></c></row>)", 1, CellKind::Date},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sheetData);
    const auto path = folder.path() / "K.xlsx";
    std::filesystem::remove(path);
    writeXlsx(path, c.sheetData);
    SheetBuilder builder;
    try {
      readXlsx(path.string(), builder);
    } catch (const SheetError&) {
      EXPECT_EQ(c.rows, 0);
      continue;
    }
    const Sheet sheet = std::move(builder).finish();
    EXPECT_EQ(sheet.rowCount(), c.rows);
    EXPECT_EQ(sheet.cell(c.rows, 1).kind, c.kind);
  }
}

TEST(SheetReader, AZipBombIsRefused) {
  TempFolder folder;
  writeXlsx(folder.path() / "KLVR952.XLS", R"(<row r="1"><c><v>1</v></c></row>)", std::size_t{300} << 20);
  EXPECT_LT(std::filesystem::file_size(folder.path() / "KLVR952.XLS"), std::size_t{2} << 20);
  EXPECT_THROW(readFirstSheet("KLVR952.XLS"), SheetError);
}

}  // namespace
}  // namespace kv::sheet
