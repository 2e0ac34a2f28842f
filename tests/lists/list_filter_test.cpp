// The filter: the match of one condition by cases, every combination of conditions and joins against the
// plain reading of the joins over random lists, and the files a filter leaves.
#include <gtest/gtest.h>

#include <cerrno>
#include <random>

#include "base/text.h"
#include "lists/list_filter.h"
#include "support/company.h"
#include "support/file_faults.h"

namespace kv {
namespace {

using F = FilterField;
using S = MatchSide;
using M = MatchStatus;

ProductRecord withField(F field, const std::string& value) {
  ProductRecord r;
  switch (field) {
    case F::Code: r.Code = value; break;
    case F::Name: r.Name = value; break;
    case F::ProductGroup: r.ProductGroup = value; break;
    case F::SpecialCode: r.SpecialCode = value; break;
    case F::Supplier: r.Supplier = value; break;
  }
  return r;
}

TEST(FilterMatchTest, OneConditionByCases) {
  struct Case {
    F field;
    const char* value;  // UTF-8
    S side;
    M status;
    const char* pattern;
    bool keeps;
  };
  const Case cases[] = {
      {F::Code, "ABC-1", S::Left, M::Matching, "ab", true},  // without regard to case
      {F::Code, "ABC-1", S::Left, M::Matching, "ab  ", true},  // trailing blanks of the pattern do not count
      {F::Code, "ABC-1", S::Left, M::Matching, " ab", false},  // leading ones do
      {F::Code, "ABC", S::Left, M::Matching, "ABCD", false},
      {F::Name, "  Şaft göbeği ", S::Right, M::Matching, "BEĞİ", true},  // the field's blanks do not count
      {F::Name, "Şaft göbeği", S::Middle, M::Matching, "T GÖ", true},
      {F::ProductGroup, "Cıvata", S::Middle, M::Matching, "IVA", true},
      {F::SpecialCode, "X1", S::Middle, M::Matching, "", true},  // an empty pattern is in every text but a blank one
      {F::SpecialCode, "", S::Middle, M::Matching, "", false},
      {F::Supplier, "", S::Left, M::Matching, "", true},
      {F::Supplier, "Acme  ", S::Right, M::Matching, "me", true},
  };
  for (const Case& c : cases) {
    const FilterCondition cond{c.field, c.side, c.status, w(c.pattern)};
    EXPECT_EQ(conditionKeeps(cond, withField(c.field, w(c.value))), c.keeps) << c.value << " / " << c.pattern;
  }
}

// The meaning of the joins, read straight from the rows of conditions in use: Ck is what condition k
// keeps of the whole list, "then" narrows, "+" appends.
std::vector<std::int32_t> plainResult(const std::vector<ProductRecord>& list, const FilterSettings& s) {
  auto all = [&] {
    std::vector<std::int32_t> v(list.size());
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::int32_t>(i);
    return v;
  };
  auto narrow = [&](std::vector<std::int32_t> v, int k) {
    std::vector<std::int32_t> out;
    for (std::int32_t i : v)
      if (conditionKeeps(s.conditions[static_cast<std::size_t>(k)], list[static_cast<std::size_t>(i)])) out.push_back(i);
    return out;
  };
  auto plus = [](std::vector<std::int32_t> a, const std::vector<std::int32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  auto C = [&](int k) { return narrow(all(), k); };
  const bool u1 = s.conditions[0].inUse(), u2 = s.conditions[1].inUse(), u3 = s.conditions[2].inUse();
  const bool and1 = s.joins[0] == FilterJoin::And, and2 = s.joins[1] == FilterJoin::And;
  if (u1 && u2 && u3) {
    if (and1) return and2 ? narrow(narrow(C(0), 1), 2) : plus(narrow(C(0), 1), C(2));
    return and2 ? narrow(plus(C(0), C(1)), 2) : plus(plus(C(0), C(1)), C(2));
  }
  if (u1 && u2) return and1 ? narrow(C(0), 1) : plus(C(0), C(1));
  if (u1 && u3) return and1 ? narrow(C(0), 2) : plus(C(0), C(2));
  if (u2 && u3) return and2 ? narrow(C(1), 2) : plus(C(1), C(2));
  for (int k = 0; k < 3; ++k)
    if (s.conditions[static_cast<std::size_t>(k)].inUse()) return C(k);
  return {};
}

TEST(FilterJoinsTest, EveryCombinationGivesThePlainReadingOfTheJoins) {
  std::mt19937 rng(4103);
  const char* const letters[] = {"A", "B", "Ç", "ı", "İ", " "};
  auto text = [&](int n) {
    std::string s;
    for (int i = 0, len = static_cast<int>(rng() % (n + 1)); i < len; ++i) s += w(letters[rng() % 6]);
    return s;
  };
  for (int round = 0; round < 1000; ++round) {
    std::vector<ProductRecord> list(rng() % 40);
    for (ProductRecord& r : list) {
      r.Code = text(4);
      r.Name = text(4);
      r.ProductGroup = text(3);
      r.SpecialCode = text(2);
      r.Supplier = text(3);
    }
    FilterSettings s;
    for (FilterCondition& c : s.conditions)
      c = {static_cast<F>(rng() % 5), static_cast<S>(rng() % 3), static_cast<M>(rng() % 3), text(2)};
    for (FilterJoin& j : s.joins) j = rng() % 2 ? FilterJoin::And : FilterJoin::Or;
    ASSERT_EQ(filteredPositions(list, s), plainResult(list, s)) << "round " << round;
  }
}

class FilterFileTest : public ::testing::Test {
 protected:
  FilterFileTest() {
    FileHandle lst("KLVR952.LST", ProductRecord::Length);
    const char* const codes[] = {"AB1", "AB2", "CD1", "AB3"};
    for (int i = 0; i < 4; ++i) {
      ProductRecord r = testing::makeProduct(codes[i]);
      r.RecordNumber = static_cast<std::int16_t>(10 + i);
      lst.put(i + 1, r);
    }
  }
  static FilterSettings codeStartsWith(const char* pattern) {
    FilterSettings s;
    s.conditions[0] = {F::Code, S::Left, M::Matching, pattern};
    return s;
  }
  testing::TempFolder folder;
};

TEST_F(FilterFileTest, TheResultReplacesTheListWithItsRecordsUnchanged) {
  FilterSettings s = codeStartsWith("AB");
  s.conditions[1] = {F::Code, S::Right, M::Matching, "1"};
  s.conditions[2] = {F::Code, S::Left, M::Matching, "CD"};
  s.joins = {FilterJoin::And, FilterJoin::Or};
  folder.write("952Kalvor.LST", {1, 2, 3});  // left by an earlier run
  EXPECT_EQ(filterListFile("KLVR952", "KLVR952.LST", s).count, 2);
  const FileHandle lst("KLVR952.LST", ProductRecord::Length);
  ASSERT_EQ(lst.count(), 2);
  EXPECT_EQ(lst.get<ProductRecord>(1).RecordNumber, 10);
  EXPECT_EQ(lst.get<ProductRecord>(2).RecordNumber, 12);
  EXPECT_FALSE(fileExists("KLVR952.TMP"));
  EXPECT_FALSE(fileExists("952Kalvor.LST"));
}

TEST_F(FilterFileTest, AResultLongerThanAListFileHoldsIsCutAndSaysSo) {
  std::vector<std::uint8_t> record(512), list;
  testing::makeProduct("AB1").encode(record.data());
  for (int i = 0; i < 10923; ++i) list.insert(list.end(), record.begin(), record.end());
  folder.write("KLVR952.LST", list);
  FilterSettings s = codeStartsWith("AB");  // three times every record: 32769
  s.conditions[1] = s.conditions[2] = s.conditions[0];
  s.joins = {FilterJoin::Or, FilterJoin::Or};
  EXPECT_TRUE(filterListFile("KLVR952", "KLVR952.LST", s).cut);
  EXPECT_EQ(recordCountByName("KLVR952.LST", ProductRecord::Length), kMaxRecords16);
}

TEST_F(FilterFileTest, AFailingWriteLeavesTheListAsItWas) {
  const std::vector<std::uint8_t> before = folder.bytes("KLVR952.LST");
  testing::FailOn fail(FileOp::Write, "KLVR952.TMP", ENOSPC);
  EXPECT_THROW(filterListFile("KLVR952", "KLVR952.LST", codeStartsWith("AB")), FileError);
  EXPECT_EQ(folder.bytes("KLVR952.LST"), before);
  EXPECT_FALSE(fileExists("KLVR952.TMP"));
}

}  // namespace
}  // namespace kv
