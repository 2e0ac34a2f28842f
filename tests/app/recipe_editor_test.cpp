// The recipe editor as a user drives it from the analysis window: typing lines, paging, deleting,
// printing and leaving; and the faults it no longer has.
#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "base/numbers.h"
#include "print/recording_printer.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

namespace Key = ui::Key;

class RecipeEditorTest : public AppTest {
 protected:
  print::RecordingPrinter printed;
  // Products: the edited product P first, then {code, cost} components of kind 4.
  std::int16_t makeCompany(const std::vector<std::pair<std::string, float>>& components) {
    Company c;
    const std::int16_t p = c.add("P", "Pompa");
    for (const auto& [code, cost] : components) {
      ProductRecord r = c.record(c.add(code, "Ad " + code, 4));
      r.Cost = cost;
      c.write(c.count(), r);
    }
    return p;
  }
  // makeCompany's company, P's recipe made of `lines`, and the editor opened on it.
  std::int16_t openOnRecipe(const std::vector<std::pair<std::string, float>>& components,
                            const std::vector<RecipeFile::Line>& lines) {
    const std::int16_t p = makeCompany(components);
    {
      Company c;
      RecipeFile(c).define(p, lines);
    }
    openEditor(p);
    return p;
  }
  // The analysis window on product p, then F2 (F3 for the list definition).
  void openEditor(std::int16_t p, bool list = false) {
    openAnalysisOn(p, Date::fromYmd(2025, 2, 3));
    ui.key(list ? Key::F3 : Key::F2);
    ASSERT_EQ(visibleName(), "frmRecete");
    ui.clearShown();
  }
  // A row as the user types it: the code and Enter, the quantity and Enter.
  void typeRow(std::string_view code, std::string_view quantity) {
    ui.type(code);
    ui.key(Key::Enter);
    ui.type(quantity);
    ui.key(Key::Enter);
  }
  // Replaces what a box holds, as a user selecting it with the mouse and typing.
  void retype(std::string_view name, std::string_view utf8) {
    box(name).SelStart = 0;
    box(name).SelLength = 1000;
    ui.type(utf8);
  }
  // The lines of the working copy or of the chain of product p in the store, as "CODE qty cost".
  static std::string show(const RecipeRecord& l) {
    return trim(l.Code.view()) + " " + toUtf8(singleText(l.Quantity)) + " " + toUtf8(singleText(l.Cost));
  }
  std::vector<std::string> workingCopy() const {
    std::vector<std::string> out;
    const std::vector<std::uint8_t> b = folder.bytes("KLVR952.RCT");
    for (std::size_t at = 0; at + RecipeRecord::Length <= b.size(); at += RecipeRecord::Length)
      out.push_back(show(RecipeRecord::decode(b.data() + at)));
    return out;
  }
  std::vector<std::string> chainOf(std::int16_t p) {
    Company c;
    RecipeFile recipes(c);
    std::vector<std::string> out;
    for (std::int32_t n = c.record(p).RecipeNumber; n >= 1 && n <= recipes.count(); n = recipes.line(n).NextLine) {
      const RecipeRecord l = recipes.line(n);
      EXPECT_EQ(l.Deleted.str(), "H");
      EXPECT_EQ(l.Sequence, static_cast<int>(out.size()) + 1);
      out.push_back(show(l));
    }
    return out;
  }
};

// Twelve lines typed with the costs entered, over two pages; one deleted; the store then holds the chain
// and the analysis window costs it.
TEST_F(RecipeEditorTest, ARecipeTypedOverTwoPagesIsStoredAsOneChainAndCosted) {
  std::vector<std::pair<std::string, float>> parts;
  for (int i = 1; i <= 12; ++i) parts.push_back({"K" + std::to_string(i), 0.5f * static_cast<float>(i)});
  parts.push_back({"ALT", 99});
  const std::int16_t p = makeCompany(parts);
  {
    Company c;
    RecipeFile recipes(c);
    recipes.define(c.count(), {{"K1", 2, 1.5f}});  // ALT costs what its own recipe costs: 3
  }
  openEditor(p);
  EXPECT_EQ(ui.get<ui::CheckBox>("chkPara").Value(), 0);
  ui.click("chkPara");  // costs are entered: Enter after the quantity leads to the cost box
  ASSERT_EQ(ui.focused(), "Text1");

  struct Typed {
    const char* code;
    const char* quantity;
    const char* cost;  // null: the looked-up cost stays
  };
  const std::vector<Typed> typed = {{"k1", "1,5", nullptr},    {"K2", "2", "3,25"},  {"k3", "0,25", nullptr},
                                    {"K4", "1", nullptr},      {"K5", "1", "1.234,50 TL"}, {"K6", "3", nullptr},
                                    {"K7", "1", nullptr},      {"K8", "1", nullptr}, {"K9", "1", nullptr},
                                    {"K10", "1", nullptr},     {"K11", "4", nullptr}, {"alt", "2,5", nullptr}};
  for (const Typed& t : typed) {
    typeRow(t.code, t.quantity);
    ASSERT_EQ(ui.focused(), "txtPara") << t.code;
    if (t.cost) retype("txtPara", t.cost);
    ui.key(Key::Enter);
  }
  EXPECT_EQ(workingCopy().size(), 12u);
  EXPECT_EQ(ui.focused(), "Text37");  // the grid scrolled line by line past row 10
  EXPECT_EQ(text("Text33"), "ALT");

  ui.key(Key::Home);
  EXPECT_EQ(text("Text1"), "K1");
  ui.key(Key::PageDown);
  EXPECT_EQ(label("LblSayfa"), "2");
  EXPECT_EQ(text("Text1"), "K11");
  EXPECT_EQ(ui.focused(), "Text9");  // held to the row after the last line
  ui.key(Key::Up);
  ui.key(Key::Up);
  ui.answer(MsgAnswer::Yes);
  ui.key(Key::F3);
  EXPECT_EQ(messages().back(), "KAYIT SİLME| 11 numaralı kayıtı silmek istiyormusunuz?");
  EXPECT_EQ(text("Text1"), "ALT");
  ui.key(Key::Escape);
  ASSERT_EQ(visibleName(), "frmAnaliz");

  const std::vector<std::string> want = {"K1 1,5 0,5",  "K2 2 3,25",   "K3 0,25 1,5", "K4 1 2",
                                         "K5 1 1234,5", "K6 3 3",      "K7 1 3,5",    "K8 1 4",
                                         "K9 1 4,5",    "K10 1 5",     "ALT 2,5 99"};
  EXPECT_EQ(chainOf(p), want);
  {
    Company c;
    EXPECT_EQ(RecipeFile(c).count(), 1 + 11);  // ALT's line and the chain: nothing else was stored
  }

  ui.key(Key::F5);
  double cost = 0;
  const double unitCosts[] = {0.5, 3.25, 1.5, 2, 1234.5, 3, 3.5, 4, 4.5, 5, 2 * 1.5};
  const double quantities[] = {1.5, 2, 0.25, 1, 1, 3, 1, 1, 1, 1, 2.5};
  for (int i = 0; i < 11; ++i) cost += unitCosts[i] * quantities[i];
  EXPECT_NEAR(Company().record(p).RecipeCost, cost, cost * 1e-6);
}

TEST_F(RecipeEditorTest, AnEmptyEditorTakesOnlyF10AndTabsFromTheButtonsThroughTheGridToTheCostBox) {
  openEditor(makeCompany({}));
  for (int key : {Key::PageDown, Key::Home, Key::F1, Key::F2, Key::F3, Key::F4, Key::F10}) ui.key(key);
  EXPECT_EQ(ui.beeps(), 1);
  EXPECT_EQ(messages().size(), 1u);
  std::vector<std::pair<int, std::string>> order;
  for (ui::Control* c : ui.visible()->Controls())
    if (c->CanFocus()) order.push_back({c->TabIndex(), c->Name()});
  std::sort(order.begin(), order.end());
  ASSERT_EQ(order.size(), 45u);
  EXPECT_EQ(order[2].second + order[3].second + order[42].second + order[43].second + order[44].second,
            "cmdCikisText1Text40txtParachkPara");
}

// The page keys keep the cursor's row and beep where they cannot go on; the arrows scroll at the edges.
TEST_F(RecipeEditorTest, PagingAndScrolling) {
  std::vector<std::pair<std::string, float>> parts;
  std::vector<RecipeFile::Line> lines;
  for (int i = 1; i <= 12; ++i) {
    parts.push_back({"K" + std::to_string(i), 1});
    lines.push_back({"K" + std::to_string(i)});
  }
  openOnRecipe(parts, lines);
  struct Case {
    int key;
    const char* pageAndFirst;
    int beeps;
  };
  for (const Case& k : {Case{Key::End, "2 K11", 1}, Case{Key::PageDown, "2 K11", 1}, Case{Key::PageUp, "1 K1", 0},
                        Case{Key::PageUp, "1 K1", 1}, Case{Key::Up, "1 K1", 1}}) {
    const int before = ui.beeps();
    ui.key(k.key);
    EXPECT_EQ(label("LblSayfa") + " " + text("Text1"), k.pageAndFirst) << k.key;
    EXPECT_EQ(ui.beeps() - before, k.beeps) << k.key;
  }
  for (int i = 0; i < 10; ++i) ui.key(Key::Down);
  EXPECT_EQ(ui.focused() + " " + text("Text1"), "Text37 K2");
  EXPECT_EQ(caption(), " KALVOR 952 Uyarlama 3.0  LİSTE   Kayıt : 11 / 12");
}

// A refused code is told (nothing for an empty one) and the row's code comes back into the box.
TEST_F(RecipeEditorTest, TheLookupRefusesTheProductsOwnCodeAndUnknownCodes) {
  openEditor(makeCompany({{"K1", 0.5f}}));
  ui.focus("Text1");
  for (auto [typed, said] : {std::pair{" p ", "! GİRİŞ HATASI !|Bir mal yada parça kodu kendisine ait listede yer "
                                              "alamaz!...\r\rp kodlu giriş iptal edildi..."},
                             std::pair{"K", "KALVOR 952 Uyarlama 3.0|Kod bulunamadı!..."}, std::pair{"", ""}}) {
    ui.clearShown();
    retype("Text1", typed);
    ui.key(Key::Enter);
    EXPECT_EQ(messages(), said[0] ? std::vector<std::string>{said} : std::vector<std::string>{}) << typed;
    EXPECT_EQ(text("Text1"), std::string(20, ' ')) << typed;
    EXPECT_EQ(ui.focused(), "Text1");
  }
}

// The print command asks what to print and writes the working copy back first (each line then knows its
// home in the store); Cancel does nothing.
TEST_F(RecipeEditorTest, PrintingAsksItsQuestionsAndWritesTheChainBack) {
  makeCompany({{"K1", 1}, {"Q1", 0}, {"Q2", 0}, {"Q3", 0}});
  openAnalysisOn(1);
  struct Case {
    const char* product;
    int editorKey;
    std::vector<MsgAnswer> answers;
    bool writtenBack;
  };
  for (const Case& k : {Case{"Q1", Key::F2, {MsgAnswer::Cancel}, false},
                        Case{"Q2", Key::F2, {MsgAnswer::No, MsgAnswer::No}, true},
                        Case{"Q3", Key::F3, {MsgAnswer::Yes}, true}}) {
    ui.key(Key::F1);
    ui.type(k.product);
    ui.key(Key::Enter);
    ui.key(k.editorKey);
    ui.focus("Text1");
    typeRow("K1", "1");
    ui.key(Key::F1);
    ui.clearShown();
    for (MsgAnswer a : k.answers) ui.answer(a);
    ui.key(Key::F2);
    EXPECT_EQ(messages().size(), k.answers.size()) << k.product;
    EXPECT_EQ(messages()[0], "KALVOR 952 Uyarlama 3.0 PRİNTER|Yazdırmak istediğiniz liste 'Maliyet Listesi' mi?");
    EXPECT_EQ(RecipeRecord::decode(folder.bytes("KLVR952.RCT").data()).NextLine != 0, k.writtenBack) << k.product;
    ui.key(Key::Escape);
  }
}

// ---- The faults it no longer has ----

// The cost box's Enter writes the rows above that are not written yet first, and nothing for a row
// without a code.
TEST_F(RecipeEditorTest, TheCostBoxsEnterLeavesNoGapAndWritesNoRowWithoutACode) {
  openOnRecipe({{"K1", 1}, {"K2", 2}, {"K3", 3}}, {{"K1", 1, 1}});
  ui.key(Key::Down);
  typeRow("K2", "2");
  typeRow("K3", "3");
  ui.key(Key::Up);
  ui.key(Key::F4);
  ui.click("txtPara");
  ui.key(Key::Enter);
  EXPECT_EQ(workingCopy(), (std::vector<std::string>{"K1 1 1", "K2 2 2", "K3 3 3"}));
  EXPECT_EQ(ui.focused(), "Text13");
  ui.click("txtPara");
  const int before = ui.beeps();
  ui.key(Key::Enter);
  EXPECT_EQ(ui.beeps() - before, 1);
  EXPECT_EQ(workingCopy().size(), 3u);
}

// A new row keeps the cost of its component when the cursor comes back to it from a saved row.
TEST_F(RecipeEditorTest, ARowsCostComesOnlyFromThatRow) {
  openOnRecipe({{"K1", 8}, {"SAC", 2.5f}}, {{"K1", 1, 8}});
  ui.key(Key::Down);
  ui.type("SAC");
  ui.key(Key::Enter);
  ui.type("1");
  ui.key(Key::Up);
  EXPECT_EQ(text("txtPara"), "8");
  ui.key(Key::Down);
  ui.key(Key::F1);
  EXPECT_EQ(workingCopy(), (std::vector<std::string>{"K1 1 8", "SAC 1 2,5"}));
}

// Quantities and costs are read as the program shows them (decimal comma, the currency text); a stored
// quantity or cost that nobody touched keeps every digit through a page save.
TEST_F(RecipeEditorTest, NumbersReadBackAsShown) {
  const std::int16_t p = openOnRecipe({{"K1", 1}, {"K2", 1}}, {{"K1", 1.2345678f, 1.23456789f}});
  ui.key(Key::F4);
  ui.key(Key::Down);
  struct Case {
    const char* quantity;
    const char* cost;
    const char* stored;
  };
  const Case cases[] = {{"2,5", "1.234,50 TL", "K2 2,5 1234,5"}, {"0,125", "3,75", "K2 0,125 3,75"},
                        {"1.5", "7", "K2 1,5 7"},                {"3 adet", "12,5 TL", "K2 3 12,5"}};
  for (const Case& k : cases) {
    typeRow("K2", k.quantity);
    retype("txtPara", k.cost);
    ui.key(Key::Enter);
  }
  ui.key(Key::F1);
  const std::vector<std::string> lines = workingCopy();
  ASSERT_EQ(lines.size(), 5u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(lines[i + 1], cases[i].stored);
  ui.key(Key::Escape);
  Company c;
  const RecipeRecord first = RecipeFile(c).line(c.record(p).RecipeNumber);
  EXPECT_EQ(first.Quantity, 1.2345678f);
  EXPECT_EQ(first.Cost, 1.23456789f);
}

// A saved line whose code is changed and confirmed in the cost box names the new component throughout.
TEST_F(RecipeEditorTest, AChangedCodeConfirmedInTheCostBoxIsWrittenWithItsComponent) {
  openOnRecipe({{"K1", 0.5f}, {"K2", 4}}, {{"K1", 2, 0.5f}});
  ui.key(Key::F4);
  retype("Text1", "K2");
  ui.key(Key::Enter);
  ui.key(Key::Enter);
  ui.key(Key::Enter);
  EXPECT_EQ(workingCopy(), (std::vector<std::string>{"K2 2 4"}));
  const RecipeRecord line = RecipeRecord::decode(folder.bytes("KLVR952.RCT").data());
  EXPECT_EQ(line.ItemRecord, 3);
  EXPECT_EQ(trim(line.Name.view()), "Ad K2");
}

// An editor whose chain could not be stored stays, and leaving it again stores each line once; one whose
// load failed takes no lines (no typing to drop, no save that finds no file) and is left, unloaded, without
// touching the chain.
TEST_F(RecipeEditorTest, LeavingAgainAfterAFileFailedStoresEachLineOnce) {
  openOnRecipe({{"K1", 1}, {"K2", 2}}, {{"K1", 1, 1}});
  ui.key(Key::Down);
  typeRow("K2", "2");
  ui.key(Key::F1);
  {
    FailOn full(FileOp::Write, "KLVR952.RCT", ENOSPC, 1, 1);  // the new line's home
    ui.key(Key::Escape);
  }
  EXPECT_EQ(visibleName(), "frmRecete");
  ui.key(Key::Escape);
  ui.clearShown();
  {
    FailOn refused(FileOp::Open, "KLVR952.RCT", EACCES, 1, 1);  // the editor's own opening
    ui.key(Key::F2);
  }
  ui.focus("Text1");
  typeRow("K2", "2");
  ui.click("cmdKayitla");
  ui.key(Key::Escape);
  EXPECT_EQ(messages().size(), 1u);  // the file that failed
  EXPECT_FALSE(loaded("frmRecete"));
  EXPECT_EQ(folder.bytes("KLVR952.REC").size(), 2u * RecipeRecord::Length);
}

// A recipe holds at most 32767 lines: a line typed after them is refused in the analysis window's words,
// by F1 as by Enter in the cost box, and the editor shows the last line there is.
TEST_F(RecipeEditorTest, ALinePastTheLongestRecipeIsToldTheLimit) {
  openOnRecipe({{"K1", 1}}, std::vector<RecipeFile::Line>(32767, {"K1", 1, 1}));
  const std::vector<std::string> told = {"! HATA !|Bir liste en fazla 32767 satır alabilir!..."};
  const std::string lastLine = " KALVOR 952 Uyarlama 3.0  LİSTE   Kayıt : 32767 / 32767";
  ui.key(Key::End);
  ui.focus("Text29");  // line 32768
  typeRow("K1", "1");  // on to line 32769
  ui.clearShown();
  ui.key(Key::F1);
  EXPECT_EQ(messages(), told);
  EXPECT_EQ(caption(), lastLine);
  EXPECT_EQ(workingCopy().size(), 32767u);

  ui.click("chkPara");
  ui.focus("Text29");
  typeRow("K1", "1");
  ASSERT_EQ(ui.focused(), "txtPara");
  ui.clearShown();
  ui.key(Key::Enter);
  EXPECT_EQ(messages(), told);
  EXPECT_EQ(caption(), lastLine);
  EXPECT_EQ(workingCopy().size(), 32767u);
}

}  // namespace
}  // namespace kv::testing
