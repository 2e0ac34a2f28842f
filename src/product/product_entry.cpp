#include "product/product_entry.h"

#include <optional>

#include "base/clock.h"
#include "base/numbers.h"
#include "base/text.h"
#include "product/cost_text.h"

namespace kv {

EntryBoxes ProductEntry::boxesOf(const ProductRecord& rec, bool withCosts) {
  EntryBoxes b;
  // A date written under other regional settings, or none, leaves the label blank.
  const auto updated = parseShortDate(rec.UpdatedDate.view());
  b.updated = updated ? DateToTurkishText(*updated) : std::string();
  b.code = trim(rec.Code.view());
  b.name = trim(rec.Name.view());
  b.description = trim(rec.Description.view());
  b.unit = trim(rec.Unit.view());
  b.group = trim(rec.ProductGroup.view());
  if (withCosts) {
    b.cost = singleText(rec.Cost) + " " + trim(rec.CostCurrency.view());
    b.costDate = trim(rec.CostDate.view());
    b.documentNo = trim(rec.DocumentNo.view());
  }
  b.costType = rec.CostType >= 1 && rec.CostType <= 3 ? rec.CostType : 0;
  b.specialCode = trim(rec.SpecialCode.view());
  b.coefficient = trim(singleText(rec.Coefficient));
  b.supplier = trim(rec.Supplier.view());
  b.dimensions = trim(rec.Dimensions.view());
  b.weight = trim(rec.Weight.view());
  b.hasPicture = rec.HasPicture > 0;
  b.specialNote = trim(rec.SpecialNote.view());
  return b;
}

std::string ProductEntry::codeOf(std::string_view codeBox) {
  return trim(trimView(codeBox).substr(0, ProductRecord{}.Code.size()));
}

EntryBoxes ProductEntry::show(const ProductRecord& rec, bool withCosts) {
  EntryBoxes b = boxesOf(rec, withCosts);
  shownCode_ = b.code;
  shownCost_ = rec.Cost;
  shownCostText_ = b.cost;
  shownCoefficientText_ = b.coefficient;
  return b;
}

void ProductEntry::forgetShown() {
  shownCode_.clear();
  shownCost_ = 0;
}

SaveCheck ProductEntry::check(const ProductFile& products, std::string_view codeBox, int tab,
                              std::int16_t current) const {
  auto refused = [](SaveRefusal why) { return SaveCheck{SaveCheck::Kind::Refused, why}; };
  const std::string code = codeOf(codeBox);
  if (code.empty()) return refused(SaveRefusal::NoCode);
  if (tab == kTabAll) return refused(SaveRefusal::AllTab);
  // The typed code among the live records: a deleted record's code is free again.
  const CodeSearchResult found =
      products.findByCode(upperCase(code), CodeMatch::Exact, [](const ProductRecord& r) { return r.Kind >= 0; });
  if (found.status == CodeSearchResult::Status::Locked) return refused(SaveRefusal::ChainLocked);
  const bool taken = found.status == CodeSearchResult::Status::Found;
  if (newEntry_) return taken ? refused(SaveRefusal::CodeTaken) : SaveCheck{SaveCheck::Kind::New};
  if (taken && found.record != current) return refused(SaveRefusal::CodeOfAnother);
  if (current < 1 || current > products.count()) return refused(SaveRefusal::NoSuchRecord);
  // Letter case counts here: a code changed in its case alone is asked about too.
  if (code != shownCode_ && codeChanged_) return SaveCheck{SaveCheck::Kind::CodeChange};
  return SaveCheck{SaveCheck::Kind::Edit};
}

EntryRecord ProductEntry::build(const ProductFile& products, const EntryBoxes& typed, int tab,
                                std::int16_t current, Date workingDate) const {
  EntryRecord out;
  auto refused = [&out](SaveRefusal why) {
    out.refusal = why;
    return out;
  };
  if (newEntry_ && products.count() >= kMaxRecords16) return refused(SaveRefusal::FileFull);
  // A number box read only when it no longer shows what it was given; one too large for its field refuses
  // the save before anything is written.
  const bool costTyped = !trimView(typed.cost).empty();
  std::optional<CostText> cost;
  if (costTyped && (newEntry_ || typed.cost != shownCostText_)) {
    cost = readCostText(typed.cost);
    if (!cost) return refused(SaveRefusal::CostTooLarge);
  }
  std::optional<float> coefficient;
  if (newEntry_ || typed.coefficient != shownCoefficientText_) {
    coefficient = readSingleBox(typed.coefficient);
    if (!coefficient) return refused(SaveRefusal::CoefficientTooLarge);
  }

  ProductRecord& rec = out.content;
  const Date today = clock().today();
  if (newEntry_) {
    // Built from nothing: the reserved fields are blank and zero, not those of a record read before.
    stampDate(rec, RecordDate::Created, today);
    rec.CostCurrency = "YTL";
    stampDate(rec, RecordDate::Cost, workingDate);
    out.number = static_cast<std::int16_t>(products.count() + 1);
    rec.RecordNumber = out.number;
    rec.RandomNumber = drawRandomIdentity();
  } else {
    out.number = current;
    rec = products.read(current);
  }
  const float costBefore = newEntry_ ? 0 : shownCost_;

  rec.Kind = static_cast<std::int16_t>(tab);
  rec.Code = codeOf(typed.code);
  rec.Name = trim(typed.name);
  rec.Description = trim(typed.description);
  rec.Unit = trim(typed.unit);
  rec.ProductGroup = trim(typed.group);
  // An empty cost box leaves the cost, its type and its document as stored.
  if (costTyped) {
    if (cost) {
      rec.Cost = cost->cost;
      if (cost->currency) rec.CostCurrency = *cost->currency;
    }
    if (typed.costType >= 1 && typed.costType <= 3) rec.CostType = static_cast<std::int16_t>(typed.costType);
    rec.DocumentNo = trim(typed.documentNo);
  }
  if (rec.Cost != costBefore) stampDate(rec, RecordDate::Cost, workingDate);
  rec.SpecialCode = trim(typed.specialCode);
  if (coefficient) rec.Coefficient = *coefficient;
  rec.Supplier = trim(typed.supplier);
  rec.Dimensions = trim(typed.dimensions);
  rec.Weight = trim(typed.weight);
  rec.HasPicture = typed.hasPicture ? 1 : 0;
  rec.SpecialNote = trim(typed.specialNote);
  stampDate(rec, RecordDate::Updated, today);
  return out;
}

ProductFile::SaveResult ProductEntry::write(ProductFile& products, const EntryRecord& record, MessageSink* sink) {
  const InsertPolicy policy = toldInsertPolicy();
  if (newEntry_) {
    if (products.append(record.content, policy, sink) == 0) return ProductFile::SaveResult::Full;
  } else if (const auto saved = products.save(record.number, record.content, policy, sink);
             saved != ProductFile::SaveResult::Saved) {
    return saved;
  }
  endEditing();
  return ProductFile::SaveResult::Saved;
}

}  // namespace kv
