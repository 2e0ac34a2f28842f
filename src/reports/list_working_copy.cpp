#include "reports/list_working_copy.h"

#include <string>

#include "common/file_replacement.h"
#include "common/files.h"
#include "common/numbers.h"
#include "common/recipe_record.h"
#include "common/text.h"
#include "recipe/recipe_files.h"

namespace kv {

namespace {

const char* const kEndTitle = " KALVOR 952 Uyarlama 3.0 BETA";

class ListCopyRun {
 public:
  ListCopyRun(const ListWorkingCopyInput& input, ProgressSink& title) : in_(input), title_(title) {}

  ListWorkingCopyResult run();

 private:
  void findHead(const ProductRecord& product);
  void copyList();
  ListWorkingCopyResult failed();

  const ListWorkingCopyInput& in_;
  ProgressSink& title_;
  FileHandle store_;
  FileHandle copy_;
  std::int32_t storeCount_ = 0;
  ListWorkingCopyResult result_;
};

ListWorkingCopyResult ListCopyRun::run() {
  title_.progress("Liste işlemleri yapılıyor..."_w);
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
    copy_ = FileHandle(replacement.stage(copyName, workingCopyBackup(copyName)), RecipeRecord::Length);
    if (result_.head != 0) copyList();
    result_.listRecordCount = static_cast<std::int16_t>(copy_.count());
    copy_.close();
    store_.close();
    if (!replacement.commit()) throw *replacement.error();
  } catch (const FileError&) {
    return failed();
  }
  title_.progress(kEndTitle);
  result_.outcome =
      result_.listRecordCount > 0 ? ListWorkingCopyOutcome::Copied : ListWorkingCopyOutcome::NothingToList;
  return result_;
}

// Only the owner's code names the list; the title counts the lines passed over.
void ListCopyRun::findHead(const ProductRecord& product) {
  for (std::int32_t p = 1; p <= storeCount_; ++p) {
    if (headsChainForListReport(store_.get<RecipeRecord>(p), product)) {
      result_.head = p;
      return;
    }
    title_.progress(recordNumberText(p));
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
  title_.progress("Liste işlemleri esnasında hata oluştu..."_w);
  result_.outcome = ListWorkingCopyOutcome::Failed;
  result_.listRecordCount = 0;
  return result_;
}

}  // namespace

ListWorkingCopyResult PrepareListWorkingCopy(const ListWorkingCopyInput& input, ProgressSink& title) {
  return ListCopyRun(input, title).run();
}

}  // namespace kv
