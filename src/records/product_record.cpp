#include "records/product_record.h"

#include "records/record_codec.h"

namespace kv {

static_assert(fieldsFillRecord<ProductRecord>());
static_assert(fieldsFillRecord<IndexEntry>());
static_assert(fieldsFillRecord<ExchangeRateRecord>());

// The offsets that walks read straight from a file image are those of the field list.
static_assert(listedOffset(&ProductRecord::Kind) == product_offsets::Kind);
static_assert(listedOffset(&ProductRecord::Code) == product_offsets::Code);
static_assert(decltype(ProductRecord::Code)::Width == product_offsets::CodeWidth);
static_assert(listedOffset(&ProductRecord::Name) == product_offsets::Name);
static_assert(decltype(ProductRecord::Name)::Width == product_offsets::NameWidth);
static_assert(listedOffset(&ProductRecord::ChainPrev) == product_offsets::ChainPrev);
static_assert(listedOffset(&ProductRecord::ChainNext) == product_offsets::ChainNext);

void ProductRecord::encode(std::uint8_t* out) const { encodeFields(*this, out); }
ProductRecord ProductRecord::decode(const std::uint8_t* in) { return decodeFields<ProductRecord>(in); }

void stampDate(ProductRecord& r, RecordDate which, Date d) {
  auto stamp = [&d](auto& text, std::int16_t& day, std::int16_t& month, std::int16_t& year) {
    text = shortDateText(d);
    day = static_cast<std::int16_t>(d.day());
    month = static_cast<std::int16_t>(d.month());
    year = static_cast<std::int16_t>(d.year());
  };
  switch (which) {
    case RecordDate::Created: stamp(r.CreatedDate, r.CreatedDay, r.CreatedMonth, r.CreatedYear); break;
    case RecordDate::Updated: stamp(r.UpdatedDate, r.UpdatedDay, r.UpdatedMonth, r.UpdatedYear); break;
    case RecordDate::Cost: stamp(r.CostDate, r.CostDay, r.CostMonth, r.CostYear); break;
    case RecordDate::Recipe: stamp(r.RecipeDate, r.RecipeDay, r.RecipeMonth, r.RecipeYear); break;
    case RecordDate::Price: stamp(r.PriceDate, r.PriceDay, r.PriceMonth, r.PriceYear); break;
  }
}

void IndexEntry::encode(std::uint8_t* out) const { encodeFields(*this, out); }
IndexEntry IndexEntry::decode(const std::uint8_t* in) { return decodeFields<IndexEntry>(in); }

void ExchangeRateRecord::encode(std::uint8_t* out) const { encodeFields(*this, out); }
ExchangeRateRecord ExchangeRateRecord::decode(const std::uint8_t* in) { return decodeFields<ExchangeRateRecord>(in); }

}  // namespace kv
