// A company whose one product has every recipe report long enough to page: the pump P1 holds the
// sub-assembly A (of B and C), B once more and the parts X01..X43 in its recipe, and the parts alone in its
// list definition. Every line costs what its product costs, so that a list refreshed from the product file
// costs what the stored one does.
#pragma once

#include <string>
#include <vector>

#include "print/recording_printer.h"
#include "support/recipes.h"

namespace kv::testing {

inline void makePumpCompany() {
  Company c;
  const std::int16_t pump = c.add("P1", "Pompa");
  const std::int16_t assembly = c.add("A", "Gövde");
  auto part = [&c](const std::string& code, float cost) {
    ProductRecord r = c.record(c.add(code, "Parça " + code, 4));
    r.Cost = cost;
    c.write(c.count(), r);
    return RecipeFile::Line{code, 1, cost};
  };
  const RecipeFile::Line b = part("B", 1.5f), cLine = part("C", 4);
  std::vector<RecipeFile::Line> parts;
  for (int i = 1; i <= 43; ++i) {
    RecipeFile::Line l = part((i < 10 ? "X0" : "X") + std::to_string(i), 0.25f * static_cast<float>(i));
    l.quantity = static_cast<float>(i % 7 + 1);
    parts.push_back(l);
  }
  RecipeFile recipes(c);
  recipes.define(assembly, {{"B", 2, b.cost}, {"C", 1, cLine.cost}});
  std::vector<RecipeFile::Line> lines{{"A", 3, 0}, b};
  lines.insert(lines.end(), parts.begin(), parts.end());
  recipes.define(pump, lines);
  FileHandle ltd("KLVR952.LTD", RecipeRecord::Length);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    RecipeRecord r = recipes.makeLine(pump, parts[i]);
    r.Sequence = static_cast<std::int16_t>(i + 1);
    r.NextLine = i + 1 < parts.size() ? static_cast<std::int32_t>(i) + 2 : 0;
    ltd.put(static_cast<std::int32_t>(i) + 1, r);
  }
}

// A printed document as text: its job name, then every text and line with its place, page by page.
inline std::string transcriptOf(const print::RecordedDocument& doc) {
  std::string out = "job " + toUtf8(doc.name) + "\n";
  for (const print::RecordedPage& page : doc.pages) {
    out += "page\n";
    for (const print::RecordedText& t : page.texts)
      out += std::to_string(t.x) + "," + std::to_string(t.y) + " " + t.font.name + " " + std::to_string(t.font.size) +
             " " + toUtf8(t.text) + "\n";
    for (const print::RecordedLine& l : page.lines)
      out += std::to_string(l.x1) + "," + std::to_string(l.y1) + "-" + std::to_string(l.x2) + "," +
             std::to_string(l.y2) + "\n";
  }
  return out;
}

}  // namespace kv::testing
