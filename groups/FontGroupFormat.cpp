// The group file format: building a file's text and reading one back. A file is read as the XML
// it is, and counts as read whole only when what an XML reader finds in it is exactly what went
// into the record: every other file is damaged, shown as far as it was read and never saved
// over.
#include "common/StringHelpers.h"
#include "groups/FontGroup.h"

#include <algorithm>
#include <unordered_set>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/UnicodeText.h"
#include "groups/GroupNames.h"
#include "groups/GroupXmlReader.h"

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr wchar_t kTrue[] = L"true";
// What a file can carry: characters that XML does not allow (U+0000 and the other control
// characters but tab, line feed and carriage return; U+FFFE, U+FFFF) would make the file
// unreadable to every XML reader and are dropped; a lone surrogate has no UTF-8 form and
// becomes U+FFFD.
std::wstring CleanValue(const std::wstring& value) {
  std::wstring out;
  out.reserve(value.size());
  size_t units = 0;
  for (size_t i = 0; i < value.size(); i += units) {
    const char32_t cp = CodePointAt(value, i, units);
    if (IsSurrogate(cp)) AppendCodePoint(out, kReplacementCharacter);
    else if (IsXmlCodePoint(cp)) out.append(value, i, units);
  }
  return out;
}

// A reader hands a carriage return in the text over as a line feed; written as a character
// reference it reads back as itself.
void AppendValue(std::wstring& out, const std::wstring& value) {
  std::wstring escaped;
  AppendMarkupEscaped(escaped, CleanValue(value));
  for (wchar_t c : escaped) {
    if (c == L'\r') out += L"&#13;";
    else out += c;
  }
}

bool IsBlankChar(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xFEFF; }

// A text with nothing in it but blanks and perhaps a sound declaration: replacing it loses
// nothing.
bool IsBlankText(const std::wstring& text) {
  const XmlDeclaration declaration = ReadXmlDeclaration(text);
  if (declaration.kind == XmlDeclaration::Kind::kBroken) return false;
  size_t i = declaration.end;
  while (i < text.size() && IsBlankChar(text[i])) ++i;
  return i == text.size();
}

// Maps the elements a reader found onto the group's fields. Whatever the format has no place
// for, and would so be gone after the next save, marks the file as not read whole: an element
// of another name (or case) that holds anything, text between the elements, a field given
// twice, an entry with half its data. Attributes of the format's own elements (a namespace, an
// id a script added) hold nothing the group has, so they are read past, as XML allows.
class GroupElementMapper {
public:
  explicit GroupElementMapper(FontGroup& group) : group_(group) {}

  bool whole = true;

  void Root(const XmlElement& root) {
    if (root.HasNonBlankText()) whole = false;
    bool seenName = false, seenParent = false, seenInstalled = false, seenNote = false, seenNodes = false,
         seenFonts = false;
    for (const XmlElement& e : root.Children) {
      // A block cut off by a fault shows the entries read before it; a value cut off is none.
      const bool block = e.Name == L"orvelnodes" || e.Name == L"fonts";
      if (!e.Closed && !block) continue;
      if (e.Name == L"Name") {
        group_.Name = Value(e, seenName);
      } else if (e.Name == L"Parent") {
        group_.Parent = Value(e, seenParent);
      } else if (e.Name == L"Installed") {
        group_.Installed = !Value(e, seenInstalled).empty();
      } else if (e.Name == L"Note") {
        (void)Value(e, seenNote);  // the program's own note, written anew on saving
      } else if (e.Name == L"orvelnodes") {
        Block(e, seenNodes);
        for (const XmlElement& node : e.Children)
          if (node.Name == L"node") Node(node);
          else Unknown(node);
      } else if (e.Name == L"fonts") {
        Block(e, seenFonts);
        for (const XmlElement& font : e.Children)
          if (font.Name == L"font") Font(font);
          else Unknown(font);
      } else {
        Unknown(e);
      }
    }
  }

private:
  void Unknown(const XmlElement& e) {
    if (e.HasAttributes || e.HasNonBlankText() || !e.Children.empty()) whole = false;
  }

  void Block(const XmlElement& e, bool& seen) {
    if (seen || e.HasNonBlankText()) whole = false;
    seen = true;
  }

  std::wstring Value(const XmlElement& e, bool& seen) {
    if (seen || !e.Children.empty()) whole = false;
    seen = true;
    return e.Text;
  }

  // The fields of one entry by their names; anything else in it marks the file.
  struct EntryFields {
    const wchar_t* names[4];
    std::wstring values[4];
    bool seen[4] = {};
  };

  void Fields(const XmlElement& entry, EntryFields& fields) {
    if (entry.HasNonBlankText()) whole = false;
    for (const XmlElement& e : entry.Children) {
      bool known = false;
      for (size_t i = 0; i < 4 && fields.names[i]; ++i) {
        if (e.Name != fields.names[i]) continue;
        fields.values[i] = Value(e, fields.seen[i]);
        known = true;
        break;
      }
      if (!known) Unknown(e);
    }
  }

  void Node(const XmlElement& node) {
    if (!node.Closed) return;
    EntryFields f{{L"name", L"file", L"link", L"installed"}};
    Fields(node, f);
    FontGroupEntry entry;
    entry.Name = f.values[0];
    entry.Installed = !f.values[3].empty();
    entry.Path = f.values[1];
    if (entry.Path.empty()) {
      entry.Path = f.values[2];
      entry.IsLink = true;
    } else if (!f.values[2].empty()) {
      whole = false;  // a node is a child group or a link, not both
    }
    if (entry.Path.empty()) {
      whole = false;
      return;
    }
    if (!seenNodes_.insert(FoldCase(entry.Path)).second) return;
    group_.Nodes.push_back(std::move(entry));
  }

  void Font(const XmlElement& font) {
    if (!font.Closed) return;
    EntryFields f{{L"name", L"path", nullptr, nullptr}};
    Fields(font, f);
    FontGroupEntry entry;
    entry.Name = f.values[0];
    entry.Path = f.values[1];
    if (entry.Name.empty() || entry.Path.empty()) {
      whole = false;
      return;
    }
    // Decoded text may hold no U+0000 (no XML character), so it can join the two halves.
    if (!seenFonts_.insert(FoldCase(entry.Path) + L'\0' + FoldCase(entry.Name)).second) return;
    group_.Fonts.push_back(std::move(entry));
  }

  FontGroup& group_;
  std::unordered_set<std::wstring> seenNodes_;
  std::unordered_set<std::wstring> seenFonts_;
};

bool NameLess(const FontGroupEntry& a, const FontGroupEntry& b) { return a.Name < b.Name; }

}  // namespace

std::wstring FontGroup::WriteElement(const std::wstring& value, const wchar_t* tag) {
  std::wstring out;
  out.reserve(value.size() + 32);
  out += L'<';
  out += tag;
  out += L'>';
  AppendValue(out, value);
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
  return Utf16ToUtf8(text);
}

bool FontGroup::ParseFileText(const std::wstring& text, bool& blank) {
  blank = false;
  Name.clear();
  Parent.clear();
  Nodes.clear();
  Fonts.clear();

  const XmlDocument document = ReadXmlDocument(text);
  GroupElementMapper mapper(*this);
  if (document.HasRoot && document.Root.Name == RootTag) mapper.Root(document.Root);
  else mapper.whole = false;
  // Entries are collected and sorted once: the order one sorted insert per entry gives,
  // without its quadratic cost on a large file in random order.
  std::stable_sort(Nodes.begin(), Nodes.end(), NameLess);
  std::stable_sort(Fonts.begin(), Fonts.end(), NameLess);
  if (document.WellFormed && mapper.whole) return true;
  blank = !document.HasRoot && IsBlankText(text);
  return false;
}
