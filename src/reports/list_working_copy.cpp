#include "reports/list_working_copy.h"

#include <string>

#include "base/end_reported.h"
#include "files/file_replacement.h"
#include "files/files.h"
#include "recipe/recipe_files.h"
#include "records/recipe_record.h"

namespace kv {

namespace {

class ListCopyRun {
 public:
  ListCopyRun(const ListWorkingCopyInput& input, ListWorkingCopyReport& report) : in_(input), report_(report) {}

  ListWorkingCopyResult run();

 private:
  ListWorkingCopyResult copy();
  void findHead(const ProductRecord& product);
  void copyList();
  ListWorkingCopyResult failed();

  const ListWorkingCopyInput& in_;
  ListWorkingCopyReport& report_;
  FileHandle store_;
  FileHandle copy_;
  std::int32_t storeCount_ = 0;
  ListWorkingCopyResult result_;
};

ListWorkingCopyResult ListCopyRun::run() {
  report_.started();
  return endReported([&] { return copy(); }, [&](const ListWorkingCopyResult* r) {
    report_.ended(r ? r->outcome : ListWorkingCopyOutcome::Failed);
  });
}

ListWorkingCopyResult ListCopyRun::copy() {
  FileReplacement replacement(in_.products.company());
  try {
    store_ = openRecipeSideFile(in_.products.company(), RecipeFileKind::ListDefinitions);
    storeCount_ = store_.count();
    const ProductFile& products = in_.products;
    if (in_.activeRecord < 1 || in_.activeRecord > products.count())
      throw FileError(FileError::Kind::BadRecordNumber, FileOp::Read, products.data().name());
    findHead(products.read(in_.activeRecord));
    // The new list takes the working copy's place, a non-empty old one kept as its backup.
    const std::string copyName = companyFileName(in_.products.company(), RecipeFileKind::WorkingCopy);
    copy_ = FileHandle(replacement.newContentFor(copyName, workingCopyBackup(copyName)), RecipeRecord::Length);
    if (result_.head != 0) copyList();
    result_.listRecordCount = static_cast<std::int16_t>(copy_.count());
    copy_.close();
    store_.close();
    if (!replacement.commit()) throw *replacement.error();
  } catch (const FileError&) {
    return failed();
  }
  result_.outcome =
      result_.listRecordCount > 0 ? ListWorkingCopyOutcome::Copied : ListWorkingCopyOutcome::NothingToList;
  return result_;
}

// Only the owner's code names the list; the lines passed over are reported.
void ListCopyRun::findHead(const ProductRecord& product) {
  for (std::int32_t p = 1; p <= storeCount_; ++p) {
    if (headsChainForListReport(store_.get<RecipeRecord>(p), product)) {
      result_.head = p;
      return;
    }
    report_.passedOver(p);
  }
}

// The head (live, as the search found it), then every live line after it; an erased line is passed over
// and the chain followed on through it.
void ListCopyRun::copyList() {
  std::int32_t copied = 0;
  walkChain(store_, storeCount_, result_.head, [&](std::int32_t, const RecipeRecord& line) {
    if (isLiveLine(line)) {
      if (copied == kMaxRecords16) throw FileError(FileError::Kind::BadRecordNumber, FileOp::Write, copy_.name());
      copy_.put(++copied, line);
    }
    return true;
  });
}

// No half-made list is left for the reports; the head found stays known.
ListWorkingCopyResult ListCopyRun::failed() {
  copy_.close();
  store_.close();
  result_.outcome = ListWorkingCopyOutcome::Failed;
  result_.listRecordCount = 0;
  return result_;
}

}  // namespace

ListWorkingCopyResult PrepareListWorkingCopy(const ListWorkingCopyInput& input, ListWorkingCopyReport& report) {
  return ListCopyRun(input, report).run();
}

}  // namespace kv
