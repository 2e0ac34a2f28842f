#include "recipe/working_copy.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/end_reported.h"
#include "base/text.h"
#include "files/file_command.h"
#include "files/file_replacement.h"
#include "files/files.h"
#include "recipe/component_lookup.h"
#include "recipe/recipe_files.h"

namespace kv {

namespace {

void stampOwner(RecipeRecord& line, std::int16_t record, const std::string& code, std::int32_t randomNumber) {
  line.OwnerRecord = record;
  line.OwnerCode = code;
  line.OwnerRandomNumber = randomNumber;
}

class WorkingCopyRun {
 public:
  WorkingCopyRun(const WorkingCopyInput& input, MessageSink& messages, WorkingCopyReport& report)
      : in_(input), products_(input.products), messages_(messages), report_(report), components_(input.products) {}

  WorkingCopyResult run();

 private:
  WorkingCopyResult copy();
  void readOwner();
  std::int32_t findHead();
  std::int32_t scanForHead();
  void copyChain(std::int32_t head);
  void refreshItem(RecipeRecord& line);
  void own(RecipeRecord& line) const {
    stampOwner(line, in_.activeRecord, result_.ownerCode, result_.ownerRandomNumber);
  }
  void setRecipeNumber(std::int32_t head);
  WorkingCopyResult failed();

  const WorkingCopyInput& in_;
  ProductFile& products_;
  MessageSink& messages_;
  WorkingCopyReport& report_;
  ComponentLookup components_;
  FileHandle store_;
  FileHandle copy_;
  std::int32_t storeCount_ = 0;
  ProductRecord product_;
  WorkingCopyResult result_;
};

// What the copy mends in the store and the product is one command: kept whole when the copy is made, and
// undone when it fails.
WorkingCopyResult WorkingCopyRun::run() {
  report_.started();
  return endReported([&] { return copy(); }, [&](const WorkingCopyResult*) { report_.ended(); });
}

WorkingCopyResult WorkingCopyRun::copy() {
  FileReplacement replacement(in_.products.company());
  try {
    FileCommand command(in_.products.company());
    store_ = openRecipeSideFile(in_.products.company(), definitionStore(in_.listMode));
    storeCount_ = store_.count();
    readOwner();
    const std::int32_t head = findHead();
    report_.headKnown();
    const std::string copyName = companyFileName(in_.products.company(), RecipeFileKind::WorkingCopy);
    if (head == 0) {
      replacement.retire(copyName, workingCopyBackup(copyName));
    } else {
      copy_ = FileHandle(replacement.newContentFor(copyName, workingCopyBackup(copyName)), RecipeRecord::Length);
      copyChain(head);
      copy_.close();
    }
    store_.close();
    if (!replacement.commit()) throw *replacement.error();
    command.commit();
    if (head == 0) {
      result_.outcome = WorkingCopyOutcome::NoHead;
      return result_;
    }
  } catch (const FileError&) {
    return failed();
  }
  result_.outcome = WorkingCopyOutcome::Copied;
  return result_;
}

void WorkingCopyRun::readOwner() {
  if (in_.activeRecord < 1 || in_.activeRecord > products_.count())
    throw FileError(FileError::Kind::BadRecordNumber, FileOp::Read, products_.data().name());
  product_ = products_.read(in_.activeRecord);
  result_.ownerCode = codeKey(product_.Code);
  result_.ownerRandomNumber = product_.RandomNumber;
}

// A recipe's own pointer is tried first; when it is out of range or names another chain it is set to 0
// and the head is looked for as a list definition's always is.
std::int32_t WorkingCopyRun::findHead() {
  if (!in_.listMode && product_.RecipeNumber >= 1) {
    const std::int32_t pointed = product_.RecipeNumber;
    if (isLineNumber(pointed, storeCount_) &&
        headsChainForWorkingCopy(store_.get<RecipeRecord>(pointed), in_.activeRecord, product_))
      return pointed;
    setRecipeNumber(0);
  }
  const std::int32_t head = scanForHead();
  if (!in_.listMode && head != 0) setRecipeNumber(head);
  return head;
}

std::int32_t WorkingCopyRun::scanForHead() {
  result_.listHead = 0;
  for (std::int32_t r = 1; r <= storeCount_; ++r) {
    if (headsChainForWorkingCopy(store_.get<RecipeRecord>(r), in_.activeRecord, product_)) {
      if (in_.listMode) result_.listHead = r;
      return r;
    }
    report_.passedOver(r);
  }
  return 0;
}

void WorkingCopyRun::setRecipeNumber(std::int32_t head) {
  product_.RecipeNumber = head;
  products_.write(in_.activeRecord, product_);
}

// The head goes to the copy as it is, with its owner fields; every following live line is refreshed,
// written back to the store with its NextLine mended, and appended. In the copy NextLine holds the line's
// home in the store. A NextLine back into the chain ends it, as one naming its own line does. A chain
// longer than a position can number (only an imported or damaged store has one) is cut, and the user told.
void WorkingCopyRun::copyChain(std::int32_t head) {
  std::vector<bool> inChain(static_cast<std::size_t>(storeCount_) + 1);
  inChain[head] = true;
  RecipeRecord line = store_.get<RecipeRecord>(head);
  own(line);
  std::int32_t next = line.NextLine == head ? 0 : line.NextLine;
  line.NextLine = head;
  std::int32_t copied = 1;
  copy_.put(copied, line);

  while (isLineNumber(next, storeCount_)) {
    const std::int32_t self = next;
    line = store_.get<RecipeRecord>(self);
    if (!isLiveLine(line)) break;
    if (copied == kLongestChain) {
      UserMessage cut = longestChainMessage();
      cut.text += "  İlk "_w + std::to_string(kLongestChain) + " satır alındı..."_w;
      tell(messages_, cut, MsgIcon::Exclamation);
      break;
    }
    inChain[self] = true;
    refreshItem(line);
    own(line);
    next = line.NextLine;
    if (next > 0 && (next > storeCount_ || inChain[next])) next = 0;
    line.NextLine = next;
    store_.put(self, line);
    line.NextLine = self;
    copy_.put(++copied, line);
    report_.copied(copied);
  }
  result_.lines = copied;
}

// The product the line names, when it is live and still carries the line's code; otherwise the first
// live product with that code. When none has it, the line keeps its item data.
void WorkingCopyRun::refreshItem(RecipeRecord& line) {
  const std::string key = codeKey(line.Code);
  std::int16_t found = 0;
  ProductRecord item;
  if (line.ItemRecord >= 1 && line.ItemRecord <= products_.count()) {
    item = products_.read(line.ItemRecord);
    if (item.Kind >= 0 && codeKey(item.Code) == key) found = line.ItemRecord;
  }
  if (found == 0) {
    found = components_.firstLiveWithCode(key);
    if (found == 0) return;
    item = products_.read(found);
  }
  line.ItemRecord = found;
  line.LineType = item.Kind;
  line.Code = item.Code.view();
  line.Name = item.Name.view();
  line.Unit = item.Unit.view();
}

// Told once; a half-made copy is not left for the editor, and the store and the product are as they were.
WorkingCopyResult WorkingCopyRun::failed() {
  messages_.message("Dönüşüm sırasında hata oluştu..."_w, MsgButtons::Ok, MsgIcon::Exclamation, "! HATA !");
  copy_.close();
  store_.close();
  result_.outcome = WorkingCopyOutcome::Failed;
  result_.lines = 0;
  return result_;
}

}  // namespace

WorkingCopyResult PrepareWorkingCopy(const WorkingCopyInput& input, MessageSink& messages, WorkingCopyReport& report) {
  return WorkingCopyRun(input, messages, report).run();
}

RecipeJob recipeJob(const WorkingCopyInput& input, const WorkingCopyResult& copy) {
  return {input.activeRecord, input.listMode, copy.ownerCode, copy.ownerRandomNumber, copy.listHead.value_or(0)};
}

UserMessage longestChainMessage() {
  return {"Bir liste en fazla "_w + std::to_string(kLongestChain) + " satır alabilir!..."_w, "! HATA !"};
}

// ---- The editor's operations ----

void RecipeEditSession::open() {
  store = openRecipeSideFile(company(), definitionStore(job.ListMode));
  workingCopy = openRecipeSideFile(company(), RecipeFileKind::WorkingCopy);
  lineCount = workingCopy.count();
}

PageSpan pageSpan(std::int32_t page, std::int32_t lineCount) {
  PageSpan span;
  span.page = page;
  if (span.page < 1) {
    span.beep = true;
    span.page = 1;
  } else if (span.page > lineCount / kGridRows + 1) {
    span.beep = true;
    --span.page;
  }
  span.first = span.page * kGridRows - (kGridRows - 1);
  span.last = std::min(span.page * kGridRows, lineCount);
  return span;
}

RecipeRecord RecipeEditSession::readLine(std::int32_t n) const {
  if (!isLineNumber(n, workingCopy.count())) return RecipeRecord{};
  return workingCopy.get<RecipeRecord>(n);
}

GridPage RecipeEditSession::readRows(std::int32_t first, std::int32_t last) const {
  GridPage rows;
  const std::int32_t held = workingCopy.count();
  for (std::int32_t k = std::max(first, 1); k <= last && k <= held && k - first < kGridRows; ++k) {
    const RecipeRecord line = workingCopy.get<RecipeRecord>(k);
    rows[k - first] = {line.ItemRecord, line.LineType, line.Code.str(), line.Name.str(),
                       line.Quantity,   line.Unit.str(), line.Cost};
  }
  return rows;
}

// A row of an existing line is written over that line; a new row goes after the last line from a blank
// record, so that nothing of the line handled before it (its flag, position, price) is carried over.
bool RecipeEditSession::putRow(std::int32_t own, const GridRow& row) {
  const std::int32_t held = workingCopy.count();
  RecipeRecord line;
  std::int32_t at = own;
  if (own > held) {
    at = held + 1;
    if (at > kLongestChain) return false;
    line.Deleted = "H";
  } else {
    line = workingCopy.get<RecipeRecord>(own);
  }
  stampOwner(line, job.ActiveRecordNumber, job.OwnerCode, job.OwnerRandomNumber);
  line.ItemRecord = row.itemRecord;
  line.LineType = row.lineType;
  line.Code = trim(row.code);
  line.Name = row.name;
  line.Quantity = row.quantity;
  line.Unit = row.unit;
  line.Cost = row.cost;
  line.Total = static_cast<float>(static_cast<double>(row.cost) * static_cast<double>(row.quantity));
  line.Day = static_cast<std::int16_t>(recipeDate.day());
  line.Month = static_cast<std::int16_t>(recipeDate.month());
  line.Year = static_cast<std::int16_t>(recipeDate.year());
  workingCopy.put(at, line);
  lineCount = std::max(lineCount, at);
  return true;
}

namespace {

bool writable(const GridRow& row, std::int32_t own) { return own >= 1 && !trim(row.code).empty(); }

}  // namespace

RowsSaved RecipeEditSession::SaveGridPage(std::int32_t firstLine, const GridPage& rows) {
  RowsSaved saved;
  for (int r = 0; r < kGridRows; ++r) {
    if (!writable(rows[r], firstLine + r)) continue;
    if (putRow(firstLine + r, rows[r]))
      saved.written = true;
    else
      saved.pastLongestChain = true;
  }
  if (saved.pastLongestChain) lineCount = workingCopy.count();
  return saved;
}

RowsSaved RecipeEditSession::SaveGridRow(std::int32_t firstLine, const GridPage& rows, int row) {
  if (row < 0 || row >= kGridRows || !writable(rows[row], firstLine + row)) return {};
  for (int r = 0; r < row; ++r)
    if (firstLine + r > workingCopy.count() && writable(rows[r], firstLine + r)) putRow(firstLine + r, rows[r]);
  const bool written = putRow(firstLine + row, rows[row]);
  if (!written) lineCount = workingCopy.count();
  return {written, !written};
}

// The deleted lines' homes are erased first, as the copy's own lines may then take one of them back.
void RecipeEditSession::markDeletedHomes() {
  const std::int32_t count = storeCount();
  for (std::int32_t home : deletedHomes) {
    if (!isLineNumber(home, count)) continue;
    RecipeRecord stored = store.get<RecipeRecord>(home);
    stored.Deleted = "E";
    store.put(home, stored);
  }
}

std::int32_t RecipeEditSession::WriteBackRecipeLines() {
  const std::int32_t n = std::min(lineCount, workingCopy.count());
  if (n < 1) return 0;
  FileCommand command(company());
  markDeletedHomes();
  const std::int32_t count = storeCount();
  std::vector<RecipeRecord> lines;
  lines.reserve(n);
  // Homes: a line without one, or with a home an earlier line already took, gets the next new record.
  std::vector<bool> taken(static_cast<std::size_t>(count) + n + 1);
  std::int32_t newHome = count;
  for (std::int32_t i = 1; i <= n; ++i) {
    RecipeRecord line = workingCopy.get<RecipeRecord>(i);
    if (!isLineNumber(line.NextLine, count) || taken[line.NextLine]) {
      line.NextLine = ++newHome;
      line.Deleted = "H";
    }
    taken[line.NextLine] = true;
    line.Sequence = static_cast<std::int16_t>(i);
    lines.push_back(line);
  }
  // The working copy learns each line's home as the store gets the line.
  for (std::int32_t i = 0; i < n; ++i) {
    workingCopy.put(i + 1, lines[i]);
    RecipeRecord linked = lines[i];
    linked.NextLine = i + 1 < n ? lines[i + 1].NextLine : 0;
    store.put(lines[i].NextLine, linked);
  }
  if (!job.ListMode && hasProduct()) {
    ProductRecord product = products.read(job.ActiveRecordNumber);
    product.RecipeNumber = lines.front().NextLine;
    products.write(job.ActiveRecordNumber, product);
  }
  command.commit();
  deletedHomes.clear();
  return n;
}

DeleteLineResult RecipeEditSession::DeleteRecipeLine(std::int32_t current) {
  if (current < 1 || current > lineCount) return DeleteLineResult::NoLine;
  const std::int32_t held = workingCopy.count();
  if (current > held) {  // the new line counted ahead was never saved: it is simply dropped
    lineCount = held;
    return DeleteLineResult::Deleted;
  }
  const std::int32_t home = workingCopy.get<RecipeRecord>(current).NextLine;
  const std::string scratchName = companyFileName(company(), RecipeFileKind::RecipeScratch);
  if (fileExists(scratchName)) deleteFile(scratchName);
  try {
    FileHandle scratch = openRecipeSideFile(company(), RecipeFileKind::RecipeScratch);
    std::int32_t out = 0;
    for (std::int32_t i = 1; i <= held; ++i)
      if (i != current) scratch.put(++out, workingCopy.get<RecipeRecord>(i));
    scratch.sync();
  } catch (const FileError&) {
    deleteFileQuietly(scratchName);
    throw;
  }
  workingCopy.close();
  try {
    replaceFile(scratchName, companyFileName(company(), RecipeFileKind::WorkingCopy));
  } catch (const FileError&) {
    deleteFileQuietly(scratchName);
    try {
      workingCopy = openRecipeSideFile(company(), RecipeFileKind::WorkingCopy);
    } catch (const FileError&) {
    }
    throw;
  }
  workingCopy = openRecipeSideFile(company(), RecipeFileKind::WorkingCopy);
  lineCount = workingCopy.count();
  deletedHomes.push_back(home);
  return DeleteLineResult::Deleted;
}

void RecipeEditSession::EraseRecipeChain() {
  FileCommand command(company());
  markDeletedHomes();
  ProductRecord product;
  std::int32_t start = job.ListHead;
  if (!job.ListMode) {
    if (!hasProduct()) {
      command.commit();
      deletedHomes.clear();
      return;
    }
    product = products.read(job.ActiveRecordNumber);
    start = product.RecipeNumber;
  }
  // The head whatever its flag, then the live lines after it. They are erased from the last one back to
  // the head, and the product lets go of the head after them: erasing again after a failure still finds
  // every line that is left.
  std::vector<std::int32_t> chain;
  walkChain(store, storeCount(), start, [&chain](std::int32_t n, const RecipeRecord& line) {
    if (!chain.empty() && !isLiveLine(line)) return false;
    chain.push_back(n);
    return true;
  });
  for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
    RecipeRecord line = store.get<RecipeRecord>(*at);
    line.NextLine = 0;
    line.Deleted = "E";
    store.put(*at, line);
  }
  if (!job.ListMode) {
    product.RecipeNumber = 0;
    products.write(job.ActiveRecordNumber, product);
  }
  command.commit();
  deletedHomes.clear();
}

// A session whose opening failed holds no edit: it only closes what it opened. Every step can be tried
// again after a failure: the files stay open until the chain is stored, and the empty files are found by
// their length.
void RecipeEditSession::finish() {
  if (store.isOpen() && workingCopy.isOpen() && WriteBackRecipeLines() == 0) EraseRecipeChain();
  workingCopy.close();
  store.close();
  const std::string copyName = companyFileName(company(), RecipeFileKind::WorkingCopy);
  const std::string storeName = companyFileName(company(), definitionStore(job.ListMode));
  if (fileExists(copyName) && recordCountByName(copyName, RecipeRecord::Length) == 0) deleteFile(copyName);
  if (fileExists(storeName) && recordCountByName(storeName, RecipeRecord::Length) == 0) deleteFile(storeName);
}

}  // namespace kv
