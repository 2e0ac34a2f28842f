#include "sheet/reader/compound_file.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/bytes.h"
#include "sheet/sheet.h"

namespace kv::sheet {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint64_t kWholeChain = UINT64_MAX;
constexpr unsigned kShift512 = 9, kShift4096 = 12;  // the two sizes of sector a file may have
constexpr unsigned kMiniShift = 6;                   // small streams lie in sectors of 64 bytes

// The header: the first 512 bytes of the file, whatever its sectors' size.
namespace header {
constexpr std::size_t kSize = 512;
constexpr std::size_t kSectorShift = 0x1E;      // a sector is 2^shift bytes: kShift512 or kShift4096
constexpr std::size_t kMiniSectorShift = 0x20;  // always kMiniShift
constexpr std::size_t kFatSectors = 0x2C;       // how many sectors the sector table takes
constexpr std::size_t kFirstDirectorySector = 0x30;
constexpr std::size_t kMiniStreamCutoff = 0x38;  // a stream smaller than this lies in the mini stream
constexpr std::size_t kFirstMiniFatSector = 0x3C;
constexpr std::size_t kFirstMoreFatSectors = 0x44;  // the chain of sectors that list further table sectors
constexpr std::size_t kFatSectorList = 0x4C;        // the first table sectors, four bytes each
constexpr std::size_t kFatSectorsListed = 109;
}  // namespace header

// An entry of the directory: a storage, a stream or the root, in a tree of siblings.
namespace directoryEntry {
constexpr std::size_t kSize = 128;
constexpr std::size_t kNameBytes = 0x40;  // of the UTF-16 name at the entry's start, its NUL included
constexpr std::size_t kMaxNameBytes = 64;
constexpr std::size_t kType = 0x42;
constexpr std::size_t kLeftSibling = 0x44;
constexpr std::size_t kRightSibling = 0x48;
constexpr std::size_t kChild = 0x4C;
constexpr std::size_t kStartSector = 0x74;
constexpr std::size_t kSizeLow = 0x78;
constexpr std::size_t kSizeHigh = 0x7C;
constexpr std::uint8_t kStream = 2;
constexpr std::uint8_t kRoot = 5;
}  // namespace directoryEntry

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
  std::uint8_t type = 0;  // directoryEntry::kStream, directoryEntry::kRoot, ...
  std::uint32_t left = 0, right = 0, child = 0, start = 0;
  std::uint64_t size = 0;
};

CompoundFile::CompoundFile(std::string bytes) : bytes_(std::move(bytes)) {
  static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (bytes_.size() < header::kSize || std::memcmp(bytes_.data(), signature, sizeof signature) != 0)
    throw SheetError("the file is no .xls workbook");
  shift_ = u16(bytes_, header::kSectorShift);
  if ((shift_ != kShift512 && shift_ != kShift4096) || u16(bytes_, header::kMiniSectorShift) != kMiniShift) damaged();
  // A last sector cut short is read as if filled up with zeros.
  const std::size_t sector = std::size_t{1} << shift_;
  bytes_.resize((bytes_.size() + sector - 1) / sector * sector, '\0');
  sectors_ = bytes_.size() / sector - 1;

  // The sector table lies in the sectors the header names, then in those the chain of further lists names.
  const std::uint32_t fatSectors = u32(bytes_, header::kFatSectors);
  if (fatSectors > sectors_) damaged();
  std::vector<std::uint32_t> fat;
  for (std::size_t i = 0; i < header::kFatSectorsListed && fat.size() < fatSectors; ++i)
    fat.push_back(u32(bytes_, header::kFatSectorList + 4 * i));
  std::uint32_t more = u32(bytes_, header::kFirstMoreFatSectors);
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

  directory_ = chain(u32(bytes_, header::kFirstDirectorySector), kWholeChain, false);
  const Entry root = entry(0);
  if (root.type != directoryEntry::kRoot) damaged();
  miniCutoff_ = u32(bytes_, header::kMiniStreamCutoff);
  const std::uint32_t miniFatStart = u32(bytes_, header::kFirstMiniFatSector);
  if (miniFatStart != kEndOfChain) miniFat_ = chain(miniFatStart, kWholeChain, false);
  // The small streams lie in the root's sectors, read whole as far as its chain goes: some writers give
  // the root a size that stops short of them, in their last mini sector or before it. Others leave links
  // after the root's last sector that lead nowhere, or give a root without small streams no sector at all:
  // the chain ends there, and only a small stream that needs a sector beyond it is damaged.
  miniStream_ = chain(root.start, kWholeChain, false, Broken::Ends);
}

CompoundFile::Entry CompoundFile::entry(std::uint32_t id) const {
  if (id >= directory_.size() / directoryEntry::kSize) damaged();
  const std::size_t at = std::size_t{id} * directoryEntry::kSize;
  Entry e;
  const std::size_t nameBytes = u16(directory_, at + directoryEntry::kNameBytes);
  if (nameBytes > directoryEntry::kMaxNameBytes) damaged();
  for (std::size_t i = 0; i + 2 < nameBytes; i += 2) e.name += static_cast<char16_t>(u16(directory_, at + i));
  e.type = static_cast<std::uint8_t>(directory_[at + directoryEntry::kType]);
  e.left = u32(directory_, at + directoryEntry::kLeftSibling);
  e.right = u32(directory_, at + directoryEntry::kRightSibling);
  e.child = u32(directory_, at + directoryEntry::kChild);
  e.start = u32(directory_, at + directoryEntry::kStartSector);
  e.size = u32(directory_, at + directoryEntry::kSizeLow);
  // Files of 512-byte sectors may leave rubbish in the size's high half.
  if (shift_ != kShift512) e.size |= std::uint64_t{u32(directory_, at + directoryEntry::kSizeHigh)} << 32;
  return e;
}

std::uint32_t CompoundFile::next(std::uint32_t sector, bool mini) const {
  return u32(mini ? miniFat_ : fat_, std::size_t{sector} * 4);
}

// A chain that ends before the size its stream declares is read as far as it goes, as a spreadsheet
// program reads the streams of writers that declare more than they wrote.
std::string CompoundFile::chain(std::uint32_t first, std::uint64_t size, bool mini, Broken broken) const {
  const std::size_t sector = mini ? std::size_t{1} << kMiniShift : std::size_t{1} << shift_;
  const std::uint64_t limit = mini ? miniStream_.size() / sector : sectors_;
  std::string out;
  if (size != kWholeChain) out.reserve(static_cast<std::size_t>(std::min(size, limit * sector)));
  std::vector<bool> seen(broken == Broken::Ends ? limit : 0);
  std::uint32_t s = first;
  for (std::uint64_t steps = 0; out.size() < size; ++steps) {
    if (s == kEndOfChain) break;
    if (broken == Broken::Ends) {
      // A link that is no sector, lies past the file or leads back into the chain ends it.
      if (s >= limit || seen[s]) break;
      seen[s] = true;
    } else if (s >= limit || steps >= limit) {
      damaged();
    }
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
  const std::size_t entries = directory_.size() / directoryEntry::kSize;
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
    if (same && e.type == directoryEntry::kStream) return e;
    todo.push_back(e.left);
    todo.push_back(e.right);
  }
  return std::nullopt;
}

}  // namespace kv::sheet
