// A small XML reader for group files: the document as a tree of elements with their decoded
// text. It reads what any XML reader reads (the declaration, comments, processing
// instructions, CDATA sections, character references and the five predefined entities,
// attributes and blanks inside tags, any line ends) and stops at the first place where the text
// is not well-formed XML, keeping the elements read up to there.
//
// A document type declaration with an internal subset could declare entities and default
// attributes that change what a reader yields, and elements nested deeper than any group file
// nests them are no group file: both count as not well-formed here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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
