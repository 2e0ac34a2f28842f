// Workbooks that spreadsheet programs wrote (tests/data/libreoffice_workbooks.py says how), each read through
// the reader program and compared cell by cell with the CSV that LibreOffice exported of it, values as shown.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/text.h"
#include "sheet/sheet.h"
#include "support/company.h"

namespace kv::sheet {
namespace {

std::vector<std::vector<std::string>> readCsv(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') rows.back().back() += text[++i];
    else if (c == '"') quoted = !quoted;
    else if (!quoted && c == ',') rows.back().emplace_back();
    else if (!quoted && c == '\n') rows.emplace_back(1);
    else rows.back().back() += c;
  }
  if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
  return rows;
}

// Whether the cell holds what the CSV shows. A number may show rounded by its format, with grouping, a
bool shows(const Cell& c, const std::string& utf8) {
  if (utf8.find("\xEF\xBF\xBD") != std::string::npos) return true;  // LibreOffice could not convert it
  switch (c.kind) {
    case CellKind::Empty:
      return utf8.empty();
    case CellKind::Text:
      return c.str == cp1254FromUtf8Lossy(utf8);
    case CellKind::Error:
      return c.str == utf8;
    case CellKind::Boolean:  // LibreOffice shows a logical value in the general format as 1 or 0
      return utf8 == (c.value != 0 ? "1" : "0");
    case CellKind::Number: {
      std::string digits;
      for (char ch : utf8) if (ch != ',') digits += ch;
      double shown = std::strtod(digits.c_str(), nullptr) / (utf8.ends_with("%") ? 100 : 1);
      return std::fabs(shown - c.value) <= 1e-9 * std::fabs(c.value) + 0.005;
    }
    case CellKind::Date: {
      int d = 0, m = 0, y = 0, h = 0, mi = 0, s = 0;
      const bool day = std::sscanf(utf8.c_str(), "%d.%d.%d %d:%d:%d", &d, &m, &y, &h, &mi, &s) >= 3;
      if (!day && std::sscanf(utf8.c_str(), "%d:%d:%d", &h, &mi, &s) != 3) return false;
      const double time = (h * 3600 + mi * 60 + s) / 86400.0;
      const double value = day ? c.value : c.value - std::floor(c.value);
      return std::fabs((day ? Date::fromYmd(y, m, d).serial + time : time) - value) < 1e-6;
    }
  }
  return false;
}

TEST(WrittenWorkbooks, ReadAsTheSpreadsheetShowsThem) {
  kv::testing::TempFolder folder;
  const struct {
    const char* file;
    const char* sheetName;  // UTF-8
    std::int32_t rows;
  } cases[] = {
      {"formulas_libreoffice", "Formüller", 9},  // every result kind, drawings, a chart, a chart sheet
      {"strings_libreoffice", "Metinler", 900},  // shared strings across records, texts of 17 000 characters
      {"dates1900_libreoffice", "Tarihler", 4},
      {"dates1904_libreoffice", "Tarihler", 4},
      {"excel95_gnumeric", "Formüller", 9},      // BIFF5 in Windows-1254
      {"excel95_mac_gnumeric", "Formüller", 9},  // the same bytes in the Macintosh code page
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::filesystem::path data(KV_TEST_DATA);
    std::filesystem::copy_file(data / (std::string(c.file) + ".xls"), folder.path() / "KLVR952.XLS",
                               std::filesystem::copy_options::overwrite_existing);
    const Sheet sheet = readFirstSheet("KLVR952.XLS");
    const auto csv = readCsv(data / (std::string(c.file) + ".csv"));
    if (std::string(c.file).find("mac") == std::string::npos) {
      EXPECT_EQ(sheet.name(), w(c.sheetName));
    }
    ASSERT_EQ(sheet.rowCount(), c.rows);
    ASSERT_EQ(static_cast<std::int32_t>(csv.size()), c.rows);
    for (std::int32_t r = 1; r <= c.rows; ++r)
      for (int col = 1; col <= static_cast<int>(csv[r - 1].size()) + 1; ++col) {
        const std::string shown = col <= static_cast<int>(csv[r - 1].size()) ? csv[r - 1][col - 1] : "";
        EXPECT_TRUE(shows(sheet.cell(r, col), shown))
            << r << "," << col << " kind " << static_cast<int>(sheet.cell(r, col).kind) << ": "
            << sheet.cell(r, col).str.substr(0, 40) << sheet.cell(r, col).value << " / " << shown.substr(0, 40);
      }
  }
}

}  // namespace
}  // namespace kv::sheet
