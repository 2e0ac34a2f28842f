// The records of the recipe side: a recipe or list-definition line (128 bytes) and a line of a product's
// multi-level explosion (118 bytes), packed little-endian exactly as the data files hold them.
#pragma once

#include <cstdint>

#include "base/fixed_text.h"

namespace kv {

// A line of ".REC", ".LTD", ".RCT" and the recipe scratch ".TMP". Text fields hold Windows-1254 bytes.
struct RecipeRecord {
  static constexpr int Length = 128;

  std::int16_t ItemRecord = 0;  // .DAT record of the component
  std::int16_t LineType = 0;    // the component's Kind when the line was filled
  FixedText<20> Code;
  FixedText<40> Name;
  float Quantity = 0;
  FixedText<5> Unit;
  FixedText<1> Deleted;  // "H" in use, "E" erased
  float Cost = 0;
  float Coefficient = 0;
  float Price = 0;
  float Total = 0;
  std::int16_t Day = 0;
  std::int16_t Month = 0;
  std::int16_t Year = 0;
  FixedText<20> OwnerCode;
  std::int16_t OwnerRecord = 0;
  std::int32_t OwnerRandomNumber = 0;
  std::int32_t NextLine = 0;  // in a store: the next line of the chain; in ".RCT": the line's home record
  std::int16_t Sequence = 0;  // 1-based position in the chain; 1 marks the head

  void encode(std::uint8_t* out) const;
  static RecipeRecord decode(const std::uint8_t* in);

  template <class Self, class V>
  static constexpr void fields(Self& r, V&& v) {
    v(0, r.ItemRecord);
    v(2, r.LineType);
    v(4, r.Code);
    v(24, r.Name);
    v(64, r.Quantity);
    v(68, r.Unit);
    v(73, r.Deleted);
    v(74, r.Cost);
    v(78, r.Coefficient);
    v(82, r.Price);
    v(86, r.Total);
    v(90, r.Day);
    v(92, r.Month);
    v(94, r.Year);
    v(96, r.OwnerCode);
    v(116, r.OwnerRecord);
    v(118, r.OwnerRandomNumber);
    v(122, r.NextLine);
    v(126, r.Sequence);
  }
};

// A line of ".KDM" and of the level scratch ".TMP".
struct LevelRecord {
  static constexpr int Length = 118;

  FixedText<20> Code;
  FixedText<40> Name;
  FixedText<5> Unit;
  FixedText<1> TypeChar;
  FixedText<20> ParentCode;
  std::int16_t ParentRecord = 0;  // .DAT record of the product whose recipe holds the line
  std::int16_t LineType = 0;
  std::int32_t RecipeLine = 0;  // the .REC line this line was made from
  std::int32_t NextLine = 0;
  std::int16_t Level = 0;
  std::int16_t IndexInGroup = 0;
  std::int16_t Reserved = 0;           // always 0 on disk
  std::int16_t ParentLevelRecord = 0;  // .KDM record of the parent line, 0 on level 0
  float Quantity = 0;
  float UnitCost = 0;
  float Total = 0;

  void encode(std::uint8_t* out) const;
  static LevelRecord decode(const std::uint8_t* in);

  template <class Self, class V>
  static constexpr void fields(Self& r, V&& v) {
    v(0, r.Code);
    v(20, r.Name);
    v(60, r.Unit);
    v(65, r.TypeChar);
    v(66, r.ParentCode);
    v(86, r.ParentRecord);
    v(88, r.LineType);
    v(90, r.RecipeLine);
    v(94, r.NextLine);
    v(98, r.Level);
    v(100, r.IndexInGroup);
    v(102, r.Reserved);
    v(104, r.ParentLevelRecord);
    v(106, r.Quantity);
    v(110, r.UnitCost);
    v(114, r.Total);
  }
};

}  // namespace kv
