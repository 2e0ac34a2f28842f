#include "sheet/reader/xml_reader.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "sheet/sheet.h"

namespace kv::sheet {

namespace {

// The most a tag, comment, processing instruction or CDATA section may hold, and the deepest nesting.
constexpr std::size_t kMaxMarkup = std::size_t{1} << 20;
constexpr std::size_t kMaxDepth = 256;

[[noreturn]] void refuse(const char* what) { throw SheetError(std::string("a workbook part ") + what); }

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view localName(std::string_view name) {
  const auto colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The reference at the start of `in` ("&amp;", "&#233;", "&#xE9;") appended to `out`; returns its length.
std::size_t reference(std::string_view in, std::string& out) {
  const auto semicolon = in.find(';');
  if (semicolon == std::string_view::npos || semicolon > 12) refuse("holds a broken reference");
  const std::string_view name = in.substr(1, semicolon - 1);
  static const struct {
    std::string_view name;
    char c;
  } predefined[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& p : predefined)
    if (name == p.name) {
      out += p.c;
      return semicolon + 1;
    }
  if (name.size() < 2 || name[0] != '#') refuse("holds an unknown reference");
  const bool hex = name[1] == 'x';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) refuse("holds a broken reference");
  std::uint32_t cp = 0;
  for (char c : digits) {
    int d = c >= '0' && c <= '9' ? c - '0' : -1;
    if (hex && d < 0) d = c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) refuse("holds a broken reference");
    cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    if (cp > 0x10FFFF) refuse("refers to no character");
  }
  // The characters a document may hold.
  const bool allowed = cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
                       (cp >= 0xE000 && cp <= 0xFFFD) || cp >= 0x10000;
  if (!allowed) refuse("refers to no character");
  appendUtf8(out, cp);
  return semicolon + 1;
}

enum class Data { Text, Attribute, Literal };

// Character data or an attribute value with its references replaced (not in a CDATA section's literal
// text) and its line ends made "\n"; in an attribute value every tab and line end is then a blank.
void decode(std::string_view in, std::string& out, Data kind) {
  const bool attribute = kind == Data::Attribute;
  for (std::size_t i = 0; i < in.size();) {
    const char c = in[i];
    if (c == '&' && kind != Data::Literal) {
      i += reference(in.substr(i), out);
      continue;
    }
    if (attribute && c == '<') refuse("has a '<' in an attribute");
    char put = c;
    if (c == '\r') {
      put = '\n';
      if (i + 1 < in.size() && in[i + 1] == '\n') ++i;
    }
    if (attribute && (put == '\n' || put == '\t')) put = ' ';
    out += put;
    ++i;
  }
}

}  // namespace

void XmlReader::feed(std::string_view piece) {
  if (encoding_ == Encoding::Utf8) return feedUtf8(piece);
  wide_ += piece;
  if (encoding_ == Encoding::Unknown) {
    // A byte order mark says the encoding; without one, the "<?" a document in UTF-16 begins with says it.
    if (wide_.size() < 4) return;
    const bool le = wide_.starts_with("\xFF\xFE"), be = wide_.starts_with("\xFE\xFF");
    const std::string_view start(wide_.data(), 4);
    encoding_ = le || start == std::string_view("<\0?\0", 4)   ? Encoding::Utf16Le
                : be || start == std::string_view("\0<\0?", 4) ? Encoding::Utf16Be
                                                               : Encoding::Utf8;
    if (encoding_ == Encoding::Utf8) return feedUtf8(std::exchange(wide_, {}));
    if (le || be) wide_.erase(0, 2);
  }
  feedUtf8(fromUtf16());
}

std::string_view XmlReader::fromUtf16() {
  narrow_.clear();
  const bool le = encoding_ == Encoding::Utf16Le;
  const auto unit = [&](std::size_t at) {
    const auto a = static_cast<unsigned char>(wide_[at]), b = static_cast<unsigned char>(wide_[at + 1]);
    return static_cast<std::uint32_t>(le ? a | b << 8 : a << 8 | b);
  };
  std::size_t at = 0;
  while (wide_.size() - at >= 2) {
    std::uint32_t cp = unit(at);
    std::size_t used = 2;
    if (cp >= 0xDC00 && cp < 0xE000) refuse("holds a broken UTF-16 character");
    if (cp >= 0xD800 && cp < 0xDC00) {
      if (wide_.size() - at < 4) break;  // its low half comes with the next piece
      const std::uint32_t low = unit(at + 2);
      if (low < 0xDC00 || low >= 0xE000) refuse("holds a broken UTF-16 character");
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
      used = 4;
    }
    appendUtf8(narrow_, cp);
    at += used;
  }
  wide_.erase(0, at);
  return narrow_;
}

void XmlReader::feedUtf8(std::string_view piece) {
  if (pending_.empty()) {
    const std::size_t used = run(piece, false);
    pending_.assign(piece.substr(used));
  } else {
    pending_ += piece;
    pending_.erase(0, run(pending_, false));
  }
  if (pending_.size() > kMaxMarkup) refuse("holds too long a tag");
}

void XmlReader::finish() {
  if (encoding_ == Encoding::Unknown) {
    encoding_ = Encoding::Utf8;
    feedUtf8(std::exchange(wide_, {}));
  }
  if (!wide_.empty()) refuse("ends before it is complete");
  const std::size_t used = run(pending_, true);
  if (used != pending_.size() || !starts_.empty() || !rooted_) refuse("ends before it is complete");
  pending_.clear();
}

std::size_t XmlReader::run(std::string_view in, bool last) {
  std::size_t pos = 0;
  if (!begun_) {
    if (in.size() < 3 && !last) return 0;
    if (in.starts_with("\xEF\xBB\xBF")) pos = 3;
    begun_ = true;
  }
  while (pos < in.size()) {
    const std::string_view rest = in.substr(pos);
    const std::size_t used = rest[0] == '<' ? markup(rest, last) : characterData(rest, last);
    if (used == 0) break;
    pos += used;
  }
  return pos;
}

std::size_t XmlReader::characterData(std::string_view in, bool last) {
  std::size_t end = in.find('<');
  if (end == std::string_view::npos) {
    end = in.size();
    if (!last) {
      // A reference or a line end that the next piece may complete waits for it.
      const auto amp = in.rfind('&');
      if (amp != std::string_view::npos && in.size() - amp <= 12 && in.find(';', amp) == std::string_view::npos)
        end = amp;
      if (end > 0 && in[end - 1] == '\r') --end;
      if (end == 0) return 0;
    }
  }
  const std::string_view data = in.substr(0, end);
  if (starts_.empty()) {
    // Outside the root element only blanks may stand.
    for (char c : data)
      if (!blank(c)) refuse("has text outside its root element");
    return end;
  }
  if (data.find_first_of("&\r") == std::string_view::npos) {
    deliver(data);
  } else {
    text_.clear();
    decode(data, text_, Data::Text);
    deliver(text_);
  }
  return end;
}

void XmlReader::deliver(std::string_view utf8) {
  if (!utf8.empty()) handler_.text(utf8);
}

std::size_t XmlReader::markup(std::string_view in, bool last) {
  // Enough of the opening to tell what it is, then the whole of it.
  const auto opens = [&](std::string_view s) {
    return in.size() >= s.size() ? in.starts_with(s) : (last ? false : s.starts_with(in));
  };
  const auto through = [&](std::size_t from, std::string_view close) -> std::size_t {
    const auto at = in.find(close, from);
    if (at == std::string_view::npos) {
      if (last) refuse("ends inside a tag");
      return 0;
    }
    return at + close.size();
  };
  if (in.size() < 2) {
    if (last) refuse("ends inside a tag");
    return 0;
  }
  if (in[1] == '/') return endTag(in);
  if (in[1] == '?') {
    const std::size_t n = through(2, "?>");
    if (n != 0) declaration(in.substr(0, n));
    return n;
  }
  if (in[1] != '!') return startTag(in);
  if (opens("<!--")) {
    if (in.size() < 4) return 0;
    return through(4, "-->");
  }
  if (opens("<![CDATA[")) {
    if (in.size() < 9) return 0;
    const std::size_t n = through(9, "]]>");
    if (n == 0) return 0;
    if (starts_.empty()) refuse("has text outside its root element");
    text_.clear();
    decode(in.substr(9, n - 12), text_, Data::Literal);
    deliver(text_);
    return n;
  }
  refuse("has a document type or an unknown declaration");
}

void XmlReader::declaration(std::string_view in) {
  if (!in.starts_with("<?xml") || in.size() < 6 || !blank(in[5])) return;
  const auto at = in.find("encoding");
  if (at == std::string_view::npos) return;
  const auto quote = in.find_first_of("\"'", at);
  if (quote == std::string_view::npos) refuse("has a broken declaration");
  const auto close = in.find(in[quote], quote + 1);
  if (close == std::string_view::npos) refuse("has a broken declaration");
  std::string name(in.substr(quote + 1, close - quote - 1));
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  const bool wide = encoding_ == Encoding::Utf16Le || encoding_ == Encoding::Utf16Be;
  if (wide ? name != "UTF-16" && name != "UTF-16LE" && name != "UTF-16BE" : name != "UTF-8")
    refuse("is not in the encoding it names");
}

std::size_t XmlReader::startTag(std::string_view in) {
  std::size_t i = 1;
  const auto nameEnd = [&] {
    while (i < in.size() && !blank(in[i]) && in[i] != '/' && in[i] != '>' && in[i] != '=') ++i;
    return i;
  };
  const auto skipBlanks = [&] {
    while (i < in.size() && blank(in[i])) ++i;
    return i < in.size();
  };
  const std::string_view name = in.substr(1, nameEnd() - 1);
  if (name.empty()) refuse("has a tag without a name");
  values_.clear();
  offsets_.clear();
  attributes_.clear();
  bool empty = false;
  for (;;) {
    const bool blankBefore = i < in.size() && blank(in[i]);
    if (!skipBlanks()) return 0;
    if (in[i] == '>') {
      ++i;
      break;
    }
    if (in[i] == '/') {
      if (i + 1 >= in.size()) return 0;
      if (in[i + 1] != '>') refuse("has a broken tag");
      i += 2;
      empty = true;
      break;
    }
    if (!blankBefore) refuse("has a broken tag");
    const std::size_t from = i;
    const std::string_view attribute = in.substr(from, nameEnd() - from);
    if (!skipBlanks()) return 0;
    if (attribute.empty() || in[i] != '=') refuse("has a broken attribute");
    ++i;
    if (!skipBlanks()) return 0;
    const char quote = in[i];
    if (quote != '"' && quote != '\'') refuse("has a broken attribute");
    const auto close = in.find(quote, i + 1);
    if (close == std::string_view::npos) return 0;
    offsets_.push_back(values_.size());
    decode(in.substr(i + 1, close - i - 1), values_, Data::Attribute);
    values_ += '\0';
    attributes_.push_back({attribute, nullptr});
    i = close + 1;
  }
  // The values are all in place: now they can be pointed at.
  for (std::size_t k = 0; k < attributes_.size(); ++k) attributes_[k].value = values_.data() + offsets_[k];
  if (starts_.empty() && rooted_) refuse("has a second root element");
  if (starts_.size() >= kMaxDepth) refuse("nests too deep");
  rooted_ = true;
  const std::string_view local = localName(name);
  if (empty) {
    handler_.start(local, attributes_);
    handler_.end(local);
  } else {
    starts_.push_back(names_.size());
    names_ += name;
    handler_.start(local, attributes_);
  }
  return i;
}

std::size_t XmlReader::endTag(std::string_view in) {
  const auto close = in.find('>');
  if (close == std::string_view::npos) return 0;
  std::string_view name = in.substr(2, close - 2);
  while (!name.empty() && blank(name.back())) name.remove_suffix(1);
  if (starts_.empty() || name != std::string_view(names_).substr(starts_.back())) refuse("closes what it did not open");
  names_.resize(starts_.back());
  starts_.pop_back();
  handler_.end(localName(name));
  return close + 1;
}

}  // namespace kv::sheet
