// The container of a legacy .xls workbook: a compound file (a small file system of sectors, a sector
// table, a directory and streams). Only what a workbook needs is read: one stream of the root storage,
// by name, whole (or as far as its chain goes, when that is shorter). Every sector number, chain and size is checked against the file before it is used, so
// a damaged or hostile container is refused with a SheetError, never followed out of the file or round a
// loop; only the root's chain, where the small streams lie, ends at such a link instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv::sheet {

class CompoundFile {
 public:
  // Reads the container's bytes; throws SheetError when they are not a compound file.
  explicit CompoundFile(std::string bytes);
  // The stream of the root storage named `name` (without regard to letter case), or nothing.
  std::optional<std::string> stream(std::u16string_view name) const;
  // Whether the root storage holds a stream of that name.
  bool has(std::u16string_view name) const;

 private:
  struct Entry;
  Entry entry(std::uint32_t id) const;
  std::optional<Entry> find(std::u16string_view name) const;
  // What a link that leads out of the file or round a loop is to a chain: damage, or the chain's end.
  enum class Broken { Damaged, Ends };
  std::string chain(std::uint32_t first, std::uint64_t size, bool mini, Broken broken = Broken::Damaged) const;
  std::uint32_t next(std::uint32_t sector, bool mini) const;

  std::string bytes_;
  unsigned shift_ = 9;
  std::uint64_t sectors_ = 0;           // whole sectors in the file after the header
  std::string fat_;                     // the sector table, four bytes a sector
  std::string miniFat_;                 // the same for the small streams' sectors
  std::string directory_;               // 128 bytes an entry
  std::string miniStream_;              // where the small streams lie
  std::uint32_t miniCutoff_ = 4096;
};

}  // namespace kv::sheet
