// Small .xls workbooks built by code for the reader's tests: the records of Excel 97 to 2003 in a workbook
// stream, in a compound file of 512-byte sectors; and the ways other writers get them wrong, on request.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kv::sheet::xls {

inline std::string u16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
inline std::string u32(std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }
inline std::string f64(double v) {
  std::string b(8, '\0');
  std::memcpy(b.data(), &v, 8);  // the tests run on little-endian machines, as the format is
  return b;
}
inline std::string record(std::uint16_t type, std::string_view data) {
  return u16(type) + u16(static_cast<unsigned>(data.size())) + std::string(data);
}
// A text of Latin-1 characters, one byte each: its length (two bytes), its flags, its characters.
inline std::string text(std::string_view latin1) { return u16(static_cast<unsigned>(latin1.size())) + '\0' + std::string(latin1); }
inline std::string cellHead(unsigned row, unsigned column, unsigned xf) { return u16(row) + u16(column) + u16(xf); }
// Excel 2's: the row, the column and three bytes of attributes.
inline std::string cellHead2(unsigned row, unsigned column) { return u16(row) + u16(column) + std::string(3, '\0'); }

inline std::string bof(unsigned kind, unsigned version = 0x0600) {
  return record(0x0809, u16(version) + u16(kind) + u16(0x0DBB) + u16(1996) + u32(0) + u32(0x0600));
}
inline std::string eof() { return record(0x000A, ""); }
inline std::string format(unsigned id, std::string_view code) { return record(0x041E, u16(id) + text(code)); }
inline std::string xf(unsigned format) { return record(0x00E0, u16(0) + u16(format) + std::string(16, '\0')); }
inline std::string number(unsigned row, unsigned column, double v, unsigned xf = 0) {
  return record(0x0203, cellHead(row, column, xf) + f64(v));
}
// A formula that holds the number it shows (its one token a number).
inline std::string formula(unsigned row, unsigned column, double v, std::uint16_t id = 0x0006) {
  return record(id, cellHead(row, column, 0) + f64(v) + u16(0) + u32(0) + u16(9) + '\x1F' + f64(v));
}

// The records of the workbook stream: the global records (the first BOF and the sheet's BOUNDSHEET aside)
// and the first sheet's cell records (its BOF, DIMENSIONS and EOF aside). BOUNDSHEET names the sheet's
// place `sheetShift` bytes off; the first BOF gives `globalsVersion`.
inline std::string workbookStream(std::string_view globals, std::string_view cells, int sheetShift = 0,
                                  unsigned globalsVersion = 0x0600) {
  std::string head = bof(0x0005, globalsVersion) + std::string(globals);
  const std::string name = std::string(1, '\x01') + '\0' + "S";
  const std::size_t sheetAt = head.size() + 4 + 6 + name.size() + 4;
  head += record(0x0085, u32(static_cast<std::uint32_t>(static_cast<long>(sheetAt) + sheetShift)) + u16(0) + name);
  const std::string dimensions = record(0x0200, u32(0) + u32(1) + u16(0) + u16(4) + u16(0));
  return head + eof() + bof(0x0010) + dimensions + std::string(cells) + eof();
}

// Links of the sector table: the end of a chain, a free sector, and (for the writer alone) the root's first
// sector, which makes its chain a loop.
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE, kFreeSector = 0xFFFFFFFF, kBackToRoot = 0xFFFFFFFA;

struct Container {
  std::u16string_view name = u"Workbook";  // a literal: the tables name their streams in place
  bool small = false;              // in the mini stream (else at least 4096 bytes, padded after its records)
  std::uint32_t declaredMore = 0;  // the directory gives the stream this many bytes more than its chain holds
  std::uint32_t rootShort = 0;     // the root's size this many bytes short of the mini stream's whole sectors
  std::uint32_t rootEnd = kEndOfChain;  // the link after the root's last sector; its start when it has none
  bool alone = false;              // the stream without a container, as some writers save it
};

// The stream in a compound file: the sector table, the directory, then the mini table and the mini stream,
// or the stream.
inline std::string compoundFile(std::string stream, const Container& c = {}) {
  if (c.alone) return stream;
  const auto sectors = [](std::size_t bytes, std::size_t size) { return (bytes + size - 1) / size; };
  std::vector<std::uint32_t> fat(128, kFreeSector);
  fat[0] = 0xFFFFFFFD, fat[1] = kEndOfChain;  // the table itself, the directory
  std::uint32_t next = 2;
  std::string body;
  const auto chain = [&](std::string bytes) {
    const std::uint32_t first = next;
    const std::size_t n = sectors(bytes.size(), 512);
    for (std::size_t i = 0; i < n; ++i, ++next) fat[next] = i + 1 < n ? next + 1 : kEndOfChain;
    bytes.resize(n * 512, '\0');
    body += bytes;
    return first;
  };
  const auto table = [](const std::vector<std::uint32_t>& entries) {
    std::string t;
    for (const std::uint32_t e : entries) t += u32(e);
    return t;
  };
  std::uint32_t streamStart = 0, rootStart = c.rootEnd, miniTable = kEndOfChain;
  std::uint64_t rootSize = 0;
  const std::size_t size = c.small ? stream.size() : std::max<std::size_t>(stream.size(), 4096);
  if (c.small) {
    const std::size_t n = sectors(stream.size(), 64);
    std::vector<std::uint32_t> mini(128, kFreeSector);
    for (std::size_t i = 0; i < n; ++i) mini[i] = i + 1 < n ? static_cast<std::uint32_t>(i + 1) : kEndOfChain;
    miniTable = chain(table(mini));
    stream.resize(n * 64, '\0');
    rootSize = stream.size() - c.rootShort;
    rootStart = chain(stream);
    fat[next - 1] = c.rootEnd == kBackToRoot ? rootStart : c.rootEnd;
  } else {
    stream.resize(size, '\0');
    streamStart = chain(stream);
  }
  const auto entry = [](std::u16string_view name, int type, std::uint32_t child, std::uint32_t start,
                        std::uint64_t bytes) {
    std::string e;
    for (const char16_t ch : name) e += u16(ch);
    e.resize(64, '\0');
    e += u16(static_cast<unsigned>(name.empty() ? 0 : 2 * name.size() + 2)) + static_cast<char>(type) + '\x01';
    e += u32(0xFFFFFFFF) + u32(0xFFFFFFFF) + u32(child) + std::string(36, '\0');
    return e + u32(start) + u32(static_cast<std::uint32_t>(bytes)) + u32(0);
  };
  const std::string directory = entry(u"Root Entry", 5, 1, rootStart, rootSize) +
                                entry(c.name, 2, 0xFFFFFFFF, streamStart, size + c.declaredMore) +
                                entry(u"", 0, 0xFFFFFFFF, 0, 0) + entry(u"", 0, 0xFFFFFFFF, 0, 0);
  std::string header = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0') + u16(0x3E) + u16(3) +
                       u16(0xFFFE) + u16(9) + u16(6) + std::string(10, '\0') + u32(1) + u32(1) + u32(0) +
                       u32(4096) + u32(miniTable) + u32(c.small ? 1 : 0) + u32(kEndOfChain) + u32(0) + u32(0);
  header.resize(512, '\xFF');
  return header + table(fat) + directory + body;
}

}  // namespace kv::sheet::xls
