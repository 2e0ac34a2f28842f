// The XML reader against documents built from a random tree and written in every way XML allows for the
// same content (either quote, references of every kind, CDATA, line ends, comments, blanks in tags), fed
// in pieces of any size: it reports the tree; and a document cut short is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "sheet/sheet.h"
#include "sheet/xml_reader.h"

namespace kv::sheet {
namespace {

struct Events : XmlHandler {
  std::vector<std::string> list;
  void start(std::string_view name, std::span<const XmlAttribute> attributes) override {
    std::string e = "S" + std::string(name);
    for (const XmlAttribute& a : attributes) e += " " + std::string(a.name) + "=" + a.value;
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

class Document {
 public:
  explicit Document(unsigned seed) : rng_(seed) {
    if (chance(3)) xml_ += "\xEF\xBB\xBF";
    if (chance(2)) xml_ += "<?xml version=\"1.0\" encoding=\"" + std::string(chance(2) ? "UTF-8" : "utf-8") + "\"?>\n";
    element(0);
  }
  std::string xml_;
  std::vector<std::string> expected_;

 private:
  bool chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(rng_) == 1; }
  template <class T>
  const T& pick(const std::vector<T>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng_)];
  }
  std::string content() {
    static const std::vector<std::string> pieces = {"a",  "ğüş", "1 2",  "&",  "<", ">",
                                                    "\"", "'",   "\t", "\n", "]", "x"};
    std::string s;
    for (int n = std::uniform_int_distribution<int>(0, 4)(rng_); n > 0; --n) s += pick(pieces);
    return s;
  }
  // The character as written, and as read back (in an attribute, tabs and line ends become blanks).
  std::string write(char c, char quote, bool attribute, std::string& read) {
    read += attribute && (c == '\t' || c == '\n') ? ' ' : c;
    const bool mustEscape = c == '&' || c == '<' || c == quote;
    if ((mustEscape || chance(4)) && c > 0 && c < 0x7F) {
      if (attribute && (c == '\t' || c == '\n')) read.back() = c;  // a reference keeps it as it is
      const std::string numeric = chance(2) ? "&#" + std::to_string(c) + ";"
                                            : "&#x" + std::to_string(c / 16) + "0123456789ABCDEF"[c % 16] + ";";
      if (chance(2)) return numeric;
      switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        case '\'': return "&apos;";
        default: return numeric;
      }
    }
    return c == '\n' && chance(2) ? "\r\n" : std::string(1, c);
  }
  std::string blanks() { return pick(std::vector<std::string>{"", " ", "\n", " \t"}); }
  void text() {
    const std::string s = content();
    std::string read;
    if (chance(4) && s.find("]]>") == std::string::npos) {
      xml_ += "<![CDATA[" + s + "]]>";
      read = s;
    } else {
      for (char c : s) xml_ += write(c, 0, false, read);
    }
    Events::addText(expected_, read);
  }
  void element(int depth) {
    const std::string name = pick(std::vector<std::string>{"row", "c", "x:c", "is", "t"});
    const std::string local = name.substr(name.find(':') + 1);
    xml_ += "<" + name;
    std::string event = "S" + local;
    std::vector<std::string> names = {"r", "t", "r:id", "s"};
    std::shuffle(names.begin(), names.end(), rng_);
    for (int a = std::uniform_int_distribution<int>(0, 3)(rng_); a > 0; --a) {
      const char quote = chance(2) ? '"' : '\'';
      std::string value;
      xml_ += (chance(2) ? " " : "\n ") + names[a] + blanks() + "=" + blanks() + quote;
      for (char c : content()) xml_ += write(c, quote, true, value);
      xml_ += quote;
      event += " " + names[a] + "=" + value;
    }
    xml_ += blanks();
    expected_.push_back(event);
    const int kids = depth < 4 ? std::uniform_int_distribution<int>(0, 3)(rng_) : 0;
    if (kids == 0 && chance(2)) {
      xml_ += "/>";
    } else {
      xml_ += ">";
      for (int k = 0; k < kids; ++k) {
        if (chance(3)) text();
        if (chance(5)) xml_ += chance(2) ? "<!-- <a> & -->" : "<?pi x?>";
        element(depth + 1);
      }
      if (chance(2)) text();
      xml_ += "</" + name + blanks() + ">";
    }
    expected_.push_back("E" + local);
  }
  std::mt19937 rng_;
};

TEST(XmlReader, ReadsEveryWayOfWritingTheSameTreeAndRefusesWhatIsCutShort) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    const Document doc(seed);
    SCOPED_TRACE(doc.xml_);
    std::mt19937 rng(seed);
    Events got;
    XmlReader reader(got);
    for (std::size_t at = 0; at < doc.xml_.size();) {
      const std::size_t n = std::uniform_int_distribution<std::size_t>(1, 40)(rng);
      reader.feed(std::string_view(doc.xml_).substr(at, n));
      at += n;
    }
    reader.finish();
    ASSERT_EQ(got.list, doc.expected_);
    Events partial;
    XmlReader shorter(partial);
    const std::size_t cut = std::uniform_int_distribution<std::size_t>(0, doc.xml_.size() - 1)(rng);
    shorter.feed(std::string_view(doc.xml_).substr(0, cut));
    EXPECT_THROW(shorter.finish(), SheetError);
  }
}

TEST(XmlReader, RefusesWhatIsNotWellFormedOrNotUtf8) {
  for (const char* bad : {"<a><b></a></b>", "<a></a><a></a>", "x<a/>", "<a>&foo;</a>", "<a>&#0;</a>", "<a b=1/>",
                          "<a b='<'/>", "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>", "\xFF\xFE<\0a\0/\0>\0",
                          "<?xml version='1.0' encoding='ISO-8859-9'?><a/>", "<a"}) {
    SCOPED_TRACE(bad);
    Events got;
    XmlReader reader(got);
    EXPECT_THROW((reader.feed(bad), reader.finish()), SheetError);
  }
}

}  // namespace
}  // namespace kv::sheet
