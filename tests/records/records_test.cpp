// The record layouts byte for byte: every field at its offset in the files the Windows program wrote,
// little-endian, texts in Windows-1254 at their fixed width, and any block of bytes surviving a decode and
// encode unchanged (so that a record read and written back never alters what this program does not know).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "records/product_record.h"
#include "support/company.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes le(std::uint64_t v, int width) {
  Bytes b;
  for (int i = 0; i < width; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return b;
}
Bytes i16(std::int16_t v) { return le(static_cast<std::uint16_t>(v), 2); }
Bytes i32(std::int32_t v) { return le(static_cast<std::uint32_t>(v), 4); }
Bytes i64(std::int64_t v) { return le(static_cast<std::uint64_t>(v), 8); }
Bytes f32(float v) { return le(std::bit_cast<std::uint32_t>(v), 4); }
Bytes text(const std::string& cp1254, int width) {
  Bytes b(cp1254.begin(), cp1254.end());
  b.resize(static_cast<std::size_t>(width), ' ');
  return b;
}

template <class Rec>
Bytes encoded(const Rec& r) {
  Bytes b(Rec::Length, 0xA5);  // whatever the buffer held before, every byte must be written
  r.encode(b.data());
  return b;
}

// One field of the product record: where the file format puts it, and a value to probe it with.
struct Field {
  const char* name;
  int offset;
  int width;
  bool isText;
  std::function<void(ProductRecord&)> set;
  Bytes expected;
};

const float kSignallingNaN = std::bit_cast<float>(0x7F800001u);

std::vector<Field> productFields() {
  const std::int16_t minI = std::numeric_limits<std::int16_t>::min();
  const std::int16_t maxI = std::numeric_limits<std::int16_t>::max();
  const std::int32_t minL = std::numeric_limits<std::int32_t>::min();
  const std::int32_t maxL = std::numeric_limits<std::int32_t>::max();
  const std::int64_t minC = std::numeric_limits<std::int64_t>::min();
  const std::int64_t maxC = std::numeric_limits<std::int64_t>::max();
  const float maxF = std::numeric_limits<float>::max();
  const float tinyF = std::numeric_limits<float>::denorm_min();
  const std::string code = "ĞÜŞİÖÇ-ğüşıöç 123456"_w;  // exactly the width of the code
  return {
      {"Kind", 0, 2, false, [](ProductRecord& r) { r.Kind = -1; }, i16(-1)},
      {"Code", 2, 20, true, [=](ProductRecord& r) { r.Code = code; }, text(code, 20)},
      {"Name", 22, 40, true, [](ProductRecord& r) { r.Name = "Çelik mil Ø20"_w; }, text("Çelik mil Ø20"_w, 40)},
      {"Description", 62, 40, true, [](ProductRecord& r) { r.Description = std::string(45, 'x'); },
       text(std::string(40, 'x'), 40)},
      {"Reserved1", 102, 4, false, [](ProductRecord& r) { r.Reserved1 = -0.0f; }, f32(-0.0f)},
      {"Unit", 106, 5, true, [](ProductRecord& r) { r.Unit = "Adet"; }, text("Adet", 5)},
      {"SpecialCode", 111, 4, true, [](ProductRecord& r) { r.SpecialCode = "Ö1"_w; }, text("Ö1"_w, 4)},
      {"ProductGroup", 115, 30, true, [](ProductRecord& r) { r.ProductGroup = "Dişli"_w; }, text("Dişli"_w, 30)},
      {"PriceCurrency", 145, 5, true, [](ProductRecord& r) { r.PriceCurrency = "EURO"; }, text("EURO", 5)},
      {"Price", 150, 4, false, [=](ProductRecord& r) { r.Price = maxF; }, f32(maxF)},
      {"PriceDate", 154, 10, true, [](ProductRecord& r) { r.PriceDate = "05.03.2008"; }, text("05.03.2008", 10)},
      {"Weight", 164, 10, true, [](ProductRecord& r) { r.Weight = "2,5 kg"; }, text("2,5 kg", 10)},
      {"Dimensions", 174, 26, true, [](ProductRecord& r) { r.Dimensions = "20x30x40"; }, text("20x30x40", 26)},
      {"Supplier", 200, 20, true, [](ProductRecord& r) { r.Supplier = "Ağaoğlu"_w; }, text("Ağaoğlu"_w, 20)},
      {"SpecialNote", 220, 40, true, [](ProductRecord& r) { r.SpecialNote = "not"; }, text("not", 40)},
      {"CreatedDate", 260, 10, true, [](ProductRecord& r) { r.CreatedDate = "01.01.2008"; }, text("01.01.2008", 10)},
      {"CreatedDay", 270, 2, false, [](ProductRecord& r) { r.CreatedDay = 0x0102; }, i16(0x0102)},
      {"CreatedMonth", 272, 2, false, [](ProductRecord& r) { r.CreatedMonth = 0x0304; }, i16(0x0304)},
      {"CreatedYear", 274, 2, false, [](ProductRecord& r) { r.CreatedYear = 2008; }, i16(2008)},
      {"UpdatedDate", 276, 10, true, [](ProductRecord& r) { r.UpdatedDate = "31.12.2009"; }, text("31.12.2009", 10)},
      {"UpdatedDay", 286, 2, false, [](ProductRecord& r) { r.UpdatedDay = 0x0506; }, i16(0x0506)},
      {"UpdatedMonth", 288, 2, false, [](ProductRecord& r) { r.UpdatedMonth = 0x0708; }, i16(0x0708)},
      {"UpdatedYear", 290, 2, false, [](ProductRecord& r) { r.UpdatedYear = 2009; }, i16(2009)},
      {"HasPicture", 292, 2, false, [](ProductRecord& r) { r.HasPicture = 1; }, i16(1)},
      {"Reserved2", 294, 85, true, [](ProductRecord& r) { r.Reserved2 = std::string(85, 'R'); }, text(std::string(85, 'R'), 85)},
      {"CostType", 379, 2, false, [](ProductRecord& r) { r.CostType = 3; }, i16(3)},
      {"CostCurrency", 381, 5, true, [](ProductRecord& r) { r.CostCurrency = "YTL"; }, text("YTL", 5)},
      {"Cost", 386, 4, false, [=](ProductRecord& r) { r.Cost = -maxF; }, f32(-maxF)},
      {"CostLocal", 390, 8, false, [=](ProductRecord& r) { r.CostLocal = Currency{maxC}; }, i64(maxC)},
      {"DocumentNo", 398, 8, true, [](ProductRecord& r) { r.DocumentNo = "FT-00012"; }, text("FT-00012", 8)},
      {"CostDate", 406, 10, true, [](ProductRecord& r) { r.CostDate = "29.02.2008"; }, text("29.02.2008", 10)},
      {"CostDay", 416, 2, false, [](ProductRecord& r) { r.CostDay = 0x090A; }, i16(0x090A)},
      {"CostMonth", 418, 2, false, [](ProductRecord& r) { r.CostMonth = 0x0B0C; }, i16(0x0B0C)},
      {"CostYear", 420, 2, false, [=](ProductRecord& r) { r.CostYear = maxI; }, i16(maxI)},
      {"Reserved3", 422, 4, false, [](ProductRecord& r) { r.Reserved3 = kSignallingNaN; }, f32(kSignallingNaN)},
      {"RecipeCost", 426, 4, false, [=](ProductRecord& r) { r.RecipeCost = tinyF; }, f32(tinyF)},
      {"RecipeDate", 430, 10, true, [](ProductRecord& r) { r.RecipeDate = "15.06.2009"; }, text("15.06.2009", 10)},
      {"RecipeDay", 440, 2, false, [](ProductRecord& r) { r.RecipeDay = 0x0D0E; }, i16(0x0D0E)},
      {"RecipeMonth", 442, 2, false, [](ProductRecord& r) { r.RecipeMonth = 0x0F10; }, i16(0x0F10)},
      {"RecipeYear", 444, 2, false, [=](ProductRecord& r) { r.RecipeYear = minI; }, i16(minI)},
      {"RecipeCostLocal", 446, 8, false, [=](ProductRecord& r) { r.RecipeCostLocal = Currency{minC}; }, i64(minC)},
      {"Reserved4", 454, 10, true, [](ProductRecord& r) { r.Reserved4 = "0123456789"; }, text("0123456789", 10)},
      {"PriceDay", 464, 2, false, [](ProductRecord& r) { r.PriceDay = 0x1112; }, i16(0x1112)},
      {"PriceMonth", 466, 2, false, [](ProductRecord& r) { r.PriceMonth = 0x1314; }, i16(0x1314)},
      {"PriceYear", 468, 2, false, [](ProductRecord& r) { r.PriceYear = 0x1516; }, i16(0x1516)},
      {"Coefficient", 470, 4, false, [](ProductRecord& r) { r.Coefficient = 1.25f; }, f32(1.25f)},
      {"Reserved5", 474, 24, true, [](ProductRecord& r) { r.Reserved5 = "son"; }, text("son", 24)},
      {"RecordNumber", 498, 2, false, [=](ProductRecord& r) { r.RecordNumber = maxI; }, i16(maxI)},
      {"ChainPrev", 500, 2, false, [](ProductRecord& r) { r.ChainPrev = 0x1718; }, i16(0x1718)},
      {"ChainNext", 502, 2, false, [](ProductRecord& r) { r.ChainNext = 0x191A; }, i16(0x191A)},
      {"RandomNumber", 504, 4, false, [=](ProductRecord& r) { r.RandomNumber = maxL; }, i32(maxL)},
      {"RecipeNumber", 508, 4, false, [=](ProductRecord& r) { r.RecipeNumber = minL; }, i32(minL)},
  };
}

TEST(ProductRecordLayout, TheFieldsTileTheWhole512Bytes) {
  int next = 0;
  for (const auto& f : productFields()) {
    EXPECT_EQ(f.offset, next) << f.name;
    EXPECT_EQ(static_cast<int>(f.expected.size()), f.width) << f.name;
    next = f.offset + f.width;
  }
  EXPECT_EQ(next, ProductRecord::Length);
}

TEST(ProductRecordLayout, EachFieldIsWrittenAtItsOffsetAndNowhereElse) {
  const Bytes blank = encoded(ProductRecord{});
  for (const auto& f : productFields()) {
    ProductRecord r;
    f.set(r);
    Bytes b = encoded(r);
    for (int i = 0; i < ProductRecord::Length; ++i) {
      bool inside = i >= f.offset && i < f.offset + f.width;
      if (inside) {
        ASSERT_EQ(b[i], f.expected[i - f.offset]) << f.name << " byte " << i - f.offset;
      } else {
        ASSERT_EQ(b[i], blank[i]) << f.name << " touches byte " << i;
      }
    }
  }
}

TEST(ProductRecordLayout, ANewRecordIsBlankTextAndZeroNumbers) {
  Bytes want(ProductRecord::Length, 0);
  for (const auto& f : productFields()) {
    if (f.isText) std::fill(want.begin() + f.offset, want.begin() + f.offset + f.width, ' ');
  }
  EXPECT_EQ(encoded(ProductRecord{}), want);
}

TEST(ProductRecordLayout, EveryFieldReadsBackFromTheFileAtItsOffset) {
  testing::TempFolder folder;
  ProductRecord all;
  for (const auto& f : productFields()) f.set(all);

  int file = nextFreeFileNumber();
  openRandom(file, "KLVR952.DAT", ProductRecord::Length);
  put(file, 1, ProductRecord{});
  put(file, 2, all);
  closeFile(file);

  Bytes disk = folder.bytes("KLVR952.DAT");
  ASSERT_EQ(disk.size(), 1024u);
  for (const auto& f : productFields())
    EXPECT_EQ(Bytes(disk.begin() + 512 + f.offset, disk.begin() + 512 + f.offset + f.width), f.expected) << f.name;

  openRandom(file, "KLVR952.DAT", ProductRecord::Length);
  ProductRecord r = get<ProductRecord>(file, 2);
  EXPECT_EQ(r.Kind, -1);
  EXPECT_EQ(r.Code.view(), "ĞÜŞİÖÇ-ğüşıöç 123456"_w);
  EXPECT_EQ(r.Name.view(), fitText("Çelik mil Ø20"_w, 40));
  EXPECT_EQ(r.Description.view(), std::string(40, 'x'));
  EXPECT_TRUE(std::signbit(r.Reserved1));
  EXPECT_EQ(r.Price, std::numeric_limits<float>::max());
  EXPECT_EQ(r.Cost, -std::numeric_limits<float>::max());
  EXPECT_EQ(std::bit_cast<std::uint32_t>(r.Reserved3), 0x7F800001u);
  EXPECT_EQ(r.RecipeCost, std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(r.Coefficient, 1.25f);
  EXPECT_EQ(r.CostLocal.raw, std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(r.RecipeCostLocal.raw, std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(r.CreatedYear, 2008);
  EXPECT_EQ(r.CostYear, 32767);
  EXPECT_EQ(r.RecipeYear, -32768);
  EXPECT_EQ(r.RecordNumber, 32767);
  EXPECT_EQ(r.ChainPrev, 0x1718);
  EXPECT_EQ(r.ChainNext, 0x191A);
  EXPECT_EQ(r.RandomNumber, 2147483647);
  EXPECT_EQ(r.RecipeNumber, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(r.Reserved2.view(), std::string(85, 'R'));
  EXPECT_EQ(r.Reserved5.view(), fitText("son", 24));
  EXPECT_EQ(encoded(r), encoded(all));
}

TEST(ProductRecordLayout, ARecordBeyondTheEndReadsAsZeros) {
  testing::TempFolder folder;
  int file = nextFreeFileNumber();
  openRandom(file, "KLVR952.DAT", ProductRecord::Length);
  ProductRecord r = get<ProductRecord>(file, 1);
  EXPECT_EQ(r.Kind, 0);
  EXPECT_EQ(r.ChainNext, 0);
  EXPECT_EQ(r.Code.view(), std::string(20, '\0'));
  EXPECT_EQ(encoded(r), Bytes(512, 0));
}

TEST(IndexEntryLayout, FirstThenLastLittleEndian) {
  Bytes b = encoded(IndexEntry{-32768, 32767});
  EXPECT_EQ(b, (Bytes{0x00, 0x80, 0xFF, 0x7F}));
  IndexEntry e = IndexEntry::decode(Bytes{0x34, 0x12, 0x01, 0x00}.data());
  EXPECT_EQ(e.First, 0x1234);
  EXPECT_EQ(e.Last, 1);
}

TEST(ExchangeRateLayout, YearMonthDayThenThreeSingles) {
  ExchangeRateRecord r;
  r.Year = 2009;
  r.Month = 12;
  r.Day = 31;
  r.Euro = 2.1543f;
  r.Dolar = 1.4987f;
  r.Ayar = -std::numeric_limits<float>::max();
  Bytes want;
  for (const Bytes& part : {i16(2009), i16(12), i16(31), f32(2.1543f), f32(1.4987f),
                            f32(-std::numeric_limits<float>::max())})
    want.insert(want.end(), part.begin(), part.end());
  ASSERT_EQ(want.size(), 18u);
  EXPECT_EQ(encoded(r), want);

  testing::TempFolder folder;
  int file = nextFreeFileNumber();
  openRandom(file, "KLVR952.DVZ", ExchangeRateRecord::Length);
  put(file, 1, ExchangeRateRecord{});
  put(file, 2, r);
  EXPECT_EQ(recordCount(file), 2);
  Bytes disk = folder.bytes("KLVR952.DVZ");
  EXPECT_EQ(Bytes(disk.begin() + 18, disk.end()), want);
  ExchangeRateRecord back = get<ExchangeRateRecord>(file, 2);
  EXPECT_EQ(back.Year, 2009);
  EXPECT_EQ(back.Month, 12);
  EXPECT_EQ(back.Day, 31);
  EXPECT_EQ(back.Euro, 2.1543f);
  EXPECT_EQ(back.Dolar, 1.4987f);
  EXPECT_EQ(back.Ayar, -std::numeric_limits<float>::max());
}

template <class Rec>
void expectAnyBytesRoundTrip(std::uint32_t seed, int blocks) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < blocks; ++i) {
    Bytes block(Rec::Length);
    for (auto& b : block) b = static_cast<std::uint8_t>(byte(rng));
    if (i == 0) block.assign(Rec::Length, 0xFF);  // NaNs with every bit set, -1 everywhere
    if (i == 1) block.assign(Rec::Length, 0x00);
    Bytes back(Rec::Length);
    for (std::size_t k = 0; k < back.size(); ++k) back[k] = static_cast<std::uint8_t>(~block[k]);
    Rec::decode(block.data()).encode(back.data());
    ASSERT_EQ(back, block) << "block " << i;
  }
}

TEST(RecordRoundTrip, AnyBlockOfBytesDecodesAndEncodesToTheSameBytes) {
  expectAnyBytesRoundTrip<ProductRecord>(512, 2000);
  expectAnyBytesRoundTrip<IndexEntry>(4, 2000);
  expectAnyBytesRoundTrip<ExchangeRateRecord>(18, 2000);
}

TEST(RecordRoundTrip, ARecordOfArbitraryBytesSurvivesAGetAndPutThroughTheFile) {
  testing::TempFolder folder;
  std::mt19937 rng(952);
  Bytes content(512 * 3);
  for (auto& b : content) b = static_cast<std::uint8_t>(rng());
  folder.write("KLVR952.DAT", content);
  int file = nextFreeFileNumber();
  openRandom(file, "KLVR952.DAT", ProductRecord::Length);
  for (int n = 1; n <= 3; ++n) {
    ProductRecord r = get<ProductRecord>(file, n);
    // Touch one field, as the windows do, and put the record back.
    r.HasPicture = static_cast<std::int16_t>(r.HasPicture ^ 1);
    put(file, n, r);
    content[static_cast<std::size_t>(512 * (n - 1) + 292)] ^= 1;
  }
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), content);
}

}  // namespace
}  // namespace kv
