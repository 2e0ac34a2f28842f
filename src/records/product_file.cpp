#include "records/product_file.h"

#include <algorithm>

#include "base/collation.h"
#include "base/text.h"
#include "files/company_lock.h"
#include "files/file_command.h"
#include "records/chain_ends.h"
#include "records/chain_walk.h"

namespace kv {

// Every change of the product file is one command on the company's files, or a part of the one that runs:
// it reaches the disk whole or not at all, and the count follows it.
template <class Change>
auto ProductFile::asCommand(Change&& change) {
  const std::int16_t countBefore = count_;
  try {
    FileCommand command(company_);
    auto result = change();
    command.commit();
    return result;
  } catch (...) {
    count_ = countBefore;
    throw;
  }
}

ProductFile::Opened ProductFile::open(std::string_view company, IndexRule rule) {
  close();
  company_ = std::string(company);
  Opened opened;
  try {
    data_.open(company_ + ".DAT", ProductRecord::Length);
    index_.open(company_ + ".ABC", IndexEntry::Length);
    recount();
    if (rule == IndexRule::Apply) opened.indexRenewed = asCommand([&] { return applyIndexOpeningRule(index_.number()); });
  } catch (...) {
    close();
    throw;
  }
  return opened;
}

void ProductFile::close() {
  data_.close();
  index_.close();
  count_ = 0;
}

ProductFile::Replaced ProductFile::replace(const std::function<ProductFileReplacement(const std::string&)>& job,
                                           IndexRule rule) {
  const std::string company = company_;
  // The files are let go for the job, the company is not.
  const CompanyLock hold(company);
  close();
  Replaced done;
  done.job = job(company);
  try {
    open(company, rule);
  } catch (const FileError& e) {
    done.reopenFailure = e;
  }
  return done;
}

std::int16_t ProductFile::recount() {
  count_ = static_cast<std::int16_t>(data_.count());
  return count_;
}

void ProductFile::write(std::int16_t n, const ProductRecord& rec) {
  asCommand([&] {
    data_.put(n, rec);
    if (n > count_) count_ = n;
    return true;
  });
}

ProductFile::SaveResult ProductFile::save(std::int16_t n, ProductRecord rec, const InsertPolicy& policy,
                                          MessageSink* sink) {
  return asCommand([&] { return saveRecord(n, rec, policy, sink); });
}

ProductFile::SaveResult ProductFile::saveRecord(std::int16_t n, ProductRecord rec, const InsertPolicy& policy,
                                                MessageSink* sink) {
  const ProductRecord stored = read(n);
  // A record keeps its place in the chain unless its code changes; the pointers of the buffer the window
  // filled are never trusted.
  const bool relink = trimView(stored.Code.view()) != trimView(rec.Code.view());
  if (relink) {
    if (unlinkFromAlphabeticIndex(chainFiles(), n, UnlinkVariant::Save, sink) == UnlinkResult::PointerError)
      return SaveResult::PointerError;
    // Out of the chain until it is linked at its new place; a new code that has no place in the collation
    // leaves it out for good, and then it must not point at its former neighbours.
    rec.ChainPrev = rec.ChainNext = 0;
  } else {
    rec.ChainPrev = stored.ChainPrev;
    rec.ChainNext = stored.ChainNext;
  }
  write(n, rec);
  if (relink) insertIntoAlphabeticIndex(chainFiles(), n, policy, sink);
  return SaveResult::Saved;
}

std::int16_t ProductFile::append(ProductRecord rec, const InsertPolicy& policy, MessageSink* sink) {
  if (count_ >= kMaxRecords16) return std::int16_t{0};
  return asCommand([&] {
    const auto n = static_cast<std::int16_t>(count_ + 1);
    rec.RecordNumber = n;
    rec.ChainPrev = rec.ChainNext = 0;
    write(n, rec);
    insertIntoAlphabeticIndex(chainFiles(), n, policy, sink);
    return n;
  });
}

ProductFile::DeleteResult ProductFile::remove(std::int16_t n, MessageSink* sink) {
  return asCommand([&] { return removeRecord(n, sink); });
}

ProductFile::DeleteResult ProductFile::removeRecord(std::int16_t n, MessageSink* sink) {
  ProductRecord stored = read(n);
  if (stored.ChainPrev == 0 || stored.ChainNext == 0) {
    // Only a record whose code has no place in the collation was never meant to be linked: it is marked
    // deleted as it stands. Any other record out of the chain may still be named by its bucket, which must
    // not be left naming a deleted record: the service's rebuild mends it.
    const bool neverLinkable = bucketOf(keyOf(stored.Code.view())) == 0;
    if (!neverLinkable || stored.ChainPrev != 0 || stored.ChainNext != 0) return DeleteResult::NotLinked;
    stored.Kind = -1;
    write(n, stored);
    return DeleteResult::Deleted;
  }
  return unlinkFromAlphabeticIndex(chainFiles(), n, UnlinkVariant::Delete, sink) == UnlinkResult::PointerError
             ? DeleteResult::PointerError
             : DeleteResult::Deleted;
}

CodeSearchResult ProductFile::findByCode(std::string_view searchText, CodeMatch match,
                                         const std::function<bool(const ProductRecord&)>& accept) const {
  ProductRecord buffer;
  return kv::findByCode(data_, index_, count_, searchText, match, accept, buffer);
}

std::int16_t ProductFile::findByName(std::string_view nameText, std::int16_t current, int tab) const {
  if (count_ < 2) return 0;
  // From the record after the current one, so that repeated searches step through the matches, wrapping
  // round to record 1.
  const int start = current >= 1 && current < count_ ? current + 1 : 1;
  for (int i = 0; i < count_; ++i) {
    const int r = (start - 1 + i) % count_ + 1;
    const ProductRecord rec = read(static_cast<std::int16_t>(r));
    if (fitsTab(rec.Kind, tab) && upperCase(trimView(rec.Name.view())).find(nameText) != std::string::npos)
      return static_cast<std::int16_t>(r);
  }
  return 0;
}

std::int16_t ProductFile::liveFrom(std::int16_t n) const {
  for (int r = std::max<int>(n, 1); r <= count_; ++r)
    if (read(static_cast<std::int16_t>(r)).Kind >= 0) return static_cast<std::int16_t>(r);
  return 0;
}

RecordScan ProductFile::scanToFitting(int tab, std::int16_t from, int direction) const {
  RecordScan out;
  out.record = from;
  out.direction = direction;
  const std::int32_t limit = stepLimit();
  for (;;) {
    if (++out.steps > limit) {
      out.record = 0;
      return out;
    }
    if (out.record > count_) out.record = count_;
    out.last = read(out.record);
    if (fitsTab(out.last->Kind, tab)) {
      out.found = true;
      return out;
    }
    const int next = out.record + out.direction;
    if (count_ == 1) {
      out.metFirst = out.metLast = true;
      out.record = 1;
      return out;
    }
    if (next <= 1) {
      out.record = 1;
      out.direction = 1;
      out.metFirst = true;
    } else if (next >= count_) {
      out.record = count_;
      out.direction = -1;
      out.metLast = true;
    } else {
      out.record = static_cast<std::int16_t>(next);
    }
  }
}

ChainStep ProductFile::step(ChainCommand command, std::int16_t from, int tab) const {
  using How = ChainWalkEnd::How;
  ChainStep result;
  auto fits = [tab](std::int16_t, const ProductRecord& rec) { return fitsTab(rec.Kind, tab); };

  const auto [chainFirst, chainLast] = chainEnds([this](int b) { return entry(b); }, count_);
  if (!chainFirst || !chainLast) {
    result.status = ChainStep::Status::NoChain;
    return result;
  }
  result.chainOfOne = chainFirst == chainLast;
  auto standAt = [&](std::int16_t r, const ProductRecord& rec) {
    result.record = r;
    result.atStart = r == chainFirst || rec.ChainPrev == r;
    result.atEnd = r == chainLast || rec.ChainNext == r;
  };

  ProductRecord rec;
  ChainWalkEnd end;
  if (command == ChainCommand::First || command == ChainCommand::Last) {
    const bool first = command == ChainCommand::First;
    end = walkChain(data_, count_, first ? chainFirst : chainLast, first, first ? chainLast : chainFirst,
                    stepLimit(), rec, fits);
  } else {
    const bool previous = command == ChainCommand::Previous;
    if (!inRange(from)) return result;
    const ProductRecord origin = read(from);
    end = walkChain(data_, count_, previous ? origin.ChainPrev : origin.ChainNext, !previous,
                    previous ? chainFirst : chainLast, stepLimit(), rec, fits);
    if (end.how == How::End) {
      // The start or the end of the chain: the record shown before stays, when it still fits.
      result.noneFitsBeyond = true;
      if (fitsTab(origin.Kind, tab)) {
        standAt(from, origin);
        result.status = ChainStep::Status::Found;
        result.found = origin;
        return result;
      }
    }
  }
  if (end.at) standAt(end.at, rec);
  if (end.how == How::Found) {
    result.status = ChainStep::Status::Found;
    result.found = rec;
  } else if (end.how == How::Locked) {
    result.status = ChainStep::Status::Locked;
  }
  return result;
}

}  // namespace kv
