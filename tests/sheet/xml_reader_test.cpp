// The XML reader against documents built from a random tree and written in every way XML allows for the
// same content (either quote, references of every kind, CDATA, line ends, comments, blanks in tags, UTF-8
// or UTF-16 of either byte order, its mark left out after a declaration), fed in pieces of any size: it
// reports the tree; and a document cut short is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "sheet/sheet.h"
#include "sheet/reader/xml_reader.h"

namespace kv::sheet {
namespace {

struct Events : XmlHandler {
  std::vector<std::string> list;
  void start(std::string_view name, std::span<const XmlAttribute> attributes) override {
    std::string e = "S";
    e += name;
    for (const XmlAttribute& a : attributes) {
      e += ' ';
      e += a.name;
      e += '=';
      e += a.value;
    }
    list.push_back(e);
  }
  void end(std::string_view name) override { list.push_back("E" + std::string(name)); }
  void text(std::string_view t) override { addText(list, t); }
  static void addText(std::vector<std::string>& list, std::string_view t) {
    if (t.empty()) return;
    if (!list.empty() && list.back()[0] == 'T') list.back() += t;
    else list.push_back("T" + std::string(t));
  }
};

// A random tree, written at random in one of the ways XML allows, and the events it gives.
struct Document {
  explicit Document(unsigned seed) : rng(seed) {
    const int wide = chance(3) ? 1 + static_cast<int>(rng() % 2) : 0;  // 1 little-endian, 2 big-endian
    if (!wide && chance(3)) xml += "\xEF\xBB\xBF";
    const bool declared = chance(2);
    if (declared)
      xml += "<?xml version=\"1.0\" encoding=\"" + pick(wide ? std::vector<std::string>{"UTF-16", "utf-16"}
                                                              : std::vector<std::string>{"UTF-8", "utf-8"}) + "\"?>\n";
    element(0);
    if (wide) xml = utf16(xml, wide == 2, !declared || chance(2));
  }
  // The UTF-16 of a UTF-8 text, with its byte order mark or without.
  static std::string utf16(std::string_view utf8, bool bigEndian, bool mark) {
    std::string out;
    const auto unit = [&](std::uint32_t u) {
      const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
      out += bigEndian ? std::string{high, low} : std::string{low, high};
    };
    if (mark) unit(0xFEFF);
    for (std::size_t i = 0; i < utf8.size();) {
      const auto b = static_cast<unsigned char>(utf8[i]);
      const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
      std::uint32_t cp = n == 1 ? b : b & (0x7F >> n);
      for (std::size_t k = 1; k < n; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
      if (cp >= 0x10000) {
        unit(0xD800 + ((cp - 0x10000) >> 10));
        unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
      } else {
        unit(cp);
      }
      i += n;
    }
    return out;
  }
  bool chance(unsigned oneIn) { return rng() % oneIn == 0; }
  std::string pick(const std::vector<std::string>& from) { return from[rng() % from.size()]; }
  std::string blanks() { return pick({"", " ", "\n", " \t"}); }
  std::string content() {
    std::string s;
    for (auto n = rng() % 5; n > 0; --n)
      s += pick({"a", "ğüş", "1 2", "&", "<", ">", "\"", "'", "\t", "\n", "]", "x", "\xF0\x9F\x98\x80"});
    return s;
  }
  // `s` as written in character data (no quote) or in an attribute value; `read` gets what it reads as
  // (in an attribute, a tab or line end written as it is reads as a blank).
  std::string write(const std::string& s, char quote, std::string& read) {
    std::string out;
    for (char c : s) {
      if ((c == '&' || c == '<' || c == quote || chance(4)) && c > 0 && c < 0x7F) {
        const char* hex = "0123456789ABCDEF";
        const std::string numeric = chance(2) ? "&#" + std::to_string(c) + ";"
                                              : std::string("&#x") + hex[c / 16] + hex[c % 16] + ";";
        const std::string named = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;"
                                  : c == '"' ? "&quot;" : c == '\'' ? "&apos;" : "";
        out += named.empty() || chance(2) ? numeric : named;
        read += c;
      } else {
        out += c == '\n' && chance(2) ? "\r\n" : std::string(1, c);
        read += quote && (c == '\t' || c == '\n') ? ' ' : c;
      }
    }
    return out;
  }
  void text() {
    const std::string s = content();
    std::string read = s;
    if (chance(4) && s.find("]]>") == std::string::npos) {
      xml += "<![CDATA[" + s + "]]>";
    } else {
      read.clear();
      xml += write(s, 0, read);
    }
    Events::addText(expected, read);
  }
  void element(int depth) {
    const std::string name = pick({"row", "c", "x:c", "is", "t"}), local = name.substr(name.find(':') + 1);
    std::string event = "S" + local;
    xml += "<" + name;
    std::vector<std::string> names = {"r", "t", "r:id", "s"};
    std::shuffle(names.begin(), names.end(), rng);
    for (auto a = rng() % 4; a > 0; --a) {
      const char quote = chance(2) ? '"' : '\'';
      std::string value;
      xml += pick({" ", "\n "}) + names[a] + blanks() + "=";
      xml += blanks() + quote + write(content(), quote, value) + quote;
      event += " " + names[a] + "=" + value;
    }
    xml += blanks();
    expected.push_back(event);
    const auto kids = depth < 4 ? rng() % 4 : 0;
    if (kids == 0 && chance(2)) {
      xml += "/>";
    } else {
      xml += ">";
      for (auto k = kids; k > 0; --k) {
        if (chance(3)) text();
        if (chance(5)) xml += pick({"<!-- <a> & -->", "<?pi x?>"});
        element(depth + 1);
      }
      if (chance(2)) text();
      xml += "</" + name + blanks() + ">";
    }
    expected.push_back("E" + local);
  }
  std::mt19937 rng;
  std::string xml;
  std::vector<std::string> expected;
};

TEST(XmlReader, ReadsEveryWayOfWritingTheSameTreeAndRefusesWhatIsCutShort) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    Document doc(seed);
    SCOPED_TRACE(doc.xml);
    Events got, partial;
    XmlReader reader(got), shorter(partial);
    for (std::size_t at = 0, n = 0; at < doc.xml.size(); at += n)
      reader.feed(std::string_view(doc.xml).substr(at, n = 1 + doc.rng() % 40));
    reader.finish();
    ASSERT_EQ(got.list, doc.expected);
    shorter.feed(std::string_view(doc.xml).substr(0, doc.rng() % doc.xml.size()));
    EXPECT_THROW(shorter.finish(), SheetError);
    // A byte changed anywhere: the tree of another document, or SheetError.
    std::string changed = doc.xml;
    changed[doc.rng() % changed.size()] = static_cast<char>(doc.rng());
    Events any;
    XmlReader other(any);
    try {
      other.feed(changed);
      other.finish();
    } catch (const SheetError&) {
    }
  }
}

TEST(XmlReader, RefusesWhatIsNotWellFormedOrInAnotherEncoding) {
  using namespace std::string_literals;
  for (const std::string& bad : {"<a><b></a></b>"s, "<a></a><a></a>"s, "x<a/>"s, "<a>&foo;</a>"s, "<a>&#0;</a>"s,
                                 "<a b=1/>"s, "<a b='<'/>"s, "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>"s,
                                 "\xFF\xFE<\0a\0/\0>\0>"s, "\xFF\xFE<\0a\0>\0\x00\xDC<\0/\0a\0>\0"s,
                                 "<?xml version='1.0' encoding='UTF-16'?><a/>"s,
                                 "<?xml version='1.0' encoding='ISO-8859-9'?><a/>"s, "<a"s}) {
    SCOPED_TRACE(bad);
    Events got;
    XmlReader reader(got);
    EXPECT_THROW((reader.feed(bad), reader.finish()), SheetError);
  }
}

}  // namespace
}  // namespace kv::sheet
