// The desktop back end under Qt's offscreen platform, printing into PDF files of a temporary working
// folder: what the files hold (read back with poppler's tools), their names, and that a job that fails
// leaves no file behind.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "print/printer.h"
#include "print/qt/desktop_printer.h"
#include "support/company.h"

namespace kv::print {
namespace {

namespace fs = std::filesystem;

QGuiApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "kv_tests_print_qt";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  return app;
}

// The standard output of a shell command.
std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

// The dark pixels of the first page rendered at 100 dpi without smoothing, in a band 5 pixels high around
// y millimetres from the paper's top edge and from 15 to 193 mm across.
long darkPixelsAt(const std::string& pdf, double y) {
  const std::string band = run("pdftoppm -r 100 -gray -aaVector no -singlefile -x 60 -W 700 -H 5 -y " +
                               std::to_string(static_cast<int>(y / 25.4 * 100) - 2) + " '" + pdf + "'");
  std::size_t pixels = 0;  // after the three lines of the header
  for (int line = 0; line < 3 && pixels != std::string::npos; ++line) pixels = band.find('\n', pixels) + 1;
  if (band.size() != pixels + 700 * 5) return -1;
  return std::count_if(band.begin() + static_cast<long>(pixels), band.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 128; });
}

class DesktopPrinter : public ::testing::Test {
 protected:
  DesktopPrinter() : before_(setDeviceFactory({})) {
    qtApplication();
    desktop::installDesktopPrinter({.systemPrinter = false, .openViewer = false});
  }
  ~DesktopPrinter() override { setDeviceFactory(before_); }

  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder.path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string path(const std::string& name) const { return (folder.path() / name).string(); }

  testing::TempFolder folder;
  DeviceFactory before_;
};

TEST_F(DesktopPrinter, APdfHoldsTheTurkishTextsAndRulesOfItsPagesUnderANewName) {
  folder.write("Rapor1.pdf", {'x'});
  Printer p;
  p.ScaleMode = Scale::Millimetre;
  p.FontName = "Times New Roman Tur";
  p.FontSize = 12;
  p.CurrentX = 10;
  p.CurrentY = 18;
  p.Print("Şirket İŞÇİĞÜÖ"_w);
  p.FontName = "Arial";
  p.FontSize = 11;
  p.CurrentX = 10;
  p.Print("ığüşöç çalışma"_w);
  p.Line(10, 100, 190, 100);
  p.NewPage();
  p.Print("Sayfa :  2");
  EXPECT_EQ(p.ScaleWidth(), 200);
  EXPECT_EQ(p.ScaleHeight(), 287);
  const PrintedDocument done = p.EndDoc();

  EXPECT_EQ(done.file, "Rapor2.pdf");
  EXPECT_EQ(done.pages, 2);
  EXPECT_EQ(files(), (std::vector<std::string>{"Rapor1.pdf", "Rapor2.pdf"}));
  EXPECT_EQ(folder.bytes("Rapor1.pdf"), std::vector<std::uint8_t>{'x'});

  const std::string text = run("pdftotext -layout '" + path("Rapor2.pdf") + "' -");
  EXPECT_NE(text.find("Şirket İŞÇİĞÜÖ"), std::string::npos) << text;
  EXPECT_NE(text.find("ığüşöç çalışma"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2) << text;  // two pages
  if (QFontDatabase::families().contains("Liberation Serif")) {
    const std::string fonts = run("pdffonts '" + path("Rapor2.pdf") + "'");
    EXPECT_NE(fonts.find("LiberationSerif"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("LiberationSans"), std::string::npos) << fonts;
  }

  // The rule: dark in the band around 105 mm from the paper's edge, nothing 10 mm further down.
  EXPECT_GE(darkPixelsAt(path("Rapor2.pdf"), 105), 700);
  EXPECT_EQ(darkPixelsAt(path("Rapor2.pdf"), 115), 0);
}

TEST_F(DesktopPrinter, AJobThatFailsLeavesNoFile) {
  const std::vector<std::function<void(Printer&)>> failures = {
      [](Printer& p) { p.KillDoc(); },
      [](Printer& p) {
        p.FontName = "Kalvor Yok";  // no such font
        EXPECT_THROW(p.Print("x"), PrinterError);
      },
  };
  for (const auto& fail : failures) {
    Printer p;
    p.Print("Şirket"_w);
    p.NewPage();
    p.Print("İŞÇİĞÜÖ"_w);
    fail(p);
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(files(), std::vector<std::string>{});
  }
  {
    Printer p;
    p.Print("left unended");
  }
  EXPECT_EQ(files(), std::vector<std::string>{});
}

// The viewer is started and not waited for; without one the document is as good.
TEST_F(DesktopPrinter, AFinishedPdfIsOpenedWithoutWaitingForTheViewer) {
  desktop::installDesktopPrinter({.systemPrinter = false, .openViewer = true});
  testing::TempFolder bin;
  const fs::path marker = bin.path() / "opened";
  {
    std::ofstream script(bin.path() / "xdg-open");
    script << "#!/bin/sh\necho \"$1\" > '" << marker.string() << "'\nexec /bin/sleep 3 </dev/null >/dev/null 2>&1\n";
  }
  fs::permissions(bin.path() / "xdg-open", fs::perms::owner_all);
  setWorkingFolder(folder.path());
  const std::string pathBefore = std::getenv("PATH") ? std::getenv("PATH") : "";
  for (const std::string& searched : {bin.path().string(), std::string("/nonexistent")}) {
    ::setenv("PATH", searched.c_str(), 1);
    Printer p;
    p.Print("x");
    const auto start = std::chrono::steady_clock::now();
    const PrintedDocument done = p.EndDoc();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(done.file.empty());
  }
  ::setenv("PATH", pathBefore.c_str(), 1);
  std::string shown;
  for (int i = 0; i < 100 && shown.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    std::ifstream opened(marker);
    std::getline(opened, shown);
  }
  EXPECT_EQ(shown, path("Rapor1.pdf"));
}

}  // namespace
}  // namespace kv::print
