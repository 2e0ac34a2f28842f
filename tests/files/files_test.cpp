// The file layer on real files in a temporary folder: file numbers, shared images written through to
// disk, record counts, the limits of get and put, names without regard to case, whole files by name, and
// what is refused, changing nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "support/company.h"
#include "support/interruptions.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using Bytes = std::vector<std::uint8_t>;

// The kind of FileError that f throws; nothing when it throws none.
std::optional<FileError::Kind> failure(const std::function<void()>& f) {
  try {
    f();
  } catch (const FileError& e) {
    return e.kind();
  }
  return std::nullopt;
}

// n bytes counting up from `first`, so that every offset holds a recognisable byte.
Bytes pattern(std::size_t n, std::uint8_t first = 1) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(first + i);
  return b;
}

Bytes record(int length, std::uint8_t fill) { return Bytes(static_cast<std::size_t>(length), fill); }

Bytes joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Opens `name` on the next free number.
int open(std::string_view name, int recordLength, std::int32_t maxRecords = kMaxRecords16) {
  int n = nextFreeFileNumber();
  openRandom(n, name, recordLength, maxRecords);
  return n;
}

Bytes read(int file, std::int32_t n, std::size_t size) {
  Bytes b(size, 0xEE);  // garbage that a read must overwrite
  getRecord(file, n, b);
  return b;
}

// The files of the working folder by UTF-8 name, but the lock files, which live while a company file is open.
std::vector<std::string> namesOnDisk() {
  std::vector<std::string> out;
  for (const auto& [name, bytes] : testing::folderState()) out.push_back(name);
  return out;
}

// What a call could change: the folder's files with their bytes, and every open number with its file and image.
struct Seen {
  testing::FolderState folder;
  std::map<int, std::pair<std::string, Bytes>> open;
  bool operator==(const Seen&) const = default;
};
Seen seen() {
  Seen s{testing::folderState(), {}};
  for (int n = 1; n <= 511; ++n)
    if (isOpen(n)) s.open[n] = {openFileName(n), Bytes(fileImage(n).begin(), fileImage(n).end())};
  return s;
}

// ---- File numbers and the shared images: one scenario each ------------------------------------------

TEST(FileLayer, FileNumbersAreTheLowestFreeOnes) {
  TempFolder folder;
  EXPECT_EQ(nextFreeFileNumber(), 1);
  openRandom(1, "A.DAT", 4);
  openRandom(3, "B.DAT", 4);
  EXPECT_EQ(nextFreeFileNumber(), 2);
  openRandom(2, "C.DAT", 4);
  EXPECT_EQ(nextFreeFileNumber(), 4);
  closeFile(1);
  EXPECT_EQ(nextFreeFileNumber(), 1);
  EXPECT_FALSE(isOpen(1));
  EXPECT_TRUE(isOpen(2));
  closeFile(1);  // closing a closed number is harmless
}

TEST(FileLayer, HandlesOnOneFileShareOneImageWrittenThroughToDisk) {
  TempFolder folder;
  int a = open("KLVR952.DAT", 512);
  int b = open("KLVR952.DAT", 512);
  int small = open("klvr952.dat", 4);  // the same file under another case and record length
  Bytes rec = pattern(512);
  putRecord(a, 1, rec);
  EXPECT_EQ(read(b, 1, 512), rec);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), rec);  // on disk at once, before any close
  EXPECT_EQ(fileLengthByName("KLVR952.DAT"), 512);
  EXPECT_EQ(recordCount(b), 1);
  EXPECT_EQ(recordCount(small), 128);
  EXPECT_EQ(read(small, 2, 4), (Bytes{5, 6, 7, 8}));

  putRecord(small, 1, Bytes{9, 9, 9, 9});
  Bytes changed = rec;
  std::fill(changed.begin(), changed.begin() + 4, 9);
  EXPECT_EQ(read(a, 1, 512), changed);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), changed);

  putRecord(b, 2, record(512, 0x42));  // an append through one handle lengthens the file for all
  EXPECT_EQ(recordCount(a), 2);
  EXPECT_EQ(fileLength(small), 1024);
  EXPECT_EQ(fileLengthByName("klvr952.dat"), 1024);
  EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"KLVR952.DAT"});
}

TEST(FileLayer, TheImageOutlivesTheHandleThatOpenedIt) {
  TempFolder folder;
  int a = open("X.DAT", 4);
  int b = open("X.DAT", 4);
  putRecord(a, 1, Bytes{1, 2, 3, 4});
  closeFile(a);
  EXPECT_EQ(read(b, 1, 4), (Bytes{1, 2, 3, 4}));
  putRecord(b, 2, Bytes{5, 6, 7, 8});
  closeFile(b);
  int c = open("X.DAT", 4);
  EXPECT_EQ(recordCount(c), 2);
  EXPECT_EQ(read(c, 2, 4), (Bytes{5, 6, 7, 8}));
}

// ---- Opening, counting, reading and writing records ----------------------------------------------------

// A missing file is made empty, under its name stored in UTF-8; what is put into it is on disk at once.
TEST(FileLayer, OpeningCreatesAMissingFileEmpty) {
  const struct {
    const char* name;  // as the program gives it, UTF-8 here
  } cases[] = {{"KLVR952.DAT"}, {"ÇAĞ2008.DAT"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string name = w(c.name);
    int f = open(name, 4);
    EXPECT_TRUE(fs::exists(folder.path() / c.name));
    EXPECT_TRUE(fileExists(name));
    EXPECT_EQ(fileLength(f), 0);
    EXPECT_EQ(recordCount(f), 0);
    EXPECT_EQ(openFileName(f), name);
    putRecord(f, 1, Bytes{1, 2, 3, 4});
    EXPECT_EQ(namesOnDisk(), std::vector<std::string>{c.name});
    EXPECT_EQ(folder.bytes(c.name), (Bytes{1, 2, 3, 4}));
  }
}

// A count is the length over the record length rounded half to even, capped at the file's record limit:
// on an open file and by name alike.
TEST(FileLayer, ACountIsTheLengthOverTheRecordLengthRoundedHalfToEvenUpToTheLimit) {
  const struct {
    std::size_t length;
    int recordLength;
    std::int32_t maxRecords;
    std::int32_t count;
  } cases[] = {
      {0, 512, kMaxRecords16, 0},      {255, 512, kMaxRecords16, 0},   {256, 512, kMaxRecords16, 0},
      {257, 512, kMaxRecords16, 1},    {511, 512, kMaxRecords16, 1},   {512, 512, kMaxRecords16, 1},
      {700, 512, kMaxRecords16, 1},    {767, 512, kMaxRecords16, 1},   {768, 512, kMaxRecords16, 2},
      {1280, 512, kMaxRecords16, 2},   {1281, 512, kMaxRecords16, 3},  {1792, 512, kMaxRecords16, 4},
      // A 16-bit file stops at 32767; the recipe files count further.
      {32767 * 4, 4, kMaxRecords16, 32767}, {32773 * 4, 4, kMaxRecords16, 32767},
      {32773 * 4, 4, kMaxRecords32, 32773},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.length << " bytes of records of " << c.recordLength);
    TempFolder folder;
    folder.write("C.DAT", Bytes(c.length, 0x20));
    int f = open("C.DAT", c.recordLength, c.maxRecords);
    EXPECT_EQ(recordCount(f), c.count);
    EXPECT_EQ(fileLength(f), static_cast<std::int64_t>(c.length));
    closeFile(f);
    EXPECT_EQ(recordCountByName("c.dat", c.recordLength, c.maxRecords), c.count) << "by name";
  }
}

// A read beyond the end gives zeros, a partial last record is zero-filled, by get and by peek alike; and
// reading never lengthens the file.
TEST(FileLayer, ReadsBeyondTheEndGiveZerosAndAPartialLastRecordIsZeroFilled) {
  Bytes partial(512, 0);
  std::copy_n(pattern(700).begin() + 512, 188, partial.begin());
  const struct {
    const char* what;
    std::size_t length;  // of pattern(length)
    int recordLength;
    std::int32_t maxRecords;
    std::int32_t n;
    Bytes want;
  } cases[] = {
      {"a whole record", 700, 512, kMaxRecords16, 1, pattern(512)},
      {"the partial last record", 700, 512, kMaxRecords16, 2, partial},
      {"the record after the end", 700, 512, kMaxRecords16, 3, Bytes(512, 0)},
      {"far beyond the end", 700, 512, kMaxRecords16, 9, Bytes(512, 0)},
      {"the last record a 16-bit file may have", 700, 512, kMaxRecords16, 32767, Bytes(512, 0)},
      {"beyond it, in a file that counts further", 0, 4, kMaxRecords32, 40000, Bytes(4, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    folder.write("P.DAT", pattern(c.length));
    int f = open("P.DAT", c.recordLength, c.maxRecords);
    EXPECT_EQ(read(f, c.n, c.want.size()), c.want);
    const std::span<const std::uint8_t> peek = peekRecord(f, c.n);
    EXPECT_EQ(Bytes(peek.begin(), peek.end()), c.want) << "peeked";
    EXPECT_EQ(fileLength(f), static_cast<std::int64_t>(c.length));
    EXPECT_EQ(folder.bytes("P.DAT").size(), c.length);
  }
}

// A put goes at most one record past the end: an append, an overwrite that leaves the other records
// alone, one over a partial last record that replaces it whole, and the last record a 16-bit file may
// have; a handle that counts further appends beyond it, where the 16-bit one still counts 32767.
TEST(FileLayer, APutOverwritesOrAppendsOneRecord) {
  struct Put {
    std::int32_t n;
    Bytes bytes;
    std::int32_t maxRecords = kMaxRecords16;  // of the handle it is put through
  };
  const Bytes full(32767 * 4, 0);
  const struct {
    const char* what;
    Bytes content;
    int recordLength;
    std::vector<Put> puts;
    Bytes want;
    std::int32_t count16, count32;  // of a 16-bit handle and of one that counts further
  } cases[] = {
      {"appended and overwritten", {}, 512,
       {{1, record(512, 1)}, {2, record(512, 2)}, {3, record(512, 3)}, {1, record(512, 7)}},
       joined({record(512, 7), record(512, 2), record(512, 3)}), 3, 3},
      {"over a partial last record", pattern(700), 512, {{2, record(512, 9)}},
       joined({pattern(512), record(512, 9)}), 2, 2},
      {"the last record of a full 16-bit file", full, 4, {{32767, {1, 2, 3, 4}}},
       joined({Bytes(32766 * 4, 0), {1, 2, 3, 4}}), 32767, 32767},
      {"beyond it, through a handle that counts further", full, 4, {{32768, {5, 6, 7, 8}, kMaxRecords32}},
       joined({full, {5, 6, 7, 8}}), 32767, 32768},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    folder.write("W.DAT", c.content);
    const int f16 = open("W.DAT", c.recordLength);
    const int f32 = open("W.DAT", c.recordLength, kMaxRecords32);
    for (const Put& p : c.puts) putRecord(p.maxRecords == kMaxRecords16 ? f16 : f32, p.n, p.bytes);
    EXPECT_EQ(folder.bytes("W.DAT"), c.want);
    const std::span<const std::uint8_t> image = fileImage(f16);
    EXPECT_TRUE(Bytes(image.begin(), image.end()) == c.want) << "the image is what is on disk";
    EXPECT_EQ(recordCount(f16), c.count16);
    EXPECT_EQ(recordCount(f32), c.count32);
  }
}

// ---- Names -----------------------------------------------------------------------------------------------

// A name is found under any spelling, Turkish letter case included (a name typed without ı or İ finds it
// too): it exists, gives its name on disk and its length, and opens the one file, which is named as on
// disk. A missing name, or one of a folder, is no file and has no length.
TEST(FileLayer, NamesAreMatchedWithoutRegardToCase) {
  const struct {
    const char* onDisk;  // UTF-8; nothing there when empty
    std::size_t length;
    std::vector<const char*> spellings;  // UTF-8
    const char* missing = nullptr;       // a name that is no file: its diskName is itself
    bool aFolder = false;
  } cases[] = {
      {"KLVR952.DAT", 4, {"klvr952.dat", "Klvr952.Dat", "kLvR952.DaT"}},
      {"ÇAĞ2008.DAT", 4, {"çağ2008.dat", "ÇAĞ2008.DAT"}},
      {"İSTİF.DAT", 8, {"istif.dat"}},
      {"IRMAK.DAT", 12, {"ırmak.dat", "irmak.dat"}},
      {"", 0, {}, "NONE.DAT"},
      {"", 0, {}, "DIR.DAT", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.onDisk ? c.onDisk : c.missing);
    TempFolder folder;
    if (c.missing) {
      if (c.aFolder) fs::create_directory(folder.path() / c.missing);
      EXPECT_FALSE(fileExists(c.missing));
      EXPECT_EQ(fileLengthByName(c.missing), 0);
      EXPECT_EQ(diskName(c.missing), c.missing);
      continue;
    }
    folder.write(c.onDisk, pattern(c.length));
    for (const char* spelling : c.spellings) {
      SCOPED_TRACE(spelling);
      const std::string name = w(spelling);
      EXPECT_TRUE(fileExists(name));
      EXPECT_EQ(diskName(name), w(c.onDisk));
      EXPECT_EQ(fileLengthByName(name), static_cast<std::int64_t>(c.length));
      int f = open(name, 4);
      EXPECT_EQ(read(f, 1, 4), pattern(4));
      EXPECT_EQ(openFileName(f), w(c.onDisk));
      closeFile(f);
      EXPECT_EQ(namesOnDisk(), std::vector<std::string>{c.onDisk});
    }
  }
}

// A listing matches its pattern without regard to case and gives the names sorted by byte value; "*.DAT"
// lists a file named only ".DAT"; folders and names that are no UTF-8 are never listed.
TEST(FileLayer, ListingMatchesThePatternWithoutRegardToCase) {
  TempFolder folder;
  for (const char* name : {"B.DAT", "a.dat", ".DAT", "ÇAĞ.DAT", "C.DATX", "D.ABC", "DAT", "KLVR952.LST"})
    folder.write(name, Bytes(1, 0));
  fs::create_directory(folder.path() / "SUB.DAT");
  folder.write("\xFF\xFE.DAT", Bytes(1, 0));  // not UTF-8: no name the program could use
  const std::vector<std::string> dat = {".DAT", "B.DAT", "a.dat", "ÇAĞ.DAT"_w};
  const struct {
    const char* pattern;  // UTF-8
    std::vector<std::string> want;
  } cases[] = {
      {"*.DAT", dat},
      {"*.dat", dat},
      {"?.DAT", {"B.DAT", "a.dat"}},
      {"klvr952.*", {"KLVR952.LST"}},
      {"çağ.*", {"ÇAĞ.DAT"_w}},
      {"*.XYZ", {}},
      {"*", {".DAT", "B.DAT", "C.DATX", "D.ABC", "DAT", "KLVR952.LST", "a.dat", "ÇAĞ.DAT"_w}},
  };
  for (const auto& c : cases) EXPECT_EQ(listFiles(w(c.pattern)), c.want) << c.pattern;
}

// ---- Whole files by name ------------------------------------------------------------------------------

// Deleting, renaming and copying under any spelling, each leaving the folder as it says; a new name is the
// first that no file has in any case; a copy of an open file is what its image holds.
TEST(FileLayer, WholeFilesAreDeletedRenamedAndCopiedByName) {
  const auto files = [](std::map<const char*, Bytes> named) {
    return [named](const TempFolder& f) {
      for (const auto& [name, bytes] : named) f.write(name, bytes);
    };
  };
  // KLVR952.DAT open, holding `records` records of pattern(4, 1), pattern(4, 50), ...
  const auto openWith = [](int records) {
    return [records](const TempFolder&) {
      const int f = open("KLVR952.DAT", 4);
      for (int r = 1; r <= records; ++r) putRecord(f, r, pattern(4, r == 1 ? 1 : 50));
    };
  };
  const Bytes eight = joined({pattern(4), pattern(4, 50)});
  const struct {
    const char* what;
    std::function<void(const TempFolder&)> before;
    std::function<std::string()> act;  // returns the name a new name was given, else nothing
    std::string returned;
    std::map<std::string, Bytes> want;  // the folder after, by UTF-8 name
  } cases[] = {
      {"a closed file is deleted under any spelling", files({{"KLVR952.DAT", pattern(4)}}),
       [] { return deleteFile("klvr952.dat"), std::string(); }, "", {}},
      {"a closed file is renamed under any spelling", files({{"KLVR952.DAT", pattern(4)}}),
       [] { return renameFile("klvr952.dat", "952KLVR.DAT"), std::string(); }, "", {{"952KLVR.DAT", pattern(4)}}},
      {"a change of case alone is no clash with itself", files({{"A.DAT", {1}}, {"B.DAT", {2}}}),
       [] { return renameFile("A.DAT", "a.dat"), std::string(); }, "", {{"B.DAT", {2}}, {"a.dat", {1}}}},
      {"a new name is the first that no file has in any case",
       files({{"Rapor1.pdf", {1}}, {"RAPOR2.PDF", {2}}, {"Rapor4.pdf", {4}}, {".new", {3}}}),
       [] { return renameToNewName(".new", "Rapor", "pdf"); }, "Rapor3.pdf",
       {{"Rapor1.pdf", {1}}, {"RAPOR2.PDF", {2}}, {"Rapor3.pdf", {3}}, {"Rapor4.pdf", {4}}}},
      {"and the next after it",
       files({{"Rapor1.pdf", {1}}, {"RAPOR2.PDF", {2}}, {"Rapor3.pdf", {3}}, {"Rapor4.pdf", {4}}, {".new", {5}}}),
       [] { return renameToNewName(".new", "Rapor", "pdf"); }, "Rapor5.pdf",
       {{"Rapor1.pdf", {1}}, {"RAPOR2.PDF", {2}}, {"Rapor3.pdf", {3}}, {"Rapor4.pdf", {4}}, {"Rapor5.pdf", {5}}}},
      {"an open source is copied as it stands", openWith(1),
       [] { return copyFile("KLVR952.DAT", "952KLVR.DAT"), std::string(); }, "",
       {{"952KLVR.DAT", pattern(4)}, {"KLVR952.DAT", pattern(4)}}},
      {"a copy goes over an older one, under its own name",
       [&](const TempFolder& f) {
         f.write("952KLVR.DAT", pattern(4));
         openWith(2)(f);
       },
       [] { return copyFile("klvr952.dat", "952klvr.dat"), std::string(); }, "",
       {{"952KLVR.DAT", eight}, {"KLVR952.DAT", eight}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    c.before(folder);
    EXPECT_EQ(c.act(), c.returned);
    EXPECT_TRUE(testing::folderState() == c.want);
    for (const auto& [name, bytes] : c.want) {
      EXPECT_TRUE(fileExists(w(name))) << name;
      EXPECT_EQ(fileLengthByName(w(name)), static_cast<std::int64_t>(bytes.size())) << name;
    }
  }
}

// ---- What is refused ----------------------------------------------------------------------------------

// Every refusal names its kind and changes nothing: no file on disk, no open number, no image. A file
// number taken or impossible; a record outside what the file allows, or longer than its records; deleting,
// renaming or copying onto what the program holds open, renaming onto a name that exists, and whatever is
// not there; a name that leaves the working folder.
TEST(FileLayer, WhatIsRefusedChangesNothing) {
  struct Case {
    std::string what;
    std::function<void(const TempFolder&)> before;  // the files, and the numbers open on them
    std::function<void()> call;
    FileError::Kind kind;
  };
  using K = FileError::Kind;
  const auto with = [](std::map<const char*, Bytes> files, std::function<void()> opens = [] {}) {
    return [files, opens](const TempFolder& f) {
      for (const auto& [name, bytes] : files) f.write(name, bytes);
      opens();
    };
  };
  const auto openedAs1 = [](const char* name, int recordLength, std::int32_t maxRecords = kMaxRecords16) {
    return [=] { openRandom(1, name, recordLength, maxRecords); };
  };
  Bytes four(4);
  // KLVR952.DAT open on number 1, holding pattern(4).
  const auto heldOpen = with({{"KLVR952.DAT", pattern(4)}}, openedAs1("KLVR952.DAT", 4));
  std::vector<Case> cases = {
      // File numbers: A.DAT open on 1.
      {"a number taken", with({}, openedAs1("A.DAT", 4)), [] { openRandom(1, "B.DAT", 4); }, K::BadFileNumber},
      {"number 0", with({}, openedAs1("A.DAT", 4)), [] { openRandom(0, "B.DAT", 4); }, K::BadFileNumber},
      {"number 512", with({}, openedAs1("A.DAT", 4)), [] { openRandom(512, "B.DAT", 4); }, K::BadFileNumber},
      {"the count of a number with no file", with({}, openedAs1("A.DAT", 4)), [] { recordCount(7); },
       K::BadFileNumber},
      {"a read from it", with({}, openedAs1("A.DAT", 4)), [&] { getRecord(7, 1, four); }, K::BadFileNumber},
      {"a write to it", with({}, openedAs1("A.DAT", 4)), [&] { putRecord(7, 1, four); }, K::BadFileNumber},
      // Records outside the file's range.
      {"a read of record 0", with({}, openedAs1("R.DAT", 4)), [&] { getRecord(1, 0, four); }, K::BadRecordNumber},
      {"a read of record -1", with({}, openedAs1("R.DAT", 4)), [&] { getRecord(1, -1, four); }, K::BadRecordNumber},
      {"a read of record 32768 of a 16-bit file", with({}, openedAs1("R.DAT", 4)), [&] { getRecord(1, 32768, four); },
       K::BadRecordNumber},
      {"a peek at record 0", with({}, openedAs1("R.DAT", 4)), [] { peekRecord(1, 0); }, K::BadRecordNumber},
      {"a put two records past the end", with({{"W.DAT", Bytes(1024, 1)}}, openedAs1("W.DAT", 512)),
       [] { putRecord(1, 4, record(512, 4)); }, K::BadRecordNumber},
      {"a put of record 0", with({{"W.DAT", Bytes(1024, 1)}}, openedAs1("W.DAT", 512)),
       [] { putRecord(1, 0, record(512, 0)); }, K::BadRecordNumber},
      {"a put of record -5", with({{"W.DAT", Bytes(1024, 1)}}, openedAs1("W.DAT", 512)),
       [] { putRecord(1, -5, record(512, 0)); }, K::BadRecordNumber},
      {"a put past a partial last record", with({{"P.DAT", pattern(700)}}, openedAs1("P.DAT", 512)),
       [] { putRecord(1, 3, record(512, 3)); }, K::BadRecordNumber},
      {"a record longer than the record length", with({}, openedAs1("S.DAT", 4)), [] { putRecord(1, 1, Bytes(5, 1)); },
       K::BadRecordNumber},
      {"a put of record 32768 into a full 16-bit file", with({{"FULL.ABC", Bytes(32767 * 4, 0)}}, openedAs1("FULL.ABC", 4)),
       [] { putRecord(1, 32768, Bytes{1, 2, 3, 4}); }, K::BadRecordNumber},
      // Whole files by name.
      {"deleting an open file", heldOpen, [] { deleteFile("KLVR952.DAT"); }, K::InUse},
      {"deleting it under another spelling", heldOpen, [] { deleteFile("klvr952.dat"); }, K::InUse},
      {"deleting a missing file", with({}), [] { deleteFile("KLVR952.DAT"); }, K::NotFound},
      {"renaming an open file", heldOpen, [] { renameFile("KLVR952.DAT", "952KLVR.DAT"); }, K::InUse},
      {"renaming onto an existing name", with({{"A.DAT", {1}}, {"B.DAT", {2}}}), [] { renameFile("A.DAT", "B.DAT"); },
       K::AlreadyExists},
      {"renaming onto it under another spelling", with({{"A.DAT", {1}}, {"B.DAT", {2}}}),
       [] { renameFile("A.DAT", "b.dat"); }, K::AlreadyExists},
      {"renaming onto an existing name that is open", with({{"A.DAT", {1}}, {"B.DAT", {2}}}, openedAs1("B.DAT", 1)),
       [] { renameFile("A.DAT", "B.DAT"); }, K::AlreadyExists},
      {"renaming a missing file", with({{"A.DAT", {1}}, {"B.DAT", {2}}}), [] { renameFile("NONE.DAT", "C.DAT"); },
       K::NotFound},
      {"a new name for a missing file", with({{"Rapor1.pdf", {1}}, {"Rapor3.pdf", {3}}}),
       [] { renameToNewName(".new", "Rapor", "pdf"); }, K::NotFound},
      {"copying onto an open file", with({{"952KLVR.DAT", pattern(8)}, {"OTHER.DAT", {7}}}, openedAs1("952KLVR.DAT", 4)),
       [] { copyFile("OTHER.DAT", "952KLVR.DAT"); }, K::InUse},
      {"copying a missing file", with({}), [] { copyFile("NONE.DAT", "X.DAT"); }, K::NotFound},
      // Names that leave the working folder.
      {"renaming out of the folder", with({{"A.DAT", {1}}}), [] { renameFile("A.DAT", "../A.DAT"); }, K::BadName},
      {"copying out of the folder", with({{"A.DAT", {1}}}), [] { copyFile("A.DAT", "../A.DAT"); }, K::BadName},
      {"a name with a NUL", with({{"A.DAT", {1}}}), [] { openRandom(1, std::string_view("A\0.DAT", 6), 4); },
       K::BadName},
  };
  for (const char* bad : {"", ".", "..", "../X.DAT", "SUB/X.DAT", "/tmp/X.DAT"}) {
    cases.push_back({std::string("opening \"") + bad + "\"", with({}), [bad] { openRandom(1, bad, 4); }, K::BadName});
    cases.push_back({std::string("asking for \"") + bad + "\"", with({}), [bad] { fileExists(bad); }, K::BadName});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    c.before(folder);
    const Seen before = seen();
    EXPECT_EQ(failure(c.call), c.kind);
    EXPECT_TRUE(seen() == before);
  }
}

}  // namespace
}  // namespace kv
