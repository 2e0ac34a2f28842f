// A company folder and the headless forms layer with the product windows registered, the clock standing
// still on 5 March 2008 and a seeded random source: the start of every test of the product windows.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/clock.h"
#include "base/text.h"
#include "product/frmKalvor.h"
#include "product/windows.h"
#include "records/kalvor3.h"
#include "support/company.h"
#include "ui/headless_driver.h"
#include "ui/ui.h"

namespace kv::testing {

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : today(Date::fromYmd(2008, 3, 5), 10 * 3600.0), random(makeSeededRandom(952)) {
    KALVOR3 = Kalvor3{};
    setClock(&today);
    setRandomSource(random.get());
    registerProductWindows();
    ui.setScreen(1024, 768);
  }
  ~WindowTest() override {
    setClock(nullptr);
    setRandomSource(nullptr);
  }

  // Opens the main window on a company, as the start-up dialog would.
  void openMain(const std::string& companyUtf8 = "KLVR952") {
    KALVOR3.CompanyName = w(companyUtf8);
    ui.start("frmKalvor");
  }

  // The main window, loaded, and what it keeps while it is unloaded (the kind tab it opens on).
  frmKalvor& mainWindow() { return ui.app().forms().get<frmKalvor>("frmKalvor"); }
  MainWindowKept& mainKept() { return ui.app().forms().kept<MainWindowKept>("frmKalvor"); }

  ui::TextBox& box(std::string_view name) { return ui.get<ui::TextBox>(name); }
  std::string text(std::string_view name) { return toUtf8(box(name).Text()); }
  std::string caption() { return toUtf8(ui.visible()->Caption()); }
  std::string label(std::string_view name) { return toUtf8(ui.get<ui::Label>(name).Caption()); }
  bool enabled(std::string_view name) { return ui.control(name).Enabled(); }
  bool option(std::string_view name) { return ui.get<ui::OptionButton>(name).Value(); }
  int tab() { return ui.get<ui::TabStrip>("TabStrip1").SelectedIndex(); }
  // A browsing button pair after a key: both on before it, then the code shown and each button.
  void expectButtonsAfter(int key, const char* previous, const char* next, const char* code, bool previousOn,
                          bool nextOn) {
    ui.control(previous).Enabled = true;
    ui.control(next).Enabled = true;
    ui.key(key);
    EXPECT_EQ(text("bilKod"), code);
    EXPECT_EQ(enabled(previous), previousOn);
    EXPECT_EQ(enabled(next), nextOn);
  }
  // The message boxes shown so far, as UTF-8 "title|text".
  std::vector<std::string> messages() {
    std::vector<std::string> out;
    for (const auto& m : ui.messages()) out.push_back(toUtf8(m.title) + "|" + toUtf8(m.text));
    return out;
  }

  TempFolder folder;
  FixedClock today;
  std::unique_ptr<RandomSource> random;
  ui::HeadlessDriver ui;
};

}  // namespace kv::testing
