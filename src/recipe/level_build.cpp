#include "recipe/level_build.h"

#include <optional>
#include <string>

#include "base/dates.h"
#include "base/end_reported.h"
#include "files/files.h"
#include "recipe/cost_rollup.h"
#include "recipe/level_arithmetic.h"
#include "recipe/level_walk.h"
#include "recipe/recipe_files.h"
#include "recipe/recipe_source.h"

namespace kv {

namespace {

class LevelBuildRun {
 public:
  LevelBuildRun(const LevelBuildInput& input, const LevelBuildPolicy& policy, MessageSink& messages,
                LevelBuildReport& report)
      : in_(input), products_(input.products), policy_(policy), messages_(messages), report_(report) {}

  LevelBuildResult run();

 private:
  LevelBuildResult stages();
  bool guardsPass();
  void startLevelFileAndWalk();
  std::int16_t reopenLevelFile();
  void writeBack(const RolledUpCost& cost);
  // Runs one stage of the run. A failure in it takes the policy's path; returns false when that ended
  // the run.
  template <class Stage>
  bool survives(Stage&& stage);
  // A failure after the start. Returns true when the policy ends the run there.
  bool failure();
  LevelBuildResult result(LevelBuildOutcome outcome, std::int16_t count) const {
    return {outcome, count, walk_ && walk_->levelErrorMet()};
  }

  const LevelBuildInput& in_;
  ProductFile& products_;
  const LevelBuildPolicy& policy_;
  MessageSink& messages_;
  LevelBuildReport& report_;
  RecipeSource recipe_;
  FileHandle levelFile_;
  std::optional<LevelWalk> walk_;
  bool levelFileFresh_ = false;  // ".KDM" was made anew by this run
  bool failed_ = false;
};

LevelBuildResult LevelBuildRun::run() {
  if (!guardsPass()) {
    messages_.beep();
    return {LevelBuildOutcome::GuardFailed, 0};
  }
  report_.started();
  return endReported([&] { return stages(); }, [&](const LevelBuildResult* r) {
    report_.ended(r && (r->outcome != LevelBuildOutcome::Failed || failed_));
  });
}

// The stages after the guards; a failure that ends the run returns at once.
LevelBuildResult LevelBuildRun::stages() {
  const auto ended = [this] { return result(LevelBuildOutcome::Failed, 0); };
  if (!survives([&] { startLevelFileAndWalk(); })) return ended();

  report_.walked();
  levelFile_.close();
  recipe_.ownFile.close();
  std::int16_t count = 0;
  if (!survives([&] { count = reopenLevelFile(); })) return ended();

  bool costed = false;
  if (count > 0) {
    report_.rollingUp();
    bool goesOn = survives([&] {
      RolledUpCost cost = rollUpLevelCosts(levelFile_.number(), walk_->deepest());
      if (failed_) return;  // the tree is incomplete: it is kept for the report, but it is no cost
      writeBack(cost);
      costed = true;
    });
    if (!goesOn) return ended();
  }
  levelFile_.close();
  messages_.beep();
  LevelBuildOutcome outcome =
      costed ? LevelBuildOutcome::Costed : failed_ ? LevelBuildOutcome::Failed : LevelBuildOutcome::Empty;
  return result(outcome, count);
}

template <class Stage>
bool LevelBuildRun::survives(Stage&& stage) {
  try {
    stage();
    return true;
  } catch (const LevelRunFailure&) {
  } catch (const FileError&) {
    if (policy_.fileErrorEndsJob) {
      recipe_.ownFile.close();
      levelFile_.close();
      throw;
    }
  }
  return !failure();
}

bool LevelBuildRun::guardsPass() {
  const std::string recipeName = companyFileName(in_.products.company(), RecipeFileKind::Recipes);
  try {
    if (policy_.checksRecipeFilePresent && !listedUnderExactName(recipeName)) return false;
  } catch (const FileError&) {
    if (policy_.fileErrorEndsJob) throw;
    return false;
  }
  return openRecipeSource(policy_, products_, in_.activeRecord, recipe_);
}

void LevelBuildRun::startLevelFileAndWalk() {
  levelFile_ = openLevelFileAnew(in_.products.company());
  levelFileFresh_ = true;
  WalkFiles files{&recipe_.lines(), recipe_.count, &levelFile_, products_};
  walk_.emplace(files, messages_, policy_.tellsLevelError);
  walk_->run(in_.activeRecord, recipe_.product);
}

// The count is taken again from the file. A level file that this run could not make anew is not the
// product's: it counts as empty.
std::int16_t LevelBuildRun::reopenLevelFile() {
  if (!levelFileFresh_) return 0;
  levelFile_ = openRecipeSideFile(in_.products.company(), RecipeFileKind::Levels);
  return static_cast<std::int16_t>(levelFile_.count());
}

void LevelBuildRun::writeBack(const RolledUpCost& cost) {
  if (cost.product < 1 || cost.product > products_.count()) throw LevelRunFailure("the level file names no product");
  ProductRecord p = products_.read(cost.product);
  p.RecipeCost = storedSingle(cost.levelZeroSum);
  stampDate(p, RecordDate::Recipe, in_.recipeDate);
  products_.write(cost.product, p);
}

bool LevelBuildRun::failure() {
  if (policy_.failureGoesOn) {
    failed_ = true;
    report_.failed();
    return false;
  }
  recipe_.ownFile.close();
  levelFile_.close();
  report_.failed();
  return true;
}

}  // namespace

LevelBuildPolicy levelBuildFromRecipeFile() {
  LevelBuildPolicy p;
  p.checksRecipeFilePresent = true;
  return p;
}

LevelBuildPolicy levelBuildFromStore(const FileHandle& store, std::int32_t storeCount) {
  LevelBuildPolicy p;
  p.store = &store;
  p.storeCount = storeCount;
  return p;
}

LevelBuildResult BuildLevelFile(const LevelBuildInput& input, const LevelBuildPolicy& policy, MessageSink& messages,
                                LevelBuildReport& report) {
  return LevelBuildRun(input, policy, messages, report).run();
}

}  // namespace kv
