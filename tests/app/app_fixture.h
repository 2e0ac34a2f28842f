// The whole program headless: the product windows, the analysis window and the list dialog registered,
// a company folder, and what the tests of the hand-overs between them look at.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "../product/window_fixture.h"
#include "app/program_windows.h"
#include "files/files.h"

namespace kv::testing {

class AppTest : public WindowTest {
 protected:
  AppTest() { registerProgramWindows(); }

  // A company of products {code, name, kind}, the main window opened on record `current` of tab `tab`.
  void openMainOn(const std::vector<Company::Spec>& specs, int current, int tab) {
    {
      Company c;
      c.addAll(specs);
    }
    KALVOR3.CurrentRecordNumber = static_cast<std::int16_t>(current);
    mainKept().CurrentTab = static_cast<std::int16_t>(tab);
    openMain();
  }

  // The analysis window straight on record `current`, as the main window leaves it, on the working date.
  void openAnalysisOn(int current, Date workingDate = Date::fromYmd(2008, 3, 5)) {
    KALVOR3.CompanyName = "KLVR952";
    KALVOR3.StaticDate = workingDate;
    KALVOR3.CurrentRecordNumber = static_cast<std::int16_t>(current);
    ui.start("frmAnaliz");
  }

  // The file of every file number the program holds open, whoever opened it (UTF-8).
  static std::vector<std::string> openFiles() {
    std::vector<std::string> names;
    for (int number = 1; number <= 511; ++number)
      if (isOpen(number)) names.push_back(toUtf8(openFileName(number)));
    return names;
  }
  static int openHandles() { return static_cast<int>(openFiles().size()); }
  std::string visibleName() const { return ui.visible() ? ui.visible()->Name() : std::string(); }
  bool loaded(std::string_view name) { return ui.app().forms().isLoaded(name); }
  // How often a window's title was set to `utf8`.
  int titleCount(std::string_view form, std::string_view utf8) {
    int n = 0;
    for (const std::string& c : ui.captions(form))
      if (toUtf8(c) == utf8) ++n;
    return n;
  }
};

}  // namespace kv::testing
