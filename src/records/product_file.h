// A company's product file ".DAT" with its alphabetic index ".ABC": the one engine of the product side.
// Every window that works with products owns one (the main window, the analysis window, the list dialog,
// the service window); whole-file jobs (the rebuild, the workbook import, the sorts) build on it too. It
// opens the two files, keeps the record count, reads and writes records, saves and deletes them with the
// chain kept in step, finds them by code and by name, and walks them in record and in code order. It
// reports to the user only through the message sink a window passes in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/messages.h"
#include "files/files.h"
#include "records/alphabetic_chain.h"
#include "records/code_search.h"
#include "records/product_file_replacement.h"
#include "records/product_record.h"

namespace kv {

inline constexpr int kTabAll = 8;  // the kind tab "Tümü"

// A record fits a kind tab when it is not deleted and the tab is "Tümü" or the tab of its kind.
inline bool fitsTab(std::int16_t kind, int tab) { return kind >= 0 && (tab == kTabAll || kind == tab); }

// The four steps of browsing.
enum class ChainCommand { First = 1, Previous = 2, Next = 3, Last = 4 };

// Where a step along the chain to the nearest record that fits the tab stands. The window decides from it
// what its buttons show.
struct ChainStep {
  enum class Status {
    Found,
    NotFound,
    Locked,   // the walk did not end: the chain loops
    NoChain,  // the index names no first or no last record of the chain
  };
  Status status = Status::NotFound;
  // Found: the record to show. Otherwise the record at which the walk stopped (0 when it read none).
  std::int16_t record = 0;
  ProductRecord found;      // its content, when found
  bool atStart = false;     // `record` is the chain's first record or points back to itself
  bool atEnd = false;       // `record` is the chain's last record or points on to itself
  bool chainOfOne = false;  // the chain's first and last record are one
  // Previous and next: no record between the one stepped from and the chain's end fits the tab; when the
  // one stepped from still fits, it is `record` again (found).
  bool noneFitsBeyond = false;
};

// Where the record-order scan with which the main window puts a record on the screen stands.
struct RecordScan {
  bool found = false;        // `record` fits the tab
  std::int16_t record = 0;   // the record reached; 0 when nothing fits (1 in a file of one record)
  int direction = 1;         // the direction the scan went on in: it turns round at either end of the file
  bool metFirst = false;     // it turned round at the first record (or the one record does not fit)
  bool metLast = false;      // it turned round at the last record (or the one record does not fit)
  std::int32_t steps = 0;
  std::optional<ProductRecord> last;  // the last record read, when any
};

class ProductFile {
 public:
  enum class IndexRule {
    Apply,  // an index that does not hold 109 entries is written anew with 109 empty buckets
    Leave,  // the index is taken as it is (the service window looks at a damaged one)
  };
  struct Opened {
    bool indexRenewed = false;  // the opening rule wrote 109 empty buckets
  };

  // Opens CompanyName ".DAT" and ".ABC" (creating them when missing). Throws FileError.
  Opened open(std::string_view company, IndexRule rule = IndexRule::Apply);
  void close();
  bool isOpen() const { return data_.isOpen(); }
  const std::string& company() const { return company_; }

  // What replace did: the job's result, and why the files could not be opened again afterwards (the
  // product file then stays closed).
  struct Replaced {
    ProductFileReplacement job;
    std::optional<FileError> reopenFailure;
  };
  // Closes both files, so that `job` (given the company) can put new ones in their place through
  // replaceProductFile, and opens them again under `rule`, counted afresh, whether they were replaced
  // or not. The company stays held meanwhile. Throws FileError when it cannot be held.
  Replaced replace(const std::function<ProductFileReplacement(const std::string& company)>& job, IndexRule rule);

  // The record count as last counted; counted anew from the file's length by recount().
  std::int16_t count() const { return count_; }
  std::int16_t recount();
  // The bound of every walk: twice the record count.
  std::int32_t stepLimit() const { return 2 * static_cast<std::int32_t>(count_); }

  ProductRecord read(std::int16_t n) const { return data_.get<ProductRecord>(n); }
  std::span<const std::uint8_t> peek(std::int16_t n) const { return data_.peek(n); }
  IndexEntry entry(int bucket) const { return index_.get<IndexEntry>(bucket); }
  // Writes a record as it is, chain pointers included (for fields that are not the code: costs, dates,
  // the recipe). Appending (n = count + 1) raises the count.
  void write(std::int16_t n, const ProductRecord& rec);

  // ---- Saving and deleting, with the chain kept in step ----

  enum class SaveResult {
    Saved,
    Full,          // a new record would be record 32768: nothing written
    PointerError,  // the stored record's chain pointers lie outside the file: nothing written
  };
  // Writes `rec` at record n (1..count). Its chain pointers are those stored; when its code differs from
  // the stored code, the record leaves its place in the chain first and is linked at its new one.
  SaveResult save(std::int16_t n, ProductRecord rec, const InsertPolicy& policy, MessageSink* sink);
  // Appends `rec` as record count + 1 (its RecordNumber) and links it. Returns its number, or 0 when the
  // file is full.
  std::int16_t append(ProductRecord rec, const InsertPolicy& policy, MessageSink* sink);
  static constexpr std::int16_t kFull = kMaxRecords16;

  enum class DeleteResult {
    Deleted,
    NotLinked,     // a code with a bucket whose record is not (fully) in the chain: nothing written
    PointerError,  // deleted, but its neighbours could not be joined: the pointer message was shown
  };
  // Marks record n deleted (Kind -1, pointers 0) and takes it out of its bucket and the chain.
  DeleteResult remove(std::int16_t n, MessageSink* sink);

  // ---- Finding ----

  // searchText trimmed and upper-cased; see findByCode in code_search.h.
  CodeSearchResult findByCode(std::string_view searchText, CodeMatch match,
                              const std::function<bool(const ProductRecord&)>& accept) const;
  // The next record in record order after `current` (then from record 1) whose upper-cased trimmed name
  // contains nameText and that fits the tab; from the first or the last record the scan starts at record
  // 1. 0 when none, or when the file holds fewer than two records.
  std::int16_t findByName(std::string_view nameText, std::int16_t current, int tab) const;
  // The first record from n (1..count) on in record order that is not deleted; 0 when none.
  std::int16_t liveFrom(std::int16_t n) const;

  // ---- Browsing ----

  // From record `from` (1 or more) in `direction` (+1 or -1) to the nearest record that fits the tab,
  // turning round at either end of the file, at most stepLimit() reads.
  RecordScan scanToFitting(int tab, std::int16_t from, int direction) const;
  // The nearest record in code order that fits the tab: the chain's first or last, or the one before or
  // after record `from`.
  ChainStep step(ChainCommand command, std::int16_t from, int tab) const;

  ChainFiles chainFiles() const { return {data_.number(), index_.number(), ChainKey::Code}; }
  const FileHandle& data() const { return data_; }

 private:
  bool inRange(int r) const { return r >= 1 && r <= count_; }
  template <class Change>
  auto asCommand(Change&& change);
  SaveResult saveRecord(std::int16_t n, ProductRecord rec, const InsertPolicy& policy, MessageSink* sink);
  DeleteResult removeRecord(std::int16_t n, MessageSink* sink);

  FileHandle data_;
  FileHandle index_;
  std::string company_;
  std::int16_t count_ = 0;
};

}  // namespace kv
