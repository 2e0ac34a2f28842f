// The working copy ".RCT" of one product's recipe (".REC") or list definition (".LTD"). A chain in the
// store is never edited in place: the analysis window copies it out line by line before the editor opens,
// mending on the way what it can (a stale head pointer, stale item data, a chain that leads back into
// itself); the editor saves its grid pages and deletes single lines in the copy, and when it is left or
// prints, writes the whole copy back into the store as a freshly linked chain, or erases the chain when the
// copy was emptied. Lines leave a store only by being marked erased ("E"), and only by a write-back or an
// erase: until then the store's chain stays whole, whatever happens to the program.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/messages.h"
#include "files/files.h"
#include "records/product_file.h"
#include "records/recipe_job.h"
#include "records/recipe_record.h"

namespace kv {

// ---- Preparing the copy (the analysis window's recipe and list commands) ----

struct WorkingCopyInput {
  ProductFile& products;          // the window's open product file, which names the company
  std::int16_t activeRecord = 0;  // the product whose chain is copied
  bool listMode = false;          // ".LTD" when true, else ".REC"
};

enum class WorkingCopyOutcome {
  Copied,  // ".RCT" holds the chain, head first
  NoHead,  // the product has no chain in the store: there is no ".RCT" (the editor starts with an empty one)
  Failed,  // a file failed: the message was shown and no ".RCT" is left; the editor is not to be opened
};

// What the preparation tells of its run as it goes; the window decides what each stage shows. The run
// always ends.
class WorkingCopyReport {
 public:
  virtual ~WorkingCopyReport() = default;
  virtual void started() {}
  // The head is known (or known to be missing): the old copy is set aside and the chain copied next.
  virtual void headKnown() {}
  // Line `line` of the store was looked at and is not the head.
  virtual void passedOver(std::int32_t line) { (void)line; }
  // The copy holds `lines` lines.
  virtual void copied(std::int32_t lines) { (void)lines; }
  // The run is over, after the failure's message when it failed.
  virtual void ended() {}
};

struct WorkingCopyResult {
  WorkingCopyOutcome outcome = WorkingCopyOutcome::Failed;
  // The owner of every line written for the product: its code trimmed and upper-cased, its random number.
  std::string ownerCode;
  std::int32_t ownerRandomNumber = 0;
  // Set when the store was scanned for the head: in list mode the head found there, otherwise 0 (0 too
  // when none was found). Left unset when the product's own pointer named its head.
  std::optional<std::int32_t> listHead;
  std::int32_t lines = 0;  // lines in ".RCT"
};

// Copies the product's live chain into a new ".RCT" (a non-empty old one becomes "952KLVR.RCT", an empty
// one is deleted). In recipe mode a stale RecipeNumber is set to 0 and then to the head found by scanning.
// Every line but the head has its item data refreshed from the product file and is written back to the
// store with its owner fields and a mended NextLine. The stages go to `report`, the failure message to
// `messages`. Leaves the store and ".RCT" closed.
WorkingCopyResult PrepareWorkingCopy(const WorkingCopyInput& input, MessageSink& messages, WorkingCopyReport& report);

// The job the preparation leaves for the editor.
RecipeJob recipeJob(const WorkingCopyInput& input, const WorkingCopyResult& copy);

// A chain holds at most kLongestChain lines; the analysis window and the editor tell that limit alike.
UserMessage longestChainMessage();

// ---- Editing the copy (the recipe editor) ----

// One row of the editor's grid page, as the page arrays hold it (texts in Windows-1254).
struct GridRow {
  std::int16_t itemRecord = 0;
  std::int16_t lineType = 0;
  std::string code;
  std::string name;
  float quantity = 0;
  std::string unit;
  float cost = 0;
};
inline constexpr int kGridRows = 10;
using GridPage = std::array<GridRow, kGridRows>;

// Paging: page p shows lines 10p - 9 .. 10p.
constexpr std::int32_t pageOfLine(std::int32_t line) { return (line + kGridRows - 1) / kGridRows; }

// The lines a page key leads to. Page 0 is page 1; a page beyond the one that holds the place of a new
// line (line count + 1) falls back by one. Either correction beeps.
struct PageSpan {
  std::int32_t page = 1;
  std::int32_t first = 1;  // the page's first line
  std::int32_t last = 0;   // its last existing line (below `first` when it shows none)
  bool beep = false;
};
PageSpan pageSpan(std::int32_t page, std::int32_t lineCount);

// What a save of grid rows did.
struct RowsSaved {
  bool written = false;           // a row was written
  bool pastLongestChain = false;  // a new row was not: the working copy already holds the longest chain
};

enum class DeleteLineResult {
  Deleted,
  NoLine,  // the current line is not a line of the working copy: nothing was written (the window beeps)
};

// What the editor holds from its load to its unload. Its file operations throw FileError, which the
// editor tells the user; each leaves the files in a state the next operation can work from.
struct RecipeEditSession {
  explicit RecipeEditSession(ProductFile& editorProducts) : products(editorProducts) {}

  ProductFile& products;  // the editor's product file, which names the company
  RecipeJob job;          // the product and its chain, as the preparation left them
  Date recipeDate;        // the editor's copy of the recipe date, stamped on saved lines

  FileHandle store;        // ".LTD" in list mode, else ".REC"
  FileHandle workingCopy;  // ".RCT": line k is record k
  // The lines of the working copy. The editor counts a new line once its code is typed, so this may run
  // one ahead of the file until the line is saved.
  std::int32_t lineCount = 0;
  // The homes in the store of the lines deleted from the copy since the last write-back: the next
  // write-back or erase marks them erased.
  std::vector<std::int32_t> deletedHomes;

  // Opens (creating when missing) the store and the working copy; the line count is the copy's.
  void open();
  const std::string& company() const { return products.company(); }
  std::int32_t storeCount() const { return store.count(); }
  // The active product is a record of the product file (the editor shown on no product writes no pointer).
  bool hasProduct() const {
    return job.ActiveRecordNumber >= 1 && job.ActiveRecordNumber <= products.count();
  }

  // Line n of the working copy; a blank line (no code) for a number outside it.
  RecipeRecord readLine(std::int32_t n) const;
  // Lines first..last into the rows of a page, from the top; the other rows are empty.
  GridPage readRows(std::int32_t first, std::int32_t last) const;

  // Writes the filled rows of the page whose first line is `firstLine`: a row of an existing line is
  // written at that line, over the line as it was; any other row becomes a new line at the end of the
  // working copy, made from a blank record, while the copy is shorter than the longest chain (a line
  // refused there is no longer counted). Rows with an empty code are skipped.
  RowsSaved SaveGridPage(std::int32_t firstLine, const GridPage& rows);
  // Writes the one row `row` (0-based) of that page, as the page save writes it. A new line never lands
  // beyond the end of the working copy: the new rows above it that are not yet written go first. A row
  // with an empty code is not written, and then nothing is.
  RowsSaved SaveGridRow(std::int32_t firstLine, const GridPage& rows, int row);

  // Writes the lines of the working copy into the store as one chain in working-copy order: a line
  // without a home in the store gets a new record at the end, every line its position as Sequence; the
  // homes of deleted lines are marked erased. In recipe mode the product's RecipeNumber names the first
  // line. One command on the company's files: all of it or none. Returns the lines written; 0 when the
  // working copy holds no line (nothing is written: the editor's unload then erases the chain instead).
  std::int32_t WriteBackRecipeLines();

  // Removes line `current` from the working copy and remembers its home for the next write-back. ".RCT"
  // is replaced in one step by a copy without the line, so a failure leaves it as it was.
  DeleteLineResult DeleteRecipeLine(std::int32_t current);

  // Erases the product's chain in the store, from its head (RecipeNumber, which becomes 0; in list mode
  // listHead) along the live lines that follow, and the homes of deleted lines. One command.
  void EraseRecipeChain();

  // The end of an editing session: the working copy goes back into the store as the product's chain (an
  // emptied one erases the chain instead), both files are closed, and neither an emptied working copy nor
  // an empty store is left behind. A session that did not open both files writes nothing. After a
  // failure it may be called again.
  void finish();

 private:
  // False for a new row that the working copy has no room for.
  bool putRow(std::int32_t own, const GridRow& row);
  void markDeletedHomes();
};

}  // namespace kv
