// The main window on a disk that fails: the command stops with a message naming the file, the program goes
// on, nothing is half-written, and the window works again once the disk does.
#include <cerrno>

#include "main_window_fixture.h"
#include "support/file_faults.h"

namespace kv::testing {
namespace {

class MainWindowFileErrorsTest : public MainWindowTest {
 protected:
  std::string lastMessage() { return messages().empty() ? "" : messages().back(); }
};

// A code changed too: the record has left its place in the chain before the write fails, and is back.
TEST_F(MainWindowFileErrorsTest, ASaveThatCannotWriteChangesNothingAndCanBeDoneAgain) {
  openOn({{"A1"}, {"B1"}, {"C1"}}, 2, 1);
  const auto dat = folder.bytes("KLVR952.DAT"), abc = folder.bytes("KLVR952.ABC");
  fill("bilKod", "Z1");
  fill("bilAd", "Kasnak");
  {
    FailOn broken(FileOp::Write, "KLVR952.DAT", EIO);
    ui.answer(MsgAnswer::Yes);
    ui.key(Key::F2);
  }
  EXPECT_EQ(lastMessage(), "! DOSYA HATASI !|\"KLVR952.DAT\" dosyasına yazılamadı!...  (Okuma/yazma hatası)");
  EXPECT_FALSE(ui.ended());
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), dat);
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), abc);
  EXPECT_EQ(chain(), (Strings{"A1", "B1", "C1"}));
  ui.answer(MsgAnswer::Yes);
  ui.key(Key::F2);
  EXPECT_EQ(chain(), (Strings{"A1", "C1", "Z1"}));
  EXPECT_EQ(toUtf8(trim(stored(2).Name.view())), "Kasnak");
}

TEST_F(MainWindowFileErrorsTest, ANewRecordOnAFullDiskIsNotAddedAndTheEntryStays) {
  openOn({{"A1"}}, 1, 1);
  newEntry("B1", "Mil");
  {
    FailOn full(FileOp::Write, "KLVR952.DAT", ENOSPC);
    ui.key(Key::F2);
  }
  EXPECT_EQ(lastMessage(), "! DOSYA HATASI !|\"KLVR952.DAT\" dosyasına yazılamadı!...  (Disk dolu)");
  EXPECT_EQ(recordsOnDisk(), 1);
  EXPECT_EQ(chain(), Strings{"A1"});
  EXPECT_EQ(text("bilKod"), "B1");
  ui.key(Key::F2);
  EXPECT_EQ(chain(), (Strings{"A1", "B1"}));
}

TEST_F(MainWindowFileErrorsTest, AProductFileThatCannotBeOpenedIsToldAndTheProgramCanStillEnd) {
  makeCompany({{"A1"}});
  KALVOR3.CurrentRecordNumber = 1;
  {
    FailOn refused(FileOp::Open, "KLVR952.DAT", EACCES);
    openMain();
  }
  ASSERT_FALSE(messages().empty());
  EXPECT_EQ(messages().front(), "! DOSYA HATASI !|\"KLVR952.DAT\" dosyası açılamadı!...  (Erişim izni yok)");
  EXPECT_FALSE(ui.ended());
  ui.key(Key::Escape);
  EXPECT_TRUE(ui.ended());
}

}  // namespace
}  // namespace kv::testing
