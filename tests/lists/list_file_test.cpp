// The list file: ranges in code order and in record order against a plain selection from the chain's
// order, the record copies, and the broken chains and indexes the build meets.
#include <gtest/gtest.h>

#include <random>

#include "base/collation.h"
#include "base/text.h"
#include "lists/list_file.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::RecordingSink;
using testing::TempFolder;

class ListFileTest : public ::testing::Test {
 protected:
  // The company's product file as the list dialog opens it.
  void openProducts() {
    products.open("KLVR952", ProductFile::IndexRule::Leave);
    list.open("KLVR952.LST", ProductRecord::Length);
  }
  ListBuild build(ListOrder order, const std::string& firstUtf8, const std::string& lastUtf8) {
    return buildProductList(products, list, {order, w(firstUtf8), w(lastUtf8)}, sink);
  }
  // The product record numbers the list holds, in list order.
  std::vector<std::int16_t> listed() const {
    std::vector<std::int16_t> out;
    for (std::int32_t n = 1; n <= list.count(); ++n) out.push_back(list.get<ProductRecord>(n).RecordNumber);
    return out;
  }

  TempFolder folder;
  ProductFile products;
  FileHandle list;
  RecordingSink sink;
};

const std::string kAll(20, '\xD8');  // twenty times the collation's last character

TEST_F(ListFileTest, ARandomCompanyListsEveryRangeAsThePlainSelectionFromTheChain) {
  std::mt19937 rng(4101);
  std::vector<std::string> codes;  // Windows-1254, upper case as the main window stores them, or mixed
  std::vector<std::int16_t> chain;
  std::vector<int> kinds;
  {
    Company c;
    for (int i = 0; i < 150; ++i) {
      const std::string code = w(testing::randomTurkishCode(rng));
      codes.push_back(i % 2 ? code : upperCase(code));
      c.add(toUtf8(codes.back()), "", 1 + static_cast<int>(rng() % 7));
    }
    // A few records marked deleted in place: still linked, never listed.
    for (int i = 0; i < 10; ++i) {
      const auto n = static_cast<std::int16_t>(1 + rng() % 150);
      ProductRecord r = c.record(n);
      r.Kind = -1;
      c.write(n, r);
    }
    chain = testing::checkChain(c.files()).order;
    for (std::int16_t n = 1; n <= c.count(); ++n) kinds.push_back(c.record(n).Kind);
  }
  openProducts();
  auto bound = [&](bool low) -> std::string {
    switch (rng() % 4) {
      case 0: return codes[rng() % codes.size()];
      case 1: return codes[rng() % codes.size()].substr(0, 1);
      case 2: return low ? "" : kAll;
      default: return lowerCase(codes[rng() % codes.size()]);
    }
  };
  for (int round = 0; round < 300; ++round) {
    const std::string first = bound(true), last = round % 3 ? bound(false) : first;  // one code, too
    std::vector<std::int16_t> expected;
    for (std::int16_t n : chain) {
      const std::string key = upperCase(trim(codes[static_cast<std::size_t>(n - 1)]));
      if (kinds[static_cast<std::size_t>(n - 1)] >= 0 && compareWithBound(key, upperCase(first)) >= 0 &&
          compareWithBound(key, upperCase(last)) <= 0)
        expected.push_back(n);
    }
    const ListBuild b = build(ListOrder::Alphabetic, toUtf8(first), toUtf8(last));
    ASSERT_EQ(listed(), expected) << toUtf8(first) << " .. " << toUtf8(last);
    ASSERT_TRUE(b.ready || expected.empty()) << toUtf8(first) << " .. " << toUtf8(last);
  }
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ListFileTest, EachRecordIsACopyWithItsProductRecordNumberAndItsCodeTrimmed) {
  {
    Company c;
    c.addAll({{"B1", "Bir"}, {"A1", "İki"}});
    ProductRecord r = c.record(2);
    r.Code = "  A1";
    r.Cost = 12.5f;
    c.write(2, r);
  }
  openProducts();
  ASSERT_EQ(build(ListOrder::Alphabetic, "", toUtf8(kAll)).count, 2);
  ProductRecord copy = list.get<ProductRecord>(1), stored = products.read(2);
  EXPECT_EQ(copy.Code.str(), "A1" + std::string(18, ' '));
  EXPECT_EQ(copy.RecordNumber, 2);
  copy.Code = stored.Code;
  copy.RecordNumber = stored.RecordNumber;
  std::uint8_t x[512], y[512];
  copy.encode(x);
  stored.encode(y);
  EXPECT_TRUE(std::equal(x, x + 512, y));
}

TEST_F(ListFileTest, RangesOfTheTwoOrders) {
  { Company c; c.addAll({{"A"}, {"AB"}, {"B"}, {"ABC"}, {"C"}, {"A"}}); }
  openProducts();
  struct Case {
    ListOrder order;
    std::string first, last;
    std::vector<std::int16_t> listed;
    bool ready;
  };
  const ListOrder A = ListOrder::Alphabetic, R = ListOrder::RecordOrder;
  const std::vector<Case> cases = {
      {A, "A", "A", {1, 6}, true},         // AB lies after the bound A; both records of A are listed
      {A, "a", "ab", {1, 6, 2}, true},     // the boxes' case does not matter
      {A, "AB", "B", {2, 4, 3}, true},
      {A, "B", "A", {}, false},            // a range that holds no code is empty
      {A, "BA", "BZ", {}, false},
      {A, "D", "Z", {}, true},             // no bucket from D on: the record-order list of the code D
      {A, "", "", {}, false},              // before the first code
      {R, "3", "5", {3, 4, 5}, true},
      {R, "5", "2", {5, 6}, true},         // a last number not above the first runs to the end
      {R, "4", "99999", {4, 5, 6}, true},  // numbers beyond the file end at its last record
      {R, "2,5", "4,6", {2, 3, 4}, true},  // a comma ends a record number
      {R, "AB", "", {2}, true},            // a text names the one code to list
      {R, "", "", {1, 2, 3, 4, 5, 6}, true},
  };
  for (const Case& c : cases) {
    const ListBuild b = build(c.order, c.first, c.last);
    EXPECT_EQ(listed(), c.listed) << c.first << " .. " << c.last;
    EXPECT_EQ(b.ready, c.ready) << c.first << " .. " << c.last;
  }
}

TEST_F(ListFileTest, ACodeSavedOutOfOrderLeavesTheWholeListWhole) {
  {
    Company c;
    c.addAll({{"A"}, {"B"}, {"C"}});
    ProductRecord r = c.record(1);
    r.Code = "Z";  // saved as typed, the chain and the index left as they were
    c.write(1, r);
  }
  openProducts();
  EXPECT_TRUE(build(ListOrder::Alphabetic, "", toUtf8(kAll)).ready);
  EXPECT_EQ(listed(), (std::vector<std::int16_t>{1, 2, 3}));
}

TEST_F(ListFileTest, BrokenChainsAndIndexesAreToldAndEndTheWalk) {
  {
    Company c;
    c.addAll({{"A"}, {"B"}, {"C"}, {"D"}});
  }
  const std::string title = "KALVOR 952 Uyarlama 3.0  LİSTE";
  auto damage = [](std::int16_t n, std::int16_t prev, std::int16_t next) {
    FileHandle dat("KLVR952.DAT", ProductRecord::Length);
    ProductRecord r = dat.get<ProductRecord>(n);
    r.ChainPrev = prev;
    r.ChainNext = next;
    dat.put(n, r);
  };
  // A loop from C back to B: the walk gives up with the chain message at B, listing no record twice.
  damage(3, 2, 2);
  openProducts();
  ListBuild b = build(ListOrder::Alphabetic, "", toUtf8(kAll));
  EXPECT_FALSE(b.ready);
  EXPECT_EQ(listed(), (std::vector<std::int16_t>{1, 2, 3}));  // up to the first record met again
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].text, "Alfabetik sıralama hatası!... Düzeltmek için 'SERVİS' menüsüne girin...");
  EXPECT_EQ(sink.shown[0].title, title);

  // A chain that ends at B, before the range's last record, is as broken as one that points outside.
  products.close();
  damage(3, 2, 4);
  damage(2, 1, 2);
  openProducts();
  sink.shown.clear();
  b = build(ListOrder::Alphabetic, "", toUtf8(kAll));
  EXPECT_FALSE(b.ready);
  EXPECT_EQ(listed(), (std::vector<std::int16_t>{1, 2}));
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].text, "Alfabetik sıralama hatası!... Düzeltmek için 'SERVİS' menüsüne girin...");

  // An index without a first record from the bound's bucket on: the list in record order instead.
  products.close();
  {
    FileHandle abc("KLVR952.ABC", IndexEntry::Length);
    for (int bucket = 1; bucket <= kBucketCount; ++bucket) abc.put(bucket, IndexEntry{});
  }
  openProducts();
  sink.shown.clear();
  b = build(ListOrder::Alphabetic, "C", toUtf8(kAll));
  EXPECT_TRUE(b.ready);
  EXPECT_EQ(listed(), std::vector<std::int16_t>{3});
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].text, "İndeks listelemeye uygun olmadığı için\rkayıt sırasına göre liste yapılacak...");
}

// A record that points to itself before the chain's last record is a break, even before anything was written:
// B deleted in place and still linked ends the output walk, A the start search.
TEST_F(ListFileTest, ARecordThatEndsTheChainBeforeItsLastRecordIsToldBeforeAnythingWasWritten) {
  {
    Company c;
    c.addAll({{"A"}, {"B"}, {"C"}, {"D"}});
  }
  const struct {
    std::int16_t record, kind;
    const char* first;
    const char* message;
  } cases[] = {{2, -1, "B", "Alfabetik sıralama hatası!... Düzeltmek için 'SERVİS' menüsüne girin..."},
               {1, 1, "AA", "Alfabetik sıralama hatası!...\rDüzeltmek için 'SERVİS' menüsüne girin..."}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.first);
    FileHandle dat("KLVR952.DAT", ProductRecord::Length);
    const ProductRecord sound = dat.get<ProductRecord>(k.record);
    ProductRecord r = sound;
    r.ChainNext = k.record;
    r.Kind = k.kind;
    dat.put(k.record, r);
    openProducts();
    sink.shown.clear();
    EXPECT_FALSE(build(ListOrder::Alphabetic, k.first, "D").ready);
    EXPECT_EQ(listed(), std::vector<std::int16_t>{});
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, k.message);
    products.close();
    list.close();
    dat.put(k.record, sound);
  }
}

}  // namespace
}  // namespace kv
