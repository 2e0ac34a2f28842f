// The product master record (512 bytes) and the index entry (4 bytes) of the company files.
#pragma once

#include <cstdint>
#include <string>

#include "base/dates.h"
#include "base/fixed_text.h"
#include "base/numbers.h"

namespace kv {

// Text fields hold Windows-1254 bytes, at their fixed width.
struct ProductRecord {
  static constexpr int Length = 512;

  std::int16_t Kind = 0;  // 1..7 the kinds, 0 imported without a kind, -1 deleted
  FixedText<20> Code;
  FixedText<40> Name;
  FixedText<40> Description;
  float Reserved1 = 0;
  FixedText<5> Unit;
  FixedText<4> SpecialCode;
  FixedText<30> ProductGroup;
  FixedText<5> PriceCurrency;
  float Price = 0;
  FixedText<10> PriceDate;
  FixedText<10> Weight;
  FixedText<26> Dimensions;
  FixedText<20> Supplier;
  FixedText<40> SpecialNote;
  FixedText<10> CreatedDate;
  std::int16_t CreatedDay = 0;
  std::int16_t CreatedMonth = 0;
  std::int16_t CreatedYear = 0;
  FixedText<10> UpdatedDate;
  std::int16_t UpdatedDay = 0;
  std::int16_t UpdatedMonth = 0;
  std::int16_t UpdatedYear = 0;
  std::int16_t HasPicture = 0;
  FixedText<85> Reserved2;
  std::int16_t CostType = 0;
  FixedText<5> CostCurrency;
  float Cost = 0;
  Currency CostLocal;
  FixedText<8> DocumentNo;
  FixedText<10> CostDate;
  std::int16_t CostDay = 0;
  std::int16_t CostMonth = 0;
  std::int16_t CostYear = 0;
  float Reserved3 = 0;
  float RecipeCost = 0;
  FixedText<10> RecipeDate;
  std::int16_t RecipeDay = 0;
  std::int16_t RecipeMonth = 0;
  std::int16_t RecipeYear = 0;
  Currency RecipeCostLocal;
  FixedText<10> Reserved4;
  std::int16_t PriceDay = 0;
  std::int16_t PriceMonth = 0;
  std::int16_t PriceYear = 0;
  float Coefficient = 0;
  FixedText<24> Reserved5;
  std::int16_t RecordNumber = 0;
  std::int16_t ChainPrev = 0;
  std::int16_t ChainNext = 0;
  std::int32_t RandomNumber = 0;
  std::int32_t RecipeNumber = 0;

  void encode(std::uint8_t* out) const;
  static ProductRecord decode(const std::uint8_t* in);

  template <class Self, class V>
  static constexpr void fields(Self& r, V&& v) {
    v(0, r.Kind);
    v(2, r.Code);
    v(22, r.Name);
    v(62, r.Description);
    v(102, r.Reserved1);
    v(106, r.Unit);
    v(111, r.SpecialCode);
    v(115, r.ProductGroup);
    v(145, r.PriceCurrency);
    v(150, r.Price);
    v(154, r.PriceDate);
    v(164, r.Weight);
    v(174, r.Dimensions);
    v(200, r.Supplier);
    v(220, r.SpecialNote);
    v(260, r.CreatedDate);
    v(270, r.CreatedDay);
    v(272, r.CreatedMonth);
    v(274, r.CreatedYear);
    v(276, r.UpdatedDate);
    v(286, r.UpdatedDay);
    v(288, r.UpdatedMonth);
    v(290, r.UpdatedYear);
    v(292, r.HasPicture);
    v(294, r.Reserved2);
    v(379, r.CostType);
    v(381, r.CostCurrency);
    v(386, r.Cost);
    v(390, r.CostLocal);
    v(398, r.DocumentNo);
    v(406, r.CostDate);
    v(416, r.CostDay);
    v(418, r.CostMonth);
    v(420, r.CostYear);
    v(422, r.Reserved3);
    v(426, r.RecipeCost);
    v(430, r.RecipeDate);
    v(440, r.RecipeDay);
    v(442, r.RecipeMonth);
    v(444, r.RecipeYear);
    v(446, r.RecipeCostLocal);
    v(454, r.Reserved4);
    v(464, r.PriceDay);
    v(466, r.PriceMonth);
    v(468, r.PriceYear);
    v(470, r.Coefficient);
    v(474, r.Reserved5);
    v(498, r.RecordNumber);
    v(500, r.ChainPrev);
    v(502, r.ChainNext);
    v(504, r.RandomNumber);
    v(508, r.RecipeNumber);
  }
};

// Offsets of the fields that walks read straight from a file image.
namespace product_offsets {
inline constexpr int Kind = 0;
inline constexpr int Code = 2;
inline constexpr int CodeWidth = 20;
inline constexpr int Name = 22;
inline constexpr int NameWidth = 40;
inline constexpr int ChainPrev = 500;
inline constexpr int ChainNext = 502;
}  // namespace product_offsets

// The dates of a product record are kept twice, as short date text and as day, month and year: one
// stamp sets both, so that the two never disagree.
enum class RecordDate { Created, Updated, Cost, Recipe, Price };
void stampDate(ProductRecord& r, RecordDate which, Date d);

struct IndexEntry {
  static constexpr int Length = 4;

  std::int16_t First = 0;
  std::int16_t Last = 0;

  void encode(std::uint8_t* out) const;
  static IndexEntry decode(const std::uint8_t* in);

  template <class Self, class V>
  static constexpr void fields(Self& r, V&& v) {
    v(0, r.First);
    v(2, r.Last);
  }
  friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
};

struct ExchangeRateRecord {
  static constexpr int Length = 18;

  std::int16_t Year = 0;
  std::int16_t Month = 0;
  std::int16_t Day = 0;
  float Euro = 0;
  float Dolar = 0;
  float Ayar = 0;

  void encode(std::uint8_t* out) const;
  static ExchangeRateRecord decode(const std::uint8_t* in);

  template <class Self, class V>
  static constexpr void fields(Self& r, V&& v) {
    v(0, r.Year);
    v(2, r.Month);
    v(4, r.Day);
    v(6, r.Euro);
    v(10, r.Dolar);
    v(14, r.Ayar);
  }
};

}  // namespace kv
