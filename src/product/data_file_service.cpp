#include "product/data_file_service.h"

#include <algorithm>

#include "base/text.h"

namespace kv {

std::int16_t wholeRecords(const FileHandle& products) {
  return static_cast<std::int16_t>(std::min<std::int64_t>(products.length() / ProductRecord::Length, kMaxRecords16));
}

std::int16_t findCodeInRecordOrder(const FileHandle& products, std::int16_t count, std::string_view key) {
  for (int r = 1; r <= count; ++r) {
    const auto record = products.peek(r);
    const std::string_view code(reinterpret_cast<const char*>(record.data() + product_offsets::Code),
                                product_offsets::CodeWidth);
    if (upperCase(trimView(code)).starts_with(key)) return static_cast<std::int16_t>(r);
  }
  return 0;
}

void eraseContent(ProductRecord& r) {
  const std::string_view blank = "";
  r.Code = r.Name = r.Description = r.Unit = r.SpecialCode = r.ProductGroup = blank;
  r.Weight = r.Dimensions = r.Supplier = r.SpecialNote = r.CostCurrency = r.DocumentNo = r.CostDate = blank;
  r.Cost = r.Coefficient = 0;
  r.CostType = r.HasPicture = 0;
  r.ChainPrev = r.ChainNext = 0;
}

bool isErased(const ProductRecord& r) { return trimView(r.CostDate.view()).empty(); }

}  // namespace kv
