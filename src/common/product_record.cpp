#include "common/product_record.h"

#include "common/record_codec.h"

namespace kv {

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
