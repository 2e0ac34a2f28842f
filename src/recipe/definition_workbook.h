// The definition workbook: every line of the recipe store ".REC" or of the list definitions ".LTD" copied
// into a new workbook (20 columns: the line's number and its fields), and the store replaced by the rows
// of the import workbook "KLVR952.XLS" in that form. Lines travel as they are, erased lines and chain
// pointers included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/files.h"
#include "records/recipe_record.h"
#include "sheet/sheet.h"
#include "sheet/workbook_messages.h"

namespace kv {

inline constexpr int kDefinitionWorkbookColumns = 20;

// The whole lines of the store (".LTD" when listMode), 0 when it is missing.
std::int32_t definitionLineCount(std::string_view company, bool listMode);

// Every whole line of the store, in record order, into a new workbook whose sheet is named after the
// company, as far as the sheet has rows; returns the workbook's file name and whether lines were left out.
// Throws sheet::SheetError when the workbook cannot be made or written, FileError when the store cannot
// be read.
sheet::WrittenWorkbook exportDefinitionWorkbook(std::string_view company, bool listMode);

// The import workbook, read and checked before any file is touched.
struct DefinitionWorkbook {
  // Layout: row 1 has no 19th header, or has a 21st.
  sheet::ImportProblem problem = sheet::ImportProblem::None;
  std::string readerPlaces;  // NoReader: where the reader was looked for
  std::vector<RecipeRecord> lines;  // rows 2, 3, ... up to the first whose column 1 holds no number above 0
};
DefinitionWorkbook readDefinitionWorkbook(std::string_view name = "KLVR952.XLS");

// Replaces the store by the lines, the old one kept as "952KLVR.REC" or "952KLVR.LTD" (a store that did
// not exist leaves an older backup as it was). The store must not be open. Returns the failure; the store
// then keeps its content.
std::optional<FileError> importDefinitionLines(std::string_view company, bool listMode,
                                               const std::vector<RecipeRecord>& lines);

}  // namespace kv
