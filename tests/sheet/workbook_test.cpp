// The spreadsheet layer: what a new workbook holds reads back the same, texts stay texts, the file takes
// a new name, and what is no workbook is refused.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unzip.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <functional>
#include <random>

#include "base/text.h"
#include "files/files.h"
#include "sheet/record_cells.h"
#include "sheet/sheet.h"
#include "sheet/workbook_messages.h"
#include "support/company.h"

namespace kv::sheet {
namespace {

using kv::testing::TempFolder;

std::string randomText(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {"00123", "1E3", "=A1", "ĞÜŞİÖÇ", "ığüşöç", " ", "12,5", "-",
                                                  "'", "\"", "<a>", "&amp;", "TRUE", "#N/A", "x"};
  std::string s;
  for (int n = std::uniform_int_distribution<int>(1, 4)(rng); n > 0; --n)
    s += w(pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(rng)]);
  return s;
}

TEST(Workbook, WhatIsWrittenReadsBackTheSame) {
  TempFolder folder;
  std::mt19937 rng(17);
  std::vector<std::vector<Cell>> expected(60, std::vector<Cell>(6));
  NewWorkbook book;
  book.Name("Firma"_w);
  for (int r = 1; r <= 60; ++r) {
    for (int c = 1; c <= 6; ++c) {
      Cell cell;
      switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
        case 0: cell = Cell::number(std::uniform_int_distribution<int>(-1000000000, 1000000000)(rng) / 100.0); break;
        case 1: cell = Cell::text(randomText(rng)); break;
        case 2: cell = Cell::date(std::uniform_int_distribution<int>(1, 60000)(rng)); break;
        case 3: cell = Cell::boolean(rng() % 2 == 0); break;
        default: break;
      }
      book.Cells(r, c, cell);
      if (r == 1) book.Bold(r, c);
      expected[r - 1][c - 1] = cell;
    }
  }
  for (int c = 1; c <= 6; ++c) book.AutoFit(c);
  const std::string name = book.Show();
  EXPECT_EQ(name, "Kitap1.xlsx");
  const Sheet s = readFirstSheet(name);
  for (int r = 1; r <= 60; ++r)
    for (int c = 1; c <= 6; ++c) {
      const Cell& want = expected[r - 1][c - 1];
      const Cell& got = s.cell(r, c);
      SCOPED_TRACE(::testing::Message() << r << "," << c);
      EXPECT_EQ(got.isEmpty(), want.isEmpty());
      if (want.isEmpty()) continue;
      EXPECT_EQ(got.kind, want.kind);
      EXPECT_EQ(got.value, want.value);
      EXPECT_EQ(got.str, want.str);
    }
}

// A Single's cell holds as few digits as read back to it, through a double and straight, by the shortest
// of "%.{1..9}g" that does; every cell of the file holds exactly those digits, or the library's own.
TEST(Workbook, ASingleGoesInTheShortestDigitsThatReadBackToIt) {
  TempFolder folder;
  auto readsBack = [](const std::string& d, float v) {
    return static_cast<float>(std::strtod(d.c_str(), nullptr)) == v && std::strtof(d.c_str(), nullptr) == v;
  };
  auto significant = [](std::string d) {
    d = d.substr(0, d.find('E'));
    std::erase(d, '.');
    return d.find_last_of("123456789") - d.find_first_of("123456789") + 1;
  };
  std::vector<float> values = {0.1f, 98765.43f, 1.0000001f, 845.57f, 7.038531e-26f, -7.038531e-26f, 3.0f, 1e20f};
  std::mt19937 rng(26);
  while (values.size() < 20000)
    if (const float v = std::bit_cast<float>(static_cast<std::uint32_t>(rng())); std::isfinite(v)) values.push_back(v);
  NewWorkbook book;
  std::vector<std::string> expected;  // the digits of each cell, in the file's order
  for (std::size_t i = 0; i < values.size(); ++i) {
    const float v = values[i];
    const Cell c = Cell::single(v);
    book.Cells(static_cast<std::int32_t>(i / 10 + 1), static_cast<int>(i % 10 + 1), c);
    char full[32];
    std::snprintf(full, sizeof full, "%.16G", static_cast<double>(v));
    expected.push_back(c.str.empty() ? full : c.str);
    ASSERT_TRUE(readsBack(expected.back(), v)) << full;
    std::size_t shortest = 1;
    for (char d[32]; shortest < 9; ++shortest) {
      std::snprintf(d, sizeof d, "%.*g", static_cast<int>(shortest), static_cast<double>(v));
      if (readsBack(d, v)) break;
    }
    if (c.str.empty()) ASSERT_TRUE(v == std::trunc(v) || std::fabs(v) == 7.038531e-26f) << full;
    else ASSERT_EQ(significant(c.str), shortest) << c.str;
  }
  EXPECT_EQ(expected[0] + " " + expected[1] + " " + expected[2] + " " + expected[7], "0.1 98765.43 1.0000001 1E+20");
  unzFile zip = unzOpen64((folder.path() / book.Show()).c_str());
  ASSERT_EQ(unzLocateFile(zip, "xl/worksheets/sheet1.xml", 1), UNZ_OK);
  unzOpenCurrentFile(zip);
  std::string xml(std::size_t{1} << 24, '\0');
  xml.resize(static_cast<std::size_t>(unzReadCurrentFile(zip, xml.data(), static_cast<unsigned>(xml.size()))));
  unzClose(zip);
  std::vector<std::string> written;
  for (std::size_t at = xml.find("<v>"); at != std::string::npos; at = xml.find("<v>", at + 1))
    written.push_back(xml.substr(at + 3, xml.find("</v>", at) - at - 3));
  EXPECT_EQ(written, expected);
}

TEST(Workbook, NeverReplacesAFileAndLeavesNothingWhenNotShown) {
  TempFolder folder;
  folder.write("Kitap1.xlsx", {'x'});
  folder.write("kitap2.XLSX", {'y'});
  { NewWorkbook unused; }
  NewWorkbook book;
  book.Cells(1, 1, Cell::text("a"));
  EXPECT_EQ(book.Show(), "Kitap3.xlsx");
  EXPECT_EQ(folder.bytes("Kitap1.xlsx"), std::vector<std::uint8_t>{'x'});
  EXPECT_EQ(listFiles("*").size(), 3u);
}

TEST(Workbook, SheetNameIsCutTo31Characters) {
  TempFolder folder;
  const std::string longName = w("ŞİRKET_") + std::string(40, 'A');
  NewWorkbook book;
  book.Name(longName);
  book.Cells(1, 1, Cell::number(1));
  EXPECT_EQ(readFirstSheet(book.Show()).name(), longName.substr(0, kMaxSheetName));
  NewWorkbook refused;
  refused.Name("a/b"_w);
  refused.Cells(1, 1, Cell::number(1));
  EXPECT_EQ(readFirstSheet(refused.Show()).name(), "Sheet1");
}

// The workbook library's parts are compressed at the fastest level the program sets in its place: the
// workbook still opens, and its parts are compressed.
TEST(Workbook, ItsPartsAreCompressedAtTheFastestLevel) {
  TempFolder folder;
  NewWorkbook book;
  for (int r = 1; r <= 2000; ++r) book.Cells(r, 1, Cell::text("Çelik mil " + std::to_string(r % 10)));
  const std::string name = book.Show();
  EXPECT_EQ(readFirstSheet(name).rowCount(), 2000);
  unzFile zip = unzOpen64((folder.path() / name).c_str());
  ASSERT_NE(zip, nullptr);
  int parts = 0;
  std::uint64_t packed = 0, whole = 0;
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip), ++parts) {
    unz_file_info64 info;
    ASSERT_EQ(unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0), UNZ_OK);
    EXPECT_EQ(info.compression_method, static_cast<uLong>(Z_DEFLATED));
    EXPECT_EQ(info.flag & 6, 6u);  // deflated at the fastest level
    packed += info.compressed_size, whole += info.uncompressed_size;
  }
  unzClose(zip);
  EXPECT_GT(parts, 4);
  EXPECT_LT(packed * 4, whole);
}

TEST(Workbook, RowsAreWrittenInOrder) {
  TempFolder folder;
  NewWorkbook book;
  book.Cells(3, 1, Cell::number(1));
  EXPECT_THROW(book.Cells(2, 1, Cell::number(1)), std::logic_error);
}

// Cells far out are not kept, and no cell outside the range an import reads crosses over; a range whose
// texts the cells pass is refused.
TEST(Workbook, CellsFarOutAreNotKept) {
  TempFolder folder;
  NewWorkbook book;
  book.Cells(1, 1, Cell::text("a"));
  for (int r = 2; r <= 2000; ++r) book.Cells(r, 16384, Cell::number(r));
  book.Cells(kMaxSheetRows, 2, Cell::number(1));
  const std::string name = book.Show();
  const Sheet s = readFirstSheet(name);
  EXPECT_EQ(cellText(s.cell(1, 1)), "a");
  EXPECT_TRUE(s.cell(2, 16384).isEmpty());
  EXPECT_EQ(cellNumber(s.cell(kMaxSheetRows, 2)), 1);
  const Sheet part = readFirstSheet(name, {.rows = 1999, .columns = 1});
  EXPECT_EQ(part.rowCount(), 1);
  EXPECT_THROW(readFirstSheet(name, {.texts = 0}), SheetError);
}

TEST(Workbook, WhatIsNoWorkbookIsRefused) {
  TempFolder folder;
  folder.write("A.XLS", {'h', 'e', 'l', 'l', 'o', ' ', 'w'});
  folder.write("B.XLS", {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1, 0, 0, 0});
  folder.write("C.XLS", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0});
  for (const char* name : {"A.XLS", "B.XLS", "C.XLS", "MISSING.XLS"})
    EXPECT_THROW(readFirstSheet(name), SheetError) << name;
  // A FIFO is refused before a reader would wait for it to be written.
  ASSERT_EQ(::mkfifo((folder.path() / "D.XLS").c_str(), 0600), 0);
  EXPECT_THROW(readFirstSheet("D.XLS", {}, {.waitMilliseconds = 600000}), SheetError);
}

// A reader that is missing, not executable or cannot start is told as the installation fault it is,
// naming where it was looked for.
TEST(Workbook, AReaderThatCannotStartIsAnInstallationFault) {
  TempFolder folder;
  NewWorkbook book;
  book.Cells(1, 1, Cell::text("a"));
  std::filesystem::rename(folder.path() / book.Show(), folder.path() / "KLVR952.XLS");
  folder.write("notexec", {'x'});
  folder.write("noloader", {'#', '!', '/', 'y'});
  std::filesystem::permissions(folder.path() / "noloader", std::filesystem::perms::owner_all);
  for (const char* place : {"missing", "notexec", "noloader"}) {
    const std::string path = (folder.path() / place).string();
    setReaderPlaces({path});
    const ImportSheet read = readImportSheet("KLVR952.XLS", {}, [](const Sheet&) { return true; });
    setReaderPlaces({});
    EXPECT_EQ(read.problem, ImportProblem::NoReader) << place;
    kv::testing::RecordingSink sink;
    tellImportProblem(sink, read.problem, "KLVR952.XLS", read.readerPlaces);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].text.find("kalvor952-sheet-reader"), std::string::npos);
    EXPECT_NE(sink.shown[0].text.find(path), std::string::npos);
  }
}

TEST(RecordCells, FieldsTravelBothWays) {
  const struct {
    Cell cell;
    std::int16_t integer;
    float single;
    std::int64_t currencyRaw;
  } cases[] = {
      {Cell::text("12,5"), 12, 12.5f, 125000},   {Cell::number(2.5), 2, 2.5f, 25000},
      {Cell::number(3.5), 4, 3.5f, 35000},       {Cell::text("abc"), 0, 0.0f, 0},
      {Cell::number(40000), 0, 40000.0f, 400000000}, {Cell::error("#DIV/0!"), 0, 0.0f, 0},
      {Cell{}, 0, 0.0f, 0},                      {Cell::text("-7 TL"), -7, -7.0f, -70000},
  };
  for (const auto& c : cases) {
    std::int16_t i = 99;
    float f = 99;
    Currency m{99};
    readField(c.cell, i);
    readField(c.cell, f);
    readField(c.cell, m);
    EXPECT_EQ(i, c.integer);
    EXPECT_EQ(f, c.single);
    EXPECT_EQ(m.raw, c.currencyRaw);
  }
  FixedText<5> t;
  readField(Cell::date(Date::fromYmd(2026, 12, 9).serial), t);
  EXPECT_EQ(t.view(), "09.12");
}

// Every value of every number field comes back from a workbook exactly, bit for bit: integers, Singles of
// any bits and amounts of the whole range, among them the ones that seven digits would change. They are
// number cells, apart from the amounts whose digits a double cannot carry.
TEST(RecordCells, NumberFieldsComeBackExactly) {
  TempFolder folder;
  std::mt19937_64 rng(5);
  // The values given and 2000 random ones, each in a row of its own; the sheet read back.
  const auto trip = [&](auto values, auto random) {
    for (int i = 0; i < 2000; ++i) values.push_back(random());
    NewWorkbook book;
    for (std::size_t i = 0; i < values.size(); ++i) book.Cells(static_cast<std::int32_t>(i + 1), 1, fieldCell(values[i]));
    Sheet s = readFirstSheet(book.Show());
    for (std::size_t i = 0; i < values.size(); ++i) {
      typename decltype(values)::value_type back{};
      readField(s.cell(static_cast<std::int32_t>(i + 1), 1), back);
      EXPECT_EQ(std::memcmp(&back, &values[i], sizeof back), 0) << i;
    }
    return s;
  };
  const auto numbers = [](const Sheet& s) {
    for (std::int32_t r = 1; r <= s.rowCount(); ++r) EXPECT_EQ(s.cell(r, 1).kind, CellKind::Number) << r;
  };
  numbers(trip(std::vector<std::int16_t>{-32768, 32767}, [&] { return static_cast<std::int16_t>(rng()); }));
  numbers(trip(std::vector<std::int32_t>{INT32_MIN, INT32_MAX}, [&] { return static_cast<std::int32_t>(rng()); }));
  numbers(trip(std::vector<float>{12345678.0f, 16777215.0f, 1.0000001f, -0.0f, std::numeric_limits<float>::max(),
                                  std::numeric_limits<float>::denorm_min()},
               [&] {
                 const float f = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
                 return std::isfinite(f) ? f : 1.0f;
               }));
  const Sheet amounts = trip(std::vector<Currency>{Currency{1234567890123456}, Currency{INT64_MAX}, Currency{INT64_MIN}},
                             [&] { return Currency{static_cast<std::int64_t>(rng() >> (rng() % 64))}; });
  EXPECT_EQ(amounts.cell(1, 1).kind, CellKind::Number);
  EXPECT_EQ(amounts.cell(2, 1).kind, CellKind::Text);  // the largest amount
}

}  // namespace
}  // namespace kv::sheet

namespace kv::sheet {
namespace {

// Made once by LibreOffice from a sheet "Değerler" (before a second sheet) holding a text, 12,5, the date
// 05.03.2008 shown as dd.mm.yyyy, TRUE, =1/0 and "ĞÜŞİÖÇ 00123"; saved as .xls and as .xlsx.
TEST(Workbook, WorkbooksASpreadsheetProgramWroteRead) {
  kv::testing::TempFolder folder;
  for (const char* fixture : {"values_libreoffice.xls", "values_libreoffice.xlsx"}) {
    SCOPED_TRACE(fixture);
    std::filesystem::copy_file(std::filesystem::path(KV_TEST_DATA) / fixture, folder.path() / "KLVR952.XLS",
                               std::filesystem::copy_options::overwrite_existing);
    const Sheet s = readFirstSheet("KLVR952.XLS");
    EXPECT_EQ(s.name(), "Değerler"_w);
    EXPECT_EQ(cellText(s.cell(1, 1)), "Kod");
    EXPECT_EQ(s.cell(1, 2).kind, CellKind::Number);
    EXPECT_EQ(cellText(s.cell(1, 2)), "12,5");
    EXPECT_EQ(s.cell(1, 3).kind, CellKind::Date);
    EXPECT_EQ(cellText(s.cell(1, 3)), "05.03.2008");
    EXPECT_EQ(cellNumber(s.cell(1, 4)), 1);
    EXPECT_EQ(cellNumber(s.cell(1, 5)), 0);
    EXPECT_EQ(cellText(s.cell(1, 6)), "ĞÜŞİÖÇ 00123"_w);
    EXPECT_EQ(s.rowCount(), 1);
  }
}

// An export tells one message, by how it ended: the workbook's name, the layer's failure, or the file's;
// a workbook whose sheet ran out of rows says so after its name.
TEST(WorkbookMessages, AnExportTellsHowItEnded) {
  struct Case {
    std::function<WrittenWorkbook()> write;
    bool written;
    std::string title;
    std::size_t messages = 1;
  };
  const Case cases[] = {
      {[] { return std::string("Kitap3.xlsx"); }, true, "KALVOR 952 Uyarlama 3.0"},
      {[] { return WrittenWorkbook("Kitap3.xlsx", true); }, true, "KALVOR 952 Uyarlama 3.0", 2},
      {[]() -> std::string { throw SheetError("disk"); }, false, " ! Microsoft Excel'e Aktarma yapılamıyor !"},
      {[]() -> std::string { throw FileError(FileError::Kind::Io, FileOp::Read, "KLVR952.KDM"); }, false,
       "! DOSYA HATASI !"},
  };
  for (const Case& c : cases) {
    kv::testing::RecordingSink sink;
    EXPECT_EQ(exportAndTell(sink, c.write), c.written);
    ASSERT_EQ(sink.shown.size(), c.messages);
    EXPECT_EQ(sink.shown[0].title, c.title);
    EXPECT_EQ(sink.shown[0].text.find("Kitap3.xlsx") != std::string::npos, c.written);
    if (c.messages == 2) {
      EXPECT_NE(sink.shown[1].text.find("1.048.575"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace kv::sheet
