// Commands on the product file of "KLVR952" cut short in a child process, as a kill cuts them short, at a
// chosen call of the file layer: what the side-file and command tests start from.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/files.h"
#include "records/product_file.h"
#include "records/product_file_replacement.h"
#include "support/company.h"
#include "support/interruptions.h"

namespace kv::testing {

// Runs `command` in a child process that ends, as a kill ends it, before the first call of `op` on `file`.
inline void endBefore(FileOp op, const std::string& file, const std::function<void()>& command) {
  ASSERT_FALSE(runEndingWhen(command, [&](FileOp o, std::string_view name) { return o == op && name == file; }))
      << "the command did not reach its cut";
}

// A code-changing save cut short before the call of `op` on `file`.
inline void savedUpTo(FileOp op, const char* file) {
  endBefore(op, file, [] {
    ProductFile p;
    p.open("KLVR952");
    ProductRecord r = p.read(2);
    r.Code = "F";
    p.save(2, r, quietInsertPolicy(), nullptr);
  });
}
// After its pages went to ".DAT", before they were flushed: a ready journal.
inline void savedHalfway() { savedUpTo(FileOp::Flush, "KLVR952.DAT"); }

// A product import cut short at its rename onto `name`: a ready intent, its temporaries, the renames
// before it made.
inline void importedUpTo(const char* name) {
  endBefore(FileOp::Rename, name, [] {
    std::vector<std::uint8_t> records(ProductRecord::Length);
    makeProduct("K", "Kalıp").encode(records.data());
    replaceProductFile("KLVR952", records, quietInsertPolicy());
  });
}
inline void importedHalfway() { importedUpTo("952KLVR.DAT"); }

}  // namespace kv::testing
