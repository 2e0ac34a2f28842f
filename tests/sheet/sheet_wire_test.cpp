// What the program takes back from the reader: a sheet as it was written; output cut short anywhere, or
// changed at random, is refused or read within its bounds, never beyond them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <random>
#include <string>

#include "sheet/sheet_wire.h"
#include "support/company.h"

namespace kv::sheet {
namespace {

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

TEST(SheetWire, OutputCutShortOrChangedIsRefusedOrReadWithinItsBounds) {
  kv::testing::TempFolder folder;
  const auto path = folder.path() / "wire";
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  {
    WireWriter out(fd);
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
