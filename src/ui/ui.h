// The forms layer: everything a window of the program is written with.
//
// A window is a class derived from Form (in the window's own namespace, with `using namespace kv::ui;`).
// Its controls are members named as in the original, made with the window (or with the frame they stand
// in); its handlers are member functions named control_Event, wired to the controls' events in the
// constructor; the window's own events are virtual functions. Texts are Windows-1254 (literals through
// _w); geometry is in pixels, laid out by the window itself.
//
//   class frmOrnek : public Form {                   // the program registers it:
//    public:                                         //   registerForm("frmOrnek",
//     frmOrnek() {                                   //     [] { return std::make_unique<frmOrnek>(); });
//       Caption = " KALVOR 952"_w;  Move(0, 0, 420, 160);  KeyPreview = true;
//       bilKod.Move(10, 10, 200, 24);  cmdKayitla.Move(10, 50, 120, 30);  cmdKayitla.Caption = "Kayıtla"_w;
//       bilKod.KeyPress = [this](int& k) { bilKod_KeyPress(k); };
//       cmdKayitla.Click = [this] { cmdKayitla_Click(); };
//       cmdCikis.Click = [this] { cmdCikis_Click(); };
//       closeBoxRuns([this] { cmdCikis_Click(); });  // the close box leaves as the exit button does
//     }
//    private:
//     TextBox bilKod{*this, "bilKod"};
//     CommandButton cmdKayitla{*this, "cmdKayitla"};
//     CommandButton cmdCikis{*this, "cmdCikis"};
//     void Form_Load() override { centreOnScreen(*this); }
//     void Form_KeyPress(int& KeyAscii) override { if (KeyAscii == Key::Escape) cmdCikis_Click(); }
//     void bilKod_KeyPress(int& KeyAscii) { typeOSlashForEAcute(KeyAscii); }
//     void cmdKayitla_Click() { BusyPointer busy(*this); /* a long save */ }
//     void cmdCikis_Click() {
//       if (MsgBox("Emin misiniz?"_w, MsgButtons::YesNo) == MsgAnswer::Yes) {
//         Unload(); forms().show("frmKalvor"); } }   // this window goes when the handler has returned
//   };
//
// Every enabled command button has a Click handler: a command still to come stays disabled.
// Properties are written with = and read with (): `bilKod.Text = ""; if (bilKod.Text().empty()) ...`;
// grid cells likewise: `MSFlexGrid1.TextMatrix(r, c) = "x"_w; std::string s = MSFlexGrid1.TextMatrix(r, c)();`.
// Windows reach each other only by name through forms() (show, hide, unload, get). Engines that talk to the
// user get the window as their MessageSink (MsgBox, beep), and report their stages to the window's titles,
// which show them through the window as its ProgressSink (the title). End() ends the program at once;
// windows must not catch (...) around code that may end it.
// A file that fails (FileError) stops the handler; the layer shows which file failed, and why, in the
// window, and the program goes on (Application::deliver, Forms). Windows do not catch FileError to report
// it; one that must go on after a failure catches it and tells the user with tellFileError(*this, e).
// Tests drive windows with HeadlessDriver (headless_driver.h); the desktop runs them with
// kv::ui::desktop::runDesktop (ui/qt/desktop.h).
#pragma once

#include "ui/layer_guard.h"

#include "base/messages.h"
#include "base/text.h"
#include "ui/application.h"
#include "ui/combobox.h"
#include "ui/controls.h"
#include "ui/drawing.h"
#include "ui/flexgrid.h"
#include "ui/form.h"
#include "ui/forms_registry.h"
#include "ui/keys.h"
#include "ui/tabstrip.h"
#include "ui/textbox.h"
#include "ui/window_kit.h"
