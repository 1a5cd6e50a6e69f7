#include "groups/GroupXmlReader.h"

#include <memory>
#include <string_view>
#include <utility>

namespace {

constexpr size_t kMaxDepth = 64;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

bool IsNameStart(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0xD800 && c <= 0xDFFF) && c < 0xFFFE) ||
         (c >= 0xD800 && c <= 0xDBFF);
}

bool IsNameChar(wchar_t c) {
  return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || c == 0xB7 ||
         (c >= 0xDC00 && c <= 0xDFFF);
}

// A character XML allows in a document (surrogates are checked in pairs by the caller).
bool IsXmlChar(wchar_t c) { return c == L'\t' || c == L'\n' || c == L'\r' || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF); }

bool IsXmlCodePoint(unsigned long cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
         (cp >= 0x10000 && cp <= 0x10FFFF);
}

void AppendCodePoint(std::wstring& out, unsigned long cp) {
  if (cp < 0x10000) {
    out += static_cast<wchar_t>(cp);
    return;
  }
  cp -= 0x10000;
  out += static_cast<wchar_t>(0xD800 + (cp >> 10));
  out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
}

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
    doc.WellFormed = Document();
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
    for (size_t i = from; i < to; ++i) {
      const wchar_t c = text_[i];
      if (c >= 0xD800 && c <= 0xDBFF) {
        if (i + 1 >= to || text_[i + 1] < 0xDC00 || text_[i + 1] > 0xDFFF) return Fail(i);
        ++i;
      } else if ((c >= 0xDC00 && c <= 0xDFFF) || !IsXmlChar(c)) {
        return Fail(i);
      }
    }
    return true;
  }

  bool Fail(size_t at) {
    pos_ = at;
    return false;
  }

  bool Name(std::wstring& name) {
    const size_t start = pos_;
    if (AtEnd() || !IsNameStart(text_[pos_])) return false;
    ++pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    name.assign(text_, start, pos_ - start);
    return true;
  }

  // "&...;" at pos_, appended decoded.
  bool Reference(std::wstring& out) {
    const size_t start = pos_;
    const size_t end = text_.find(L';', pos_);
    if (end == std::wstring::npos || end - pos_ > 12) return Fail(start);
    const std::wstring_view body = std::wstring_view(text_).substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (!body.empty() && body[0] == L'#') {
      unsigned long cp = 0;
      const bool hex = body.size() > 1 && body[1] == L'x';
      const std::wstring_view digits = body.substr(hex ? 2 : 1);
      if (digits.empty()) return Fail(start);
      for (wchar_t c : digits) {
        unsigned long d;
        if (c >= L'0' && c <= L'9') d = static_cast<unsigned long>(c - L'0');
        else if (hex && c >= L'a' && c <= L'f') d = static_cast<unsigned long>(c - L'a' + 10);
        else if (hex && c >= L'A' && c <= L'F') d = static_cast<unsigned long>(c - L'A' + 10);
        else return Fail(start);
        cp = cp * (hex ? 16 : 10) + d;
        if (cp > 0x10FFFF) return Fail(start);
      }
      if (!IsXmlCodePoint(cp)) return Fail(start);
      AppendCodePoint(out, cp);
      return true;
    }
    static constexpr struct {
      std::wstring_view name;
      wchar_t c;
    } kPredefined[] = {{L"lt", L'<'}, {L"gt", L'>'}, {L"amp", L'&'}, {L"apos", L'\''}, {L"quot", L'"'}};
    for (const auto& e : kPredefined)
      if (body == e.name) {
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
    if (target.size() == 3 && (target[0] | 0x20) == L'x' && (target[1] | 0x20) == L'm' && (target[2] | 0x20) == L'l')
      return Fail(start);
    const size_t end = text_.find(L"?>", pos_);
    if (end == std::wstring::npos) return Fail(start);
    if (pos_ < end && !IsBlank(text_[pos_])) return Fail(start);
    if (!CheckChars(pos_, end)) return false;
    pos_ = end + 2;
    return true;
  }

  bool Declaration() {
    if (!LookingAt(L"<?xml") || pos_ + 5 >= text_.size() || !IsBlank(text_[pos_ + 5])) return true;
    const size_t start = pos_;
    const size_t end = text_.find(L"?>", pos_);
    if (end == std::wstring::npos) return Fail(start);
    const std::wstring_view body = std::wstring_view(text_).substr(pos_ + 5, end - pos_ - 5);
    if (body.find(L"version") == std::wstring_view::npos || body.find(L'<') != std::wstring_view::npos)
      return Fail(start);
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
      const size_t width = (c >= 0xD800 && c <= 0xDBFF) ? 2 : 1;
      if (pos_ + width > text_.size() || !CheckChars(pos_, pos_ + width)) return false;
      value.append(text_, pos_, width);
      pos_ += width;
    }
  }

  // "<" at pos_, not followed by "/", "!" or "?".
  bool StartTag() {
    const size_t start = pos_;
    ++pos_;
    XmlElement element;
    if (!Name(element.Name)) return Fail(start);
    std::vector<std::wstring> attributeNames;
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
      std::wstring attribute;
      if (!Name(attribute)) return Fail(pos_);
      for (const std::wstring& seen : attributeNames)
        if (seen == attribute) return Fail(start);
      attributeNames.push_back(attribute);
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
    std::wstring name;
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
    if (!text_.empty() && text_[0] == 0xFEFF) pos_ = 1;
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
};

}  // namespace

bool XmlElement::HasNonBlankText() const {
  for (wchar_t c : Text)
    if (!IsBlank(c)) return true;
  return false;
}

XmlDocument ReadXmlDocument(const std::wstring& text) { return Parser(NormalizeLineEnds(text)).Run(); }
