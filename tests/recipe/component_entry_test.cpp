// The lookup of a component code typed into the recipe editor's grid.
#include <gtest/gtest.h>

#include "base/text.h"
#include "recipe/component_entry.h"
#include "support/company.h"

namespace kv::testing {
namespace {

TEST(ComponentEntry, TheLiveProductWithExactlyTheCodeInAnyCaseButNeverTheEditedOne) {
  TempFolder folder;
  std::int16_t kasnak = 0, ip = 0, lower = 0, costed = 0;
  {
    Company c;
    c.add("POMPA");
    kasnak = c.add("KASNAK", "Kasnak", 2);
    ip = c.add("İP", "İp", 4);
    lower = c.add("vida", "Vida", 3);
    costed = c.add("MİL");
    ProductRecord r = c.record(costed);
    r.Cost = 2;
    r.RecipeCost = 7.5f;
    c.write(costed, r);
    r = c.record(ip);
    r.Cost = 1.25f;
    c.write(ip, r);
    const std::int16_t gone = c.add("KAPAK");
    r = c.record(gone);
    r.Kind = -1;  // deleted, yet still on the chain
    c.write(gone, r);
  }
  ProductFile products;
  products.open("KLVR952");
  using S = ComponentEntry::Status;
  struct Case {
    const char* typed;
    S status;
    std::int16_t record;
    float cost;
  };
  for (const Case& k : {Case{"  kasnak ", S::Found, kasnak, 0}, Case{"ip", S::Found, ip, 1.25f},
                        Case{"IP", S::NotFound, 0, 0}, Case{"VİDA", S::Found, lower, 0},
                        Case{"mil", S::Found, costed, 7.5f}, Case{"KAPAK", S::NotFound, 0, 0},
                        Case{"KAS", S::NotFound, 0, 0}, Case{"XYZ", S::NotFound, 0, 0}, Case{" pompa", S::OwnCode, 0, 0},
                        Case{"   ", S::Empty, 0, 0}}) {
    const ComponentEntry e = lookUpComponent(products, w(k.typed), " Pompa ");
    EXPECT_EQ(e.status, k.status) << k.typed;
    EXPECT_EQ(e.row.itemRecord, k.record) << k.typed;
    EXPECT_EQ(e.row.cost, k.cost) << k.typed;
  }
  const ComponentEntry e = lookUpComponent(products, "vida", "POMPA");
  EXPECT_EQ(e.row.code, "vida");  // as the product file holds it
  EXPECT_EQ(e.row.name, "Vida");
  EXPECT_EQ(e.row.lineType, 3);
}

}  // namespace
}  // namespace kv::testing
