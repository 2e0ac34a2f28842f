// The start-up dialog: the companies offered, the name typed or chosen, and its check.
#include "window_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <utility>

#include "files/company_lock.h"
#include "files/files.h"
#include "product/product_sort.h"
#include "records/product_file_replacement.h"
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

// Runs `first` in a child process, as a first program, until it calls the pause it is given; returns the
// child, and `resume` lets it go on. Its exit code is 0 when it came to its end.
struct FirstProgram {
  pid_t pid = -1;
  int resumeFd = -1;
  explicit FirstProgram(const std::function<void(const std::function<void()>& pause)>& first) {
    int paused[2], resume[2];
    if (pipe(paused) != 0 || pipe(resume) != 0) return;
    pid = fork();
    if (pid == 0) {
      first([&] {
        char c = 'p';
        if (write(paused[1], &c, 1) != 1 || read(resume[0], &c, 1) != 1) _exit(2);
      });
      _exit(0);
    }
    char c = 0;
    if (read(paused[0], &c, 1) != 1) pid = -1;
    resumeFd = resume[1];
  }
  int finish() const {
    char c = 'r';
    int status = 0;
    if (write(resumeFd, &c, 1) != 1 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }
};

// What `f` returns, run in a child process as another user (nobody, of the group nogroup): 101 when the
// child could not become that user, 102 when it did not come to its end. The tests run as root.
int asAnotherUser(const std::function<int()>& f) {
  const pid_t child = fork();
  if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 ? f() : 101);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 102;
}

// The kind of FileError `f` throws (100 when none), in another user's process when the tests run as root
// (who may open any file), else in this one.
FileError::Kind refusalAsAnotherUser(const std::function<void()>& f) {
  auto kindOf = [&]() -> int {
    try {
      f();
    } catch (const FileError& e) {
      return static_cast<int>(e.kind());
    }
    return 100;
  };
  return static_cast<FileError::Kind>(getuid() != 0 ? kindOf() : asAnotherUser(kindOf));
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

// Two programs that replace two companies of one folder at the same moment make their steps onto the shared
// backups one after the other: the backups are one company's set, never a mix. The first is held between
// its two backups while the second comes to its own.
TEST_F(StartDialogTest, TwoCompaniesReplacedAtOnceLeaveTheBackupsOneCompanysSet) {
  using Backups = std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>>;
  std::map<std::string, Backups> old;
  for (const std::string company : {"A", "B"}) {
    Company(company).add(company);
    old[company] = {folder.bytes(company + ".DAT"), folder.bytes(company + ".ABC")};
  }
  const auto replace = [](const char* company) {
    std::vector<std::uint8_t> records(ProductRecord::Length);
    makeProduct("K").encode(records.data());
    return replaceProductFile(company, records, quietInsertPolicy()).replaced;
  };
  const FirstProgram first([&](const std::function<void()>& pause) {
    struct PauseBetweenTheBackups : FileFaults {
      std::function<void()> pause;
      std::optional<FileFault> fail(FileOp op, std::string_view name, std::int32_t) override {
        if (op == FileOp::Rename && name == "952KLVR.ABC") pause();
        return std::nullopt;
      }
    } between;
    between.pause = pause;
    setFileFaults(&between);
    if (!replace("A")) _exit(1);
  });
  ASSERT_GT(first.pid, 0);
  const pid_t second = fork();
  if (second == 0) _exit(replace("B") ? 0 : 1);
  usleep(300000);  // the second comes to its backups meanwhile
  EXPECT_EQ(first.finish(), 0);
  int status = 0;
  ASSERT_EQ(waitpid(second, &status, 0), second);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const Backups now = {folder.bytes("952KLVR.DAT"), folder.bytes("952KLVR.ABC")};
  EXPECT_TRUE(now == old["A"] || now == old["B"]);
}

// A lock file that a user cannot lock refuses the company with a word on what to do, never letting the
// company go unlocked: a folder, a link or a pipe in its place, one this user cannot read, or may only read
// while nobody holds it, and one that is not there in a folder this user may not write; and one made by a
// first program whose user's umask gave it no write access for others, or by an older program, still
// keeps a second user off, as does a POSIX lock that a file server takes on it for its clients.
TEST_F(StartDialogTest, ALockFileThatCannotBeUsedRefusesTheCompanyOrKeepsItHeld) {
  namespace fs = std::filesystem;
  {
    Company c;
    c.addAll({{"A", "Elma"}});
  }
  const fs::path lock = folder.path() / "KLVR952.~LCK";
  const struct {
    const char* name;
    std::function<void()> make;
    FileError::Kind refused;
    const char* told;  // the reason the start-up dialog gives this user, when it refuses this user too
    bool byAFileServer = false;  // the first program holds a POSIX lock of the whole file, not the company
  } cases[] = {
      {"AFolder", [&] { fs::create_directory(lock); }, FileError::Kind::LockUnusable, "Bir klasör"},
      {"ALinkLeadingOutOfTheFolder", [&] { fs::create_symlink(folder.path() / "elsewhere" / "lock", lock); },
       FileError::Kind::LockUnusable, "Bir bağlantı"},
      {"APipe", [&] { mkfifo(lock.c_str(), 0666); }, FileError::Kind::LockUnusable, "Bir dosya değil"},
      {"UnreadableToTheUser",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms::none);
       },
       FileError::Kind::LockUnusable, nullptr},
      {"HeldByAUserWhoseUmaskLeftItClosed", [] { umask(077); }, FileError::Kind::Locked, nullptr},
      {"HeldAndWritableOnlyByItsOwner",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                   fs::perms::others_read);
       },
       FileError::Kind::Locked, nullptr},
      {"ReadableOnlyAndHeldByNobody",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms(0644));
       },
       FileError::Kind::LockUnusable, nullptr},
      {"LockedByAFileServer",
       [&] {
         folder.write("KLVR952.~LCK", {});
         fs::permissions(lock, fs::perms(0666));
       },
       FileError::Kind::Locked, nullptr, true},
      {"NotThereInAFolderTheUserMayNotWrite",
       [&] { fs::permissions(folder.path(), fs::perms(0755)); },
       FileError::Kind::LockNotMade, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A lock file that can be used is held by a first program, made as the case says.
    const bool held = c.refused == FileError::Kind::Locked;
    std::optional<FirstProgram> first;
    if (held) {
      first.emplace([&](const std::function<void()>& pause) {
        c.make();
        std::optional<CompanyLock> company;
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        if (!c.byAFileServer) company.emplace("KLVR952");
        else if (fcntl(open(lock.c_str(), O_RDWR), F_SETLK, &whole) != 0) _exit(3);
        pause();
      });
    } else {
      c.make();
    }
    EXPECT_EQ(refusalAsAnotherUser([] { CompanyLock("KLVR952"); }), c.refused);
    if (first) {
      EXPECT_EQ(first->finish(), 0);
    }
    if (c.told) {
      ui.start("frmStart");
      ui.click("cmdOK");
      EXPECT_EQ(messages(), std::vector<std::string>{"! DOSYA HATASI !|Şirketin kilit dosyası \"KLVR952.~LCK\" "
                                                     "kullanılamıyor!...  (" + std::string(c.told) +
                                                     ")\r\rŞirket hiçbir programda açık değilken bu dosyayı silin "
                                                     "veya şirketi kullanan herkesin okuyup yazabileceği bir dosya "
                                                     "yapın..."});
      EXPECT_EQ(ui.visible()->Name(), "frmStart");
      ui.clearShown();
    }
    fs::remove(lock);
  }
}

// A shared folder is every user's: what one user's program makes there, or puts in place of a file, another
// user's program opens, whatever the first user's umask: a new company's first files in a group folder, and
// what a sort puts in place of a group's files, which keep their mode and group.
TEST_F(StartDialogTest, WhatOneUserMakesOrReplacesInASharedFolderAnotherUserOpens) {
  namespace fs = std::filesystem;
  if (getuid() != 0) GTEST_SKIP() << "plays a second user";
  const auto toTheGroup = [](const fs::path& p, mode_t mode) {
    return chown(p.c_str(), static_cast<uid_t>(-1), 65534) == 0 && chmod(p.c_str(), mode) == 0;
  };
  const struct {
    const char* name;
    std::function<void()> make;
  } cases[] = {
      {"TheFirstFilesOfANewCompanyInAGroupFolder",
       [&] {
         ASSERT_TRUE(toTheGroup(folder.path(), 02775));
         Company c;
         c.addAll({{"B"}, {"A"}});
       }},
      {"TheFilesASortPutsInPlaceOfAGroupsFiles",
       [&] {
         {
           Company c;
           c.addAll({{"B"}, {"A"}});
         }
         ASSERT_TRUE(toTheGroup(folder.path(), 0775));
         for (const char* file : {"KLVR952.DAT", "KLVR952.ABC"}) ASSERT_TRUE(toTheGroup(folder.path() / file, 0660));
         Transcript said;
         SortReport unseen;
         ASSERT_EQ(sortByCode("KLVR952", unseen, said), SortResult::Sorted);
       }},
  };
  const mode_t umaskBefore = umask(022);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
    c.make();
    EXPECT_EQ(refusalAsAnotherUser([] {
                FileHandle data("KLVR952.DAT", 1);
                FileHandle index("KLVR952.ABC", 1);
              }),
              static_cast<FileError::Kind>(100));
    for (const std::string& file : listFiles("*")) fs::remove(folder.path() / toUtf8(file));
  }
  umask(umaskBefore);
}

// In a shared folder whose sticky bit keeps each user's files theirs (1777, as /tmp), no replacement is
// left waiting for the company's next opening: one of the user's own company goes through where the
// backups are another user's, which stay as they are (the user is told), and one of another user's company
// is refused before anything changes.
TEST_F(StartDialogTest, InAStickyFolderAReplacementIsMadeOrRefusedNeverLeftUnfinished) {
  namespace fs = std::filesystem;
  if (getuid() != 0) GTEST_SKIP() << "plays a second user";
  ASSERT_EQ(chmod(folder.path().c_str(), 01777), 0);
  folder.write("952KLVR.DAT", {'o', 'l', 'd'});
  folder.write("952KLVR.ABC", {'o', 'l', 'd'});
  for (const bool theUsers : {true, false}) {
    SCOPED_TRACE(theUsers ? "TheUsersCompanyAnotherUsersBackups" : "AnotherUsersCompany");
    if (!theUsers) {
      Company c;
      c.addAll({{"B"}, {"A"}});
    }
    const std::vector<std::uint8_t> before = folder.bytes("KLVR952.DAT");
    EXPECT_EQ(asAnotherUser([&] {
                if (theUsers) {
                  Company c;
                  c.addAll({{"B"}, {"A"}});
                }
                std::vector<std::uint8_t> records(ProductRecord::Length);
                makeProduct("K", "Kalıp").encode(records.data());
                const bool replaced = replaceProductFile("KLVR952", records, quietInsertPolicy()).replaced;
                if (isUnfinished("KLVR952")) return 1;
                if (replaced != theUsers) return 2;
                return takeBackupsNotRenewed().size() == (theUsers ? 2u : 0u) ? 0 : 3;
              }),
              0);
    EXPECT_EQ(folder.bytes("952KLVR.DAT"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(folder.bytes("952KLVR.ABC"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    if (theUsers) {
      EXPECT_EQ(folder.bytes("KLVR952.DAT").size(), static_cast<std::size_t>(ProductRecord::Length));
    } else {
      EXPECT_EQ(folder.bytes("KLVR952.DAT"), before);
    }
    EXPECT_TRUE(listFiles("*.~*").empty());  // no temporary, side or lock file is left
    for (const std::string& file : listFiles("KLVR952.*")) fs::remove(folder.path() / toUtf8(file));
  }
}

}  // namespace
}  // namespace kv::testing
