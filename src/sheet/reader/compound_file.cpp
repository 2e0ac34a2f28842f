#include "sheet/reader/compound_file.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/bytes.h"
#include "sheet/sheet.h"

namespace kv::sheet {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint64_t kWholeChain = UINT64_MAX;
constexpr std::size_t kEntrySize = 128;
constexpr unsigned kMiniShift = 6;

[[noreturn]] void damaged() { throw SheetError("the .xls container is damaged"); }

std::uint32_t u32(std::string_view s, std::size_t at) {
  if (at > s.size() || s.size() - at < 4) damaged();
  return static_cast<std::uint32_t>(bytes::getI32(reinterpret_cast<const std::uint8_t*>(s.data() + at)));
}
std::uint16_t u16(std::string_view s, std::size_t at) {
  if (at > s.size() || s.size() - at < 2) damaged();
  return static_cast<std::uint16_t>(bytes::getI16(reinterpret_cast<const std::uint8_t*>(s.data() + at)));
}

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

struct CompoundFile::Entry {
  std::u16string name;
  std::uint8_t type = 0;  // 2 a stream, 5 the root
  std::uint32_t left = 0, right = 0, child = 0, start = 0;
  std::uint64_t size = 0;
};

CompoundFile::CompoundFile(std::string bytes) : bytes_(std::move(bytes)) {
  static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (bytes_.size() < 512 || std::memcmp(bytes_.data(), signature, sizeof signature) != 0)
    throw SheetError("the file is no .xls workbook");
  shift_ = u16(bytes_, 0x1E);
  if ((shift_ != 9 && shift_ != 12) || u16(bytes_, 0x20) != kMiniShift) damaged();
  // A last sector cut short is read as if filled up with zeros.
  const std::size_t sector = std::size_t{1} << shift_;
  bytes_.resize((bytes_.size() + sector - 1) / sector * sector, '\0');
  sectors_ = bytes_.size() / sector - 1;

  // The sector table lies in the sectors the header names, then in those the chain of further lists names.
  const std::uint32_t fatSectors = u32(bytes_, 0x2C);
  if (fatSectors > sectors_) damaged();
  std::vector<std::uint32_t> fat;
  for (std::size_t i = 0; i < 109 && fat.size() < fatSectors; ++i) fat.push_back(u32(bytes_, 0x4C + 4 * i));
  std::uint32_t more = u32(bytes_, 0x44);
  for (std::uint64_t steps = 0; fat.size() < fatSectors; ++steps) {
    if (more >= sectors_ || steps >= sectors_) damaged();
    const std::size_t at = (std::size_t{more} + 1) << shift_;
    for (std::size_t i = 0; i + 1 < sector / 4 && fat.size() < fatSectors; ++i) fat.push_back(u32(bytes_, at + 4 * i));
    more = u32(bytes_, at + sector - 4);
  }
  fat_.reserve(fat.size() * sector);
  for (const std::uint32_t s : fat) {
    if (s >= sectors_) damaged();
    fat_.append(bytes_, (std::size_t{s} + 1) << shift_, sector);
  }

  directory_ = chain(u32(bytes_, 0x30), kWholeChain, false);
  const Entry root = entry(0);
  if (root.type != 5) damaged();
  miniCutoff_ = u32(bytes_, 0x38);
  const std::uint32_t miniFatStart = u32(bytes_, 0x3C);
  if (miniFatStart != kEndOfChain) miniFat_ = chain(miniFatStart, kWholeChain, false);
  // Some writers give the root the small streams' bytes alone, the last mini sector cut short: it is read
  // whole, as it lies in its sector.
  const std::uint64_t miniSector = std::uint64_t{1} << kMiniShift;
  if (root.start != kEndOfChain) miniStream_ = chain(root.start, (root.size + miniSector - 1) / miniSector * miniSector, false);
}

CompoundFile::Entry CompoundFile::entry(std::uint32_t id) const {
  if (id >= directory_.size() / kEntrySize) damaged();
  const std::size_t at = std::size_t{id} * kEntrySize;
  Entry e;
  const std::size_t nameBytes = u16(directory_, at + 0x40);
  if (nameBytes > 64) damaged();
  for (std::size_t i = 0; i + 2 < nameBytes; i += 2) e.name += static_cast<char16_t>(u16(directory_, at + i));
  e.type = static_cast<std::uint8_t>(directory_[at + 0x42]);
  e.left = u32(directory_, at + 0x44);
  e.right = u32(directory_, at + 0x48);
  e.child = u32(directory_, at + 0x4C);
  e.start = u32(directory_, at + 0x74);
  e.size = u32(directory_, at + 0x78);
  // Files of 512-byte sectors may leave rubbish in the size's high half.
  if (shift_ != 9) e.size |= std::uint64_t{u32(directory_, at + 0x7C)} << 32;
  return e;
}

std::uint32_t CompoundFile::next(std::uint32_t sector, bool mini) const {
  return u32(mini ? miniFat_ : fat_, std::size_t{sector} * 4);
}

// A chain that ends before the size its stream declares is read as far as it goes, as a spreadsheet
// program reads the streams of writers that declare more than they wrote.
std::string CompoundFile::chain(std::uint32_t first, std::uint64_t size, bool mini) const {
  const std::size_t sector = mini ? std::size_t{1} << kMiniShift : std::size_t{1} << shift_;
  const std::uint64_t limit = mini ? miniStream_.size() / sector : sectors_;
  std::string out;
  if (size != kWholeChain) out.reserve(static_cast<std::size_t>(std::min(size, limit * sector)));
  std::uint32_t s = first;
  for (std::uint64_t steps = 0; out.size() < size; ++steps) {
    if (s == kEndOfChain) break;
    if (s >= limit || steps >= limit) damaged();
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(sector, size - out.size()));
    if (mini) out.append(miniStream_, std::size_t{s} << kMiniShift, n);
    else out.append(bytes_, (std::size_t{s} + 1) << shift_, n);
    s = next(s, mini);
  }
  return out;
}

std::optional<std::string> CompoundFile::stream(std::u16string_view name) const {
  const std::optional<Entry> e = find(name);
  if (!e) return std::nullopt;
  return chain(e->start, e->size, e->size < miniCutoff_);
}

bool CompoundFile::has(std::u16string_view name) const { return find(name).has_value(); }

std::optional<CompoundFile::Entry> CompoundFile::find(std::u16string_view name) const {
  // The root's children form a tree of siblings; each entry is visited once at most.
  const std::size_t entries = directory_.size() / kEntrySize;
  std::vector<bool> seen(entries);
  std::vector<std::uint32_t> todo{entry(0).child};
  while (!todo.empty()) {
    const std::uint32_t id = todo.back();
    todo.pop_back();
    if (id >= entries) continue;  // no sibling
    if (seen[id]) damaged();
    seen[id] = true;
    const Entry e = entry(id);
    bool same = e.name.size() == name.size();
    for (std::size_t i = 0; same && i < name.size(); ++i) same = upper(e.name[i]) == upper(name[i]);
    if (same && e.type == 2) return e;
    todo.push_back(e.left);
    todo.push_back(e.right);
  }
  return std::nullopt;
}

}  // namespace kv::sheet
