// Test support for the recipe side: recipe lines in the company's ".REC", built through the real file
// layer in a few lines, the level file read back, and a transcript of what an operation told the user.
// Texts given here are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/messages.h"
#include "files/files.h"
#include "records/recipe_record.h"
#include "support/company.h"

namespace kv::testing {

// The recipe file of a company, open on a file number of its own.
class RecipeFile {
 public:
  explicit RecipeFile(Company& company);
  ~RecipeFile();
  RecipeFile(const RecipeFile&) = delete;
  RecipeFile& operator=(const RecipeFile&) = delete;

  struct Line {
    // The component: the first product with this code when the line is made (ItemRecord 0 when none).
    std::string code;
    float quantity = 1;
    float cost = 0;
  };

  // Appends `owner`'s recipe as a chain at the end of the file and makes it the owner's recipe
  // (RecipeNumber). Returns the head's record number.
  std::int32_t define(std::int16_t owner, const std::vector<Line>& lines);
  // A live line of `owner`'s recipe as define() writes it, not linked.
  RecipeRecord makeLine(std::int16_t owner, const Line& line) const;

  std::int32_t append(const RecipeRecord& line);
  // Appends erased filler lines until the file holds `count` lines.
  void padTo(std::int32_t count);
  RecipeRecord line(std::int32_t n) const;
  void write(std::int32_t n, const RecipeRecord& line);
  std::int32_t count() const;
  const FileHandle& file() const { return file_; }
  void close();

 private:
  std::int16_t productWithCode(const std::string& code) const;

  Company& company_;
  FileHandle file_;
  mutable std::int16_t indexed_ = 0;  // products looked at so far by productWithCode
  mutable std::unordered_map<std::string, std::int16_t> byCode_;
};

// Products C0 .. C<depth>, each C(i) holding C(i+1) twice (quantity 1, cost 0,5), appended to the company
// with their recipes: a line naming C0 expands into 2^(depth + 1) - 1 level lines. Returns C0's record.
std::int16_t defineBinaryTree(Company& company, RecipeFile& recipes, int depth);

// The company's level file ".KDM" as records; empty when it is missing.
std::vector<LevelRecord> readLevelFile(const TempFolder& folder, const std::string& companyUtf8 = "KLVR952");

// Beeps, message boxes and titles, in the order they came: "beep", "box: <text> | <title>",
// "title: <text>". Message boxes are answered Ok.
class Transcript : public MessageSink, public ProgressSink {
 public:
  void beep() override { events.push_back("beep"); }
  MsgAnswer message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
  void progress(const std::string& text) override;

  // How many events begin with `prefix`.
  int count(std::string_view prefix) const;

  std::vector<std::string> events;
  std::vector<MsgIcon> icons;
};

}  // namespace kv::testing
