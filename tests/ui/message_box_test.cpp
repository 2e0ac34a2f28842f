// Message boxes answered from the test's script and logged with everything they showed; beeps; titles.
#include <gtest/gtest.h>

#include "test_window.h"

namespace kv::ui::testing {
namespace {

// Engine code knows windows only as a message sink.
MsgAnswer askToSave(MessageSink& sink) {
  sink.beep();
  return sink.message("Yeni giriş tamamlanmadı!  Kayıtlansınmı?"_w, MsgButtons::YesNo, MsgIcon::Question,
                      "KALVOR 952 Uyarlama 3.0 BETA");
}

TEST_F(UiTest, MessageBoxesAreAnsweredFromTheScriptAndLogged) {
  ui.start("frmTest");
  frmTest& w = window();
  ui.answer(MsgAnswer::No);
  ui.answer(MsgAnswer::Cancel);
  EXPECT_EQ(askToSave(w), MsgAnswer::No);
  EXPECT_EQ(
      w.MsgBox("Printer hazır değil !\rTekrar?"_w, MsgButtons::RetryCancel, MsgIcon::Exclamation, "PRİNTER HATASI !"_w),
      MsgAnswer::Cancel);
  EXPECT_EQ(w.MsgBox("Bilgi"), MsgAnswer::Ok);  // unscripted: its first button
  const auto shown = ui.messages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "Yeni giriş tamamlanmadı!  Kayıtlansınmı?"_w);
  EXPECT_EQ(shown[0].title, "KALVOR 952 Uyarlama 3.0 BETA");
  EXPECT_EQ(shown[0].icon, MsgIcon::Question);
  EXPECT_EQ(shown[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(shown[1].text, "Printer hazır değil !\rTekrar?"_w);
  EXPECT_EQ(shown[1].buttons, MsgButtons::RetryCancel);
  EXPECT_TRUE(shown[1].scripted);
  EXPECT_FALSE(shown[2].scripted);
  EXPECT_EQ(ui.beeps(), 1);
  EXPECT_EQ(ui.shown()[0].kind, Shown::Kind::Beep);  // the beep came before its message
}

TEST_F(UiTest, MessageBoxRunsNoActivate) {
  ui.start("frmTest");
  window().cmdGo.Click = [&] { window().MsgBox("x"); };
  events().clear();
  ui.click("cmdGo");
  EXPECT_TRUE(eventsOf("frmTest.Form_Activate").empty());
}

TEST_F(UiTest, EveryTitleSetIsRecordedInOrder) {
  ui.start("frmTest");
  frmTest& w = window();
  w.Caption = " Kayıt :"_w;
  w.Caption = " Kayıt :"_w;
  ProgressSink& progress = w;
  progress.progress("Kademe işlemleri başladı..."_w);
  EXPECT_EQ(ui.captions("frmTest"),
            (std::vector<std::string>{" Kayıt :"_w, " Kayıt :"_w, "Kademe işlemleri başladı..."_w}));
  EXPECT_EQ(w.Caption(), "Kademe işlemleri başladı..."_w);
}

TEST_F(UiTest, MousePointerIsPerWindowAndRecorded) {
  ui.start("frmTest");
  frmTest& w = window();
  w.MousePointer = Pointer::Hourglass;
  w.MousePointer = Pointer::Default;
  std::vector<int> pointers;
  for (const Shown& s : ui.shown())
    if (s.kind == Shown::Kind::MousePointer) pointers.push_back(s.pointer);
  EXPECT_EQ(pointers, (std::vector<int>{Pointer::Hourglass, Pointer::Default}));
  EXPECT_EQ(window("frmOther").MousePointer(), Pointer::Default);
}

}  // namespace
}  // namespace kv::ui::testing
