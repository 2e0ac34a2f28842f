#include "product/product_workbook.h"

#include <cmath>

#include "base/clock.h"
#include "base/collation.h"
#include "base/text.h"
#include "records/alphabetic_chain.h"
#include "records/product_file_replacement.h"
#include "sheet/record_cells.h"

namespace kv {

namespace {

using sheet::Cell;

// Columns 2 to 48 of the workbook, each with its field, the same both ways.
template <class Rec, class V>
void workbookFields(Rec& r, V&& v) {
  v(2, r.Code), v(3, r.Name), v(4, r.Unit), v(5, r.Description), v(6, r.Kind), v(7, r.ProductGroup);
  v(8, r.SpecialCode), v(9, r.Supplier), v(10, r.Dimensions), v(11, r.Weight), v(12, r.SpecialNote);
  v(13, r.HasPicture), v(14, r.Cost), v(15, r.CostCurrency), v(16, r.CostType), v(17, r.CostDate);
  v(18, r.DocumentNo), v(19, r.Coefficient), v(20, r.CostLocal), v(21, r.CostDay), v(22, r.CostMonth);
  v(23, r.CostYear), v(24, r.Price), v(25, r.PriceCurrency), v(26, r.PriceDate), v(27, r.PriceDay);
  v(28, r.PriceMonth), v(29, r.PriceYear), v(30, r.CreatedDate), v(31, r.CreatedDay), v(32, r.CreatedMonth);
  v(33, r.CreatedYear), v(34, r.UpdatedDate), v(35, r.UpdatedDay), v(36, r.UpdatedMonth), v(37, r.UpdatedYear);
  v(38, r.RecipeCost), v(39, r.RecipeDate), v(40, r.RecipeDay), v(41, r.RecipeMonth), v(42, r.RecipeYear);
  v(43, r.RecipeCostLocal), v(44, r.RecordNumber), v(45, r.ChainPrev), v(46, r.ChainNext);
  v(47, r.RandomNumber), v(48, r.RecipeNumber);
}

const char* const kHeaders[kProductWorkbookColumns + 1] = {
    nullptr,          "Kayıt No.",     nullptr,           nullptr,         "Birim",         "Açıklama",
    "Cins",           "Ürün Gurubu",   "Özel Kod",        "Tedarikçi",     "Boyutlar",      "Ağırlık",
    "Özel Not",       "Resimli",       "Maliyet",         "M. Para",       "M. Tip",        "M. Tarih",
    "Evrak No.",      "Katsayı",       "Maliyet YTL",     "M. Gün",        "M. Ay",         "M. Yıl",
    "Fiyat",          "F. Para",       "F. Tarih",        "F. Gün",        "F. Ay",         "F. Yıl",
    "Oluşturma Tarihi", "O. Gün",      "O. Ay",           "O. Yıl",        "Güncel Tarih",  "G. Gün",
    "G. Ay",          "G. Yıl",        "Reçete Maliyeti", "Reçete Tarihi", "R. Gün",        "R. Ay",
    "R. Yıl",         "Reçete M. YTL", "Kayıt Numarası",  "Önceki",        "Sonraki",       "Rastgele Numara",
    "Reçete Numarası"};

// The headers of the code and name columns name the tab's kind.
const char* const kCodeHeaders[9][2] = {
    {"Ürün Kodu", "Ürün Adı"},   {"Ürün Kodu", "Ürün Adı"},     {"Parça Kodu", "Parça Adı"},
    {"Y. M. Kodu", "Y. M. Adı"}, {"H. M. Kodu", "H. M. Adı"},   {"Gurup Kodu", "Gurup Adı"},
    {"Kit Kodu", "Kit Adı"},     {"Kaynak Kodu", "Kaynak Adı"}, {"Ürün Kodu", "Ürün Adı"}};

ProductRecord fullFormRecord(const sheet::Sheet& s, std::int32_t row) {
  ProductRecord rec;
  workbookFields(rec, [&](int column, auto& field) { sheet::readField(s.cell(row, column), field); });
  // A code keeps no leading blanks: it could not be found or sorted with them.
  rec.Code = trimLeft(rec.Code.view());
  return rec;
}

ProductRecord shortFormRecord(const sheet::Sheet& s, std::int32_t row, std::int16_t number) {
  ProductRecord rec;  // blanks and zeros, Kind 0 and Coefficient 0 among them
  sheet::readField(s.cell(row, 1), rec.Code);
  rec.Code = trimLeft(rec.Code.view());
  sheet::readField(s.cell(row, 2), rec.Name);
  sheet::readField(s.cell(row, 3), rec.Unit);
  sheet::readField(s.cell(row, 4), rec.Description);
  sheet::readField(s.cell(row, 5), rec.SpecialNote);
  rec.CostCurrency = "YTL";
  const Date today = clock().today();
  stampDate(rec, RecordDate::Created, today);
  stampDate(rec, RecordDate::Updated, today);
  // The cost is dated today by its day, month and year; its date text stays blank.
  rec.CostDay = rec.CreatedDay;
  rec.CostMonth = rec.CreatedMonth;
  rec.CostYear = rec.CreatedYear;
  rec.RecordNumber = number;
  rec.RandomNumber = roundToLong(randomSource().next() * 2147483647.0).value_or(0);
  return rec;
}

}  // namespace

std::string exportProductWorkbook(const ProductFile& products, int tab) {
  sheet::NewWorkbook book;
  book.Name(products.company());
  const int t = tab >= 1 && tab <= kTabAll ? tab : kTabAll;
  std::vector<std::string> headers;
  for (int c = 1; c <= kProductWorkbookColumns; ++c)
    headers.push_back(w(c == 2 ? kCodeHeaders[t][0] : c == 3 ? kCodeHeaders[t][1] : kHeaders[c]));
  sheet::headerRow(book, headers);

  // Whole records only: a part record at the end of the file is no product.
  const std::int64_t whole = products.data().length() / ProductRecord::Length;
  const auto count = static_cast<std::int32_t>(std::min<std::int64_t>(whole, products.count()));
  std::int32_t row = 1;
  for (std::int32_t n = 1; n <= count; ++n) {
    const ProductRecord rec = products.read(static_cast<std::int16_t>(n));
    if (!fitsTab(rec.Kind, t)) continue;
    ++row;
    book.Cells(row, 1, Cell::number(n));
    workbookFields(rec, [&](int column, const auto& field) { book.Cells(row, column, sheet::fieldCell(field)); });
  }
  sheet::autoFitColumns(book, kProductWorkbookColumns);
  return book.Show();
}

ProductWorkbook readProductWorkbook(std::string_view name) {
  ProductWorkbook result;
  // The header row, one row past a product file's last record (to tell that rows were left out), and one
  // column past the form's last (to tell the layout); texts of some 32 MiB, three times those of a full
  // product file, so that the program stays within 200 MB whatever the workbook holds.
  const sheet::SheetRange range{kMaxRecords16 + 2, kProductWorkbookColumns + 1, std::size_t{32} << 20};
  const sheet::ImportSheet read = sheet::readImportSheet(name, range, [](const sheet::Sheet& s) {
    return !s.cell(1, 1).isEmpty() && s.cell(1, kProductWorkbookColumns + 1).isEmpty();
  });
  result.problem = read.problem;
  result.readerPlaces = read.readerPlaces;
  if (read.problem != sheet::ImportProblem::None) return result;
  const sheet::Sheet& s = read.sheet;
  result.fullForm = !s.cell(1, kProductWorkbookColumns).isEmpty();
  result.records.reserve(static_cast<std::size_t>(std::min(s.rowCount(), kMaxRecords16)));
  for (std::int32_t row = 2;; ++row) {
    const Cell& first = s.cell(row, 1);
    if (result.fullForm ? !(sheet::cellNumber(first) > 0) : first.isEmpty()) break;
    if (result.records.size() >= static_cast<std::size_t>(kMaxRecords16)) {
      result.cut = true;
      break;
    }
    const auto number = static_cast<std::int16_t>(result.records.size() + 1);
    result.records.push_back(result.fullForm ? fullFormRecord(s, row) : shortFormRecord(s, row, number));
  }
  return result;
}

ProductFileReplacement importProductRecords(const std::string& company, const std::vector<ProductRecord>& records) {
  std::vector<std::uint8_t> bytes(records.size() * ProductRecord::Length);
  for (std::size_t i = 0; i < records.size(); ++i) records[i].encode(bytes.data() + i * ProductRecord::Length);
  return replaceProductFile(company, bytes, quietInsertPolicy());
}

}  // namespace kv
