// The Printer on the recording back end: where texts and lines land, in which font, on which page, and
// what becomes of a document that fails at any call.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "base/text.h"
#include "print/printer.h"
#include "print/recording_printer.h"

namespace kv::print {
namespace {

using State = RecordedDocument::State;

TEST(Printer, TextsLinesAndPagesLandWhereTheCurrentPositionSays) {
  RecordingPrinter printed;
  printed.fonts.push_back("Times New Roman Tur");
  Printer p;
  p.ScaleMode = Scale::Millimetre;
  p.CurrentX = 10;
  p.CurrentY = 18;  // set before the document begins, and kept
  p.FontName = "Times New Roman Tur";
  p.FontSize = 12;
  p.FontItalic = true;
  p.Print("Şirket"_w, p.Stay);  // 6 characters of 3 mm
  EXPECT_DOUBLE_EQ(p.CurrentX, 28);
  p.FontName = "Arial";
  p.FontSize = 10;
  p.FontBold = true;
  p.FontItalic = false;
  p.Print("İŞÇ"_w);  // ends the line: 5 mm down
  EXPECT_DOUBLE_EQ(p.CurrentX, 0);
  EXPECT_DOUBLE_EQ(p.CurrentY, 23);
  p.Line(10, 30, 190, 31);
  EXPECT_DOUBLE_EQ(p.CurrentX, 190);
  EXPECT_DOUBLE_EQ(p.CurrentY, 31);
  p.NewPage();
  EXPECT_DOUBLE_EQ(p.CurrentY, 0);
  p.Print("x", p.Stay);
  EXPECT_EQ(p.EndDoc().pages, 2);

  const RecordedDocument& doc = printed.documents().at(0);
  EXPECT_EQ(doc.state, State::Ended);
  ASSERT_EQ(doc.pages.size(), 2u);
  const auto& texts = doc.pages[0].texts;
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "Şirket"_w);
  EXPECT_EQ(texts[0].font, (Font{"Times New Roman Tur", 12, false, true}));
  EXPECT_EQ(std::pair(texts[0].x, texts[0].y), std::pair(10.0, 18.0));
  EXPECT_EQ(texts[1].font, (Font{"Arial", 10, true, false}));
  EXPECT_EQ(texts[1].x, 28);
  EXPECT_EQ(doc.pages[0].lines.at(0).y2, 31);
  EXPECT_EQ(doc.pages[1].texts.at(0).y, 0);
}

// Texts printed one after another on a line, in any scale, lie end to end: each starts where TextWidth
// said the one before ended, and the recorded positions are the same millimetres in every scale.
TEST(Printer, TextsStayingOnTheLineLieEndToEndInEveryScale) {
  std::mt19937 rng(7);
  for (int scale : {Scale::Twip, Scale::Point, Scale::Inch, Scale::Millimetre, Scale::Centimetre}) {
    RecordingPrinter printed;
    Printer p;
    p.ScaleMode = Scale::Millimetre;
    p.CurrentX = 15;
    p.CurrentY = 40;
    p.ScaleMode = scale;
    for (int i = 0; i < 20; ++i) {
      p.FontSize = 8 + static_cast<int>(rng() % 8);
      const std::string text(rng() % 12, 'a');
      const double before = p.CurrentX;
      const double width = p.TextWidth(text);
      p.Print(text, p.Stay);
      EXPECT_NEAR(p.CurrentX, before + width, 1e-9 * before);
    }
    p.EndDoc();
    double x = 15;
    for (const RecordedText& t : printed.documents().at(0).pages[0].texts) {
      EXPECT_NEAR(t.x, x, 1e-9);
      EXPECT_NEAR(t.y, 40, 1e-9);
      x += static_cast<double>(t.text.size()) * t.font.size * RecordingPrinter::kCharWidthPerPoint;
    }
  }
}

TEST(Printer, FontsAndAreaComeFromTheBackEndAndNothingPrintedIsNoDocument) {
  RecordingPrinter printed;
  printed.fonts = {"Arial", "Arial Tur"};
  Printer p;
  ASSERT_EQ(p.FontCount(), 2);
  EXPECT_EQ(p.Fonts(1), "Arial Tur");
  EXPECT_THROW(p.Fonts(2), std::out_of_range);
  p.FontName = "Times New Roman";  // not in this printer's list
  EXPECT_THROW(p.TextWidth("a"), PrinterError);
  p.ScaleMode = Scale::Millimetre;
  EXPECT_DOUBLE_EQ(p.ScaleHeight(), 287);
  EXPECT_THROW(p.ScaleMode = 3, std::invalid_argument);  // a printer has no screen pixels
  EXPECT_EQ(p.EndDoc().pages, 0);
  EXPECT_TRUE(printed.documents().empty());
  const DeviceFactory before = setDeviceFactory({});
  try {
    p.Print("x");
    ADD_FAILURE() << "printed without a back end";
  } catch (const PrinterError& e) {
    EXPECT_EQ(e.kind(), PrinterError::Kind::NotReady);
  }
  setDeviceFactory(before);
}

// A report's worth of calls: two pages of texts, lines and measurements.
void printJob(Printer& p) {
  p.ScaleMode = Scale::Millimetre;
  for (int i = 0; i < p.FontCount(); ++i) p.Fonts(i);
  for (int page = 0; page < 2; ++page) {
    if (page) p.NewPage();
    p.CurrentY = 18;
    p.FontName = "Times New Roman";
    p.Print("Sayfa : " + std::to_string(page + 1));
    p.FontName = "Arial";
    for (int row = 0; row < 3; ++row) {
      p.CurrentX = 190 - p.TextWidth("12,5");
      p.Print("12,5");
      p.Line(10, p.CurrentY, 190, p.CurrentY);
    }
  }
  p.EndDoc();
}

// Whichever call of the back end fails, the job throws, its document is aborted (or never begun), and the
// same Printer then prints the next job whole in a document of its own.
TEST(Printer, AFailureAtAnyCallAbortsTheDocumentAndTheNextJobStandsAlone) {
  RecordedDocument whole;
  int calls = 0;
  {
    RecordingPrinter printed;
    Printer p;
    printJob(p);
    whole = printed.documents().at(0);
    calls = printed.calls(DeviceCall::Any);
  }
  for (int at = 1; at <= calls; ++at) {
    RecordingPrinter printed;
    printed.failAt(DeviceCall::Any, at, PrinterError::Kind::File);
    Printer p;
    EXPECT_THROW(printJob(p), PrinterError) << "call " << at;
    EXPECT_FALSE(p.Printing());
    for (const RecordedDocument& d : printed.documents()) EXPECT_EQ(d.state, State::Aborted) << "call " << at;
    const std::size_t failed = printed.documents().size();
    printJob(p);
    ASSERT_EQ(printed.documents().size(), failed + 1);
    const RecordedDocument& next = printed.documents().back();
    EXPECT_EQ(next.state, State::Ended);
    ASSERT_EQ(next.pages.size(), whole.pages.size());
    EXPECT_EQ(next.pages[1].texts.size(), whole.pages[1].texts.size());
  }
}

}  // namespace
}  // namespace kv::print
