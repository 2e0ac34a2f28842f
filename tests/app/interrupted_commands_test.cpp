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

#include "base/text.h"
#include "files/company_lock.h"
#include "files/command_recovery.h"
#include "files/files.h"
#include "product/data_file_rebuild.h"
#include "product/exchange_rates.h"
#include "product/product_sort.h"
#include "product/product_workbook.h"
#include "recipe/cost_refresh.h"
#include "recipe/definition_rebuild.h"
#include "recipe/definition_workbook.h"
#include "recipe/level_build.h"
#include "recipe/working_copy.h"
#include "records/product_file.h"
#include "reports/list_working_copy.h"
#include "support/company.h"
#include "support/file_faults.h"
#include "support/interruptions.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

const std::string kCompany = "KLVR952";
const Date kDate = Date::fromYmd(2025, 4, 9);

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

using Job = std::function<void()>;
struct Command {
  const char* name;
  // Readies what the command needs in the folder as it stands (open files, an editing session) and
  // returns the command, which owns them.
  std::function<Job()> prepare;
};
void PrintTo(const Command& c, std::ostream* os) { *os << c.name; }

// A command on the product file as a window holds it open.
Command onProducts(const char* name, std::function<void(ProductFile&, Transcript&)> job) {
  return {name, [job] {
            auto p = openProducts();
            return Job([p, job] {
              Transcript said;
              job(*p, said);
            });
          }};
}
// A command that opens what it needs itself.
Command alone(const char* name, std::function<void(Transcript&)> job) {
  return {name, [job] {
            return Job([job] {
              Transcript said;
              job(said);
            });
          }};
}
// The recipe editor on product 1 after `deletions` of its first line and `added` new lines at its end,
// at its end.
Command inEditor(const char* name, int deletions, std::function<void(RecipeEditSession&)> job, int added = 0) {
  return {name, [=] {
            auto p = openProducts();
            Transcript said;
            const WorkingCopyInput input{*p, 1, false};
            WorkingCopyReport unseen;
            const WorkingCopyResult copy = PrepareWorkingCopy(input, said, unseen);
            auto s = std::make_shared<RecipeEditSession>(*p);
            s->job = recipeJob(input, copy);
            s->recipeDate = kDate;
            s->open();
            for (int i = 0; i < deletions; ++i) s->DeleteRecipeLine(1);
            for (int i = 0; i < added; ++i) {
              RecipeRecord line;
              line.Code = "E";
              s->workingCopy.put(++s->lineCount, line);
            }
            return Job([p, s, job] { job(*s); });
          }};
}

ProductRecord recoded(ProductFile& p, std::int16_t n, const char* code) {
  ProductRecord r = p.read(n);
  r.Code = code;
  return r;
}

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      onProducts("MainSaveWithANewCode",
                 [](ProductFile& p, Transcript&) { p.save(2, recoded(p, 2, "F"), quietInsertPolicy(), nullptr); }),
      onProducts("MainNewEntry",
                 [](ProductFile& p, Transcript&) { p.append(makeProduct("AB", "Yeni"), quietInsertPolicy(), nullptr); }),
      onProducts("MainDelete", [](ProductFile& p, Transcript&) { p.remove(3, nullptr); }),
      onProducts("ServiceSave", [](ProductFile& p, Transcript&) { p.write(4, recoded(p, 4, "BB")); }),
      onProducts("ServiceWipe", [](ProductFile& p, Transcript&) { p.write(6, makeProduct("", "", -1)); }),
      {"RateSave",
       [] {
         auto t = std::make_shared<RatesTable>();
         t->open(kCompany);
         return Job([t] { t->write(4, {2025, 5, 1, 44, 39, 3100}); });
       }},
      {"RateDelete",
       [] {
         auto t = std::make_shared<RatesTable>();
         t->open(kCompany);
         return Job([t] { t->remove(2); });
       }},
      inEditor("EditorWriteBack", 1, [](RecipeEditSession& s) { s.WriteBackRecipeLines(); }),
      inEditor("EditorChainErase", 3, [](RecipeEditSession& s) { s.EraseRecipeChain(); }),
      // Lines appended to the store over several of its pages.
      inEditor("EditorWriteBackOfNewLines", 0, [](RecipeEditSession& s) { s.WriteBackRecipeLines(); }, 12),
      onProducts("RecipeRebuild", [](ProductFile& p, Transcript& t) {
        RebuildReport unseen;
        RebuildRecipeFile(p, t, unseen);
      }),
      onProducts("ListDefinitionRebuild",
                 [](ProductFile& p, Transcript& t) {
                   RebuildReport unseen;
                   RebuildListDefinitionFile(p, t, unseen);
                 }),
      alone("DataFileRebuild",
            [](Transcript&) {
              DataFileRebuildReport unseen;
              rebuildDataAndIndex(kCompany, unseen);
            }),
      alone("SortByCode",
            [](Transcript& t) {
              SortReport unseen;
              sortByCode(kCompany, unseen, t);
            }),
      alone("SortByName",
            [](Transcript& t) {
              SortReport unseen;
              sortByName(kCompany, unseen, t);
            }),
      alone("ProductImport",
            [](Transcript&) { importProductRecords(kCompany, {makeProduct("K", "Kalıp"), makeProduct("L", "Levha")}); }),
      alone("DefinitionImport",
            [](Transcript&) {
              RecipeRecord line;
              line.Code = "K";
              line.Deleted = "H";
              importDefinitionLines(kCompany, false, {line, line});
            }),
      onProducts("CostOfOneProduct",
                 [](ProductFile& p, Transcript& t) {
                   LevelBuildReport unseen;
                   BuildLevelFile({p, 1, kDate}, levelBuildFromRecipeFile(), t, unseen);
                 }),
      onProducts("CostOfEveryProduct",
                 [](ProductFile& p, Transcript& t) {
                   CostRefreshReport unseen;
                   LevelBuildReport builds;
                   RefreshAllRecipeCosts(p, kDate, unseen, builds, t);
                 }),
      onProducts("WorkingCopy",
                 [](ProductFile& p, Transcript& t) {
                   WorkingCopyReport unseen;
                   PrepareWorkingCopy({p, 1, false}, t, unseen);
                 }),
      onProducts("ListWorkingCopy",
                 [](ProductFile& p, Transcript&) {
                   ListWorkingCopyReport unseen;
                   PrepareListWorkingCopy({p, 2}, unseen);
                 }),
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
    recoverInterruptedCommand(kCompany);
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

// The company's files as the program holds them open are the files on disk.
void expectImagesAsOnDisk(const std::string& where) {
  for (const auto& [name, bytes] : folderState()) {
    if (name.rfind(kCompany + ".", 0) != 0 || name.find(".~") != std::string::npos || !fileIsOpen(name)) continue;
    const FileHandle held(name, 1, kMaxRecords32);
    const std::span<const std::uint8_t> image = fileImage(held.number());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes.begin(), bytes.end())) << where << ": " << name;
  }
}

// A disk that fails for a few calls and then works again. Whatever the command told, the program never
// carries on over files that disagree with what it holds: either it leaves the company for its next opening,
// or every file it holds is on disk as it holds it, the folder is as it was before the command or after it,
// and what the program saves next is there after the next opening.
TEST_P(InterruptedCommand, AFaultWindowThenAWorkingDiskNeverCarriesOnOverADisagreement) {
  setFolderState(start);
  Job run = GetParam().prepare();
  const int calls = countFileCalls(run);
  run = nullptr;
  const auto settled = [](FolderState state) {  // without what a failed tidying up may leave
    std::erase_if(state, [](const auto& file) { return file.first.find(".~") != std::string::npos; });
    return state;
  };
  for (int k = 1; k <= calls; ++k)
    for (const FileFault fault : {inCall(EIO), inCall(EIO, 512)})
      for (const int window : {1, 3, 8}) {
        const std::string where = "calls " + std::to_string(k) + " to " + std::to_string(k + window - 1) + " of " +
                                  std::to_string(calls) + " failing after " + std::to_string(fault.written) + " bytes";
        setFolderState(start);
        run = GetParam().prepare();
        {
          const FailWindow disk(k, window, fault);
          try {
            run();
          } catch (const FileError&) {
          }
        }
        bool saved = false;
        if (!isUnfinished(kCompany)) {
          expectImagesAsOnDisk(where);
          const FolderState now = settled(countedFiles(folderState()));
          EXPECT_TRUE(now == before || now == after) << where;
          try {
            ProductFile p;
            p.open(kCompany, ProductFile::IndexRule::Leave);
            ProductRecord r = p.read(1);
            r.Name = "KAYDEDİLDİ"_w;
            p.write(1, r);
            saved = true;
          } catch (const FileError&) {
          }
        }
        run = nullptr;
        closeAllFiles();
        recoverInterruptedCommand(kCompany);
        const FolderState now = countedFiles(folderState());
        EXPECT_FALSE(holdsTemporaries(now)) << where;
        if (saved) {
          EXPECT_EQ(trim(Company(kCompany).record(1).Name.view()), "KAYDEDİLDİ"_w) << where;
        } else {
          EXPECT_TRUE(now == before || now == after) << where;
        }
      }
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, InterruptedCommand, ::testing::ValuesIn(commands()),
                         [](const ::testing::TestParamInfo<Command>& instance) { return instance.param.name; });

}  // namespace
}  // namespace kv::testing
