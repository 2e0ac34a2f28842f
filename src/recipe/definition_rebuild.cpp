#include "recipe/definition_rebuild.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "base/end_reported.h"
#include "base/program_title.h"
#include "base/text.h"
#include "files/file_command.h"
#include "files/file_error_message.h"
#include "files/file_replacement.h"
#include "files/files.h"

namespace kv {

namespace {

// What follows the line count in the closing message (UTF-8).
const char* savedText(RecipeFileKind store) {
  return store == RecipeFileKind::Recipes ? " kayıt reçete tanım dosyasına kayıtlandı..."
                                          : " kayıt liste tanım dosyasına kayıtlandı...";
}

const char* const kProgramTitle = " " KV_PROGRAM_TITLE;

// The new store, written into the temporary file of the replacement in blocks of lines (one write per
// block instead of one per line; the bytes on disk are the same). Its failures name the store, not the
// temporary file.
class NewStore {
 public:
  NewStore(const std::string& temporary, const std::string& store) : store_(store) {
    named([&] { file_.open(temporary, kBlockLength, kMaxRecords32); });
    block_.reserve(kBlockLength);
  }
  std::int32_t count() const { return count_; }
  void append(const RecipeRecord& line) {
    if (count_ == kMaxRecords32)
      throw FileError(FileError::Kind::BadRecordNumber, FileOp::Write, store_, 0, "the new store is full");
    block_.resize(block_.size() + RecipeRecord::Length);
    line.encode(block_.data() + block_.size() - RecipeRecord::Length);
    ++count_;
    if (block_.size() == kBlockLength) flush();
  }
  void close() {
    flush();
    file_.close();
  }

 private:
  static constexpr int kLinesPerBlock = 256;
  static constexpr int kBlockLength = kLinesPerBlock * RecipeRecord::Length;

  void flush() {
    if (block_.empty()) return;
    named([&] { putRecord(file_.number(), ++blocks_, block_); });
    block_.clear();
  }
  template <class Op>
  void named(Op&& op) {
    try {
      op();
    } catch (const FileError& e) {
      throw FileError(e.kind(), e.op(), store_, e.systemError(), e.what());
    }
  }

  FileHandle file_;
  std::string store_;
  std::vector<std::uint8_t> block_;
  std::int32_t blocks_ = 0;
  std::int32_t count_ = 0;
};

class DefinitionRebuild {
 public:
  DefinitionRebuild(RecipeFileKind kind, ProductFile& products, MessageSink& messages, RebuildReport& report)
      : kind_(kind),
        company_(products.company()),
        storeName_(companyFileName(company_, kind)),
        products_(products),
        messages_(messages),
        report_(report) {}

  RebuildResult run();

 private:
  RebuildResult rebuild();
  // A product whose RecipeNumber the new store changes.
  struct NewHead {
    std::int16_t product;
    std::int32_t now;
  };

  void copyChains(NewStore& out);
  std::int32_t headOf(std::int16_t p, const ProductRecord& product, const RebuildHeads& heads) const;
  std::int32_t copyChain(std::int16_t p, const ProductRecord& product, std::int32_t head, NewStore& out);
  RecipeRecord line(std::int32_t n) const { return store_.get<RecipeRecord>(n); }
  void writeProducts();
  RebuildResult failed(const FileError& e);

  RecipeFileKind kind_;
  const std::string company_;
  std::string storeName_;
  ProductFile& products_;
  MessageSink& messages_;
  RebuildReport& report_;

  FileHandle store_;  // open while the chains are copied
  std::int32_t storeCount_ = 0;
  std::vector<std::int16_t> visitedBy_;  // per store line: the product whose chain last took it
  std::vector<NewHead> changed_;         // recipes only
};

// The new store is complete in its temporary file before anything live changes. In one command, the
// products get their new RecipeNumbers and the new store takes the store's place (the old one becoming
// the backup, a non-empty ".RCT" going to its backup, an empty one going): a failure, a kill or a power
// cut at any point leaves the store, the products and ".RCT" all as they were, or all rebuilt.
RebuildResult DefinitionRebuild::run() {
  report_.started();
  return endReported([&] { return rebuild(); }, [&](const RebuildResult*) { report_.ended(); });
}

RebuildResult DefinitionRebuild::rebuild() {
  if (!fileExists(storeName_)) {
    messages_.beep();
    messages_.message(storeName_ + " dosyası bulunamadı!..."_w, MsgButtons::Ok, MsgIcon::Exclamation,
                      "! DOSYA HATASI !");
    return {RebuildOutcome::StoreMissing, 0};
  }
  const std::string workingCopy = companyFileName(company_, RecipeFileKind::WorkingCopy);
  FileCommand command(company_);
  FileReplacement replacement(company_);
  try {
    store_ = openRecipeSideFile(company_, kind_);
    storeCount_ = store_.count();
    NewStore out(replacement.newContentFor(storeName_, backupFileName(kind_)), storeName_);
    replacement.retire(workingCopy, workingCopyBackup(workingCopy));
    copyChains(out);
    out.close();
    store_.close();
  } catch (const FileError& e) {
    store_.close();
    replacement.abandon();
    return failed(e);
  }
  report_.copied();
  try {
    writeProducts();
    if (!replacement.commit()) return failed(*replacement.error());
    command.commit();
  } catch (const FileError& e) {
    return failed(e);
  }

  const std::int32_t count = recordCountByName(storeName_, RecipeRecord::Length, kMaxRecords32);
  report_.finished();
  messages_.beep();
  messages_.message(std::to_string(count) + w(savedText(kind_)), MsgButtons::Ok, MsgIcon::None, kProgramTitle);
  return {RebuildOutcome::Rebuilt, count};
}

void DefinitionRebuild::copyChains(NewStore& out) {
  RebuildHeads heads;
  for (std::int32_t n = 1; n <= storeCount_; ++n) heads.add(n, line(n));
  visitedBy_.assign(static_cast<std::size_t>(storeCount_) + 1, 0);

  const std::int16_t count = products_.recount();
  for (int n = 1; n <= count; ++n) {
    const auto p = static_cast<std::int16_t>(n);
    const ProductRecord product = products_.read(p);
    const std::int32_t head = headOf(p, product, heads);
    const std::int32_t newHead = head ? copyChain(p, product, head, out) : 0;
    if (kind_ == RecipeFileKind::Recipes && newHead != product.RecipeNumber)
      changed_.push_back({p, newHead});
    report_.productDone(p);
  }
}

// List definitions are always looked for; a recipe is looked for only when the product's RecipeNumber
// names a line of the store that is not its head.
std::int32_t DefinitionRebuild::headOf(std::int16_t p, const ProductRecord& product, const RebuildHeads& heads) const {
  if (kind_ == RecipeFileKind::ListDefinitions) return heads.first(p, product);
  const std::int32_t candidate = product.RecipeNumber;
  if (!isLineNumber(candidate, storeCount_)) return 0;
  if (headsChainForRebuild(line(candidate), p, product)) return candidate;
  return heads.first(p, product);
}

// Copies product p's chain from `head` as consecutive new lines, the owner fields taken from the product,
// and returns the new head's number. The chain ends at a NextLine outside the store, at a line that is
// erased or not the product's, at a line that leads back into the chain (itself included), and at
// kLongestChain lines.
std::int32_t DefinitionRebuild::copyChain(std::int16_t p, const ProductRecord& product, std::int32_t head,
                                          NewStore& out) {
  const std::string ownerKey = codeKey(product.Code);
  const std::string ownerCode = trim(product.Code.view());
  auto owned = [&](const RecipeRecord& l) {
    return isLiveLine(l) && ((l.OwnerRecord == p && l.OwnerRandomNumber == product.RandomNumber) ||
                             codeKey(l.OwnerCode) == ownerKey);
  };
  const std::int32_t newHead = out.count() + 1;
  std::int32_t at = head;
  for (std::int32_t position = 1;; ++position) {
    visitedBy_[static_cast<std::size_t>(at)] = p;
    RecipeRecord l = line(at);
    if (position > 1) l.Sequence = static_cast<std::int16_t>(position);
    l.OwnerRecord = p;
    l.OwnerRandomNumber = product.RandomNumber;
    l.OwnerCode = ownerCode;
    const std::int32_t next = l.NextLine;
    const bool goesOn = position < kLongestChain && isLineNumber(next, storeCount_) &&
                        visitedBy_[static_cast<std::size_t>(next)] != p && owned(line(next));
    // Beyond the largest line number the next append fails before anything is written.
    l.NextLine = goesOn ? static_cast<std::int32_t>(std::int64_t{out.count()} + 2) : 0;
    out.append(l);
    if (!goesOn) return newHead;
    at = next;
  }
}

void DefinitionRebuild::writeProducts() {
  for (const NewHead& c : changed_) {
    ProductRecord r = products_.read(c.product);
    r.RecipeNumber = c.now;
    products_.write(c.product, r);
  }
}

RebuildResult DefinitionRebuild::failed(const FileError& e) {
  tellFileError(messages_, e);
  return {RebuildOutcome::Failed, 0};
}

}  // namespace

void RebuildHeads::add(std::int32_t number, const RecipeRecord& line) {
  if (!isLiveLine(line) || line.Sequence != 1) return;
  byCode_.try_emplace(codeKey(line.OwnerCode), number);
  byIdentity_.try_emplace(identity(line.OwnerRecord, line.OwnerRandomNumber), number);
}

std::int32_t RebuildHeads::first(std::int16_t ownerRecord, const ProductRecord& owner) const {
  std::int32_t found = 0;
  auto take = [&found](const auto& map, const auto& key) {
    auto it = map.find(key);
    if (it != map.end() && (found == 0 || it->second < found)) found = it->second;
  };
  take(byCode_, codeKey(owner.Code));
  take(byIdentity_, identity(ownerRecord, owner.RandomNumber));
  return found;
}

std::uint64_t RebuildHeads::identity(std::int16_t record, std::int32_t randomNumber) {
  return std::uint64_t{static_cast<std::uint16_t>(record)} << 32 | static_cast<std::uint32_t>(randomNumber);
}

RebuildResult RebuildDefinitionFile(RecipeFileKind store, ProductFile& products, MessageSink& messages,
                                    RebuildReport& report) {
  if (store != RecipeFileKind::Recipes && store != RecipeFileKind::ListDefinitions)
    throw std::invalid_argument("only the recipe and list-definition files are rebuilt");
  return DefinitionRebuild(store, products, messages, report).run();
}

RebuildResult RebuildRecipeFile(ProductFile& products, MessageSink& messages, RebuildReport& report) {
  return RebuildDefinitionFile(RecipeFileKind::Recipes, products, messages, report);
}

RebuildResult RebuildListDefinitionFile(ProductFile& products, MessageSink& messages, RebuildReport& report) {
  return RebuildDefinitionFile(RecipeFileKind::ListDefinitions, products, messages, report);
}

}  // namespace kv
