// The main window from the keyboard: the function keys, the walk from box to box, the typing rules of the
// boxes and ESC. The exit and the close box with a pending entry: with the entry tests.
#include "main_window_fixture.h"

namespace kv::testing {
namespace {

class MainWindowKeysTest : public MainWindowTest {
 protected:
  // The focus after the key, pressed in `from`.
  std::string after(std::string_view from, int key) {
    ui.focus(from);
    ui.key(key);
    return focused();
  }
};

const char* const kCycle[] = {"bilKod",      "bilAd",      "bilAciklama", "bilBirim",    "bilUrunGrubu",
                              "bilMaliyet",  "bilMTarih",  "bilEvrakNo",  "bilOzelKod",  "bilKatsayi",
                              "bilTedarikci", "bilBoyutlar", "bilAgirlik", "bilOzelNot"};

TEST_F(MainWindowKeysTest, TheFunctionKeysRunTheirCommands) {
  makeCompany({{"A1"}, {"B1"}});
  patch(1, [](ProductRecord& r) {
    r.Cost = 12.5f;
    r.CostDate = "01.02.2008";
    r.DocumentNo = "E1";
  });
  openOn({}, 1, 1);
  // The keys of the commands tested with them (F1 to F4, the arrows of browsing) aside: F12 shows the record,
  // from the search too, with its cost boxes filled, and again without.
  ui.key(Key::F3);
  ui.key(Key::F12);
  EXPECT_EQ(text("bilKod"), "A1");
  EXPECT_EQ(text("bilMaliyet"), "12,5 YTL");
  EXPECT_EQ(text("bilMTarih"), "01.02.2008");
  EXPECT_EQ(text("bilEvrakNo"), "E1");
  ui.key(Key::F12);
  EXPECT_EQ(text("bilMaliyet") + text("bilMTarih") + text("bilEvrakNo"), "");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  Kayıt : 1 / 2");
  // F8 flips the order, each time through the option's own handling (its beep).
  ui.clearShown();
  ui.key(Key::F8);
  EXPECT_TRUE(option("OptAlfabetik"));
  ui.key(Key::F8);
  EXPECT_TRUE(option("OptKayitsal"));
  EXPECT_EQ(ui.beeps(), 2);
  ui.key(Key::F9);
  ui.key(Key::F10);
  EXPECT_EQ(messages(),
            (Strings{"KALVOR 952 Uyarlama 3.0 BETA|'KALVOR 952 Uyarlama 3.0 BETA' programı, üretilen mal ve "
                     "parçaların maliyetlerinin güncel olarak hesaplanması, listelenmesi ve fiyatlandırılması "
                     "amacına yönelik olarak yapılmış bir 'Otomatik Maliyet Hesabı ve Fiyatlandırma' "
                     "programıdır...\r\rProgramın tüm menülerinde (formlarında) yer alan görsel komut ve seçenek "
                     "nesnelerine karşılık (alternatif) olarak kullanılan fonksiyon tuşlarının görevlerini "
                     "öğrenmek için (tüm menülerde) 'F10' tuşuna basın...",
                     " KALVOR 952 Uyarlama 3.0.3  [ 2008.05.27 ]|F1 = Yeni Kayıt\rF2 = Kayıtla\rF3 = Arama\rF4 = "
                     "Sil\rF5 = Kalvor Analizi\rF6 = İşlemler\rF7 = Liste\rF8 = Alfabetik / Kayıtsal\rF9 = "
                     "Bilgi\rF10 = Fonksiyon Tuşları (Yardım)\rF11 = SERVİS\rF12 = Maliyet Görüntüsünü Açma / "
                     "Kapama\r\rHOME = İlk Kayıt\rEND = Son Kayıt\rPAGE UP = Önceki\rPAGE DOWN = Sonraki\r\rESC "
                     "= Çıkış (Vazgeç)"}));
  EXPECT_EQ(lastIcon(), MsgIcon::None);
  EXPECT_EQ(ui.beeps(), 2 + 2);
}

TEST_F(MainWindowKeysTest, TheArrowsAndEnterWalkTheBoxes) {
  openOn({{"A1"}}, 1, 1);
  const int n = static_cast<int>(std::size(kCycle));
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(after(kCycle[i], Key::Down), kCycle[(i + 1) % n]);
    EXPECT_EQ(after(kCycle[i], Key::Enter), kCycle[(i + 1) % n]);
  }
  for (int i = 1; i < n; ++i) EXPECT_EQ(after(kCycle[i], Key::Up), kCycle[i - 1]);
  EXPECT_EQ(after("bilKod", Key::Up), "bilKod");
  // The options and the check box lead back into the cycle.
  const struct {
    const char* from;
    const char* down;
    const char* up;
  } side[] = {{"optSatinAlma", "optYaptirma", "bilMaliyet"},
              {"optYaptirma", "optKalvor", "optSatinAlma"},
              {"optKalvor", "bilMTarih", "optYaptirma"},
              {"chkResimVar", "bilOzelNot", "bilAgirlik"},
              {"TabStrip1", "bilKod", "bilOzelNot"}};
  for (const auto& s : side) {
    EXPECT_EQ(after(s.from, Key::Down), s.down) << s.from;
    EXPECT_EQ(after(s.from, Key::Up), s.up) << s.from;
    EXPECT_EQ(after(s.from, Key::Enter), s.down) << s.from;
  }
  EXPECT_EQ(after("OptKayitsal", Key::F9), "bilKod");
}

TEST_F(MainWindowKeysTest, LeadingBlanksGoAtTheNextKeyAndEAcuteBecomesOSlash) {
  openOn({{"A1"}}, 1, 1);
  ui.key(Key::F1);
  for (const char* name : kCycle) {
    ui.focus(name);
    ui.type(" é");
    const bool keeps = std::string_view(name) == "bilMTarih" || std::string_view(name) == "bilEvrakNo";
    EXPECT_EQ(text(name), keeps ? " Ø" : "Ø") << name;
  }
  // An arrow is a key too.
  fill("bilAd", " ");
  ui.key(Key::Down);
  EXPECT_EQ(text("bilAd"), "");
  // The translated code is saved as typed.
  ui.key(Key::F2);
  EXPECT_EQ(storedCode(2), "Ø");
}

TEST_F(MainWindowKeysTest, EscAbandonsANewEntryAndOtherwiseEndsTheProgram) {
  openOn({{"A1"}}, 1, 1);
  newEntry("B1", "yeni");
  ui.key(Key::Escape);
  EXPECT_EQ(text("bilKod"), "A1");
  EXPECT_EQ(focused(), "bilKod");
  // The entry is over: F2 saves the record shown.
  ui.key(Key::F2);
  EXPECT_EQ(recordsOnDisk(), 1);
  EXPECT_FALSE(ui.ended());
  ui.key(Key::Escape);
  EXPECT_TRUE(ui.ended());
}

TEST_F(MainWindowKeysTest, EscInAnEmptyFileKeepsTheTypedBoxes) {
  openMain();
  chooseTab(1);
  newEntry("B1", "yeni");
  ui.key(Key::Escape);
  EXPECT_EQ(text("bilAd"), "yeni");
  EXPECT_EQ(focused(), "bilKod");
  EXPECT_FALSE(ui.ended());
  ui.key(Key::Escape);
  EXPECT_TRUE(ui.ended());
  EXPECT_EQ(recordsOnDisk(), 0);
}

}  // namespace
}  // namespace kv::testing
