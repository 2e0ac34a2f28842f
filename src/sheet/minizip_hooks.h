// The hooks by which the program sits between the workbook library and minizip, which packs its parts
// into the archive. The dynamic linker binds the library's calls of these minizip functions to the
// program's, for the whole process: outside a workbook's packing they only pass on, and while a workbook
// is packed on a thread, they set the compression level and feed that workbook's sheet part through its
// digits rewriter.
#pragma once

#include <functional>

#include "sheet/number_digits.h"

namespace kv::sheet {

// Runs `pack` (the library writing its archive) with the sheet part rewritten by `digits` on its way,
// and returns what it returns.
int packWithDigits(NumberDigits& digits, const std::function<int()>& pack);

}  // namespace kv::sheet
