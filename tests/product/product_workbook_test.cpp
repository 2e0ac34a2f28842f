// The product workbook at the main window: the file goes out to a workbook and comes back the same, from
// our own workbook and from ones a spreadsheet program wrote; a workbook that cannot be read as the import
// reads it changes nothing.
#include <filesystem>
#include <limits>
#include <random>

#include "main_window_fixture.h"
#include "support/file_faults.h"
#include "product/product_workbook.h"
#include "sheet/record_cells.h"

namespace kv::testing {
namespace {

using sheet::Cell;

class ProductWorkbookTest : public MainWindowTest {
 protected:
  // Records whose every field survives the trip: trimmed texts, Singles of six digits, four decimals.
  static ProductRecord product(std::mt19937& rng, const std::string& codeUtf8, int kind) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    ProductRecord r = makeProduct(codeUtf8, "Çelik mil ĞÜŞİÖÇ ığüşöç " + std::to_string(pick(0, 999)), kind);
    r.Unit = w("ADET");
    r.Description = w("açıklama");
    r.ProductGroup = "=A1";
    r.SpecialCode = "1E3";
    r.Supplier = w("Tedarikçi Ş.");
    r.SpecialNote = "00123";
    r.Cost = static_cast<float>(pick(-999999, 999999)) / 1000.0f;
    r.Price = static_cast<float>(pick(0, 999999)) / 100.0f;
    r.Coefficient = static_cast<float>(pick(1, 99)) / 4.0f;
    r.RecipeCost = 1234.5f;
    r.CostLocal = Currency{pick(-100000000, 100000000)};
    r.RecipeCostLocal = Currency{123456789012LL};
    r.CostDate = "05.03.2008";
    r.CostDay = 5, r.CostMonth = 3, r.CostYear = 2008;
    r.CostType = static_cast<std::int16_t>(pick(0, 3));
    r.HasPicture = static_cast<std::int16_t>(pick(0, 1));
    r.RandomNumber = pick(0, 2147483647);
    r.RecipeNumber = pick(0, 100000);
    return r;
  }
  // A company of n such records, linked one by one; Tümü shows them all.
  void makeFileOf(int n, unsigned seed) {
    std::mt19937 rng(seed);
    Company c;
    const char* codes[] = {"00123", "1E3", "=A1", "ÇARK", "ığne", "Şaft 2"};
    for (int i = 0; i < n; ++i) {
      ProductRecord r = product(rng, std::string(codes[i % 6]) + (i >= 6 ? std::to_string(i) : ""), 1 + i % 7);
      r.RecordNumber = static_cast<std::int16_t>(i + 1);
      const std::int16_t at = c.append(r);
      insertIntoAlphabeticIndex(c.files(), at, quietInsertPolicy(), nullptr);
    }
  }
  void clickExport() {
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::Ok);
    ui.click("cmdExport");
  }
  void clickImport() {
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::Ok);
    ui.click("cmdImport");
  }
  void useAsImport(const std::filesystem::path& workbook) {
    std::filesystem::copy_file(workbook, folder.path() / "KLVR952.XLS",
                               std::filesystem::copy_options::overwrite_existing);
  }
  // The two files as they lie on disk.
  std::vector<std::uint8_t> files() {
    auto d = folder.bytes("KLVR952.DAT");
    auto i = folder.bytes("KLVR952.ABC");
    d.insert(d.end(), i.begin(), i.end());
    return d;
  }
};

TEST_F(ProductWorkbookTest, ExportThenImportGivesTheSameFiles) {
  makeFileOf(40, 7);
  // Values that seven digits would change, and amounts at both ends of their range.
  patch(2, [](ProductRecord& r) {
    r.Cost = 12345678, r.Price = 16777215, r.Coefficient = 1.0000001f, r.RecipeCost = 3.4e38f;
    r.CostLocal = Currency{1234567890123456}, r.RecipeCostLocal = Currency{std::numeric_limits<std::int64_t>::max()};
  });
  patch(3, [](ProductRecord& r) { r.CostLocal = Currency{std::numeric_limits<std::int64_t>::min()}; });
  openOn({}, 1, 8);
  const auto before = files();
  clickExport();
  ASSERT_EQ(messages().back(), "KALVOR 952 Uyarlama 3.0|Kayıtlar \"Kitap1.xlsx\" dosyasına aktarıldı...");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 40");
  useAsImport(folder.path() / "Kitap1.xlsx");
  ui.clearShown();
  clickImport();
  EXPECT_TRUE(files() == before);
  EXPECT_EQ(messages().at(1).substr(0, messages()[1].find('|')),
            "! DİKKAT ! EXCEL'den alınan kayıt KLVR952 data dosyasını değiştirecek...");
  EXPECT_EQ(folder.bytes("952KLVR.DAT").size(), 40u * 512);
  EXPECT_EQ(text("bilKod"), "ÇARK39");
}

TEST_F(ProductWorkbookTest, TheExportTakesTheTabsLiveRecordsAndAsksFirst) {
  makeCompany({{"A", "", 2}, {"B", "", 1}, {"C", "", 2}});
  patch(3, [](ProductRecord& r) { r.Kind = -1; });
  openOn({}, 1, 2);
  ui.answer(MsgAnswer::No);
  ui.click("cmdExport");
  EXPECT_EQ(messages().size(), 1u);
  EXPECT_TRUE(listFiles("*.xlsx").empty());
  clickExport();
  const sheet::Sheet s = sheet::readFirstSheet("Kitap1.xlsx");
  EXPECT_EQ(s.name(), "KLVR952");
  EXPECT_EQ(s.rowCount(), 2);
  EXPECT_EQ(sheet::cellText(s.cell(1, 2)), "Parça Kodu"_w);
  EXPECT_EQ(sheet::cellText(s.cell(2, 2)), "A");
  ui.click("cmdCikis");
  // A tab no record carries gives the header row alone; with one record there is nothing to ask.
  ProductFile products;
  products.open("KLVR952");
  EXPECT_EQ(sheet::readFirstSheet(exportProductWorkbook(products, 5)).rowCount(), 1);
  products.close();
  Company one("TEK");
  one.add("X");
  one.close();
  openMain("TEK");
  ui.clearShown();
  ui.click("cmdExport");
  EXPECT_TRUE(messages().empty());
}

// Made once from the export of makeFileOf(12, 3) by LibreOffice (saved as .xls and as .xlsx).
TEST_F(ProductWorkbookTest, WorkbooksASpreadsheetProgramWroteImport) {
  for (const char* fixture : {"products_libreoffice.xls", "products_libreoffice.xlsx"}) {
    SCOPED_TRACE(fixture);
    makeFileOf(12, 3);
    const auto want = files();
    openOn({}, 1, 8);
    useAsImport(std::filesystem::path(KV_TEST_DATA) / fixture);
    clickImport();
    EXPECT_TRUE(files() == want);
    ui.click("cmdCikis");
  }
}

TEST_F(ProductWorkbookTest, AWorkbookThatCannotBeReadChangesNothing) {
  makeFileOf(5, 1);
  openOn({}, 1, 8);
  const auto before = files();
  // Missing, and present only in other letter case.
  ui.click("cmdImport");
  folder.write("klvr952.xls", {1, 2, 3});
  ui.click("cmdImport");
  // Not a workbook; a workbook with headers beyond column 48; one with no header row.
  std::filesystem::remove(folder.path() / "klvr952.xls");
  folder.write("KLVR952.XLS", {'P', 'K', 3, 4, 9, 9, 9, 9});
  clickImport();
  // The committed .xls with one byte changed, the length of its shared strings, which made the .xls
  // library crash: read apart from the program, it is only a workbook that cannot be read.
  useAsImport(std::filesystem::path(KV_TEST_DATA) / "products_libreoffice.xls");
  auto bytes = folder.bytes("KLVR952.XLS");
  ASSERT_EQ(bytes.at(0x1852), 0x0A);
  bytes[0x1852] = 0x0B;
  folder.write("KLVR952.XLS", bytes);
  clickImport();
  EXPECT_NE(messages().back().find("'KLVR952.XLS' okunamadı"), std::string::npos);
  for (int wide : {49, 0}) {
    sheet::NewWorkbook book;
    for (int c = 1; c <= wide; ++c) book.Cells(1, c, Cell::text("H"));
    book.Cells(2, 1, Cell::number(1));
    useAsImport(folder.path() / book.Show());
    clickImport();
  }
  EXPECT_TRUE(files() == before);
  EXPECT_FALSE(fileExists("952KLVR.DAT"));
  const auto m = messages();
  ASSERT_GE(m.size(), 4u);
  EXPECT_EQ(m[0].substr(0, m[0].find('|')), " EXCEL'den Import yapılamıyor...");
  EXPECT_EQ(m[1], m[0]);
  EXPECT_NE(m[4].find("okunamadı"), std::string::npos);
  EXPECT_NE(m.back().find("formatta değil"), std::string::npos);
}

TEST_F(ProductWorkbookTest, AFileThatCannotBeReplacedIsToldAndKeepsItsContent) {
  makeFileOf(5, 1);
  openOn({}, 1, 8);
  clickExport();
  useAsImport(folder.path() / "Kitap1.xlsx");
  patch(2, [](ProductRecord& r) { r.Name = "changed"; });
  const auto before = files();
  {
    FailOn refused(FileOp::Rename, "", EACCES);
    clickImport();
  }
  EXPECT_TRUE(files() == before);
  EXPECT_EQ(messages().back().substr(0, messages().back().find('|')), "! DOSYA HATASI !");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 5");
}

TEST_F(ProductWorkbookTest, CellsThatDoNotFitGiveZeroOrBlanksAndOddRowsStayUnlinked) {
  sheet::NewWorkbook book;
  for (int c = 1; c <= 48; ++c) book.Cells(1, c, Cell::text("H"));
  const struct {
    const char* code;
    const char* kind;
    const char* cost;
  } rows[] = {{"B", "1", "5"}, {"  A", "99999", "x"}, {"", "1", "1E99"}, {"C", "-1", "2,5"}};
  for (int r = 0; r < 4; ++r) {
    book.Cells(r + 2, 1, Cell::number(r + 1));
    book.Cells(r + 2, 2, Cell::text(rows[r].code));
    book.Cells(r + 2, 6, Cell::text(rows[r].kind));
    book.Cells(r + 2, 14, Cell::text(rows[r].cost));
    book.Cells(r + 2, 45, Cell::text("3"));
  }
  makeCompany({{"X"}});
  useAsImport(folder.path() / book.Show());
  const ProductWorkbook read = readProductWorkbook();
  ASSERT_EQ(read.records.size(), 4u);
  EXPECT_EQ(read.records[1].Code.view().substr(0, 2), "A ");
  EXPECT_EQ(read.records[1].Kind, 0);
  EXPECT_EQ(read.records[1].Cost, 0.0f);
  EXPECT_EQ(read.records[2].Cost, 0.0f);
  ASSERT_TRUE(importProductRecords("KLVR952", read.records).replaced);
  EXPECT_EQ(chain(), (Strings{"A", "B"}));
  for (int n : {3, 4}) EXPECT_EQ(stored(n).ChainPrev + stored(n).ChainNext, 0) << n;
  EXPECT_EQ(storedCode(4), "C");
}

TEST_F(ProductWorkbookTest, TheShortFormGivesRecordsOfNoKindDatedToday) {
  sheet::NewWorkbook book;
  book.Cells(1, 1, Cell::text("Kod"));
  for (int r = 2; r <= 4; ++r) {
    book.Cells(r, 1, Cell::text(numbered("K", r)));
    book.Cells(r, 2, Cell::text(std::string(50, 'N')));
    book.Cells(r, 5, Cell::number(12.5));
  }
  makeCompany({{"X"}});
  useAsImport(folder.path() / book.Show());
  const ProductWorkbook read = readProductWorkbook();
  ASSERT_FALSE(read.fullForm);
  ASSERT_EQ(read.records.size(), 3u);
  const ProductRecord& r = read.records[2];
  EXPECT_EQ(r.Kind, 0);
  EXPECT_EQ(r.Name.view(), std::string(40, 'N'));
  EXPECT_EQ(trim(r.SpecialNote.view()), "12,5");
  EXPECT_EQ(r.CostCurrency.view(), "YTL  ");
  EXPECT_EQ(r.CreatedDate.view(), "05.03.2008");
  EXPECT_EQ(r.CostYear, 2008);
  EXPECT_EQ(r.RecordNumber, 3);
  EXPECT_NE(r.RandomNumber, read.records[1].RandomNumber);
}

TEST_F(ProductWorkbookTest, AnImportStopsAtTheLargestRecordNumber) {
  sheet::NewWorkbook book;
  book.Cells(1, 1, Cell::text("Kod"));
  for (int r = 2; r <= kMaxRecords16 + 3; ++r) book.Cells(r, 1, Cell::text("K"));
  makeCompany({{"X"}});
  useAsImport(folder.path() / book.Show());
  const ProductWorkbook read = readProductWorkbook();
  EXPECT_TRUE(read.cut);
  EXPECT_EQ(read.records.size(), static_cast<std::size_t>(kMaxRecords16));
}

}  // namespace
}  // namespace kv::testing
