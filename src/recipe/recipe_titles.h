// The titles the windows show of the recipe engines' stages: the engines report stages, and these turn
// them into the window's title texts (and, for the analysis window, a failure into a message box). The
// analysis window shows every one of them; the report dialog and the recipe editor show a tree's and a
// total consumption's through the report preparation.
#pragma once

#include <cstdint>
#include <string>

#include "base/messages.h"
#include "recipe/definition_rebuild.h"
#include "recipe/level_build.h"
#include "recipe/recipe_files.h"
#include "recipe/total_consumption.h"
#include "recipe/working_copy.h"

namespace kv {

// A level build's titles. A failure shows in the title and stays there: a run that goes on past it ends
// on it too, since the title is all that tells the user the tree is incomplete.
class LevelBuildTitles : public LevelBuildReport {
 public:
  explicit LevelBuildTitles(ProgressSink& title) : title_(title) {}
  void started() override;
  void walked() override;
  void rollingUp() override;
  void failed() override;
  void ended(bool ranThrough) override;

 protected:
  ProgressSink& title_;

 private:
  bool failed_ = false;
};

// The analysis window's (F5 and the full refresh): a failure is a beep and a message box, and the title
// goes back to the program's.
class AnalysisLevelTitles : public LevelBuildTitles {
 public:
  AnalysisLevelTitles(ProgressSink& title, MessageSink& messages) : LevelBuildTitles(title), messages_(messages) {}
  void failed() override;

 private:
  MessageSink& messages_;
};

// A total consumption's titles; the report dialog also shows the program's title between the flattening
// and the adding up.
class TotalConsumptionTitles : public TotalConsumptionReport {
 public:
  TotalConsumptionTitles(ProgressSink& title, bool showsFlattened)
      : title_(title), showsFlattened_(showsFlattened) {}
  void started() override;
  void flattened() override;
  void ended(TotalConsumptionOutcome outcome) override;

 private:
  ProgressSink& title_;
  bool showsFlattened_;
};

// The working copy's titles: the lines passed over and the lines copied are counted in the title.
class WorkingCopyTitles : public WorkingCopyReport {
 public:
  explicit WorkingCopyTitles(ProgressSink& title) : title_(title) {}
  void started() override;
  void headKnown() override;
  void passedOver(std::int32_t line) override;
  void copied(std::int32_t lines) override;
  void ended() override;

 private:
  ProgressSink& title_;
};

// A definition store's rebuild titles, named after the store; the product worked on is shown by its
// record in the company's ".DAT".
class RebuildTitles : public RebuildReport {
 public:
  RebuildTitles(ProgressSink& title, RecipeFileKind store, const std::string& company)
      : title_(title), recipes_(store == RecipeFileKind::Recipes), company_(company) {}
  void started() override;
  void productDone(std::int16_t record) override;
  void copied() override;
  void finished() override;
  void ended() override;

 private:
  ProgressSink& title_;
  bool recipes_;
  std::string company_;
};

// The full refresh's title as it comes to product `record`.
std::string costRefreshTitle(std::int16_t record);

}  // namespace kv
