// A workbook is read apart from the program: what is damaged or hostile, in the workbook or in what the
// reader hands back, gives SheetError, never a crash, an exhausted memory or a read without end, and the
// read changes no file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/files.h"
#include "sheet/reader/readers.h"
#include "sheet/sheet.h"
#include "sheet/sheet_wire.h"
#include "sheet/workbook_messages.h"
#include "support/company.h"
#include "xls_writer.h"

namespace kv::sheet {
namespace {

using kv::testing::TempFolder;

// A workbook of one sheet as a spreadsheet program zips it; `blanks` blanks stand inside its sheetData.
// `more` parts (each read before one of its name that this writes), and `workbookPr` in its workbook part;
// `elsewhere` keeps the workbook outside xl/, named in other letter cases and with backslashes, found
// through the package's root relationships; `wide` writes the sheet part in UTF-16 (its text ASCII).
void writeXlsx(const std::filesystem::path& path, const std::string& sheetData, std::size_t blanks = 0,
               std::vector<std::array<std::string, 3>> more = {}, const std::string& workbookPr = "",
               bool elsewhere = false, bool wide = false) {
  const std::string dir = elsewhere ? "Book\\" : "xl/";
  more.push_back({dir + "workbook.xml", "<workbook xmlns:r=\"r\">" + workbookPr,
                  R"(<sheets><sheet name="S" r:id="rId1"/></sheets></workbook>)"});
  more.push_back({dir + (elsewhere ? "_RELS\\WORKBOOK.XML.rels" : "_rels/workbook.xml.rels"),
                  R"(<Relationships><Relationship Id="rId1" Type="w/worksheet" Target="worksheets/sheet1.xml"/>)",
                  "</Relationships>"});
  more.push_back({dir + "worksheets/Sheet1.xml", "<worksheet><sheetData>", sheetData + "</sheetData></worksheet>"});
  if (wide) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : R"(<?xml version="1.0" encoding="UTF-16"?>)" + more.back()[1] + more.back()[2])
      utf16 += std::string{c, '\0'};
    more.back() = {more.back()[0], utf16, ""};
  }
  if (elsewhere)
    more.push_back({"_rels/.rels", R"(<Relationships><Relationship Id="a" Type="x/officeDocument")",
                    R"( Target="/book/workbook.xml"/></Relationships>)"});
  const std::string blank(1 << 20, ' ');
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, head, tail] : more) {
    zipOpenNewFileInZip64(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_BEST_SPEED, 1);
    zipWriteInFileInZip(zip, head.data(), static_cast<unsigned>(head.size()));
    for (std::size_t left = name.ends_with("heet1.xml") ? blanks : 0, n; left > 0; left -= n)
      zipWriteInFileInZip(zip, blank.data(), static_cast<unsigned>(n = std::min(left, blank.size())));
    zipWriteInFileInZip(zip, tail.data(), static_cast<unsigned>(tail.size()));
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
}

// What spreadsheet programs write and the first cell it gives: escapes, an empty shared-string value or one
// past the table, an inline string beside a value, dates of either system and with a time, times, durations
// and strict dates of the date type, elapsed-time formats, a boolean without a value, a lower-case reference,
// a part in UTF-16, a workbook found elsewhere.
TEST(SheetReader, XlsxCellsReadAsTheSpreadsheetShowsThem) {
  TempFolder folder;
  const std::array<std::string, 3> strings = {
      "xl/sharedStrings.xml", "<sst><si><t>a_x000D_b_x005F_x0041__xD83D__xDE00_</t></si>", "</sst>"};
  const std::array<std::string, 3> dateStyle = {"xl/styles.xml", R"(<styleSheet><cellXfs><xf numFmtId="0"/>)",
                                                R"(<xf numFmtId="14"/></cellXfs></styleSheet>)"};
  const std::array<std::string, 3> elapsed = {
      "xl/styles.xml", R"(<styleSheet><numFmts><numFmt numFmtId="164" formatCode="[h]:mm:ss"/></numFmts>)",
      R"(<cellXfs><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="46"/></cellXfs></styleSheet>)"};
  const std::string x15 = R"(<extLst><ext uri="{x}"><x15:workbookPr chartTrackingRefBase="1"/></ext></extLst>)";
  const std::array<std::string, 3> strict = {
      "xl/workbook.xml", R"(<workbook xmlns="http://purl.oclc.org/ooxml/spreadsheetml/main" xmlns:r="r">)",
      R"(<sheets><sheet name="S" r:id="rId1"/></sheets></workbook>)"};
  const struct {
    const char* sheetData;
    std::vector<std::array<std::string, 3>> parts;
    std::string workbookPr;
    bool elsewhere;
    Cell expected;
    bool wide = false;
  } cases[] = {
      {R"(<row><c t="s"><v>0</v></c></row>)", {strings}, "", false, Cell::text("a\rb_x0041_?")},
      {R"(<row><c t="s"><v/></c><c><v>2</v></c></row>)", {strings}, "", false, Cell{}},
      {R"(<row><c t="s"><v>1</v></c><c><v>2</v></c></row>)", {strings}, "", false, Cell{}},
      {R"(<row><c t="inlineStr"><v>9</v><is><r><t>x_x0009_</t></r><rPh><t>y</t></rPh></is></c></row>)", {}, "", false,
       Cell::text("x\t")},
      {R"(<row><c t="d"><v>2020-03-05T12:00:00Z</v></c></row>)", {}, "", false,
       Cell::date(Date::fromYmd(2020, 3, 5).serial + 0.5)},
      {R"(<row><c s="1"><v>0.25</v></c></row>)", {dateStyle}, R"(<workbookPr date1904="1"/>)", false,
       Cell::date(Date::fromYmd(1904, 1, 1).serial + 0.25)},
      {R"(<row><c s="1"><v>0.25</v></c></row>)", {dateStyle}, R"(<workbookPr date1904="1"/>)" + x15, false,
       Cell::date(Date::fromYmd(1904, 1, 1).serial + 0.25)},
      {R"(<row><c s="1"><v>1</v></c></row>)", {dateStyle}, "", false, Cell::date(Date::fromYmd(1900, 1, 1).serial)},
      {R"(<row><c t="d"><v>10:10:10</v></c></row>)", {}, "", false, Cell::date((10 * 3600 + 10 * 60 + 10) / 86400.0)},
      {R"(<row><c t="d"><v>1899-12-31</v></c></row>)", {strict}, "", false, Cell::date(0)},
      {R"(<row><c t="d"><v>1900-01-01</v></c></row>)", {strict}, "", false, Cell::date(Date::fromYmd(1900, 1, 1).serial)},
      {R"(<row><c t="d"><v>1899-12-31T06:00:00</v></c></row>)", {strict}, "", false, Cell::date(0.25)},
      {R"(<row><c t="d"><v>23:44:51.894</v></c></row>)", {}, "", false,
       Cell::date((23 * 3600 + 44 * 60 + 51.894) / 86400)},
      {R"(<row><c t="d"><v>PT26H0M0.000S</v></c></row>)", {}, "", false, Cell::number(26.0 / 24)},
      {R"(<row><c t="d"><v>P1Y</v></c></row>)", {}, "", false, Cell::error("#VALUE!")},
      {R"(<row><c s="1"><v>1.5</v></c></row>)", {elapsed}, "", false, Cell::number(1.5)},
      {R"(<row><c s="2"><v>59.5</v></c></row>)", {elapsed}, "", false, Cell::number(59.5)},
      {R"(<row><c t="b"/><c><v>1</v></c></row>)", {}, "", false, Cell{}},
      {R"(<row r="1"><c r="a1"><v>5</v></c></row>)", {}, "", false, Cell::number(5)},
      {R"(<row><c t="inlineStr"><is><t>wide</t></is></c></row>)", {}, "", false, Cell::text("wide"), true},
      {R"(<row><c><v>7</v></c></row>)", {}, "", true, Cell::number(7)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sheetData);
    const auto path = folder.path() / "K.xlsx";
    std::filesystem::remove(path);
    writeXlsx(path, c.sheetData, 0, c.parts, c.workbookPr, c.elsewhere, c.wide);
    SheetBuilder builder;
    try {
      readXlsx(path.string(), builder);
    } catch (const SheetError& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    const Cell got = std::move(builder).finish().cell(1, 1);
    EXPECT_EQ(got.kind, c.expected.kind);
    EXPECT_EQ(got.str, c.expected.str);
    EXPECT_EQ(got.value, c.expected.value);
  }
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// An .xls as other writers get it wrong and a spreadsheet program reads it all the same: its workbook
// stream, the container it is put in, and the cells of its first row.
struct OtherWriters {
  const char* what;
  std::string stream;
  xls::Container container;
  std::vector<Cell> firstRow;
};

std::vector<OtherWriters> otherWriters() {
  using namespace xls;
  const std::string sheet = number(0, 0, 3);
  const std::string worksheetAlone = bof(0x0010, 0) + record(0x0004, cellHead2(0, 0) + '\x02' + "Ad") +
                                     record(0x0003, cellHead2(0, 1) + f64(1.5)) + record(0x0002, cellHead2(0, 2) + u16(65535)) +
                                     record(0x0204, cellHead(0, 3, 0) + u16(5) + "Soyad") + number(0, 4, 3) + eof();
  const std::string formats = record(0x041E, u16(164) + u16(40) + '\0' + "yy") + format(165, "dd.mm.yyyy") +
                              format(166, "[h]:mm:ss") + xf(164) + xf(165) + xf(166) + xf(46);
  return {
      {"a table of shared strings that counts more than it holds",
       workbookStream(record(0x00FC, u32(5) + u32(5) + text("eins") + text("zwei")), record(0x00FD, cellHead(0, 0, 0) + u32(1))),
       {}, {Cell::text("zwei")}},
      {"an empty LABEL without its flags",
       workbookStream("", record(0x0204, cellHead(0, 0, 0) + u16(0)) + number(0, 1, 7)), {}, {Cell::text(""), Cell::number(7)}},
      {"a CONTINUE that holds only the characters' width",
       workbookStream(record(0x00FC, u32(1) + u32(1) + u16(6) + '\0' + "abc") + record(0x003C, std::string(1, '\0')) +
                          record(0x003C, std::string(1, '\0') + "def"),
                      record(0x00FD, cellHead(0, 0, 0) + u32(0))),
       {}, {Cell::text("abcdef")}},
      {"an empty CONTINUE in a string, then wide characters and a stray byte; a string's head over two parts",
       workbookStream(record(0x00FC, u32(2) + u32(2) + u16(6) + '\0' + "abc") + record(0x003C, "") +
                          record(0x003C, std::string("\x01" "d\0e\0\0", 6)) + record(0x003C, std::string("\0f", 2) + u16(3)) +
                          record(0x003C, std::string(1, '\0') + "ghi"),
                      record(0x00FD, cellHead(0, 0, 0) + u32(0)) + record(0x00FD, cellHead(0, 1, 0) + u32(1))),
       {}, {Cell::text("abcdef"), Cell::text("ghi")}},
      {"a format that cannot be read; a date; durations, never moved a day",
       workbookStream(formats, number(0, 0, 1.5, 0) + number(0, 1, 39512, 1) + number(0, 2, 1.5, 2) + number(0, 3, 59.5, 3)),
       {}, {Cell::number(1.5), Cell::date(39512), Cell::number(1.5), Cell::number(59.5)}},
      {"a chain shorter than its stream's declared size", workbookStream("", sheet), {.declaredMore = 600}, {Cell::number(3)}},
      {"a root whose last mini sector is cut short", workbookStream("", sheet), {.small = true, .rootShort = 20}, {Cell::number(3)}},
      {"a root whose size stops before the last mini sectors, where the stream's padding lies",
       workbookStream("", sheet) + std::string(100, '\0'), {.small = true, .rootShort = 100}, {Cell::number(3)}},
      {"a root without small streams that starts at no sector", workbookStream("", sheet), {.rootEnd = kFreeSector}, {Cell::number(3)}},
      {"a root whose chain goes on to a free sector", workbookStream("", sheet), {.small = true, .rootEnd = kFreeSector}, {Cell::number(3)}},
      {"a root whose chain goes on past the file", workbookStream("", sheet), {.small = true, .rootEnd = 999}, {Cell::number(3)}},
      {"a root whose chain goes back into itself", workbookStream("", sheet), {.small = true, .rootEnd = kBackToRoot}, {Cell::number(3)}},
      {"a sheet that begins after where BOUNDSHEET says", workbookStream("", sheet, -5), {}, {Cell::number(3)}},
      {"a sheet that begins before where BOUNDSHEET says", workbookStream("", sheet, 7), {}, {Cell::number(3)}},
      {"a sheet of Excel 97's version, off where BOUNDSHEET says, in a workbook of Excel 5's",
       workbookStream("", sheet, 7, 0x0500), {}, {Cell::number(3)}},
      {"a formula of Excel 4's id", workbookStream("", formula(0, 0, 42, 0x0406)), {}, {Cell::number(42)}},
      {"a workbook stream without a container", workbookStream("", sheet), {.alone = true}, {Cell::number(3)}},
      {"a worksheet's stream alone, of no version, with Excel 2's cell records", worksheetAlone, {.alone = true},
       {Cell::text("Ad"), Cell::number(1.5), Cell::number(65535), Cell::text("Soyad"), Cell::number(3)}},
  };
}

TEST(SheetReader, XlsOfOtherWritersReadsAsTheSpreadsheetShowsIt) {
  TempFolder folder;
  for (const OtherWriters& c : otherWriters()) {
    SCOPED_TRACE(c.what);
    writeBytes(folder.path() / "K.xls", xls::compoundFile(c.stream, c.container));
    Sheet sheet;
    try {
      sheet = readFirstSheet("K.xls");
    } catch (const SheetError& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    for (std::size_t i = 0; i < c.firstRow.size(); ++i) {
      const Cell got = sheet.cell(1, static_cast<int>(i) + 1);
      EXPECT_EQ(got.kind, c.firstRow[i].kind) << i;
      EXPECT_EQ(got.str, c.firstRow[i].str) << i;
      EXPECT_EQ(got.value, c.firstRow[i].value) << i;
    }
  }
}

// Workbooks of Excel 2.x to 4.0 without a container, and those that open with a password alone, are
// refused with a message that says which, not as a file that cannot be read.
TEST(SheetReader, OldAndPasswordProtectedWorkbooksAreRefusedSayingSo) {
  using namespace xls;
  TempFolder folder;
  const struct {
    std::string file;
    ImportProblem problem;
  } cases[] = {
      {record(0x0409, u16(0x0400) + u16(0x0010) + u16(0)) + number(0, 0, 1) + eof(), ImportProblem::OldVersion},
      {record(0x0209, u16(0) + u16(0x0010) + u16(0)) + eof(), ImportProblem::OldVersion},
      {compoundFile(workbookStream(record(0x002F, u16(1) + std::string(52, 'k')), number(0, 0, 1))), ImportProblem::Password},
      {compoundFile(std::string(600, 'e'), {.name = u"EncryptedPackage"}), ImportProblem::Password},
  };
  for (const auto& c : cases) {
    writeBytes(folder.path() / "KLVR952.XLS", c.file);
    const ImportSheet read = readImportSheet("KLVR952.XLS", {}, [](const Sheet&) { return true; });
    EXPECT_EQ(read.problem, c.problem);
    kv::testing::RecordingSink sink;
    tellImportProblem(sink, read.problem, "KLVR952.XLS");
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].text.find(c.problem == ImportProblem::Password ? "parola" : "Excel 2.x - 4.0"), std::string::npos);
    EXPECT_NE(sink.shown[0].text, importFailedMessage("KLVR952.XLS").text);
  }
}

// A worksheet's records saved alone that cannot be read are told as that, not as a workbook without a sheet.
TEST(SheetReader, AWorksheetAloneThatCannotBeReadIsToldAsOne) {
  TempFolder folder;
  writeBytes(folder.path() / "K.xls", xls::bof(0x0010, 0) + xls::number(0, 0, 1));  // no EOF record
  try {
    readFirstSheet("K.xls");
    ADD_FAILURE() << "read";
  } catch (const SheetError& e) {
    EXPECT_NE(std::string_view(e.what()).find("worksheet saved without its workbook"), std::string_view::npos) << e.what();
  }
}

// Read here, in the test's own process, where the sanitizers watch every step of the arithmetic.
TEST(SheetReader, HostileCellAndRowNumbersAreCheckedBeforeTheArithmetic) {
  TempFolder folder;
  // The rows a sheet that is read holds (none when it is refused), and the kind of the first cell of its last.
  const struct {
    std::string sheetData;
    std::int32_t rows;
    CellKind kind;
  } cases[] = {
      {R"(<row r="1"><c r="AAAAAAAAAA1"><v>1</v></c></row>)", 0, CellKind::Empty},
      {R"(<row r="2147483647"><c><v>1</v></c></row><row><c><v>2</v></c></row>)", 0, CellKind::Empty},
      {R"(<row r="1048576"><c><v>1</v></c></row><row><c><v>2</v></c></row>)", kMaxSheetRows, CellKind::Number},
      {R"(<row r="1"><c t="d"><v>2020--2147483648-01</v></c></row>)", 1, CellKind::Date},
      {R"(<row r="1"><c t="d"><v>99999999999999999999999:99:1e999</v></c></row>)", 1, CellKind::Error},
      {R"(<row r="1"><c t="d"><v>-PT99999999999999999999999H1..5S</v></c></row>)", 1, CellKind::Error},
      {R"(<row r="1"><c t="d"><v>PT</v></c></row>)", 1, CellKind::Error},
      {R"(<row r="1"><c t="d"><v>PT)" + std::string(400, '9') + "H</v></c></row>", 1, CellKind::Error},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sheetData);
    const auto path = folder.path() / "K.xlsx";
    writeXlsx(path, c.sheetData);
    SheetBuilder builder;
    if (c.rows == 0) {
      EXPECT_THROW(readXlsx(path.string(), builder), SheetError);
      continue;
    }
    readXlsx(path.string(), builder);
    const Sheet sheet = std::move(builder).finish();
    EXPECT_EQ(sheet.rowCount(), c.rows);
    EXPECT_EQ(sheet.cell(c.rows, 1).kind, c.kind);
  }
}

TEST(SheetReader, AZipBombIsRefusedAndAReaderPastItsLimitIsStopped) {
  TempFolder folder;
  writeXlsx(folder.path() / "KLVR952.XLS", R"(<row r="1"><c><v>1</v></c></row>)", std::size_t{300} << 20);
  EXPECT_LT(std::filesystem::file_size(folder.path() / "KLVR952.XLS"), std::size_t{2} << 20);
  EXPECT_THROW(readFirstSheet("KLVR952.XLS"), SheetError);

  NewWorkbook book;
  for (int r = 1; r <= 3000; ++r)
    for (int c = 1; c <= 10; ++c) book.Cells(r, c, Cell::text("hücre " + std::to_string(r * c)));
  const std::string name = book.Show();
  EXPECT_EQ(readFirstSheet(name).rowCount(), 3000);
  EXPECT_THROW(readFirstSheet(name, {}, {.waitMilliseconds = 1}), SheetError);
  EXPECT_THROW(readFirstSheet(name, {}, {.memoryMiB = 1}), SheetError);
}

// Bytes of the workbooks a spreadsheet program wrote, changed at random: each read gives a sheet or
// SheetError, and the company file beside the workbooks stays as it was. A reader per workbook at a time;
// an .xls is read many more times in this process too, where the sanitizers watch every read.
TEST(SheetReader, DamagedWorkbooksGiveASheetOrSheetError) {
  TempFolder folder;
  const std::vector<std::uint8_t> company(512 * 3, 'k');
  folder.write("KLVR952.DAT", company);
  const char* fixtures[] = {"products_libreoffice.xls", "products_libreoffice.xlsx", "values_libreoffice.xls",
                            "values_libreoffice.xlsx", "formulas_libreoffice.xls", "excel95_gnumeric.xls"};
  std::atomic<int> read = 0;
  std::vector<std::thread> readers;
  for (unsigned f = 0; f < std::size(fixtures); ++f)
    readers.emplace_back([&, f] {
      std::ifstream in(std::filesystem::path(KV_TEST_DATA) / fixtures[f], std::ios::binary);
      const std::vector<std::uint8_t> original{std::istreambuf_iterator<char>(in), {}};
      const std::string name = "M" + std::to_string(f) + ".XLS";
      std::mt19937 rng(952 + f);
      const bool xls = std::string_view(fixtures[f]).ends_with(".xls");
      for (int m = 0; m < (xls ? 400 : 50); ++m) {
        std::vector<std::uint8_t> bytes = original;
        for (auto k = 1 + rng() % 4; k > 0; --k) bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng());
        folder.write(name, bytes);
        try {
          if (m >= 50) {
            SheetBuilder sheet;
            readXls((folder.path() / name).string(), sheet);
            continue;
          }
          readFirstSheet(name);
          ++read;
        } catch (const SheetError&) {
        }
      }
    });
  // The workbooks of other writers, changed in their records and in their container.
  readers.emplace_back([&] {
    std::mt19937 rng(34);
    for (const OtherWriters& c : otherWriters())
      for (int m = 0; m < 300; ++m) {
        std::string stream = c.stream;
        const bool inStream = m % 2 == 0;
        if (inStream)
          for (auto k = 1 + rng() % 3; k > 0; --k) stream[rng() % stream.size()] = static_cast<char>(rng());
        std::string file = xls::compoundFile(stream, c.container);
        if (!inStream)
          for (auto k = 1 + rng() % 3; k > 0; --k) file[rng() % std::min<std::size_t>(file.size(), 1536)] = static_cast<char>(rng());
        writeBytes(folder.path() / "OTHER.XLS", file);
        try {
          SheetBuilder sheet;
          readXls((folder.path() / "OTHER.XLS").string(), sheet);
        } catch (const SheetError&) {
        }
      }
  });
  for (std::thread& t : readers) t.join();
  EXPECT_GT(read, 0);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), company);
  EXPECT_EQ(listFiles("*").size(), 2u + std::size(fixtures));
}

// The sheet read from `data` as the reader's output.
Sheet readWire(std::string_view data) {
  struct Bytes : WireSource {
    std::size_t read(char* into, std::size_t most) override {
      const std::size_t n = data.copy(into, most);
      data.remove_prefix(n);
      return n;
    }
    std::string_view data;
  } in;
  in.data = data;
  return readSheetWire(in);
}

// What the program takes back from the reader: a sheet as it was written; output cut short anywhere, or
// changed at random, is refused or read within its bounds, never beyond them.
TEST(SheetWire, OutputCutShortOrChangedIsRefusedOrReadWithinItsBounds) {
  TempFolder folder;
  const auto path = folder.path() / "wire";
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  {
    WireWriter out(fd, {});
    out.name("Sayfa");
    for (int r = 1; r <= 40; ++r) {
      out.add(r, 1, Cell::number(r));
      out.add(r, 3, Cell::text(std::string(static_cast<std::size_t>(r), 'x')));
      out.add(r, 2, Cell::date(r));
    }
    out.add(7, 64, Cell::error("#N/A"));
    ASSERT_TRUE(out.end());
  }
  ::close(fd);
  const std::vector<std::uint8_t> file = folder.bytes("wire");
  const std::string wire(file.begin(), file.end());

  const Sheet sheet = readWire(wire);
  EXPECT_EQ(sheet.name(), "Sayfa");
  EXPECT_EQ(sheet.rowCount(), 40);
  EXPECT_EQ(sheet.cell(40, 3).str, std::string(40, 'x'));
  EXPECT_EQ(sheet.cell(5, 2).kind, CellKind::Date);
  EXPECT_EQ(sheet.cell(7, 64).str, "#N/A");

  for (std::size_t cut = 0; cut < wire.size(); ++cut)
    EXPECT_THROW(readWire(std::string_view(wire).substr(0, cut)), SheetError) << cut;
  std::mt19937 rng(5);
  for (int m = 0; m < 2000; ++m) {
    std::string changed = wire;
    changed[rng() % changed.size()] = static_cast<char>(rng());
    try {
      const Sheet s = readWire(changed);
      for (std::int32_t r = 0; r <= s.rowCount() + 1; ++r) s.cell(r, 3);
    } catch (const SheetError&) {
    }
  }
}

}  // namespace
}  // namespace kv::sheet
