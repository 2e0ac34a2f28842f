// Every window the program registers, on an empty company and on damaged ones: it loads, shows and unloads
// without an error and leaves no file open; and every command button it enables has a Click handler (a
// command still to come is disabled).
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "app_fixture.h"
#include "recipe/recipe_files.h"

namespace kv::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes encoded(const ProductRecord& r) {
  Bytes out(ProductRecord::Length);
  r.encode(out.data());
  return out;
}

Bytes randomBytes(std::mt19937& rng, std::size_t size) {
  Bytes out(size);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

// The files of a company as a damaged folder may hold them (names and contents).
using Files = std::map<std::string, Bytes>;

// Three records whose chain pointers point anywhere, a deleted one, a kind out of range, and a tail that
// is not a whole record.
Bytes damagedProducts() {
  ProductRecord a = makeProduct("KASNAK", "Kasnak", 1);
  a.RecordNumber = 1;
  a.ChainPrev = 30000;
  a.ChainNext = -5;
  ProductRecord b = makeProduct("SİLİNDİ", "", -1);
  b.ChainPrev = b.ChainNext = 2;
  ProductRecord c = makeProduct("ØØ", "", 99);
  c.ChainPrev = 1;
  c.ChainNext = 32767;
  c.RecipeNumber = -1;
  Bytes out;
  for (const ProductRecord& r : {a, b, c}) {
    const Bytes one = encoded(r);
    out.insert(out.end(), one.begin(), one.end());
  }
  out.insert(out.end(), 300, 0xFF);
  return out;
}

// Every recipe-side file of the company, with bytes that are no records (and not a whole number of them).
void addGarbageRecipeFiles(Files& files, std::mt19937& rng) {
  for (RecipeFileKind kind : {RecipeFileKind::Recipes, RecipeFileKind::ListDefinitions, RecipeFileKind::WorkingCopy,
                              RecipeFileKind::Levels, RecipeFileKind::RecipeScratch})
    files[toUtf8(companyFileName("KLVR952", kind))] = randomBytes(rng, recordLengthOf(kind) * 3 + 7);
  files["KLVR952.LST"] = randomBytes(rng, 777);
}

struct CompanyCase {
  std::string name;
  Files files;
};

std::vector<CompanyCase> companies() {
  std::vector<CompanyCase> out;
  out.push_back({"empty folder", {}});
  std::mt19937 rng(952);
  {
    Files f{{"KLVR952.DAT", damagedProducts()}, {"KLVR952.ABC", Bytes(101, 0xEE)}};
    addGarbageRecipeFiles(f, rng);
    out.push_back({"wild pointers, index of a wrong length", f});
  }
  {
    Files f{{"KLVR952.DAT", damagedProducts()}, {"KLVR952.ABC", randomBytes(rng, 109 * IndexEntry::Length)}};
    out.push_back({"wild pointers, wild index", f});
  }
  for (int i = 0; i < 3; ++i) {
    Files f{{"KLVR952.DAT", randomBytes(rng, 1 + rng() % 4000)},
            {"KLVR952.ABC", randomBytes(rng, i == 0 ? 436 : rng() % 600)}};
    addGarbageRecipeFiles(f, rng);
    out.push_back({"random bytes " + std::to_string(i), f});
  }
  return out;
}

// Shown when the window under test goes, so that the program does not end with it.
class frmProbe : public ui::Form {};

class EveryWindowTest : public AppTest {
 protected:
  EveryWindowTest() { ui::registerForm("frmProbe", [] { return std::make_unique<frmProbe>(); }); }

  // The program's own windows, as main() registers them.
  static std::vector<std::string> programWindows() {
    std::vector<std::string> names = ui::registeredForms();
    std::erase(names, "frmProbe");
    return names;
  }

  void makeCompany(const Files& files) {
    closeAllFiles();
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) std::filesystem::remove(entry);
    for (const auto& [name, bytes] : files) folder.write(name, bytes);
    KALVOR3 = Kalvor3{};
    mainKept() = MainWindowKept{};
    KALVOR3.CompanyName = "KLVR952";
    KALVOR3.CurrentRecordNumber = 2;
    KALVOR3.Report.ReportKind = 3;  // as the report dialog leaves it before it shows the report window
  }

  // Each window on each company: loaded and shown, looked at, then unloaded. The windows that left a file
  // open come into leftOpen, with the files.
  using LeftOpen = std::map<std::string, std::set<std::string>>;
  void visitEveryWindow(const std::function<void(ui::Form&)>& lookAt, LeftOpen& leftOpen) {
    const std::vector<std::string> windows = programWindows();
    EXPECT_GE(windows.size(), 6u);
    for (const CompanyCase& company : companies()) {
      for (const std::string& name : windows) {
        SCOPED_TRACE(name + " on " + company.name);
        makeCompany(company.files);
        ASSERT_NO_THROW(ui.app().forms().show(name));
        ASSERT_FALSE(ui.ended());
        // The filter dialog has nothing to filter without a list: it hands back to the list dialog at once.
        const std::string shown = visibleName();
        if (!(name == "frmFiltre" && shown == "frmDizgi")) {
          ASSERT_EQ(shown, name);
        }
        lookAt(*ui.visible());
        ASSERT_NO_THROW(ui.app().run([&] {
          ui::forms().unload(shown);
          if (loaded(name)) ui::forms().unload(name);
          ui::forms().show("frmProbe");
        }));
        EXPECT_FALSE(loaded(name));
        // A window that hands over to another as it goes (the report window to the report dialog) is not
        // charged with the files of the one it brought back.
        ASSERT_NO_THROW(ui.app().run([&] {
          for (const std::string& other : windows)
            if (loaded(other)) ui::forms().unload(other);
        }));
        for (const std::string& file : openFiles()) leftOpen[name].insert(file);
      }
    }
  }
};

TEST_F(EveryWindowTest, EveryWindowLoadsShowsAndUnloadsOnEmptyAndDamagedCompaniesLeavingNoFileOpen) {
  LeftOpen leftOpen;
  visitEveryWindow([](ui::Form&) {}, leftOpen);
  for (const auto& [name, files] : leftOpen) ADD_FAILURE() << name << " leaves open: " << ::testing::PrintToString(files);
}

TEST_F(EveryWindowTest, EveryEnabledCommandButtonHasAClickHandler) {
  std::set<std::string> broken;
  LeftOpen leftOpen;
  visitEveryWindow(
      [&](ui::Form& form) {
        for (ui::Control* c : form.Controls())
          if (c->kind() == ui::ControlKind::CommandButton && c->Enabled() && !c->Click)
            broken.insert(form.Name() + "." + c->Name());
      },
      leftOpen);
  for (const std::string& button : broken) ADD_FAILURE() << button << " is enabled without a Click handler";
}

}  // namespace
}  // namespace kv::testing
