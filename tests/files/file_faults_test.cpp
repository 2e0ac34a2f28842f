// The file layer when the system refuses a call: every failure names its file, its operation and the
// system's reason, the image stays what is on disk, and nothing else changes.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "files/files.h"
#include "support/company.h"
#include "support/file_faults.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using testing::FailOn;
using testing::inCall;
using testing::TempFolder;
using Bytes = std::vector<std::uint8_t>;

// Every file of the folder with its bytes.
std::map<std::string, Bytes> snapshot(const TempFolder& folder) {
  std::map<std::string, Bytes> all;
  for (const auto& e : fs::directory_iterator(folder.path()))
    if (e.path().extension() != ".~LCK")  // lives while a file is open
      all[e.path().filename().string()] = folder.bytes(e.path().filename().string());
  return all;
}

// The FileError that f throws (the test fails when it throws none).
FileError errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const FileError& e) {
    return e;
  }
  ADD_FAILURE() << "no FileError";
  return FileError(FileError::Kind::Io, FileOp::NotOpen, "");
}

// What an open file holds as the layer sees it: its shared image, read through a handle of one byte records.
Bytes imageOf(std::string_view name) {
  FileHandle bytes(name, 1);
  Bytes b(static_cast<std::size_t>(bytes.length()));
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = bytes.peek(static_cast<std::int32_t>(i + 1))[0];
  return b;
}

TEST(FileFaults, EveryRefusedCallNamesItsFileAndOperationAndChangesNothing) {
  struct Case {
    FileOp op;
    std::function<void(int file)> call;  // file: KLVR952.DAT open on one byte records
    std::string name;
  };
  const Case cases[] = {
      {FileOp::Open, [](int) { openRandom(9, "klvr952.abc", 1); }, "KLVR952.ABC"},
      {FileOp::Read, [](int) { openRandom(9, "KLVR952.ABC", 1); }, "KLVR952.ABC"},
      {FileOp::Write, [](int f) { putRecord(f, 2, Bytes{9}); }, "KLVR952.DAT"},
      {FileOp::Flush, [](int f) { syncFile(f); }, "KLVR952.DAT"},
      {FileOp::Flush, [](int) { syncFileByName("klvr952.abc"); }, "KLVR952.ABC"},
      {FileOp::Delete, [](int) { deleteFile("klvr952.abc"); }, "KLVR952.ABC"},
      {FileOp::Rename, [](int) { renameFile("KLVR952.ABC", "YENİ.ABC"); }, "KLVR952.ABC"},
      {FileOp::Rename, [](int) { replaceFile("952KLVR.ABC", "KLVR952.ABC"); }, "KLVR952.ABC"},
      {FileOp::Copy, [](int) { copyFile("KLVR952.ABC", "952KLVR.ABC"); }, "952KLVR.ABC"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    folder.write("KLVR952.DAT", Bytes{1, 2});
    folder.write("KLVR952.ABC", Bytes{3, 4, 5});
    folder.write("952KLVR.ABC", Bytes{6});
    const int dat = nextFreeFileNumber();
    openRandom(dat, "KLVR952.DAT", 1);
    const auto before = snapshot(folder);
    FailOn refused(c.op, "", EACCES);
    const FileError e = errorOf([&] { c.call(dat); });
    EXPECT_EQ(e.op(), c.op) << c.name;
    EXPECT_EQ(e.kind(), FileError::Kind::Io) << c.name;
    EXPECT_EQ(e.systemError(), EACCES) << c.name;
    EXPECT_EQ(e.fileName(), c.name);
    EXPECT_EQ(refused.failures(), 1);
    EXPECT_EQ(snapshot(folder), before) << c.name;
    EXPECT_EQ(imageOf("KLVR952.DAT"), (Bytes{1, 2}));
    EXPECT_FALSE(isOpen(9));
    EXPECT_FALSE(fileIsOpen("KLVR952.ABC"));
  }
}

TEST(FileFaults, AHandleThatIsNotOpenNamesItsFile) {
  TempFolder folder;
  FileHandle never;
  EXPECT_EQ(errorOf([&] { never.count(); }).op(), FileOp::NotOpen);
  FileHandle index;
  {
    FailOn locked(FileOp::Open, "KLVR952.ABC", EACCES);
    EXPECT_EQ(errorOf([&] { index.open("KLVR952.ABC", 4); }).systemError(), EACCES);
  }
  EXPECT_FALSE(index.isOpen());
  for (const auto& call : std::vector<std::function<void()>>{[&] { index.count(); }, [&] { index.peek(1); },
                                                             [&] { index.sync(); }}) {
    const FileError e = errorOf(call);
    EXPECT_EQ(e.op(), FileOp::NotOpen);
    EXPECT_EQ(e.kind(), FileError::Kind::BadFileNumber);
    EXPECT_EQ(e.fileName(), "KLVR952.ABC");
  }
  const FileError bare = errorOf([] { recordCount(7); });
  EXPECT_EQ(bare.op(), FileOp::NotOpen);
  EXPECT_EQ(bare.fileName(), "");
}

// A write or a copy the system cuts short (a disk filling up) keeps the system's reason.
TEST(FileFaults, AWriteOrACopyTheSystemCutsShortKeepsTheReasonAndTheImageAsTheDisk) {
  TempFolder folder;
  Bytes old(700);
  for (std::size_t i = 0; i < old.size(); ++i) old[i] = static_cast<std::uint8_t>(i);
  folder.write("KLVR952.DAT", old);
  folder.write("KLVR952.ABC", Bytes(3000, 1));
  FileHandle dat("KLVR952.DAT", 512);
  // The system lets the file grow to 800 bytes: the record from 512 to 1024 is written in part.
  auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 800;
  setrlimit(RLIMIT_FSIZE, &small);
  const FileError e = errorOf([&] { putRecord(dat.number(), 2, Bytes(512, 0xAB)); });
  const FileError copied = errorOf([] { copyFile("KLVR952.ABC", "952KLVR.ABC"); });
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldSignal);

  EXPECT_EQ(e.systemError(), EFBIG);
  EXPECT_EQ(copied.systemError(), EFBIG);
  Bytes want = old;  // what reached the old length stays; what went past it is cut off again
  std::fill(want.begin() + 512, want.end(), 0xAB);
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), want);
  EXPECT_EQ(imageOf("KLVR952.DAT"), want);
}

TEST(FileFaults, AWriteThatFailsInsideTheSystemLeavesTheImageAsTheDiskAndIsNeverASuccess) {
  std::mt19937 rng(21);
  const auto randomBytes = [&](std::size_t n, int from) {  // each from `from` to `from` + 0x7F
    Bytes b(n);
    for (auto& x : b) x = static_cast<std::uint8_t>(from + static_cast<int>(rng() % 0x80));
    return b;
  };
  for (int round = 0; round < 300; ++round) {
    TempFolder folder;
    const std::size_t length = 1 + rng() % 8;
    const Bytes old = randomBytes(rng() % (4 * length), 0);  // often none at all: the first write into a new file
    if (!old.empty()) folder.write("KLVR952.DAT", old);
    FileHandle dat("KLVR952.DAT", static_cast<int>(length));
    const auto n = static_cast<std::int32_t>(1 + rng() % static_cast<std::size_t>(dat.count() + 1));
    const Bytes rec = randomBytes(length, 0x80);  // differs from every old byte
    const std::size_t written = rng() % (length + 2);
    const int error = round % 2 ? ENOSPC : EIO;

    // What the disk holds: the bytes that reached it, but of a failed write none past the old end.
    const std::size_t offset = static_cast<std::size_t>(n - 1) * length;
    Bytes want = old;
    if (written >= length) want.resize(std::max(old.size(), offset + length), 0);
    for (std::size_t i = offset; i < std::min(offset + std::min(written, length), want.size()); ++i)
      want[i] = rec[i - offset];
    {
      FailOn full(FileOp::Write, "KLVR952.DAT", inCall(error, written));
      if (written >= length) {
        putRecord(dat.number(), n, rec);
      } else {
        const FileError e = errorOf([&] { putRecord(dat.number(), n, rec); });
        EXPECT_EQ(e.op(), FileOp::Write);
        EXPECT_EQ(e.systemError(), error);
        EXPECT_EQ(e.fileName(), "KLVR952.DAT");
      }
    }
    EXPECT_EQ(folder.bytes("KLVR952.DAT"), want) << round;
    EXPECT_EQ(imageOf("KLVR952.DAT"), want) << round;
  }
}

TEST(FileFaults, ANewNameTakenMeanwhileIsPassedOver) {
  TempFolder folder;
  folder.write(".new", Bytes{1});
  {
    FailOn taken(FileOp::Rename, "Rapor1.pdf", inCall(EEXIST));
    EXPECT_EQ(renameToNewName(".new", "Rapor", "pdf"), "Rapor2.pdf");
  }
  folder.write(".new", Bytes{2});
  FailOn refused(FileOp::Rename, "", inCall(EACCES));
  EXPECT_EQ(errorOf([] { renameToNewName(".new", "Rapor", "pdf"); }).systemError(), EACCES);
  EXPECT_EQ(folder.bytes(".new"), Bytes{2});
}

}  // namespace
}  // namespace kv
