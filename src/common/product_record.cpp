#include "common/product_record.h"

#include "common/record_codec.h"

namespace kv {

void ProductRecord::encode(std::uint8_t* out) const { encodeFields(*this, out); }
ProductRecord ProductRecord::decode(const std::uint8_t* in) { return decodeFields<ProductRecord>(in); }

void IndexEntry::encode(std::uint8_t* out) const { encodeFields(*this, out); }
IndexEntry IndexEntry::decode(const std::uint8_t* in) { return decodeFields<IndexEntry>(in); }

void ExchangeRateRecord::encode(std::uint8_t* out) const { encodeFields(*this, out); }
ExchangeRateRecord ExchangeRateRecord::decode(const std::uint8_t* in) { return decodeFields<ExchangeRateRecord>(in); }

}  // namespace kv
