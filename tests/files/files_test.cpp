// The file layer on real files in a temporary folder: file numbers, shared images written through to
// disk, record counts, the limits of get and put, names without regard to case, and what is refused
// while a file is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "support/company.h"

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

class FileLayer : public ::testing::Test {
 protected:
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
  std::vector<std::string> namesOnDisk() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder.path()))
      if (e.path().extension() != ".~LCK") out.push_back(e.path().filename().string());  // while a file is open
    std::sort(out.begin(), out.end());
    return out;
  }

  TempFolder folder;
};

TEST_F(FileLayer, FileNumbersAreTheLowestFreeOnes) {
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

TEST_F(FileLayer, TakenOrImpossibleFileNumbersAreRefused) {
  openRandom(1, "A.DAT", 4);
  EXPECT_EQ(failure([] { openRandom(1, "B.DAT", 4); }), FileError::Kind::BadFileNumber);
  EXPECT_EQ(failure([] { openRandom(0, "B.DAT", 4); }), FileError::Kind::BadFileNumber);
  EXPECT_EQ(failure([] { openRandom(512, "B.DAT", 4); }), FileError::Kind::BadFileNumber);
  EXPECT_EQ(failure([] { recordCount(7); }), FileError::Kind::BadFileNumber);
  Bytes b(4);
  EXPECT_EQ(failure([&] { getRecord(7, 1, b); }), FileError::Kind::BadFileNumber);
  EXPECT_EQ(failure([&] { putRecord(7, 1, b); }), FileError::Kind::BadFileNumber);
  EXPECT_FALSE(fileExists("B.DAT"));
}

TEST_F(FileLayer, OpeningCreatesAMissingFileEmpty) {
  int f = open("KLVR952.DAT", 512);
  EXPECT_TRUE(fs::exists(folder.path() / "KLVR952.DAT"));
  EXPECT_TRUE(fileExists("KLVR952.DAT"));
  EXPECT_EQ(fileLength(f), 0);
  EXPECT_EQ(recordCount(f), 0);
  EXPECT_EQ(openFileName(f), "KLVR952.DAT");
}

TEST_F(FileLayer, HandlesOnOneFileShareOneImageWrittenThroughToDisk) {
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

TEST_F(FileLayer, TheImageOutlivesTheHandleThatOpenedIt) {
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

TEST_F(FileLayer, ACountIsTheLengthOverTheRecordLengthRoundedHalfToEven) {
  struct Case {
    std::size_t length;
    std::int32_t count;
  };
  for (Case c : {Case{0, 0}, Case{255, 0}, Case{256, 0}, Case{257, 1}, Case{511, 1}, Case{512, 1}, Case{700, 1},
                 Case{767, 1}, Case{768, 2}, Case{1280, 2}, Case{1281, 3}, Case{1792, 4}}) {
    folder.write("C.DAT", Bytes(c.length, 0x20));
    int f = open("C.DAT", 512);
    EXPECT_EQ(recordCount(f), c.count) << c.length << " bytes";
    closeFile(f);
    EXPECT_EQ(recordCountByName("c.dat", 512), c.count) << c.length << " bytes, by name";
  }
}

TEST_F(FileLayer, ACountOfA16BitFileStopsAt32767) {
  folder.write("BIG.DAT", Bytes(32768 * 4 + 4 * 5, 0));
  int f16 = open("BIG.DAT", 4);
  EXPECT_EQ(recordCount(f16), 32767);
  EXPECT_EQ(fileLength(f16), 32773 * 4);
  int f32 = open("BIG.DAT", 4, kMaxRecords32);
  EXPECT_EQ(recordCount(f32), 32773);
  EXPECT_EQ(recordCountByName("BIG.DAT", 4), 32767);
}

TEST_F(FileLayer, ReadsBeyondTheEndGiveZerosAndAPartialLastRecordIsZeroFilled) {
  folder.write("P.DAT", pattern(700));
  int f = open("P.DAT", 512);
  EXPECT_EQ(read(f, 1, 512), pattern(512));
  Bytes partial = read(f, 2, 512);
  Bytes want(512, 0);
  std::copy_n(pattern(700).begin() + 512, 188, want.begin());
  EXPECT_EQ(partial, want);
  EXPECT_EQ(read(f, 3, 512), Bytes(512, 0));
  EXPECT_EQ(read(f, 32767, 512), Bytes(512, 0));
  auto peek = peekRecord(f, 2);
  EXPECT_EQ(Bytes(peek.begin(), peek.end()), want);
  auto beyond = peekRecord(f, 9);
  EXPECT_EQ(Bytes(beyond.begin(), beyond.end()), Bytes(512, 0));
  EXPECT_EQ(fileLength(f), 700);  // reading never lengthens the file
  EXPECT_EQ(folder.bytes("P.DAT").size(), 700u);
}

TEST_F(FileLayer, RecordNumbersOutsideTheFilesRangeAreRefusedForReading) {
  int f = open("R.DAT", 4);
  Bytes b(4);
  EXPECT_EQ(failure([&] { getRecord(f, 0, b); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(failure([&] { getRecord(f, -1, b); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(failure([&] { getRecord(f, 32768, b); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(failure([&] { peekRecord(f, 0); }), FileError::Kind::BadRecordNumber);
  int g = open("R.DAT", 4, kMaxRecords32);
  EXPECT_EQ(read(g, 40000, 4), Bytes(4, 0));
}

TEST_F(FileLayer, APutGoesAtMostOneRecordPastTheEnd) {
  int f = open("W.DAT", 512);
  putRecord(f, 1, record(512, 1));
  putRecord(f, 2, record(512, 2));
  const Bytes before = folder.bytes("W.DAT");

  EXPECT_EQ(failure([&] { putRecord(f, 4, record(512, 4)); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(failure([&] { putRecord(f, 0, record(512, 0)); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(failure([&] { putRecord(f, -5, record(512, 0)); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(folder.bytes("W.DAT"), before);
  EXPECT_EQ(recordCount(f), 2);

  putRecord(f, 3, record(512, 3));
  putRecord(f, 1, record(512, 7));  // overwriting leaves the other records alone
  Bytes want = record(512, 7);
  for (std::uint8_t k : {2, 3}) {
    Bytes r = record(512, k);
    want.insert(want.end(), r.begin(), r.end());
  }
  EXPECT_EQ(folder.bytes("W.DAT"), want);
}

TEST_F(FileLayer, APutOverAPartialLastRecordReplacesItWhole) {
  folder.write("P.DAT", pattern(700));
  int f = open("P.DAT", 512);
  EXPECT_EQ(failure([&] { putRecord(f, 3, record(512, 3)); }), FileError::Kind::BadRecordNumber);
  putRecord(f, 2, record(512, 9));
  Bytes want = pattern(512);
  Bytes nines = record(512, 9);
  want.insert(want.end(), nines.begin(), nines.end());
  EXPECT_EQ(folder.bytes("P.DAT"), want);
}

TEST_F(FileLayer, ARecordLongerThanTheRecordLengthIsRefused) {
  int f = open("S.DAT", 4);
  EXPECT_EQ(failure([&] { putRecord(f, 1, Bytes(5, 1)); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(fileLength(f), 0);
}

TEST_F(FileLayer, A16BitFileNeverGrowsPastRecord32767) {
  folder.write("FULL.ABC", Bytes(32767 * 4, 0));
  int f = open("FULL.ABC", 4);
  EXPECT_EQ(recordCount(f), 32767);
  EXPECT_EQ(failure([&] { putRecord(f, 32768, Bytes{1, 2, 3, 4}); }), FileError::Kind::BadRecordNumber);
  EXPECT_EQ(fileLengthByName("FULL.ABC"), 32767 * 4);
  putRecord(f, 32767, Bytes{1, 2, 3, 4});
  EXPECT_EQ(read(f, 32767, 4), (Bytes{1, 2, 3, 4}));

  int g = open("FULL.ABC", 4, kMaxRecords32);  // the recipe files count further
  putRecord(g, 32768, Bytes{5, 6, 7, 8});
  EXPECT_EQ(recordCount(g), 32768);
  EXPECT_EQ(recordCount(f), 32767);
}

TEST_F(FileLayer, NamesAreMatchedWithoutRegardToCase) {
  folder.write("KLVR952.DAT", pattern(4));
  int f = open("klvr952.dat", 4);
  EXPECT_EQ(read(f, 1, 4), pattern(4));
  EXPECT_EQ(openFileName(f), "KLVR952.DAT");
  EXPECT_EQ(diskName("Klvr952.Dat"), "KLVR952.DAT");
  EXPECT_EQ(diskName("NONE.DAT"), "NONE.DAT");
  EXPECT_TRUE(fileExists("kLvR952.DaT"));
  EXPECT_EQ(fileLengthByName("klvr952.dat"), 4);
  EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"KLVR952.DAT"});
}

TEST_F(FileLayer, TurkishNamesAreStoredInUtf8AndMatchedByTurkishCase) {
  int f = open("ÇAĞ2008.DAT"_w, 4);
  putRecord(f, 1, Bytes{1, 2, 3, 4});
  EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"ÇAĞ2008.DAT"});
  EXPECT_EQ(folder.bytes("ÇAĞ2008.DAT"), (Bytes{1, 2, 3, 4}));
  EXPECT_TRUE(fileExists("çağ2008.dat"_w));
  EXPECT_EQ(diskName("çağ2008.dat"_w), "ÇAĞ2008.DAT"_w);

  folder.write("İSTİF.DAT", Bytes(8, 0));
  folder.write("IRMAK.DAT", Bytes(12, 0));
  EXPECT_EQ(fileLengthByName("istif.dat"), 8);
  EXPECT_EQ(fileLengthByName("ırmak.dat"_w), 12);
  EXPECT_EQ(diskName("irmak.dat"), "IRMAK.DAT");  // a name typed on a keyboard without ı still finds it
}

TEST_F(FileLayer, ListingMatchesThePatternWithoutRegardToCase) {
  for (const char* name : {"B.DAT", "a.dat", ".DAT", "ÇAĞ.DAT", "C.DATX", "D.ABC", "DAT", "KLVR952.LST"})
    folder.write(name, Bytes(1, 0));
  fs::create_directory(folder.path() / "SUB.DAT");
  folder.write("\xFF\xFE.DAT", Bytes(1, 0));  // not UTF-8: no name the program could use

  EXPECT_EQ(listFiles("*.DAT"), (std::vector<std::string>{".DAT", "B.DAT", "a.dat", "ÇAĞ.DAT"_w}));
  EXPECT_EQ(listFiles("*.dat"), listFiles("*.DAT"));
  EXPECT_EQ(listFiles("?.DAT"), (std::vector<std::string>{"B.DAT", "a.dat"}));
  EXPECT_EQ(listFiles("klvr952.*"), (std::vector<std::string>{"KLVR952.LST"}));
  EXPECT_EQ(listFiles("çağ.*"_w), (std::vector<std::string>{"ÇAĞ.DAT"_w}));
  EXPECT_EQ(listFiles("*.XYZ"), std::vector<std::string>{});
  EXPECT_EQ(listFiles("*").size(), 8u);
}

TEST_F(FileLayer, AnOpenFileCannotBeDeleted) {
  int f = open("KLVR952.DAT", 4);
  putRecord(f, 1, pattern(4));
  EXPECT_EQ(failure([] { deleteFile("KLVR952.DAT"); }), FileError::Kind::InUse);
  EXPECT_EQ(failure([] { deleteFile("klvr952.dat"); }), FileError::Kind::InUse);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), pattern(4));
  closeFile(f);
  deleteFile("klvr952.dat");
  EXPECT_FALSE(fileExists("KLVR952.DAT"));
  EXPECT_TRUE(namesOnDisk().empty());
  EXPECT_EQ(failure([] { deleteFile("KLVR952.DAT"); }), FileError::Kind::NotFound);
}

TEST_F(FileLayer, AnOpenFileCannotBeRenamed) {
  int f = open("KLVR952.DAT", 4);
  putRecord(f, 1, pattern(4));
  EXPECT_EQ(failure([] { renameFile("KLVR952.DAT", "952KLVR.DAT"); }), FileError::Kind::InUse);
  EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"KLVR952.DAT"});
  EXPECT_EQ(read(f, 1, 4), pattern(4));
  closeFile(f);
  renameFile("klvr952.dat", "952KLVR.DAT");
  EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"952KLVR.DAT"});
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), pattern(4));
}

TEST_F(FileLayer, RenamingOntoAnExistingNameIsRefused) {
  folder.write("A.DAT", Bytes{1});
  folder.write("B.DAT", Bytes{2});
  EXPECT_EQ(failure([] { renameFile("A.DAT", "B.DAT"); }), FileError::Kind::AlreadyExists);
  EXPECT_EQ(failure([] { renameFile("A.DAT", "b.dat"); }), FileError::Kind::AlreadyExists);
  EXPECT_EQ(folder.bytes("A.DAT"), Bytes{1});
  EXPECT_EQ(folder.bytes("B.DAT"), Bytes{2});
  EXPECT_EQ(failure([] { renameFile("NONE.DAT", "C.DAT"); }), FileError::Kind::NotFound);

  int b = open("B.DAT", 1);
  EXPECT_EQ(failure([] { renameFile("A.DAT", "B.DAT"); }), FileError::Kind::AlreadyExists);
  closeFile(b);
  renameFile("A.DAT", "a.dat");  // a change of case alone is no clash with itself
  EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"B.DAT", "a.dat"}));
  EXPECT_EQ(folder.bytes("a.dat"), Bytes{1});
}

TEST_F(FileLayer, ANewNameIsTheFirstThatNoFileHasInAnyCase) {
  folder.write("Rapor1.pdf", Bytes{1});
  folder.write("RAPOR2.PDF", Bytes{2});
  folder.write("Rapor4.pdf", Bytes{4});
  folder.write(".new", Bytes{3});
  EXPECT_EQ(renameToNewName(".new", "Rapor", "pdf"), "Rapor3.pdf");
  folder.write(".new", Bytes{5});
  EXPECT_EQ(renameToNewName(".new", "Rapor", "pdf"), "Rapor5.pdf");
  EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"RAPOR2.PDF", "Rapor1.pdf", "Rapor3.pdf", "Rapor4.pdf", "Rapor5.pdf"}));
  EXPECT_EQ(folder.bytes("Rapor3.pdf"), Bytes{3});
  EXPECT_EQ(folder.bytes("Rapor4.pdf"), Bytes{4});
  EXPECT_EQ(failure([] { renameToNewName(".new", "Rapor", "pdf"); }), FileError::Kind::NotFound);
}

TEST_F(FileLayer, CopyingWritesTheBytesAndRefusesAnOpenTarget) {
  int f = open("KLVR952.DAT", 4);
  putRecord(f, 1, pattern(4));
  copyFile("KLVR952.DAT", "952KLVR.DAT");  // an open source is copied as it stands
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), pattern(4));

  putRecord(f, 2, pattern(4, 50));
  copyFile("klvr952.dat", "952klvr.dat");  // over the older copy, under its own name
  EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"952KLVR.DAT", "KLVR952.DAT"}));
  EXPECT_EQ(folder.bytes("952KLVR.DAT"), folder.bytes("KLVR952.DAT"));
  EXPECT_EQ(fileLengthByName("952KLVR.DAT"), 8);

  int g = open("952KLVR.DAT", 4);
  folder.write("OTHER.DAT", Bytes{7});
  EXPECT_EQ(failure([] { copyFile("OTHER.DAT", "952KLVR.DAT"); }), FileError::Kind::InUse);
  EXPECT_EQ(fileLength(g), 8);
  EXPECT_EQ(folder.bytes("952KLVR.DAT").size(), 8u);
  EXPECT_EQ(failure([] { copyFile("NONE.DAT", "X.DAT"); }), FileError::Kind::NotFound);
  EXPECT_FALSE(fileExists("X.DAT"));
}

TEST_F(FileLayer, MissingFilesHaveNoLength) {
  EXPECT_EQ(fileLengthByName("NONE.DAT"), 0);
  EXPECT_FALSE(fileExists("NONE.DAT"));
  fs::create_directory(folder.path() / "DIR.DAT");
  EXPECT_FALSE(fileExists("DIR.DAT"));
}

TEST_F(FileLayer, NamesThatLeaveTheWorkingFolderAreRefused) {
  for (const char* bad : {"", ".", "..", "../X.DAT", "SUB/X.DAT", "/tmp/X.DAT"}) {
    EXPECT_EQ(failure([&] { openRandom(1, bad, 4); }), FileError::Kind::BadName) << bad;
    EXPECT_EQ(failure([&] { fileExists(bad); }), FileError::Kind::BadName) << bad;
  }
  folder.write("A.DAT", Bytes{1});
  EXPECT_EQ(failure([] { renameFile("A.DAT", "../A.DAT"); }), FileError::Kind::BadName);
  EXPECT_EQ(failure([] { copyFile("A.DAT", "../A.DAT"); }), FileError::Kind::BadName);
  EXPECT_TRUE(fileExists("A.DAT"));
  EXPECT_EQ(failure([] { openRandom(1, std::string_view("A\0.DAT", 6), 4); }), FileError::Kind::BadName);
}

}  // namespace
}  // namespace kv
