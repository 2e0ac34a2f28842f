// Every command that changes a company's files, cut short at every moment: the process ended before each
// of its file calls, and the power lost after each (modelled from the calls it made). The company opened
// again, as the start-up dialog opens it, holds every file as it was before the command or as the command
// left it, all of them the one way or the other, and no temporary or side file is left.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/file_command.h"
#include "common/files.h"
#include "common/product_file.h"
#include "product/data_file_rebuild.h"
#include "product/exchange_rates.h"
#include "product/product_sort.h"
#include "product/product_workbook.h"
#include "recipe/cost_refresh.h"
#include "recipe/definition_rebuild.h"
#include "recipe/definition_workbook.h"
#include "recipe/level_build.h"
#include "recipe/working_copy.h"
#include "support/company.h"
#include "support/interruptions.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

const std::string kCompany = "KLVR952";
const Date kDate = Date::fromYmd(2025, 4, 9);

struct Quiet : MessageSink, ProgressSink {
  void beep() override {}
  MsgAnswer message(const std::string&, MsgButtons, MsgIcon, const std::string&) override { return MsgAnswer::Ok; }
  void progress(const std::string&) override {}
};

struct StillWindow : CostRefreshWindow {
  std::int16_t currentRecord() const override { return current; }
  void setCurrentRecord(std::int16_t record) override { current = record; }
  void showProduct() override {}
  void enableCostCommand(bool) override {}
  std::int16_t current = 1;
};

// Products out of code order, one deleted; recipes and list definitions behind erased lines, so that a
// rebuild moves every chain; rates; old backups; a working copy.
void makeCompany() {
  {
    Company company;
    company.addAll({{"C", "Zeytin"}, {"A", "Elma"}, {"E", "Erik"}, {"B", "Armut"}, {"D", "Dut"}, {"X", "Eski"}});
    ProductRecord gone = company.record(6);
    gone.Kind = -1;
    company.write(6, gone);
    RecipeFile recipes(company);
    recipes.padTo(2);
    recipes.define(1, {{"A", 2, 3}, {"B", 1, 4}, {"D", 3, 1}});
    recipes.define(2, {{"B", 1, 2}, {"E", 2, 5}});
    recipes.define(4, {{"E", 1, 1}});
  }
  copyFile("KLVR952.REC", "KLVR952.LTD");
  copyFile("KLVR952.REC", "KLVR952.RCT");
  copyFile("KLVR952.DAT", "952KLVR.DAT");
  RatesTable rates;
  rates.open(kCompany);
  for (std::int16_t d = 1; d <= 3; ++d) rates.write(d, {2025, 4, d, 40.5f + d, 38, 3000});
}

std::shared_ptr<ProductFile> openProducts() {
  auto products = std::make_shared<ProductFile>();
  products->open(kCompany);
  return products;
}

// The editor on product 1 after its first line was deleted, as a session holds it at its end.
std::shared_ptr<RecipeEditSession> editedRecipe(const std::shared_ptr<ProductFile>& products, int deletions) {
  Quiet quiet;
  const WorkingCopyResult copy = PrepareWorkingCopy({kCompany, products.get(), 1, false}, quiet, quiet);
  auto s = std::make_shared<RecipeEditSession>();
  s->company = kCompany;
  s->products = products.get();
  s->activeRecord = 1;
  s->ownerCode = copy.ownerCode;
  s->ownerRandomNumber = copy.ownerRandomNumber;
  s->recipeDate = kDate;
  s->open();
  for (int i = 0; i < deletions; ++i) s->DeleteRecipeLine(1);
  return s;
}

using Job = std::function<void()>;
struct Command {
  const char* name;
  // Readies what the command needs in the folder as it stands (open files, an editing session) and
  // returns the command, which owns them.
  std::function<Job()> prepare;
};

void PrintTo(const Command& c, std::ostream* os) { *os << c.name; }

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"MainSaveWithANewCode",
       [] {
         auto p = openProducts();
         return [p] {
           ProductRecord r = p->read(2);
           r.Code = "F";
           p->save(2, r, quietInsertPolicy(), nullptr);
         };
       }},
      {"MainNewEntry",
       [] {
         auto p = openProducts();
         return [p] { p->append(makeProduct("AB", "Yeni"), quietInsertPolicy(), nullptr); };
       }},
      {"MainDelete",
       [] {
         auto p = openProducts();
         return [p] { p->remove(3, nullptr); };
       }},
      {"ServiceSave",
       [] {
         auto p = openProducts();
         return [p] {
           ProductRecord r = p->read(4);
           r.Code = "BB";
           p->write(4, r);
         };
       }},
      {"ServiceWipe",
       [] {
         auto p = openProducts();
         return [p] {
           ProductRecord wiped;
           wiped.Kind = -1;
           p->write(6, wiped);
         };
       }},
      {"RateSave",
       [] {
         auto t = std::make_shared<RatesTable>();
         t->open(kCompany);
         return [t] { t->write(4, {2025, 5, 1, 44, 39, 3100}); };
       }},
      {"RateDelete",
       [] {
         auto t = std::make_shared<RatesTable>();
         t->open(kCompany);
         return [t] { t->remove(2); };
       }},
      {"EditorWriteBack",
       [] {
         auto p = openProducts();
         auto s = editedRecipe(p, 1);
         return [p, s] { s->WriteBackRecipeLines(); };
       }},
      {"EditorChainErase",
       [] {
         auto p = openProducts();
         auto s = editedRecipe(p, 3);
         return [p, s] { s->EraseRecipeChain(); };
       }},
      {"RecipeRebuild",
       [] {
         auto p = openProducts();
         return [p] {
           Quiet quiet;
           RebuildRecipeFile(kCompany, *p, quiet, quiet);
         };
       }},
      {"ListDefinitionRebuild",
       [] {
         auto p = openProducts();
         return [p] {
           Quiet quiet;
           RebuildListDefinitionFile(kCompany, *p, quiet, quiet);
         };
       }},
      {"DataFileRebuild",
       [] {
         return [] {
           Quiet quiet;
           rebuildDataAndIndex(kCompany, quiet);
         };
       }},
      {"SortByCode",
       [] {
         return [] {
           Quiet quiet;
           sortByCode(kCompany, quiet, quiet);
         };
       }},
      {"SortByName",
       [] {
         return [] {
           Quiet quiet;
           sortByName(kCompany, quiet, quiet);
         };
       }},
      {"ProductImport",
       [] {
         return [] { importProductRecords(kCompany, {makeProduct("K", "Kalıp"), makeProduct("L", "Levha")}); };
       }},
      {"DefinitionImport",
       [] {
         return [] {
           RecipeRecord line;
           line.Code = "K";
           line.Deleted = "H";
           importDefinitionLines(kCompany, false, {line, line});
         };
       }},
      {"CostOfOneProduct",
       [] {
         auto p = openProducts();
         return [p] {
           Quiet quiet;
           BuildLevelFile({kCompany, p.get(), 1, kDate}, levelBuildFromRecipeFile(LevelFailureReport::MessageBoxEndsRun),
                          quiet, quiet);
         };
       }},
      {"CostOfEveryProduct",
       [] {
         auto p = openProducts();
         return [p] {
           Quiet quiet;
           StillWindow window;
           RefreshAllRecipeCosts(window, *p, kCompany, kDate, quiet, quiet);
         };
       }},
  };
  return all;
}

// The work files that a command may leave as it likes (the level file, scratch files, lists) do not count.
bool counts(const std::string& name) {
  for (const char* work : {".KDM", ".TMP", ".LST", ".IND"})
    if (name.size() > 4 && name.compare(name.size() - 4, 4, work) == 0) return false;
  return true;
}

FolderState countedFiles(FolderState state) {
  std::erase_if(state, [](const auto& file) { return !counts(file.first); });
  return state;
}

bool holdsTemporaries(const FolderState& state) {
  for (const auto& [name, bytes] : state)
    if (name.find(".~") != std::string::npos) return true;
  return false;
}

class InterruptedCommand : public ::testing::TestWithParam<Command> {
 protected:
  // The folder before the command (readied) and after it.
  void SetUp() override {
    makeCompany();
    closeAllFiles();
    start = folderState();
    Job run = GetParam().prepare();
    before = countedFiles(folderState());
    run();
    run = nullptr;
    after = countedFiles(folderState());
    ASSERT_NE(before, after);
  }
  // Opens the company again as the start-up dialog does, and looks at what it holds.
  void expectWholeAfterOpening(const std::string& where, bool done = false) {
    recoverInterruptedCommands();
    const FolderState now = folderState();
    EXPECT_FALSE(holdsTemporaries(now)) << where;
    const FolderState counted = countedFiles(now);
    if (done) EXPECT_TRUE(counted == after) << where;
    else EXPECT_TRUE(counted == before || counted == after) << where;
  }

  TempFolder folder;
  FolderState start, before, after;
};

TEST_P(InterruptedCommand, EndedBeforeAnyOfItsFileCallsLeavesTheStateBeforeOrAfterIt) {
  setFolderState(start);
  Job run = GetParam().prepare();
  const int calls = countFileCalls(run);
  run = nullptr;
  for (int k = 1; k <= calls; ++k) {
    setFolderState(start);
    run = GetParam().prepare();
    EXPECT_FALSE(runEndingAtCall(run, k));
    run = nullptr;
    closeAllFiles();
    expectWholeAfterOpening("ended at call " + std::to_string(k) + " of " + std::to_string(calls));
  }
}

TEST_P(InterruptedCommand, APowerCutAfterAnyOfItsFileCallsLeavesTheStateBeforeOrAfterIt) {
  setFolderState(start);
  Job run = GetParam().prepare();
  const FolderState readied = folderState();
  const std::vector<RecordedCall> calls = recordFileCalls(run);
  run = nullptr;
  std::mt19937 rng(952);
  int cut = 0;
  forEachPowerCut(readied, calls, counts, rng, [&](const FolderState& left, std::size_t made) {
    setFolderState(left);
    // Once the command has returned, its work stays.
    expectWholeAfterOpening("power cut " + std::to_string(++cut) + " after call " + std::to_string(made),
                            made == calls.size());
  });
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, InterruptedCommand, ::testing::ValuesIn(commands()),
                         [](const ::testing::TestParamInfo<Command>& info) { return info.param.name; });

}  // namespace
}  // namespace kv::testing
