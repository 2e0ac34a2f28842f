// A file that fails in a window's command, load, activation or unload: the program goes on, the window
// shows which file failed, and the window works afterwards.
#include <gtest/gtest.h>

#include <cerrno>

#include "files/files.h"
#include "support/company.h"
#include "support/file_faults.h"
#include "test_window.h"

namespace kv::ui::testing {
namespace {

using kv::testing::FailOn;
using V = std::vector<std::string>;

class FileErrors : public UiTest {
 protected:
  // Writes one byte as record 1 of KLVR952.ABC, as a command that saves would.
  void save() { putRecord(index.number(), 1, std::vector<std::uint8_t>{1}); }
  void expectOneMessage(const std::string& form, const std::string& utf8Text) {
    const auto shown = ui.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].form, form);
    EXPECT_EQ(toUtf8(shown[0].text), utf8Text);
    EXPECT_EQ(shown[0].title, "! DOSYA HATASI !");
    EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.beeps(), 1);
    ui.clearShown();
  }

  kv::testing::TempFolder folder;
  FileHandle index{"KLVR952.ABC", 1};
};

TEST_F(FileErrors, ACommandStopsAndItsWindowShowsTheFile) {
  ui.start("frmTest");
  frmTest& w = window();
  w.cmdGo.Click = [&] {
    save();
    w.txtA.Text = "kaydedildi";
  };
  {
    FailOn full(FileOp::Write, "KLVR952.ABC", ENOSPC);
    ui.click("cmdGo");
  }
  EXPECT_FALSE(ui.ended());
  expectOneMessage("frmTest", "\"KLVR952.ABC\" dosyasına yazılamadı!...  (Disk dolu)");
  EXPECT_EQ(w.txtA.Text(), "");  // the rest of the command did not run
  EXPECT_EQ(ui.visible(), &w);
  ui.click("cmdGo");
  EXPECT_EQ(w.txtA.Text(), "kaydedildi");
  EXPECT_EQ(folder.bytes("KLVR952.ABC"), std::vector<std::uint8_t>{1});
}

TEST_F(FileErrors, ACommandThatFailsAfterItsWindowWentBringsItBack) {
  ui.start("frmTest");
  window().cmdGo.Click = [&] {
    window().Unload();
    save();
    forms().show("frmOther");
  };
  {
    FailOn full(FileOp::Write, "KLVR952.ABC", ENOSPC);
    ui.click("cmdGo");
  }
  EXPECT_FALSE(ui.ended());
  expectOneMessage("frmTest", "\"KLVR952.ABC\" dosyasına yazılamadı!...  (Disk dolu)");
  EXPECT_EQ(ui.visible(), &window());  // loaded afresh
  EXPECT_FALSE(forms().isLoaded("frmOther"));
}

TEST_F(FileErrors, AWindowWhoseLoadFailsComesUpAndCanBeLeft) {
  registerForm("frmLoadFails", [] {
    auto f = std::make_unique<frmTest>();
    f->onLoad = [] { FileHandle data("KLVR952.DAT", 512); };
    return f;
  });
  ui.start("frmTest");
  frmTest& first = window();
  bool handlerWentOn = false;
  first.cmdGo.Click = [&] {
    first.Unload();
    forms().show("frmLoadFails");
    handlerWentOn = true;
  };
  {
    FailOn locked(FileOp::Open, "KLVR952.DAT", EACCES);
    ui.click("cmdGo");
  }
  EXPECT_FALSE(ui.ended());
  EXPECT_TRUE(handlerWentOn);
  expectOneMessage("frmLoadFails", "\"KLVR952.DAT\" dosyası açılamadı!...  (Erişim izni yok)");
  frmTest& failed = window("frmLoadFails");
  EXPECT_EQ(ui.visible(), &failed);
  EXPECT_EQ(forms().active(), &failed);
  EXPECT_EQ(forms().loaded(), std::vector<Form*>{&failed});
  EXPECT_EQ(ui.focused(), "optA1");
  EXPECT_EQ(eventsOf("frmLoadFails.Form_"), (V{"frmLoadFails.Form_Load", "frmLoadFails.Form_Activate"}));

  failed.cmdGo.Click = [&] {  // its exit command
    failed.Unload();
    forms().show("frmTest");
  };
  ui.click("cmdGo");
  EXPECT_EQ(ui.visible(), &window());
  EXPECT_FALSE(forms().isLoaded("frmLoadFails"));
}

TEST_F(FileErrors, AFailedActivationOrUnloadKeepsTheWindowAndEndStillEnds) {
  ui.start("frmTest");
  forms().show("frmOther");
  frmTest& w = window();
  w.onActivate = [&] { save(); };
  w.onUnload = [&](int&) { save(); };
  {
    FailOn full(FileOp::Write, "KLVR952.ABC", ENOSPC);
    forms().show("frmTest");
    expectOneMessage("frmTest", "\"KLVR952.ABC\" dosyasına yazılamadı!...  (Disk dolu)");
    EXPECT_EQ(ui.visible(), &w);
    EXPECT_EQ(forms().active(), &w);

    ui.closeBox();  // its way out did not finish: it stays
    expectOneMessage("frmTest", "\"KLVR952.ABC\" dosyasına yazılamadı!...  (Disk dolu)");
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(ui.visible(), &w);
    EXPECT_FALSE(ui.ended());
  }
  w.onUnload = [](int&) { End(); };  // a file failure is caught, the end of the program never is
  ui.closeBox();
  EXPECT_TRUE(ui.ended());
}

}  // namespace
}  // namespace kv::ui::testing
