#include "recipe/level_build.h"

#include <optional>
#include <string>

#include "common/dates.h"
#include "common/files.h"
#include "common/text.h"
#include "recipe/cost_rollup.h"
#include "recipe/level_arithmetic.h"
#include "recipe/level_walk.h"
#include "recipe/recipe_files.h"
#include "recipe/recipe_source.h"

namespace kv {

namespace {

std::string startTitle() { return "Kademe işlemleri başladı..."_w; }
std::string failureText() { return "Kademe işlemleri esnasında hata oluştu..."_w; }
std::string rollUpTitle() { return "İlgili reçete maliyetleri hesaplanıyor..."_w; }
std::string analysisTitle() { return " KALVOR 952 Uyarlama 3.0  ANALİZ"_w; }
const char* const kWalkEndTitle = " KALVOR 952 Uyarlama 3.0 BETA";
const char* const kFinalTitle = " KALVOR 952 Uyarlama 3.0  BETA";

class LevelBuildRun {
 public:
  LevelBuildRun(const LevelBuildInput& input, const LevelBuildPolicy& policy, MessageSink& messages,
                ProgressSink& title)
      : in_(input), products_(*input.products), policy_(policy), messages_(messages), title_(title) {}

  LevelBuildResult run();

 private:
  bool guardsPass();
  void startLevelFileAndWalk();
  std::int16_t reopenLevelFile();
  void writeBack(const RolledUpCost& cost);
  // Runs one stage of the run. A failure in it takes the policy's path; returns false when that ended
  // the run.
  template <class Stage>
  bool survives(Stage&& stage);
  // A failure after the start. Returns true when the policy ends the run there (the error path is taken).
  bool failure();
  LevelBuildResult result(LevelBuildOutcome outcome, std::int16_t count) const {
    return {outcome, count, walk_ && walk_->levelErrorMet()};
  }

  const LevelBuildInput& in_;
  ProductFile& products_;
  const LevelBuildPolicy& policy_;
  MessageSink& messages_;
  ProgressSink& title_;
  RecipeSource recipe_;
  FileHandle levelFile_;
  std::optional<LevelWalk> walk_;
  bool levelFileFresh_ = false;  // ".KDM" was made anew by this run
  bool failed_ = false;
};

LevelBuildResult LevelBuildRun::run() {
  const auto ended = [this] { return result(LevelBuildOutcome::Failed, 0); };
  if (!guardsPass()) {
    messages_.beep();
    return {LevelBuildOutcome::GuardFailed, 0};
  }
  title_.progress(startTitle());
  if (!survives([&] { startLevelFileAndWalk(); })) return ended();

  if (!failed_) title_.progress(kWalkEndTitle);
  levelFile_.close();
  recipe_.ownFile.close();
  std::int16_t count = 0;
  if (!survives([&] { count = reopenLevelFile(); })) return ended();

  bool costed = false;
  if (count > 0) {
    title_.progress(rollUpTitle());
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
  // A run that went on after a failure ends on it: the title is all that tells the user the tree is
  // incomplete, so no later title may hide it.
  title_.progress(failed_ ? failureText() : kFinalTitle);
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
  const std::string recipeName = companyFileName(in_.products->company(), RecipeFileKind::Recipes);
  try {
    if (policy_.checksRecipeFilePresent && !listedUnderExactName(recipeName)) return false;
  } catch (const FileError&) {
    if (policy_.fileErrorEndsJob) throw;
    return false;
  }
  return openRecipeSource(in_.products->company(), policy_, products_, in_.activeRecord, products_.count(), recipe_);
}

void LevelBuildRun::startLevelFileAndWalk() {
  levelFile_ = openLevelFileAnew(in_.products->company());
  levelFileFresh_ = true;
  WalkFiles files{&recipe_.lines(), recipe_.count, &levelFile_, &products_};
  walk_.emplace(files, messages_, policy_.tellsLevelError);
  walk_->run(in_.activeRecord, recipe_.product);
}

// The count is taken again from the file. A level file that this run could not make anew is not the
// product's: it counts as empty.
std::int16_t LevelBuildRun::reopenLevelFile() {
  if (!levelFileFresh_) return 0;
  levelFile_ = openRecipeSideFile(in_.products->company(), RecipeFileKind::Levels);
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
  if (policy_.failureReport == LevelFailureReport::TitleGoesOn) {
    title_.progress(failureText());
    failed_ = true;
    return false;
  }
  recipe_.ownFile.close();
  levelFile_.close();
  if (policy_.failureReport == LevelFailureReport::TitleEndsRun) {
    title_.progress(failureText());
    return true;
  }
  messages_.beep();
  messages_.message(failureText(), MsgButtons::Ok, MsgIcon::Exclamation, analysisTitle());
  title_.progress(kFinalTitle);
  return true;
}

}  // namespace

LevelBuildPolicy levelBuildFromRecipeFile(LevelFailureReport report) {
  LevelBuildPolicy p;
  p.checksRecipeFilePresent = true;
  p.failureReport = report;
  return p;
}

LevelBuildPolicy levelBuildFromStore(const FileHandle& store, std::int32_t storeCount) {
  LevelBuildPolicy p;
  p.store = &store;
  p.storeCount = storeCount;
  p.failureReport = LevelFailureReport::TitleEndsRun;
  return p;
}

LevelBuildResult BuildLevelFile(const LevelBuildInput& input, const LevelBuildPolicy& policy, MessageSink& messages,
                                ProgressSink& title) {
  return LevelBuildRun(input, policy, messages, title).run();
}

}  // namespace kv
