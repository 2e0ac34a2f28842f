// The product workbook: the product file copied into a new workbook (48 columns: the record's number and
// its 47 fields that are not reserved), and a product file rebuilt from the import workbook "KLVR952.XLS"
// in that form or in the short form of code, name, unit, description and special note.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/files.h"
#include "records/product_file.h"
#include "records/product_file_replacement.h"
#include "records/product_record.h"
#include "sheet/sheet.h"

namespace kv {

inline constexpr int kProductWorkbookColumns = 48;
inline constexpr const char* kTransferWorkbook = "KLVR952.XLS";

// The records of the tab (every record that is not deleted on "Tümü"), in record order, into a new
// workbook whose sheet is named after the company; returns the workbook's file name. Throws
// sheet::SheetError when the workbook cannot be made or written. Only whole records are read.
std::string exportProductWorkbook(const ProductFile& products, int tab);

// The import workbook, read and checked before any file is touched.
struct ProductWorkbook {
  // Layout: row 1 has no header in column 1, or headers beyond column 48.
  sheet::ImportProblem problem = sheet::ImportProblem::None;
  std::string readerPlaces;  // NoReader: where the reader was looked for
  bool fullForm = false;  // the 48-column form (row 1, column 48 holds its header)
  std::vector<ProductRecord> records;
  bool cut = false;  // more rows than a product file holds: only the first 32767 were taken
};

// Reads the workbook `name` of the working folder into records, row by row until the end test of its
// form. The short form's records are dated today and get a random number each (the random source seeded
// once, here).
ProductWorkbook readProductWorkbook(std::string_view name = kTransferWorkbook);

// Replaces the company's ".DAT" and ".ABC" by the records through the product file replacement (the old
// files kept as "952KLVR.DAT" and "952KLVR.ABC"), every record linked into the code chain as one-by-one
// quiet insertion in record order links it; a record with an empty code or a negative kind stays
// unlinked, its pointers 0. Both files must be closed. When a file could not be written, the result names
// it and the live files keep their content.
ProductFileReplacement importProductRecords(const std::string& company, const std::vector<ProductRecord>& records);

}  // namespace kv
