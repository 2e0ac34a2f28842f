// The cut of a cell text to its width, against the plain rule: drop the last character while too wide.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "print/text_fit.h"

namespace kv::print {
namespace {

TEST(CutToWidth, GivesWhatDroppingOneCharacterAtATimeGives) {
  std::mt19937 rng(952);
  // Characters of different widths, blanks among them; the width of a text is the sum of its characters'.
  const auto charWidth = [](char c) { return c == ' ' ? 0.5 : c == 'W' ? 2.0 : 1.0; };
  const TextMeasure width = [&](std::string_view t) {
    double sum = 0;
    for (char c : t) sum += charWidth(c);
    return sum;
  };
  const std::string alphabet = "aW  b";
  for (int round = 0; round < 2000; ++round) {
    std::string text(rng() % 40, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    const double limit = static_cast<double>(rng() % 50) / 2;
    std::string expected = text;
    while (!expected.empty() && width(expected) > limit) expected.pop_back();
    EXPECT_EQ(cutToWidth(text, limit, width), expected) << '"' << text << "\" " << limit;
  }
}

}  // namespace
}  // namespace kv::print
