// The main window's entry model: a record as box texts and back, field by field, and what a save of the
// boxes means. How the window shows the answers is the main window's tests'.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "base/clock.h"
#include "base/text.h"
#include "product/product_entry.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::Company;
using testing::TempFolder;
using Box = std::string EntryBoxes::*;

// The boxes of testing::makeFilledProduct(), with the costs shown.
const std::pair<Box, const char*> kFilledBoxes[] = {
    {&EntryBoxes::updated, " 31 Aralık 2009  "}, {&EntryBoxes::code, "KASNAK-12"},
    {&EntryBoxes::name, "Kasnak"},                {&EntryBoxes::description, "Döküm gövde"},
    {&EntryBoxes::unit, "AD"},                    {&EntryBoxes::group, "Güç aktarma"},
    {&EntryBoxes::cost, "12,5 EUR"},              {&EntryBoxes::costDate, "02.01.2001"},
    {&EntryBoxes::documentNo, "E-77"},            {&EntryBoxes::specialCode, "X1"},
    {&EntryBoxes::coefficient, "1,5"},            {&EntryBoxes::supplier, "Çelik AŞ"},
    {&EntryBoxes::dimensions, "100 x 40"},        {&EntryBoxes::weight, "2,5 kg"},
    {&EntryBoxes::specialNote, "Özel"}};

class ProductEntryTest : public ::testing::Test {
 protected:
  ProductEntryTest() : today(Date::fromYmd(2008, 3, 5)) { setClock(&today); }
  ~ProductEntryTest() override { setClock(nullptr); }
  // The record a save of record 1 of the file makes of the boxes it shows, with `edit` typed, on 1 April
  // 2008.
  ProductRecord saved(const std::function<void(EntryBoxes&)>& edit) {
    ProductFile products;
    products.open(company.name());
    ProductEntry entry;
    EntryBoxes typed = entry.show(products.read(1), true);
    edit(typed);
    const EntryRecord built = entry.build(products, typed, 1, 1, Date::fromYmd(2008, 4, 1));
    EXPECT_EQ(built.refusal, SaveRefusal::None);
    return built.content;
  }

  FixedClock today;
  TempFolder folder;
  Company company;
};

TEST_F(ProductEntryTest, ARecordIsShownFieldByField) {
  ProductRecord r = testing::makeFilledProduct();
  const EntryBoxes withCosts = ProductEntry::boxesOf(r, true), without = ProductEntry::boxesOf(r, false);
  for (const auto& [box, want] : kFilledBoxes) {
    EXPECT_EQ(toUtf8(withCosts.*box), want);
    const bool costBox = box == &EntryBoxes::cost || box == &EntryBoxes::costDate || box == &EntryBoxes::documentNo;
    EXPECT_EQ(toUtf8(without.*box), costBox ? "" : want);
  }
  // An updated date written under other regional settings leaves its label blank; a cost type outside 1
  // to 3 chooses no option; a picture mark above 0 ticks the box.
  r.UpdatedDate = "2008/03/05";
  EXPECT_EQ(ProductEntry::boxesOf(r, true).updated, "");
  for (const auto& [stored, option, ticked] : {std::tuple{-1, 0, false}, {0, 0, false}, {1, 1, true}, {3, 3, true},
                                               {4, 0, true}}) {
    r.CostType = r.HasPicture = static_cast<std::int16_t>(stored);
    EXPECT_EQ(ProductEntry::boxesOf(r, true).costType, option) << stored;
    EXPECT_EQ(ProductEntry::boxesOf(r, true).hasPicture, ticked) << stored;
  }
}

// Another record's boxes typed over a record, blanks around every text: each goes into its field trimmed
// (the number boxes are the next test's).
TEST_F(ProductEntryTest, TheBoxesGoIntoTheirFieldsTrimmedAndCutToWidth) {
  company.add("A1", "Eski", 2);  // saved on the first tab, it takes kind 1
  const ProductRecord r = saved([](EntryBoxes& b) {
    b = ProductEntry::boxesOf(testing::makeFilledProduct(), true);
    for (const auto& [box, text] : kFilledBoxes) b.*box = "  " + b.*box + " ";
    b.unit = "ADETLER";
  });
  const std::pair<std::string_view, const char*> fields[] = {
      {r.Code.view(), "KASNAK-12"},            {r.Name.view(), "Kasnak"},
      {r.Description.view(), "Döküm gövde"},   {r.Unit.view(), "ADETL"},
      {r.ProductGroup.view(), "Güç aktarma"},  {r.DocumentNo.view(), "E-77"},
      {r.SpecialCode.view(), "X1"},            {r.Supplier.view(), "Çelik AŞ"},
      {r.Dimensions.view(), "100 x 40"},       {r.Weight.view(), "2,5 kg"},
      {r.SpecialNote.view(), "Özel"},          {r.UpdatedDate.view(), "05.03.2008"}};
  for (const auto& [field, want] : fields) EXPECT_EQ(toUtf8(trimRight(field)), want);
  EXPECT_EQ(r.Kind, 1);
  EXPECT_EQ(r.HasPicture, 1);
}

// The number boxes show more than seven digits rounded: a box still showing its number keeps the stored
// value, an edited one is read as typed (one too large for its field is the main window's test). An empty
// cost box leaves the cost, its type and its document as stored; a cost without a currency keeps the
// stored one; only a cost that differs from the one shown takes the working date.
TEST_F(ProductEntryTest, TheNumberBoxesDecideWhatOfTheNumbersChanges) {
  company.add("A1");
  ProductRecord stored = company.record(1);
  stored.Cost = stored.Coefficient = 12345678;
  stored.CostCurrency = "USD";
  stored.CostType = 1;
  stored.DocumentNo = "D1";
  stampDate(stored, RecordDate::Cost, Date::fromYmd(2001, 1, 2));
  company.write(1, stored);
  const float kept = 12345678;
  const struct {
    const char* cost;         // as shown when null
    int costType;
    const char* coefficient;  // as shown when null
    float wantCost;
    const char* currency;
    int wantType;
    const char* costDate;
    float wantCoefficient;
  } cases[] = {
      {"", 2, nullptr, kept, "USD", 1, "02.01.2001", kept},
      {nullptr, 0, nullptr, kept, "USD", 1, "02.01.2001", kept},
      {"12345678", 2, "1,5E+07", kept, "USD", 2, "02.01.2001", 15000000},
      {"150", 3, nullptr, 150, "USD", 3, "01.04.2008", kept},
      {"12,5 eur", 0, nullptr, 12.5f, "EUR", 1, "01.04.2008", kept},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cost ? c.cost : "-") + " " + (c.coefficient ? c.coefficient : "-"));
    const ProductRecord r = saved([&](EntryBoxes& b) {
      if (c.cost) b.cost = c.cost;
      if (c.coefficient) b.coefficient = c.coefficient;
      b.costType = c.costType;
      b.documentNo = 'N';
    });
    EXPECT_EQ(r.Cost, c.wantCost);
    EXPECT_EQ(trim(r.CostCurrency.view()), c.currency);
    EXPECT_EQ(r.CostType, c.wantType);
    EXPECT_EQ(trim(r.DocumentNo.view()), c.cost && !*c.cost ? "D1" : "N");
    EXPECT_EQ(r.CostDate.view(), c.costDate);
    EXPECT_EQ(r.Coefficient, c.wantCoefficient);
  }
}

// What a save means: the code checked against the live records, letter case aside, cut to its field.
TEST_F(ProductEntryTest, TheSaveCheckDecidesNewEditChangedCodeOrRefusedWithItsReason) {
  company.addAll({{"Kasnak"}, {"ABCDEFGHIJKLMNOPQRST"}, {"B1"}, {"D1"}});
  ProductFile products;
  products.open(company.name());
  products.remove(4, nullptr);
  using Kind = SaveCheck::Kind;
  const struct {
    bool newEntry;
    bool codeTyped;  // the code box changed since record 1 was shown
    const char* code;
    int tab;
    std::int16_t current;
    Kind kind;
    SaveRefusal refusal;
  } cases[] = {
      {true, true, "   ", 1, 1, Kind::Refused, SaveRefusal::NoCode},
      {true, true, "C1", kTabAll, 1, Kind::Refused, SaveRefusal::AllTab},
      {true, true, "kASNAK", 1, 1, Kind::Refused, SaveRefusal::CodeTaken},
      {true, true, "ABCDEFGHIJKLMNOPQRSTU", 1, 1, Kind::Refused, SaveRefusal::CodeTaken},
      {true, true, "d1", 1, 1, Kind::New, SaveRefusal::None},  // a deleted record's code is free
      {false, true, "b1", 1, 1, Kind::Refused, SaveRefusal::CodeOfAnother},
      {false, false, "Kasnak", 1, 3, Kind::Refused, SaveRefusal::CodeOfAnother},
      {false, true, "C1", 1, 9, Kind::Refused, SaveRefusal::NoSuchRecord},
      {false, true, "KASNAK", 1, 1, Kind::CodeChange, SaveRefusal::None},
      {false, false, "KASNAK", 1, 1, Kind::Edit, SaveRefusal::None},
      {false, true, " Kasnak ", 1, 1, Kind::Edit, SaveRefusal::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    ProductEntry entry;
    entry.show(products.read(1), false);
    if (c.newEntry) entry.beginNewEntry();
    if (c.codeTyped) entry.codeTyped();
    const SaveCheck check = entry.check(products, c.code, c.tab, c.current);
    EXPECT_EQ(check.kind, c.kind);
    EXPECT_EQ(check.refusal, c.refusal);
  }
}

}  // namespace
}  // namespace kv
