#include "recipe/definition_workbook.h"

#include <algorithm>

#include "base/text.h"
#include "files/file_replacement.h"
#include "recipe/recipe_files.h"
#include "sheet/record_cells.h"

namespace kv {

namespace {

using sheet::Cell;


// Columns 2 to 19 of the workbook, each with its field, the same both ways; column 20, the erased flag,
// has a rule of its own.
template <class Rec, class V>
void workbookFields(Rec& r, V&& v) {
  v(2, r.LineType), v(3, r.ItemRecord), v(4, r.Code), v(5, r.Name), v(6, r.Quantity), v(7, r.Unit);
  v(8, r.Cost), v(9, r.Coefficient), v(10, r.Price), v(11, r.Total), v(12, r.Day), v(13, r.Month);
  v(14, r.Year), v(15, r.OwnerCode), v(16, r.OwnerRecord), v(17, r.OwnerRandomNumber), v(18, r.NextLine);
  v(19, r.Sequence);
}

const char* const kHeaders[kDefinitionWorkbookColumns] = {
    "Kayıt No.", "Tip",    "Ana Kayıt No.", "Kayıt Kodu",    "Kayıt Adı",    "Miktar",          "Birim",
    "Maliyet",   "Katsayı", "Fiyat",        "Toplam",        "Gün",          "Ay",              "Yıl",
    "Ait Olma Kodu", "Ait Olma No.", "Ait Olma RndNo.", "Sonraki", "Sıra No.", "Silindi"};

// The erased flag travels as it stands, a blank included (a NUL goes as a blank: a workbook holds none),
// and only a cell with nothing in it comes back as a live line: a line that is not live stays so, and a
// chain that ended at it does not run on.
Cell flagCell(const FixedText<1>& flag) { return Cell::text(flag.data()[0] == '\0' ? " " : flag.view()); }
FixedText<1> readFlag(const Cell& c) { return c.isEmpty() ? FixedText<1>("H") : FixedText<1>(sheet::cellText(c)); }

}  // namespace

std::int32_t definitionLineCount(std::string_view company, bool listMode) {
  return wholeRecordCount(company, definitionStore(listMode));
}

sheet::WrittenWorkbook exportDefinitionWorkbook(std::string_view company, bool listMode) {
  sheet::NewWorkbook book;
  book.Name(company);
  std::vector<std::string> headers;
  for (const char* h : kHeaders) headers.push_back(w(h));
  sheet::headerRow(book, headers);
  // A sheet ends at its last row: lines beyond it cannot be exported.
  const std::int32_t lines = definitionLineCount(company, listMode);
  const std::int32_t count = std::min(lines, sheet::kMaxSheetRows - 1);
  {
    const FileHandle store = openRecipeSideFile(company, definitionStore(listMode));
    for (std::int32_t i = 1; i <= count; ++i) {
      const RecipeRecord line = store.get<RecipeRecord>(i);
      const std::int32_t row = i + 1;
      book.Cells(row, 1, Cell::number(i));
      workbookFields(line, [&](int column, const auto& field) { book.Cells(row, column, sheet::fieldCell(field)); });
      book.Cells(row, 20, flagCell(line.Deleted));
    }
  }
  sheet::autoFitColumns(book, kDefinitionWorkbookColumns);
  return {book.Show(), count < lines};
}

DefinitionWorkbook readDefinitionWorkbook(std::string_view name) {
  DefinitionWorkbook result;
  // Every row a sheet has, and one column past the form's last, to tell the layout.
  const sheet::SheetRange range{sheet::kMaxSheetRows, kDefinitionWorkbookColumns + 1};
  const sheet::ImportSheet read = sheet::readImportSheet(
      name, range, [](const sheet::Sheet& s) { return !s.cell(1, 19).isEmpty() && s.cell(1, 21).isEmpty(); });
  result.problem = read.problem;
  result.readerPlaces = read.readerPlaces;
  if (read.problem != sheet::ImportProblem::None) return result;
  const sheet::Sheet& s = read.sheet;
  for (std::int32_t row = 2; sheet::cellNumber(s.cell(row, 1)) > 0 && row <= kMaxRecords32; ++row) {
    RecipeRecord line;
    // Texts are taken as they stand, blanks included; only their width is the field's.
    workbookFields(line, [&](int column, auto& field) { sheet::readField(s.cell(row, column), field); });
    line.Deleted = readFlag(s.cell(row, 20));
    result.lines.push_back(line);
  }
  return result;
}

std::optional<FileError> importDefinitionLines(std::string_view company, bool listMode,
                                               const std::vector<RecipeRecord>& lines) {
  const RecipeFileKind kind = definitionStore(listMode);
  const std::string store = companyFileName(company, kind);
  FileReplacement replacement{std::string(company)};
  try {
    {
      FileHandle out(replacement.newContentFor(store, backupFileName(kind)), RecipeRecord::Length, kMaxRecords32);
      std::int32_t n = 0;
      for (const RecipeRecord& line : lines) out.put(++n, line);
    }
    if (!replacement.commit()) return replacement.error();
  } catch (const FileError& e) {
    const FileError named = replacement.naming(e);
    replacement.abandon();
    return named;
  }
  return std::nullopt;
}

}  // namespace kv
