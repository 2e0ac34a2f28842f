// A document that went into a file says why: there is no printer, or none is the default.
#include <gtest/gtest.h>

#include "print/print_job.h"
#include "support/company.h"

namespace kv::print {
namespace {

TEST(PrintJob, ADocumentInAFileSaysWhetherThereIsNoPrinterOrNoDefaultOne) {
  testing::RecordingSink said;
  for (bool noDefault : {false, true}) tellWhereDocumentWent({1, "", "Rapor1.pdf", noDefault}, "rapor", "", said);
  ASSERT_EQ(said.shown.size(), 2u);
  EXPECT_EQ(said.shown[0].text, "Yazıcı olmadığından rapor \"Rapor1.pdf\" dosyasına yazıldı...");
  EXPECT_EQ(said.shown[1].text.rfind("Varsayılan yazıcı seçilmediğinden rapor \"Rapor1.pdf\" dosyasına", 0), 0u);
}

}  // namespace
}  // namespace kv::print
