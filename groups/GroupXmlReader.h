// A small XML reader for group files: the document as a tree of elements with their decoded
// text. It reads what any XML reader reads (the declaration, comments, processing
// instructions, CDATA sections, character references and the five predefined entities,
// attributes and blanks inside tags, any line ends) and stops at the first place where the text
// is not well-formed XML, keeping the elements read up to there. A faulty XML declaration (not
// XML's grammar, or not at the very start) is the one fault it reads past: the document is not
// well-formed, and what follows the declaration is still read for showing.
//
// A document type declaration with an internal subset could declare entities and default
// attributes that change what a reader yields, and elements nested deeper than any group file
// nests them are no group file: both count as not well-formed here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A character XML 1.0 allows in a document (its production Char): the one rule the reader
// checks and the writer keeps to.
constexpr bool IsXmlCodePoint(char32_t cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
         (cp >= 0x10000 && cp <= 0x10FFFF);
}

// The XML declaration at the very start of a text (behind a U+FEFF), read as XML 1.0 defines
// it: "<?xml", a blank, version = "1." and digits, then, each after a blank, an optional
// encoding = a name (a letter, then letters, digits, ".", "_" or "-") and an optional
// standalone = yes or no, in that order, each value in single or double quotes and "=" with
// optional blanks around it; optional blanks and "?>" end it. "<?xml" followed by anything but
// a name character starts a declaration; one that is not all of that is broken, which makes
// the document not well-formed.
struct XmlDeclaration {
  enum class Kind { kNone, kSound, kBroken };
  Kind kind = Kind::kNone;
  std::wstring encoding;  // as written; empty when the declaration names none
  size_t end = 0;         // where the rest of the text starts (behind the mark and a sound declaration)
};
XmlDeclaration ReadXmlDeclaration(std::wstring_view text);

struct XmlElement {
  std::wstring Name;
  bool HasAttributes = false;
  bool Closed = false;       // its end tag (or "/>") was read
  std::wstring Text;         // the element's own character data, decoded, comments left out
  std::vector<XmlElement> Children;

  // True when the element's own character data holds anything but XML blanks.
  bool HasNonBlankText() const;
};

struct XmlDocument {
  bool HasRoot = false;
  XmlElement Root;
  bool WellFormed = false;
};

// Reads `text` (a leading U+FEFF is skipped). Never throws on bad input.
XmlDocument ReadXmlDocument(const std::wstring& text);
