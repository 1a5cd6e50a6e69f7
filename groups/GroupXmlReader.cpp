#include "groups/GroupXmlReader.h"

#include <memory>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "common/UnicodeText.h"

namespace {

constexpr size_t kMaxDepth = 64;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

bool IsNameStart(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7 && !IsSurrogate(c) && c < 0xFFFE) || IsHighSurrogate(c);
}

bool IsNameChar(wchar_t c) {
  return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || c == 0xB7 || IsLowSurrogate(c);
}

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// VersionNum: "1." and one or more digits.
bool IsVersionNumber(std::wstring_view v) {
  if (v.size() < 3 || v[0] != L'1' || v[1] != L'.') return false;
  for (wchar_t c : v.substr(2))
    if (!IsDigit(c)) return false;
  return true;
}

// EncName: a letter, then letters, digits, ".", "_" or "-".
bool IsEncodingName(std::wstring_view v) {
  if (v.empty() || !IsAsciiLetter(v[0])) return false;
  for (wchar_t c : v.substr(1))
    if (!IsAsciiLetter(c) && !IsDigit(c) && c != L'.' && c != L'_' && c != L'-') return false;
  return true;
}

bool IsStandaloneValue(std::wstring_view v) { return v == L"yes" || v == L"no"; }

// The declaration's productions, read one at a time from a position.
class DeclarationReader {
public:
  DeclarationReader(std::wstring_view text, size_t pos) : text_(text), pos_(pos) {}

  size_t Pos() const { return pos_; }
  bool LookingAt(std::wstring_view s) const { return text_.substr(pos_, s.size()) == s; }
  bool Take(std::wstring_view s) {
    if (!LookingAt(s)) return false;
    pos_ += s.size();
    return true;
  }
  // S?: true when at least one blank was taken.
  bool Blanks() {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    return pos_ > start;
  }
  // name Eq ("'" value "'" | '"' value '"'), with a value that `valid` accepts.
  bool PseudoAttribute(std::wstring_view name, bool (*valid)(std::wstring_view), std::wstring_view& value) {
    if (!Take(name)) return false;
    Blanks();
    if (!Take(L"=")) return false;
    Blanks();
    if (pos_ >= text_.size() || (text_[pos_] != L'"' && text_[pos_] != L'\'')) return false;
    const wchar_t quote = text_[pos_++];
    const size_t close = text_.find(quote, pos_);
    if (close == std::wstring_view::npos) return false;
    value = text_.substr(pos_, close - pos_);
    pos_ = close + 1;
    return valid(value);
  }

private:
  std::wstring_view text_;
  size_t pos_;
};

// Line ends as every XML reader hands them over: CR LF and a lone CR become LF.
std::wstring NormalizeLineEnds(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      out += L'\n';
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

class Parser {
public:
  explicit Parser(std::wstring text) : text_(std::move(text)) {}

  XmlDocument Run() {
    XmlDocument doc;
    doc.WellFormed = Document() && !faultyDeclaration_;
    // Elements still open at a fault go to their parents as they are.
    while (stack_.size() > 1) {
      XmlElement open = std::move(stack_.back());
      stack_.pop_back();
      stack_.back().Children.push_back(std::move(open));
    }
    if (!stack_.empty()) {
      doc.Root = std::move(stack_.back());
      doc.HasRoot = true;
    } else if (root_) {
      doc.Root = std::move(*root_);
      doc.HasRoot = true;
    }
    return doc;
  }

private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool LookingAt(std::wstring_view s) const { return std::wstring_view(text_).substr(pos_, s.size()) == s; }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }

  // Every character of [from, to) is one XML allows, surrogates in pairs.
  bool CheckChars(size_t from, size_t to) {
    const std::wstring_view range = std::wstring_view(text_).substr(0, to);
    size_t units = 0;
    for (size_t i = from; i < to; i += units)
      if (!IsXmlCodePoint(CodePointAt(range, i, units))) return Fail(i);
    return true;
  }

  bool Fail(size_t at) {
    pos_ = at;
    return false;
  }

  // A name at pos_, as a view into the text.
  bool Name(std::wstring_view& name) {
    const size_t start = pos_;
    if (AtEnd() || !IsNameStart(text_[pos_])) return false;
    ++pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    name = std::wstring_view(text_).substr(start, pos_ - start);
    return true;
  }
  bool Name(std::wstring& name) {
    std::wstring_view view;
    if (!Name(view)) return false;
    name.assign(view);
    return true;
  }

  // The digits of a character reference at pos_, up to the ";": any number of them (leading
  // zeros included); a value past the last code point stays past it, whatever follows.
  bool CharacterReference(bool hex, char32_t& cp) {
    const size_t first = pos_;
    cp = 0;
    for (; !AtEnd() && text_[pos_] != L';'; ++pos_) {
      const wchar_t c = text_[pos_];
      char32_t d;
      if (c >= L'0' && c <= L'9') d = static_cast<char32_t>(c - L'0');
      else if (hex && c >= L'a' && c <= L'f') d = static_cast<char32_t>(c - L'a' + 10);
      else if (hex && c >= L'A' && c <= L'F') d = static_cast<char32_t>(c - L'A' + 10);
      else return false;
      if (cp <= kLastCodePoint) cp = cp * (hex ? 16 : 10) + d;
    }
    if (AtEnd() || pos_ == first) return false;
    ++pos_;  // the ";"
    return IsXmlCodePoint(cp);
  }

  // "&...;" at pos_, appended decoded.
  bool Reference(std::wstring& out) {
    const size_t start = pos_;
    ++pos_;
    if (LookingAt(L"#")) {
      ++pos_;
      const bool hex = LookingAt(L"x");
      if (hex) ++pos_;
      char32_t cp = 0;
      if (!CharacterReference(hex, cp)) return Fail(start);
      AppendCodePoint(out, cp);
      return true;
    }
    std::wstring_view name;
    if (!Name(name) || AtEnd() || text_[pos_] != L';') return Fail(start);
    ++pos_;
    static constexpr struct {
      std::wstring_view name;
      wchar_t c;
    } kPredefined[] = {{L"lt", L'<'}, {L"gt", L'>'}, {L"amp", L'&'}, {L"apos", L'\''}, {L"quot", L'"'}};
    for (const auto& e : kPredefined)
      if (name == e.name) {
        out += e.c;
        return true;
      }
    return Fail(start);  // an entity no declaration of this reader defines
  }

  // "<!--" at pos_.
  bool Comment() {
    const size_t start = pos_;
    pos_ += 4;
    const size_t end = text_.find(L"--", pos_);
    if (end == std::wstring::npos || end + 2 >= text_.size() || text_[end + 2] != L'>') return Fail(start);
    if (!CheckChars(pos_, end)) return false;
    pos_ = end + 3;
    return true;
  }

  // "<?" at pos_: a processing instruction (not the declaration).
  bool ProcessingInstruction() {
    const size_t start = pos_;
    pos_ += 2;
    std::wstring target;
    if (!Name(target)) return Fail(start);
    if (target.size() == 3 && (target[0] | 0x20) == L'x' && (target[1] | 0x20) == L'm' && (target[2] | 0x20) == L'l') {
      pos_ = start;
      return PassFaultyDeclaration();
    }
    const size_t end = text_.find(L"?>", pos_);
    if (end == std::wstring::npos) return Fail(start);
    if (pos_ < end && !IsBlank(text_[pos_])) return Fail(start);
    if (!CheckChars(pos_, end)) return false;
    pos_ = end + 2;
    return true;
  }

  // The mark and the declaration at the very start.
  bool Declaration() {
    const XmlDeclaration declaration = ReadXmlDeclaration(text_);
    pos_ = declaration.end;
    return declaration.kind == XmlDeclaration::Kind::kBroken ? PassFaultyDeclaration() : true;
  }

  // A declaration that is not XML's, or one not at the very start, makes the document not
  // well-formed; it holds none of the document, so the reading goes on behind its "?>" and
  // what follows can still be shown. One whose "?>" does not come before the next markup
  // ends the reading.
  bool PassFaultyDeclaration() {
    faultyDeclaration_ = true;
    const size_t end = text_.find(L"?>", pos_);
    if (end == std::wstring::npos || text_.find(L'<', pos_ + 1) < end) return false;
    pos_ = end + 2;
    return true;
  }

  // "<!DOCTYPE" at pos_: taken when it has no internal subset.
  bool DocumentType() {
    const size_t start = pos_;
    wchar_t quote = 0;
    for (pos_ += 9; !AtEnd(); ++pos_) {
      const wchar_t c = text_[pos_];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == L'"' || c == L'\'') {
        quote = c;
      } else if (c == L'[' || c == L'<') {
        return Fail(start);
      } else if (c == L'>') {
        ++pos_;
        return true;
      }
    }
    return Fail(start);
  }

  // Comments, processing instructions and blanks before or after the root element.
  bool Misc(bool allowDocType) {
    for (;;) {
      SkipBlanks();
      if (LookingAt(L"<!--")) {
        if (!Comment()) return false;
      } else if (LookingAt(L"<?")) {
        if (!ProcessingInstruction()) return false;
      } else if (allowDocType && LookingAt(L"<!DOCTYPE")) {
        if (!DocumentType()) return false;
        allowDocType = false;
      } else {
        return true;
      }
    }
  }

  bool AttributeValue(std::wstring& value) {
    if (AtEnd() || (text_[pos_] != L'"' && text_[pos_] != L'\'')) return false;
    const wchar_t quote = text_[pos_++];
    for (;;) {
      if (AtEnd()) return false;
      const wchar_t c = text_[pos_];
      if (c == quote) {
        ++pos_;
        return true;
      }
      if (c == L'<') return false;
      if (c == L'&') {
        if (!Reference(value)) return false;
        continue;
      }
      size_t units = 0;
      if (!IsXmlCodePoint(CodePointAt(text_, pos_, units))) return false;
      value.append(text_, pos_, units);
      pos_ += units;
    }
  }

  // "<" at pos_, not followed by "/", "!" or "?".
  bool StartTag() {
    const size_t start = pos_;
    ++pos_;
    XmlElement element;
    if (!Name(element.Name)) return Fail(start);
    // A set, not a list walked for each attribute: a tag may hold very many of them.
    std::unordered_set<std::wstring_view> attributeNames;
    for (;;) {
      const size_t before = pos_;
      SkipBlanks();
      if (LookingAt(L"/>")) {
        pos_ += 2;
        element.Closed = true;
        break;
      }
      if (LookingAt(L">")) {
        ++pos_;
        break;
      }
      if (pos_ == before) return Fail(start);  // attributes are set apart by blanks
      std::wstring_view attribute;
      if (!Name(attribute)) return Fail(pos_);
      if (!attributeNames.insert(attribute).second) return Fail(start);
      SkipBlanks();
      if (AtEnd() || text_[pos_] != L'=') return Fail(pos_);
      ++pos_;
      SkipBlanks();
      std::wstring value;
      if (!AttributeValue(value)) return false;
      element.HasAttributes = true;
    }
    if (element.Closed) {
      if (stack_.empty()) {
        root_ = std::make_unique<XmlElement>(std::move(element));
        rootDone_ = true;
      } else {
        stack_.back().Children.push_back(std::move(element));
      }
    } else {
      // Group files nest four deep; a deeper file is no group file, and its elements would be
      // freed by a recursion as deep as the nesting.
      if (stack_.size() >= kMaxDepth) return Fail(start);
      stack_.push_back(std::move(element));
    }
    return true;
  }

  // "</" at pos_.
  bool EndTag() {
    const size_t start = pos_;
    pos_ += 2;
    std::wstring_view name;
    if (!Name(name) || stack_.empty() || name != stack_.back().Name) return Fail(start);
    SkipBlanks();
    if (AtEnd() || text_[pos_] != L'>') return Fail(start);
    ++pos_;
    XmlElement done = std::move(stack_.back());
    stack_.pop_back();
    done.Closed = true;
    if (stack_.empty()) {
      root_ = std::make_unique<XmlElement>(std::move(done));
      rootDone_ = true;
    } else {
      stack_.back().Children.push_back(std::move(done));
    }
    return true;
  }

  // The content of the open elements, up to the end of the root element.
  bool Content() {
    while (!stack_.empty()) {
      if (AtEnd()) return false;
      const wchar_t c = text_[pos_];
      if (c == L'<') {
        if (LookingAt(L"<!--")) {
          if (!Comment()) return false;
        } else if (LookingAt(L"<![CDATA[")) {
          const size_t start = pos_;
          const size_t end = text_.find(L"]]>", pos_ + 9);
          if (end == std::wstring::npos) return Fail(start);
          if (!CheckChars(pos_ + 9, end)) return false;
          stack_.back().Text.append(text_, pos_ + 9, end - pos_ - 9);
          pos_ = end + 3;
        } else if (LookingAt(L"<?")) {
          if (!ProcessingInstruction()) return false;
        } else if (LookingAt(L"</")) {
          if (!EndTag()) return false;
        } else if (LookingAt(L"<!")) {
          return false;
        } else {
          if (!StartTag()) return false;
        }
      } else if (c == L'&') {
        if (!Reference(stack_.back().Text)) return false;
      } else {
        size_t end = pos_;
        while (end < text_.size() && text_[end] != L'<' && text_[end] != L'&') ++end;
        if (std::wstring_view(text_).substr(pos_, end - pos_).find(L"]]>") != std::wstring_view::npos) return false;
        if (!CheckChars(pos_, end)) return false;
        stack_.back().Text.append(text_, pos_, end - pos_);
        pos_ = end;
      }
    }
    return true;
  }

  bool Document() {
    if (!Declaration()) return false;
    if (!Misc(true)) return false;
    if (AtEnd() || text_[pos_] != L'<') return false;
    if (!StartTag()) return false;
    if (!rootDone_ && !Content()) return false;
    if (!Misc(false)) return false;
    return AtEnd();
  }

  std::wstring text_;
  size_t pos_ = 0;
  std::vector<XmlElement> stack_;
  std::unique_ptr<XmlElement> root_;
  bool rootDone_ = false;
  bool faultyDeclaration_ = false;
};

}  // namespace

bool XmlElement::HasNonBlankText() const {
  for (wchar_t c : Text)
    if (!IsBlank(c)) return true;
  return false;
}

XmlDeclaration ReadXmlDeclaration(std::wstring_view text) {
  XmlDeclaration declaration;
  const size_t start = !text.empty() && text[0] == 0xFEFF ? 1 : 0;
  declaration.end = start;
  DeclarationReader reader(text, start);
  if (!reader.Take(L"<?xml")) return declaration;
  if (reader.Pos() < text.size() && IsNameChar(text[reader.Pos()])) return declaration;  // a processing instruction
  declaration.kind = XmlDeclaration::Kind::kBroken;
  std::wstring_view value;
  if (!reader.Blanks() || !reader.PseudoAttribute(L"version", IsVersionNumber, value)) return declaration;
  bool blank = reader.Blanks();
  if (blank && reader.LookingAt(L"encoding")) {
    if (!reader.PseudoAttribute(L"encoding", IsEncodingName, value)) return declaration;
    declaration.encoding.assign(value);
    blank = reader.Blanks();
  }
  if (blank && reader.LookingAt(L"standalone")) {
    if (!reader.PseudoAttribute(L"standalone", IsStandaloneValue, value)) return declaration;
    reader.Blanks();
  }
  if (!reader.Take(L"?>")) return declaration;
  declaration.kind = XmlDeclaration::Kind::kSound;
  declaration.end = reader.Pos();
  return declaration;
}

XmlDocument ReadXmlDocument(const std::wstring& text) { return Parser(NormalizeLineEnds(text)).Run(); }
