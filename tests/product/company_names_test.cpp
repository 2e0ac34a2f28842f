// The company list of the start-up dialog and the company name rule.
#include <gtest/gtest.h>

#include "base/text.h"
#include "files/files.h"
#include "product/company_names.h"
#include "support/company.h"

namespace kv {
namespace {

using testing::TempFolder;

TEST(CompanyNames, ListingOffersCompaniesSkipsBackupsAndDeletesEmptyFiles) {
  TempFolder folder;
  folder.write("ABC.DAT", std::vector<std::uint8_t>(1024, 0));
  folder.write("952KLVR.DAT", std::vector<std::uint8_t>(512, 0));
  folder.write("OLD.DAT", {});
  folder.write("abc.ABC", std::vector<std::uint8_t>(436, 0));
  folder.write("çağ2008.dat", std::vector<std::uint8_t>(512, 0));
  EXPECT_EQ(listCompanies(), (std::vector<std::string>{"ABC", "ÇAĞ2008"_w}));
  EXPECT_FALSE(fileExists("OLD.DAT"));
  EXPECT_TRUE(fileExists("952KLVR.DAT"));
}

TEST(CompanyNames, AFileNamedOnlyDotDatGivesAnEmptyEntry) {
  TempFolder folder;
  folder.write(".DAT", std::vector<std::uint8_t>(512, 0));
  EXPECT_EQ(listCompanies(), std::vector<std::string>{""});
}

TEST(CompanyNames, TypedNamesAreTrimmedAndUpperCasedTheTurkishWay) {
  EXPECT_EQ(normaliseCompanyName("  abc  "), "ABC");
  EXPECT_EQ(normaliseCompanyName("çağ2008"_w), "ÇAĞ2008"_w);
  EXPECT_EQ(normaliseCompanyName("ilık"_w), "İLIK"_w);
}

TEST(CompanyNames, OnlyCapitalLettersAndDigitsMakeAName) {
  EXPECT_TRUE(isValidCompanyName(""));
  EXPECT_TRUE(isValidCompanyName("KLVR952"));
  EXPECT_TRUE(isValidCompanyName("ÇAĞ2008"_w));
  EXPECT_FALSE(isValidCompanyName("MY CO"));
  EXPECT_FALSE(isValidCompanyName("A-1"));
  EXPECT_FALSE(isValidCompanyName("abc"));
  EXPECT_FALSE(isValidCompanyName("A.B"));
}

TEST(CompanyNames, TheBackupNameAndOverlongNamesAreRefused) {
  EXPECT_FALSE(isValidCompanyName("952KLVR"));
  EXPECT_FALSE(isValidCompanyName("952"));
  EXPECT_TRUE(isValidCompanyName("KLVR952"));
  EXPECT_TRUE(isValidCompanyName(std::string(200, 'A')));
  EXPECT_FALSE(isValidCompanyName(std::string(250, 'A')));
  // Turkish letters take two bytes each on disk.
  std::string turkish;
  for (int i = 0; i < 130; ++i) turkish += "Ş"_w;
  EXPECT_FALSE(isValidCompanyName(turkish));
}

}  // namespace
}  // namespace kv
