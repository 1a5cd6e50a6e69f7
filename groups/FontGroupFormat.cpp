// The group file format: building a file's text and reading one back. There is no XML parser
// on purpose: elements are found by plain substring search, so that every file that earlier
// versions wrote (or that a person edited) reads as it always did.
#include "common/StringHelpers.h"
#include "groups/FontGroup.h"

#include <algorithm>
#include <unordered_set>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "groups/GroupNames.h"

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr wchar_t kTrue[] = L"true";
constexpr wchar_t kReplacementChar = 0xFFFD;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// What a file can carry: U+0000 would end the text for every reader and is dropped; a lone
// surrogate has no UTF-8 form and becomes U+FFFD (the converter would do so anyway, but not
// the same way on every system). Everything else, control characters included, is kept.
std::wstring CleanValue(const std::wstring& value) {
  std::wstring out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const wchar_t c = value[i];
    if (c == 0) continue;
    if (IsHighSurrogate(c)) {
      if (i + 1 < value.size() && IsLowSurrogate(value[i + 1])) {
        out += c;
        out += value[++i];
      } else {
        out += kReplacementChar;
      }
    } else if (IsLowSurrogate(c)) {
      out += kReplacementChar;
    } else {
      out += c;
    }
  }
  return out;
}

// One pass over the cut-out value, so that "&amp;lt;" reads back as "&lt;".
std::wstring DecodeValue(const std::wstring& raw) {
  static constexpr struct {
    std::wstring_view entity;
    wchar_t c;
  } kEntities[] = {{L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&#39;", L'\''}, {L"&amp;", L'&'}};
  std::wstring out;
  out.reserve(raw.size());
  const std::wstring_view text(raw);
  for (size_t i = 0; i < text.size();) {
    if (text[i] == L'&') {
      bool replaced = false;
      for (const auto& e : kEntities) {
        if (text.substr(i, e.entity.size()) == e.entity) {
          out += e.c;
          i += e.entity.size();
          replaced = true;
          break;
        }
      }
      if (replaced) continue;
    }
    out += text[i++];
  }
  return out;
}

// True when "<tag>" stands in the text from `from` on without a "</tag>" behind it: the reader
// would take the element, and everything behind it that it holds, for missing.
bool HasUnclosedElement(const std::wstring& text, const wchar_t* tag, size_t from) {
  const std::wstring open = std::wstring(L"<") + tag + L">";
  const size_t start = text.find(open, from);
  return start != std::wstring::npos && text.find(std::wstring(L"</") + tag + L">", start + open.size()) == std::wstring::npos;
}

// The first element of the tag, cut out whole; `whole` turns false when it has no end.
std::wstring ReadContainer(const std::wstring& text, const wchar_t* tag, bool& whole) {
  ptrdiff_t position = 0;
  std::wstring content = FontGroup::ReadElement(text, tag, position);
  if (position < 0 && HasUnclosedElement(text, tag, 0)) whole = false;
  return content;
}

std::wstring ReadValue(const std::wstring& text, const wchar_t* tag, bool& whole) {
  return DecodeValue(ReadContainer(text, tag, whole));
}

// The next element of a repeated tag from `position` on (-1 after the last). The reader stops
// at an empty or unterminated element, so one in the text means the entries behind it, and
// the element itself, are not read: `whole` turns false.
std::wstring ReadNextEntry(const std::wstring& block, const wchar_t* tag, ptrdiff_t& position, bool& whole) {
  const size_t from = static_cast<size_t>(position);
  std::wstring entry = FontGroup::ReadElement(block, tag, position);
  if (position < 0 && block.find(std::wstring(L"<") + tag + L">", from) != std::wstring::npos) whole = false;
  return entry;
}

bool EndsTagName(wchar_t c) { return c == L'>' || c == L'/' || c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// The opening tags of `tag` in the text, with or without attributes ("<font>", "<font id=\"2\">",
// "<font/>"), not counting those of longer names ("<fonts>") or closing tags.
size_t CountOpenings(const std::wstring& text, const wchar_t* tag) {
  const std::wstring open = std::wstring(L"<") + tag;
  size_t count = 0;
  for (size_t at = text.find(open); at != std::wstring::npos; at = text.find(open, at + open.size())) {
    const size_t behind = at + open.size();
    if (behind < text.size() && EndsTagName(text[behind])) ++count;
  }
  return count;
}

bool IsBlankChar(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xFEFF; }

// A text with nothing in it but blanks and perhaps the declaration: replacing it loses nothing.
bool IsBlankText(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && IsBlankChar(text[i])) ++i;
  if (text.compare(i, 5, L"<?xml") == 0) {
    const size_t end = text.find(L"?>", i);
    if (end == std::wstring::npos) return false;
    i = end + 2;
  }
  while (i < text.size() && IsBlankChar(text[i])) ++i;
  return i == text.size();
}

bool NameLess(const FontGroupEntry& a, const FontGroupEntry& b) { return a.Name < b.Name; }

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring FontGroup::ReadElement(const std::wstring& text, const wchar_t* tag, ptrdiff_t& position) {
  if (position < 0 || static_cast<size_t>(position) > text.size()) {
    position = -1;
    return {};
  }
  const std::wstring open = std::wstring(L"<") + tag + L">";
  const size_t start = text.find(open, static_cast<size_t>(position));
  if (start == std::wstring::npos) {
    position = -1;
    return {};
  }
  const size_t valueStart = start + open.size();
  const std::wstring close = std::wstring(L"</") + tag + L">";
  const size_t end = text.find(close, valueStart);
  if (end == std::wstring::npos || end == valueStart) {
    position = -1;
    return {};
  }
  position = static_cast<ptrdiff_t>(end + close.size());
  return text.substr(valueStart, end - valueStart);
}

std::wstring FontGroup::WriteElement(const std::wstring& value, const wchar_t* tag) {
  std::wstring out;
  out.reserve(value.size() + 32);
  out += L'<';
  out += tag;
  out += L'>';
  AppendMarkupEscaped(out, CleanValue(value));
  out += L"</";
  out += tag;
  out += L'>';
  out += kLineEnd;
  return out;
}

std::wstring FontGroup::WriteElement(UINT valueStringId, const wchar_t* tag) {
  return WriteElement(LoadResString(valueStringId), tag);
}

std::string FontGroup::BuildFileBytes(bool skipNodes) const {
  std::wstring text;
  text += kDeclaration;
  text += kLineEnd;
  text += L"<" + RootTag + L">" + kLineEnd;
  text += WriteElement(IDS_GROUP_FILE_NOTE, L"Note");
  text += WriteElement(Name, L"Name");
  text += WriteElement(Parent, L"Parent");
  if (Installed) text += WriteElement(kTrue, L"Installed");
  if (!skipNodes && !Nodes.empty()) {
    text += L"<orvelnodes>";
    text += kLineEnd;
    for (const FontGroupEntry& node : Nodes) {
      text += L"\t<node>";
      text += kLineEnd;
      text += L"\t" + WriteElement(node.Name, L"name");
      text += L"\t" + WriteElement(node.Path, node.IsLink ? L"link" : L"file");
      if (node.Installed) text += L"\t" + WriteElement(kTrue, L"installed");
      text += L"\t</node>";
      text += kLineEnd;
    }
    text += L"</orvelnodes>";
    text += kLineEnd;
  }
  if (!Fonts.empty()) {
    text += L"<fonts>";
    text += kLineEnd;
    for (const FontGroupEntry& font : Fonts) {
      text += L"\t<font>";
      text += kLineEnd;
      text += L"\t\t" + WriteElement(font.Name, L"name");
      text += L"\t\t" + WriteElement(font.Path, L"path");
      text += L"\t</font>";
      text += kLineEnd;
    }
    text += L"</fonts>";
    text += kLineEnd;
  }
  text += L"</" + RootTag + L">" + kLineEnd;
  return ToUtf8(text);
}

bool FontGroup::ParseFileText(const std::wstring& text, bool& blank) {
  blank = false;
  Name.clear();
  Parent.clear();
  Nodes.clear();
  Fonts.clear();

  // A root element without its end is a cut-off file: what follows the cut is unknown, so the
  // file counts as damaged rather than as an empty group that the next save would write over.
  const std::wstring open = L"<" + RootTag + L">";
  const std::wstring close = L"</" + RootTag + L">";
  const size_t start = text.find(open);
  if (start == std::wstring::npos || text.find(close, start + open.size()) == std::wstring::npos) {
    blank = IsBlankText(text);
    return false;
  }

  // A file that the element reader would read only in part is as damaged as a cut-off one: a
  // save would write back the part and lose the rest.
  bool whole = true;
  const std::wstring document = ReadContainer(text, RootTag.c_str(), whole);

  Name = ReadValue(document, L"Name", whole);
  Installed = !ReadContainer(document, L"Installed", whole).empty();
  Parent = ReadValue(document, L"Parent", whole);

  // Entries are collected and sorted once: the same order as one sorted insert per entry,
  // without its quadratic cost on a large file in random order.
  const std::wstring nodes = ReadContainer(document, L"orvelnodes", whole);
  std::unordered_set<std::wstring> seenNodes;
  size_t nodesRead = 0;
  for (ptrdiff_t position = 0; whole;) {
    const std::wstring node = ReadNextEntry(nodes, L"node", position, whole);
    if (position < 0) break;
    ++nodesRead;
    FontGroupEntry entry;
    entry.Installed = !ReadContainer(node, L"installed", whole).empty();
    entry.Path = ReadValue(node, L"file", whole);
    if (entry.Path.empty()) {
      entry.Path = ReadValue(node, L"link", whole);
      entry.IsLink = true;
    }
    // A node without a target is dropped: what the file holds of it would be lost.
    if (entry.Path.empty()) {
      whole = false;
      break;
    }
    entry.Name = ReadValue(node, L"name", whole);
    if (!seenNodes.insert(FoldCase(entry.Path)).second) continue;
    Nodes.push_back(std::move(entry));
  }

  const std::wstring fonts = ReadContainer(document, L"fonts", whole);
  std::unordered_set<std::wstring> seenFonts;
  size_t fontsRead = 0;
  for (ptrdiff_t position = 0; whole;) {
    const std::wstring font = ReadNextEntry(fonts, L"font", position, whole);
    if (position < 0) break;
    ++fontsRead;
    FontGroupEntry entry;
    entry.Path = ReadValue(font, L"path", whole);
    entry.Name = ReadValue(font, L"name", whole);
    // A font without a name or a path is dropped: the half it has would be lost.
    if (entry.Name.empty() || entry.Path.empty()) {
      whole = false;
      break;
    }
    // Decoded text holds no U+0000, so it can join the two halves of the key.
    if (!seenFonts.insert(FoldCase(entry.Path) + L'\0' + FoldCase(entry.Name)).second) continue;
    Fonts.push_back(std::move(entry));
  }

  // Every entry of the text must have gone into the record; a duplicate dropped on purpose
  // counts as read. An opening that the reader never took as an entry of its own (one with
  // attributes, one in a second block or outside the blocks, one swallowed by an entry whose
  // end is missing) would be gone at the next save.
  if (CountOpenings(text, L"orvelnodes") > 1 || CountOpenings(text, L"fonts") > 1 ||
      CountOpenings(text, L"node") != nodesRead || CountOpenings(text, L"font") != fontsRead)
    whole = false;

  if (!whole) {
    Name.clear();
    Parent.clear();
    Nodes.clear();
    Fonts.clear();
    return false;
  }
  std::stable_sort(Nodes.begin(), Nodes.end(), NameLess);
  std::stable_sort(Fonts.begin(), Fonts.end(), NameLess);
  return true;
}
