// The start-up dialog: the companies offered, the name typed or chosen, and its check.
#include "window_fixture.h"

#include "common/files.h"

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

}  // namespace
}  // namespace kv::testing
