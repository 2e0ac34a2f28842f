// The main window's keys: the function-key dispatcher that every control hands its keys to, the walk from
// box to box with the arrows and Enter, ESC, and the commands that leave the window or end the program.
#include "base/program_title.h"
#include "product/frmKalvor.h"

namespace kv {

using namespace ui;

void frmKalvor::HandleFunctionKey(int KeyCode) {
  switch (KeyCode) {
    case Key::PageDown:
      if (cmdSonraki.Enabled()) cmdSonraki_Click();
      break;
    case Key::PageUp:
      if (cmdOnceki.Enabled()) cmdOnceki_Click();
      break;
    case Key::Home: cmdBirinci_Click(); break;
    case Key::End: cmdSonuncu_Click(); break;
    case Key::F1: cmdYeni_Click(); break;
    case Key::F2: cmdKayitla_Click(); break;
    case Key::F3: cmdAraBul_Click(); break;
    case Key::F4: cmdSil_Click(); break;
    case Key::F5: cmdAnaliz_Click(); break;
    case Key::F6: cmdIslemler_Click(); break;
    case Key::F7: cmdListe_Click(); break;
    case Key::F8:
      if (OptAlfabetik.Value())
        OptKayitsal.Value = true;
      else
        OptAlfabetik.Value = true;
      break;
    case Key::F9: cmdYardim_Click(); break;
    case Key::F10: showKeyList(); break;
    case Key::F11: cmdServis_Click(); break;
    case Key::F12:
      CostDisplay = !CostDisplay;
      ShowRecord();
      break;
    default: break;
  }
}

void frmKalvor::showKeyList() {
  Beep();
  MsgBox("F1 = Yeni Kayıt\rF2 = Kayıtla\rF3 = Arama\rF4 = Sil\rF5 = Kalvor Analizi\rF6 = İşlemler\rF7 = Liste\r"
         "F8 = Alfabetik / Kayıtsal\rF9 = Bilgi\rF10 = Fonksiyon Tuşları (Yardım)\rF11 = SERVİS\r"
         "F12 = Maliyet Görüntüsünü Açma / Kapama\r\rHOME = İlk Kayıt\rEND = Son Kayıt\rPAGE UP = Önceki\r"
         "PAGE DOWN = Sonraki\r\rESC = Çıkış (Vazgeç)"_w,
         MsgButtons::Ok, MsgIcon::None, " " KV_PROGRAM_NAME " " KV_PROGRAM_RELEASE "  [ 2008.05.27 ]");
}

void frmKalvor::entryBoxKeyDown(TextBox& box, int& KeyCode, bool trimLeadingBlanks, Control* up, Control& down) {
  if (trimLeadingBlanks) {
    const std::string& text = box.Text();
    std::size_t blanks = text.find_first_not_of(' ');
    if (blanks == std::string::npos) blanks = text.size();
    if (blanks > 0) {
      // The typing position stays where it was in the text that remains.
      int caret = box.SelStart();
      box.Text = text.substr(blanks);
      box.SelStart = caret > static_cast<int>(blanks) ? caret - static_cast<int>(blanks) : 0;
    }
  }
  if (!moveFocusByArrow(KeyCode, down, up)) HandleFunctionKey(KeyCode);
}

void frmKalvor::entryBoxKeyPress(TextBox& box, int& KeyAscii, Control& next) {
  typeOSlashForEAcute(KeyAscii);
  if (KeyAscii != Key::Enter) return;
  if (SearchMode && (&box == &bilKod || &box == &bilAd)) {
    if (&box == &bilKod)
      FindRecordByCode();
    else
      FindRecordByName();
    bilKod.SetFocus();
    return;
  }
  next.SetFocus();
}

void frmKalvor::wireKeys() {
  struct BoxKeys {
    TextBox* box;
    bool trims;
    Control* up;
    Control* down;
  };
  const BoxKeys boxes[] = {
      {&bilKod, true, nullptr, &bilAd},
      {&bilAd, true, &bilKod, &bilAciklama},
      {&bilAciklama, true, &bilAd, &bilBirim},
      {&bilBirim, true, &bilAciklama, &bilUrunGrubu},
      {&bilUrunGrubu, true, &bilBirim, &bilMaliyet},
      {&bilMaliyet, true, &bilUrunGrubu, &bilMTarih},
      {&bilMTarih, false, &bilMaliyet, &bilEvrakNo},
      {&bilEvrakNo, false, &bilMTarih, &bilOzelKod},
      {&bilOzelKod, true, &bilEvrakNo, &bilKatsayi},
      {&bilKatsayi, true, &bilOzelKod, &bilTedarikci},
      {&bilTedarikci, true, &bilKatsayi, &bilBoyutlar},
      {&bilBoyutlar, true, &bilTedarikci, &bilAgirlik},
      {&bilAgirlik, true, &bilBoyutlar, &bilOzelNot},
      {&bilOzelNot, true, &bilAgirlik, &bilKod},
  };
  for (const BoxKeys& e : boxes) {
    e.box->KeyDown = [this, e](int& k, int) { entryBoxKeyDown(*e.box, k, e.trims, e.up, *e.down); };
    e.box->KeyPress = [this, e](int& k) { entryBoxKeyPress(*e.box, k, *e.down); };
  }

  // The cost-type options and the picture box lead back into the cycle of the boxes.
  struct Choice {
    Control* control;
    Control* up;
    Control* down;
  };
  const Choice choices[] = {{&optSatinAlma, &bilMaliyet, &optYaptirma},
                            {&optYaptirma, &optSatinAlma, &optKalvor},
                            {&optKalvor, &optYaptirma, &bilMTarih},
                            {&chkResimVar, &bilAgirlik, &bilOzelNot}};
  for (const Choice& c : choices) {
    c.control->KeyDown = [this, c](int& k, int) {
      if (!moveFocusByArrow(k, *c.down, c.up)) HandleFunctionKey(k);
    };
    c.control->KeyPress = [c](int& k) {
      if (k == Key::Enter) c.down->SetFocus();
    };
  }

  for (CommandButton* b : {&cmdYeni, &cmdKayitla, &cmdAraBul, &cmdSil, &cmdBirinci, &cmdOnceki, &cmdSonraki,
                           &cmdSonuncu, &cmdAnaliz, &cmdIslemler, &cmdListe, &cmdServis, &cmdExport, &cmdImport,
                           &cmdYardim, &cmdCikis})
    b->KeyDown = [this](int& k, int) { HandleFunctionKey(k); };
  for (OptionButton* o : {&OptAlfabetik, &OptKayitsal})
    o->KeyDown = [this](int& k, int) {
      HandleFunctionKey(k);
      bilKod.SetFocus();
    };
}

// ESC: abandons a new entry; otherwise ends the program at once.
void frmKalvor::Form_KeyPress(int& KeyAscii) {
  if (KeyAscii != Key::Escape) return;
  KeyAscii = 0;
  if (Entry.newEntry()) {
    ShowRecord();
    Entry.dropNewEntry();
    bilKod.SetFocus();
    return;
  }
  Beep();
  End();
}

void frmKalvor::cmdAnaliz_Click() {
  // The analysis window opens the files itself: none stays open behind it.
  Products.close();
  handCurrentRecordOver();
  Unload();
  forms().show("frmAnaliz");
}

void frmKalvor::cmdIslemler_Click() {
  // The operations window sorts the product file into new files: nothing may hold the old ones open
  // behind it. The activation opens them again.
  Products.close();
  handCurrentRecordOver();
  Hide();
  Beep();
  forms().show("frmIslemler");
}

void frmKalvor::cmdListe_Click() {
  handCurrentRecordOver();
  Hide();
  forms().show("frmDizgi");
}

void frmKalvor::cmdServis_Click() {
  if (Entry.newEntry() && !typedCode().empty()) {
    Beep();
    if (!askToSavePendingEntry(KV_PROGRAM_TITLE " BETA")) return;
  }
  if (RecordShown >= 1) {
    Products.close();
    handCurrentRecordOver();
    Unload();
    forms().show("frmServis");
    return;
  }
  Beep();
  bilKod.SetFocus();
}

void frmKalvor::cmdYardim_Click() {
  Beep();
  MsgBox("'" KV_PROGRAM_TITLE " BETA' programı, üretilen mal ve parçaların maliyetlerinin güncel olarak "
         "hesaplanması, listelenmesi ve fiyatlandırılması amacına yönelik olarak yapılmış bir 'Otomatik Maliyet "
         "Hesabı ve Fiyatlandırma' programıdır...\r\rProgramın tüm menülerinde (formlarında) yer alan görsel komut "
         "ve seçenek nesnelerine karşılık (alternatif) olarak kullanılan fonksiyon tuşlarının görevlerini öğrenmek "
         "için (tüm menülerde) 'F10' tuşuna basın..."_w,
         MsgButtons::Ok, MsgIcon::None, KV_PROGRAM_TITLE " BETA");
}

void frmKalvor::cmdCikis_Click() {
  if (Entry.newEntry() && !typedCode().empty()) {
    Beep();
    if (!askToSavePendingEntry(KV_PROGRAM_TITLE " BETA")) return;
  }
  Beep();
  End();
}

}  // namespace kv
