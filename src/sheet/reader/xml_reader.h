// A small XML reader for the parts of an .xlsx workbook, fed piece by piece as a part inflates. It reports
// elements (by their local name) with their attributes, and character data with the predefined and
// numeric character references replaced, CDATA sections taken as they stand and line ends made "\n", as
// XML defines them; the XML declaration, comments and processing instructions are skipped.
//
// A part in UTF-16 (which a byte order mark says, or else the "<?" it begins with) is read as its UTF-8.
// It is made for documents nobody vouches for: a part in another encoding than these, with a document
// type, or not well-formed (unclosed, crossed or stray elements, a bad reference) is refused with a
// SheetError. It expands no entities, so a document cannot grow as it is read, and what it holds back
// between pieces is bounded.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::sheet {

struct XmlAttribute {
  std::string_view name;  // as written, with its prefix ("r:id")
  const char* value;      // references replaced; ends with a NUL
};

class XmlHandler {
 public:
  virtual void start(std::string_view name, std::span<const XmlAttribute> attributes) = 0;
  virtual void end(std::string_view name) = 0;
  // A piece of an element's character data (UTF-8); one text may come in several pieces.
  virtual void text(std::string_view) {}

 protected:
  ~XmlHandler() = default;
};

class XmlReader {
 public:
  explicit XmlReader(XmlHandler& handler) : handler_(handler) {}
  void feed(std::string_view piece);
  // After the last piece: the document must be complete.
  void finish();

 private:
  // A piece in UTF-8, whatever the document's encoding.
  void feedUtf8(std::string_view piece);
  // The UTF-8 of the whole UTF-16 code units in wide_; what ends in the middle of a character stays.
  std::string_view fromUtf16();
  // Reads what is complete; returns how much of `in` it took.
  std::size_t run(std::string_view in, bool last);
  // These return the length of what they took, or 0 when the rest of it has not come yet.
  std::size_t characterData(std::string_view in, bool last);
  std::size_t markup(std::string_view in, bool last);
  std::size_t startTag(std::string_view in);
  std::size_t endTag(std::string_view in);
  void declaration(std::string_view in);
  void deliver(std::string_view utf8);

  XmlHandler& handler_;
  std::string pending_;              // what the last pieces left unread
  std::string names_;                // the open elements' names, one after the other
  std::vector<std::size_t> starts_;  // where each open element's name begins in names_
  std::string values_;               // a start tag's attribute values, each with its NUL
  std::vector<std::size_t> offsets_;  // where each value begins in values_
  std::vector<XmlAttribute> attributes_;
  std::string text_;
  enum class Encoding { Unknown, Utf8, Utf16Le, Utf16Be } encoding_ = Encoding::Unknown;
  std::string wide_;                 // UTF-16 bytes not yet read, or the first bytes while Unknown
  std::string narrow_;               // their UTF-8
  bool begun_ = false;  // past a byte order mark
  bool rooted_ = false;  // the root element has been opened
};

}  // namespace kv::sheet
