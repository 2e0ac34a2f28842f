// The start-up dialog: the companies offered, the name typed or chosen, and its check.
#include "window_fixture.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <utility>

#include "files/company_lock.h"
#include "files/files.h"
#include "product/product_sort.h"
#include "records/product_file_replacement.h"
#include "support/other_program.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

class StartDialogTest : public WindowTest {
 protected:
  ui::ComboBox& combo() { return ui.get<ui::ComboBox>("Combo1"); }
  std::vector<std::string> offered() {
    std::vector<std::string> out;
    for (int i = 0; i < combo().ListCount(); ++i) out.push_back(toUtf8(combo().List(i)));
    return out;
  }
};

TEST_F(StartDialogTest, OffersTheCompaniesOfTheFolderAndAcceptsTheDefault) {
  folder.write("ABC.DAT", std::vector<std::uint8_t>(1024, 0));
  folder.write("952KLVR.DAT", std::vector<std::uint8_t>(512, 0));
  folder.write("OLD.DAT", {});
  ui.start("frmStart");
  EXPECT_EQ(caption(), " KALVOR 952");
  EXPECT_EQ(offered(), std::vector<std::string>{"ABC"});
  EXPECT_FALSE(fileExists("OLD.DAT"));
  EXPECT_EQ(toUtf8(combo().Text()), "KLVR952");
  ui.click("cmdOK");
  EXPECT_EQ(KALVOR3.CompanyName, "KLVR952");
  EXPECT_EQ(ui.visible()->Name(), "frmKalvor");
  EXPECT_FALSE(ui::forms().isLoaded("frmStart"));
  EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), 0u);
  EXPECT_EQ(folder.bytes("KLVR952.ABC").size(), 436u);
}

TEST_F(StartDialogTest, TypedNamesAreTrimmedUpperCasedAndShownBack) {
  ui.start("frmStart");
  ui.focus("Combo1");
  combo().Text = "";
  ui.type("  çağ2008 ");
  ui.focus("cmdOK");
  EXPECT_EQ(toUtf8(combo().Text()), "ÇAĞ2008");
  ui.click("cmdOK");
  EXPECT_EQ(toUtf8(KALVOR3.CompanyName), "ÇAĞ2008");
  EXPECT_TRUE(fileExists("ÇAĞ2008.DAT"_w));
  EXPECT_TRUE(folder.bytes("ÇAĞ2008.ABC").size() == 436u);
}

TEST_F(StartDialogTest, ChoosingTheEmptyDotDatEntryAcceptsTheDefault) {
  folder.write(".DAT", std::vector<std::uint8_t>(512, 0));
  ui.start("frmStart");
  ASSERT_EQ(offered(), std::vector<std::string>{""});
  ui.pickItem("Combo1", 0);
  ui.click("cmdOK");
  EXPECT_EQ(KALVOR3.CompanyName, "KLVR952");
}

TEST_F(StartDialogTest, NamesWithOtherCharactersOrTheBackupNameAreRefused) {
  ui.start("frmStart");
  for (const char* name : {"MY CO", "A-1", "952KLVR"}) {
    ui.clearShown();
    ui.focus("Combo1");
    combo().Text = "";
    ui.type(name);
    ui.click("cmdOK");
    ASSERT_EQ(ui.messages().size(), 1u) << name;
    EXPECT_EQ(messages()[0],
              std::string(" ! DİKKAT !  \"") + name +
                  ".DAT\" adı uygun değil!|Şirket adı aynı zamanda data dosyalarının ortak adı olup, Türkçe ve/veya "
                  "İngilizce alfabenin büyük harfleri ve rakamlar dışında karakter içermemelidir! Hatayı düzeltin...");
    EXPECT_EQ(ui.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(ui.visible()->Name(), "frmStart");
    EXPECT_EQ(ui.focused(), "Combo1");
  }
  EXPECT_TRUE(listFiles("*").empty());
}

TEST_F(StartDialogTest, ANameTypedAtOnceReplacesTheDefaultAndEnterAcceptsIt) {
  ui.start("frmStart");
  ASSERT_EQ(ui.focused(), "Combo1");
  ui.type("a b");
  ui.key(ui::Key::Enter);
  ASSERT_EQ(ui.messages().size(), 1u);  // refused: the dialog stays
  EXPECT_EQ(ui.visible()->Name(), "frmStart");
  ui.key(ui::Key::Back);
  ui.key(ui::Key::Back);
  ui.type("cme");
  ui.key(ui::Key::Enter);
  EXPECT_EQ(KALVOR3.CompanyName, "ACME");
  EXPECT_EQ(ui.visible()->Name(), "frmKalvor");
}

TEST_F(StartDialogTest, TheCloseBoxEndsTheProgram) {
  ui.start("frmStart");
  ui.closeBox();
  EXPECT_TRUE(ui.ended());
}

// A save killed half way, its record written but not yet flushed: opening the company puts it back and says so.
TEST_F(StartDialogTest, ASaveKilledHalfWayIsPutBackAndToldWhenTheCompanyIsOpened) {
  {
    Company c;
    c.addAll({{"A", "Elma"}, {"B", "Armut"}});
  }
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
  if (fork() == 0) {
    struct KillBeforeTheFlush : FileFaults {
      std::optional<FileFault> fail(FileOp op, std::string_view name, std::int32_t) override {
        if (op == FileOp::Flush && name == "KLVR952.DAT") _exit(0);
        return std::nullopt;
      }
    } kill;
    KALVOR3.CompanyName = "KLVR952";
    KALVOR3.CurrentRecordNumber = 1;
    mainKept().CurrentTab = 1;
    ui.start("frmKalvor");
    ui.focus("bilAd");
    ui.get<ui::TextBox>("bilAd").SelLength = 4;
    ui.type("Ayva");
    setFileFaults(&kill);
    ui.key(ui::Key::F2);
    _exit(1);
  }
  int status = 0;
  wait(&status);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_NE(folder.bytes("KLVR952.DAT"), before);

  ui.start("frmStart");
  ui.click("cmdOK");
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(toUtf8(ui.messages()[0].title), "! DİKKAT !");
  EXPECT_EQ(toUtf8(ui.messages()[0].text), "Son işlem yarıda kalmış!...\r\rDosyalar işlemden önceki haline getirildi...");
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
  EXPECT_EQ(ui.visible()->Name(), "frmKalvor");
  EXPECT_EQ(toUtf8(trim(Company().record(1).Name.view())), "Elma");
}

// A company is one program's at a time: while a command of one program waits halfway through its renames,
// a second program leaves its new empty company alone, is refused the company it works on, told so, and works on another company of the folder, whose
// opening touches none of the first company's side files and temporaries; the first command then ends well.
TEST_F(StartDialogTest, ASecondProgramIsRefusedTheCompanyAnotherOneHasOpenAndWorksOnAnother) {
  {
    Company klvr;
    klvr.addAll({{"A", "Elma"}, {"B", "Armut"}});
    Company firma2("FIRMA2");
    firma2.addAll({{"C", "Ceviz"}});
  }
  int paused[2], resume[2];
  ASSERT_EQ(pipe(paused), 0);
  ASSERT_EQ(pipe(resume), 0);
  const pid_t first = fork();
  if (first == 0) {
    struct PauseAtTheRenames : FileFaults {
      int paused, resume;
      bool once = false;
      std::optional<FileFault> fail(FileOp op, std::string_view, std::int32_t) override {
        if (op != FileOp::Rename || std::exchange(once, true)) return std::nullopt;
        char c = 'p';
        if (write(paused, &c, 1) != 1 || read(resume, &c, 1) != 1) _exit(2);
        return std::nullopt;
      }
    } pause;
    pause.paused = paused[1];
    pause.resume = resume[0];
    setFileFaults(&pause);
    const FileHandle newCompany("YENI.DAT", 1);  // a new company, still empty
    std::vector<std::uint8_t> records(ProductRecord::Length);
    makeProduct("K", "Kalıp").encode(records.data());
    _exit(replaceProductFile("KLVR952", records, quietInsertPolicy()).replaced ? 0 : 1);
  }
  char c = 0;
  ASSERT_EQ(read(paused[0], &c, 1), 1);
  const std::vector<std::string> halfway = listFiles("KLVR952.*");

  ui.start("frmStart");
  EXPECT_TRUE(fileExists("YENI.DAT"));  // another program's empty company is neither offered nor removed
  EXPECT_EQ(offered(), (std::vector<std::string>{"FIRMA2", "KLVR952"}));
  ui.click("cmdOK");
  EXPECT_EQ(messages(), std::vector<std::string>{"! DİKKAT !|\"KLVR952\" şirketi başka bir programda açık!...\r\r"
                                                 "Şirketten o programda çıkın veya başka bir şirket seçin..."});
  EXPECT_EQ(ui.visible()->Name(), "frmStart");
  EXPECT_THROW(FileHandle("KLVR952.DAT", 1), FileError);

  combo().Text = "FIRMA2";
  ui.click("cmdOK");
  EXPECT_EQ(ui.visible()->Name(), "frmKalvor");
  EXPECT_EQ(listFiles("KLVR952.*"), halfway);

  ASSERT_EQ(write(resume[1], &c, 1), 1);
  int status = 0;
  waitpid(first, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), static_cast<std::size_t>(ProductRecord::Length));
  EXPECT_TRUE(listFiles("KLVR952.*~*").empty());
}

// A company is the first program's for its whole session, from the start-up dialog's OK: also while its
// user sits in the operations window, whose main window has let its files go, and from a sort's first read
// to its commit. A second program is refused it all that time.
TEST_F(StartDialogTest, TheCompanyIsTheFirstProgramsForItsWholeSession) {
  {
    Company c;
    c.addAll({{"B", "Zeytin"}, {"A", "Elma"}, {"C", "Armut"}});
  }
  const struct {
    const char* name;
    std::function<void(const std::function<void()>&)> first;
  } cases[] = {
      {"SitsInTheOperationsWindow",
       [this](const std::function<void()>& pause) {
         ui.start("frmStart");
         ui.click("cmdOK");
         ui.key(ui::Key::F6);
         if (ui.visible()->Name() == "frmIslemler") pause();
       }},
      {"SortsBetweenItsReadAndItsCommit",
       [](const std::function<void()>& pause) {
         struct PauseAtTheNewFile : FileFaults {
           std::function<void()> pause;
           bool once = false;
           std::optional<FileFault> fail(FileOp op, std::string_view name, std::int32_t) override {
             if (op == FileOp::Open && name == "KLVR952.DAT.~new" && !std::exchange(once, true)) pause();
             return std::nullopt;
           }
         } atNewFile;
         atNewFile.pause = pause;
         setFileFaults(&atNewFile);
         Transcript said;
         SortReport unseen;
         const bool sorted = sortByCode("KLVR952", unseen, said) == SortResult::Sorted;
         setFileFaults(nullptr);
         if (!sorted) _exit(1);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FirstProgram first(c.first);
    ASSERT_GT(first.pid, 0);
    EXPECT_THROW(FileHandle("KLVR952.DAT", 1), FileError);
    EXPECT_EQ(refusalAsAnotherUser([] { CompanyLock("KLVR952"); }), FileError::Kind::Locked);
    EXPECT_EQ(first.finish(), 0);
  }
}

// A lock file that cannot be used refuses the company with a word on what to do: a folder, a link or a pipe
// in its place (what the lock does with every kind of lock file: tests/files/company_lock_test.cpp).
TEST_F(StartDialogTest, ALockFileThatCannotBeUsedIsToldWithItsReason) {
  namespace fs = std::filesystem;
  {
    Company c;
    c.addAll({{"A", "Elma"}});
  }
  const fs::path lock = folder.path() / "KLVR952.~LCK";
  const struct {
    const char* name;
    std::function<void()> make;
    const char* told;  // the reason the start-up dialog gives
  } cases[] = {
      {"AFolder", [&] { fs::create_directory(lock); }, "Bir klasör"},
      {"ALinkLeadingOutOfTheFolder", [&] { fs::create_symlink(folder.path() / "elsewhere" / "lock", lock); },
       "Bir bağlantı"},
      {"APipe", [&] { mkfifo(lock.c_str(), 0666); }, "Bir dosya değil"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    ui.start("frmStart");
    ui.click("cmdOK");
    EXPECT_EQ(messages(), std::vector<std::string>{"! DOSYA HATASI !|Şirketin kilit dosyası \"KLVR952.~LCK\" "
                                                   "kullanılamıyor!...  (" + std::string(c.told) +
                                                   ")\r\rŞirket hiçbir programda açık değilken bu dosyayı silin "
                                                   "veya şirketi kullanan herkesin okuyup yazabileceği bir dosya "
                                                   "yapın..."});
    EXPECT_EQ(ui.visible()->Name(), "frmStart");
    ui.clearShown();
    fs::remove(lock);
  }
}

}  // namespace
}  // namespace kv::testing
