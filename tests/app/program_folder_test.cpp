// The program's start: the folder it works in, what it says of a folder it cannot work in, and the company
// files in that folder only.
#include <sys/stat.h>

#include <algorithm>

#include "app/program_folder.h"
#include "app_fixture.h"
#include "support/other_program.h"

namespace kv::testing {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public AppTest {
 protected:
  // The names in a folder (UTF-8), sorted.
  static std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The message the start shows ("title|text", UTF-8), empty when it goes on; the working folder is kept.
  std::string told(const std::vector<std::string>& args, const fs::path& current, const fs::path& home) {
    ui.clearShown();
    const fs::path before = workingFolder();
    const bool started = enterProgramFolder(args, current, home);
    const std::vector<std::string> shown = messages();
    if (started || shown.size() != 1 || ui.beeps() != 1 || ui.messages()[0].icon != MsgIcon::Exclamation ||
        workingFolder() != before)
      return started ? "" : "?";
    return shown[0];
  }
};

TEST_F(ProgramFolderTest, AFolderNamedIsTakenAsItIsAndOnlyTheHomeFolderItselfGivesTheProgramsOwn) {
  const fs::path home = folder.path() / "ev";
  fs::create_directories(home / "alt");
  fs::create_directory_symlink(home, folder.path() / "link");
  struct Row {
    std::optional<fs::path> named;
    fs::path current;
    fs::path expected;
    bool own;
  } rows[] = {
      {"/srv/firma", home, "/srv/firma", false},
      {"../firma/", home / "alt", home / "firma", false},
      {".", home, home, false},  // the home folder named: the user wants it
      {"", home, "", false},     // an empty name is no folder, never the current one
      {std::nullopt, home, home / "KALVOR952", true},
      {std::nullopt, folder.path() / "link", home / "KALVOR952", true},  // home by another path
      {std::nullopt, home / "alt", home / "alt", false},
  };
  for (const Row& row : rows) {
    const FolderChoice choice = chooseProgramFolder(row.named, row.current, home);
    EXPECT_EQ(choice.folder, row.expected) << row.current;
    EXPECT_EQ(choice.own, row.own) << row.current;
  }
  EXPECT_EQ(chooseProgramFolder(std::nullopt, home, {}).folder, home);  // home unknown
}

// A folder the program cannot work in is told before the start-up dialog, and nothing is made.
TEST_F(ProgramFolderTest, AFolderThatIsMissingOrIsNoFolderIsToldAndTheProgramEnds) {
  const fs::path here = folder.path();
  folder.write("dosya", {});
  EXPECT_EQ(told({"yok"}, here, here), "! DİKKAT !|\"" + (here / "yok").string() + "\" klasörü bulunamadı!...");
  EXPECT_EQ(told({""}, here, here), "! DİKKAT !|\"\" klasörü bulunamadı!...");
  EXPECT_EQ(told({"dosya"}, here, here), "! DİKKAT !|\"" + (here / "dosya").string() + "\" bir klasör değil!...");
  EXPECT_EQ(namesIn(here), std::vector<std::string>{"dosya"});
}

// A folder that cannot be read, and the program's own that cannot be made, told to another user (the tests
// run as root, who may read and write any folder).
TEST_F(ProgramFolderTest, AFolderThatCannotBeReadOrMadeIsTold) {
  const fs::path closed = folder.path() / "kapali", home = folder.path() / "ev";
  fs::create_directory(closed);
  fs::create_directory(home);
  ::chmod(closed.c_str(), 0);
  ::chmod(home.c_str(), 0555);
  EXPECT_EQ(asAnotherUser([&] {
              return told({closed.string()}, home, home) ==
                             "! DİKKAT !|\"" + closed.string() + "\" klasörü okunamadı!...  (Erişim izni yok)" &&
                         told({}, home, home) == "! DİKKAT !|\"" + (home / "KALVOR952").string() +
                                                     "\" klasörü oluşturulamadı!...  (Erişim izni yok)"
                         ? 0
                         : 1;
            }),
            0);
  ::chmod(closed.c_str(), 0700);
  EXPECT_TRUE(namesIn(home).empty());
}

// Started on a folder, the program opens the company there and leaves the folder it was started in as it was.
TEST_F(ProgramFolderTest, StartedOnAFolderItOpensItsCompanyAndWritesNothingWhereItWasStarted) {
  const fs::path companies = folder.path() / "Şirket Dosyaları";
  fs::create_directory(companies);
  setWorkingFolder(companies);
  Company("ACME").addAll({{"K-1", "Kasnak"}});
  TempFolder started;
  struct Back {
    fs::path to = fs::current_path();
    ~Back() { fs::current_path(to); }
  } back;
  fs::current_path(started.path());

  ASSERT_TRUE(enterProgramFolder({"../" + folder.path().filename().string() + "/Şirket Dosyaları"},
                                 started.path(), started.path()));
  ui.start("frmStart");
  ui.get<ui::ComboBox>("Combo1").Text = "ACME";
  ui.click("cmdOK");
  EXPECT_EQ(visibleName(), "frmKalvor");
  ui.key(ui::Key::Home);
  EXPECT_EQ(text("bilKod"), "K-1");
  EXPECT_EQ(namesIn(companies), (std::vector<std::string>{"ACME.ABC", "ACME.DAT", "ACME.~LCK"}));
  EXPECT_TRUE(namesIn(started.path()).empty());
}

// Started as the desktop's menu starts it, in the home folder, it works in its own folder there, made on
// first start and taken as it is at the next.
TEST_F(ProgramFolderTest, StartedInTheHomeFolderItWorksInItsOwnFolderAndMakesNoCompanyFileInHome) {
  const fs::path home = folder.path();
  ASSERT_TRUE(enterProgramFolder({}, home, home));
  ui.start("frmStart");
  ui.click("cmdOK");
  EXPECT_EQ(visibleName(), "frmKalvor");
  EXPECT_EQ(namesIn(home), std::vector<std::string>{"KALVOR952"});
  EXPECT_EQ(namesIn(home / "KALVOR952"), (std::vector<std::string>{"KLVR952.ABC", "KLVR952.DAT", "KLVR952.~LCK"}));
  setWorkingFolder(home);
  ASSERT_TRUE(enterProgramFolder({}, home, home));
  EXPECT_EQ(workingFolder(), home / "KALVOR952");
}

}  // namespace
}  // namespace kv::testing
