// Decoding the bytes of a group file into text. The program writes UTF-8, but people edit group
// files with whatever editor is at hand: one saves UTF-16 with or without a byte-order mark,
// another the system's code page. Every such file reads with its own characters, or not at all:
// a replacement character in a font path would name no file once the group is saved again.
#include "groups/GroupFileIo.h"

#include <climits>
#include <string_view>

#include "common/ByteReader.h"
#include "common/StringHelpers.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kDeclarationStart = "<?xml";
constexpr std::string_view kDeclarationEnd = "?>";
constexpr std::string_view kEncodingAttribute = "encoding";
constexpr UINT kUsAscii = 20127;

// Encoding names of the XML declaration that are no "windows-NNNN" or "cpNNNN" name.
constexpr struct {
  const wchar_t* name;
  UINT codePage;
} kNamedCodePages[] = {
    {L"utf-8", CP_UTF8},        {L"utf8", CP_UTF8},         {L"us-ascii", kUsAscii},  {L"ascii", kUsAscii},
    {L"iso-8859-1", 28591},     {L"latin1", 28591},         {L"iso-8859-2", 28592},   {L"iso-8859-3", 28593},
    {L"iso-8859-4", 28594},     {L"iso-8859-5", 28595},     {L"iso-8859-6", 28596},   {L"iso-8859-7", 28597},
    {L"iso-8859-8", 28598},     {L"iso-8859-9", 28599},     {L"iso-8859-13", 28603},  {L"iso-8859-15", 28605},
    {L"shift_jis", 932},        {L"windows-31j", 932},      {L"gb2312", 936},         {L"gbk", 936},
    {L"big5", 950},             {L"euc-kr", 949},           {L"ks_c_5601-1987", 949}, {L"euc-jp", 20932},
    {L"koi8-r", 20866},         {L"koi8-u", 21866},         {L"ibm437", 437},         {L"ibm850", 850},
    {L"ibm852", 852},           {L"ibm866", 866},
};

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Every surrogate in its pair: only such text has a UTF-8 form to save.
bool IsWellFormedUtf16(const std::wstring& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLowSurrogate(text[i])) return false;
    if (IsHighSurrogate(text[i])) {
      if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1])) return false;
      ++i;
    }
  }
  return true;
}

// UTF-16 up to the first zero character; anything but zero bytes behind it, or an odd byte,
// is not text.
bool DecodeUtf16(const ByteReader& bytes, bool bigEndian, std::wstring& text) {
  text.clear();
  text.reserve(bytes.Size() / 2);
  uint64_t offset = 0;
  for (;; offset += 2) {
    uint16_t unit = 0;
    if (!(bigEndian ? bytes.U16(offset, unit) : bytes.U16LE(offset, unit))) break;
    if (unit == 0) break;
    text += static_cast<wchar_t>(unit);
  }
  for (; offset < bytes.Size(); ++offset) {
    uint8_t b = 0;
    if (!bytes.U8(offset, b) || b != 0) return false;
  }
  return IsWellFormedUtf16(text);
}

// The bytes read in `codePage` only when every byte sequence is a character of it and the
// characters encode back to the very same bytes.
bool DecodeCodePage(UINT codePage, std::string_view bytes, std::wstring& text) {
  text.clear();
  if (bytes.empty()) return true;
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return false;
  if (codePage != CP_UTF8 && !::IsValidCodePage(codePage)) return false;
  const int size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (n <= 0) return false;
  text.resize(static_cast<size_t>(n));
  if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), n) != n) return false;

  // UTF-8 takes neither flags nor a default-character report.
  const bool utf8 = codePage == CP_UTF8;
  BOOL usedDefault = FALSE;
  const DWORD backFlags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int m = ::WideCharToMultiByte(codePage, backFlags, text.data(), n, nullptr, 0, nullptr, utf8 ? nullptr : &usedDefault);
  if (m != size || usedDefault) return false;
  std::string back(static_cast<size_t>(m), '\0');
  ::WideCharToMultiByte(codePage, backFlags, text.data(), n, back.data(), m, nullptr, utf8 ? nullptr : &usedDefault);
  return !usedDefault && std::string_view(back) == bytes;
}

// The bytes and the shortest and longest second byte of a UTF-8 sequence with this lead byte;
// 0 for a byte that leads none (ASCII, a continuation byte, or one no sequence may start with).
struct Utf8Lead {
  uint64_t length;
  uint8_t secondMin;
  uint8_t secondMax;
};
constexpr Utf8Lead kNoUtf8Lead{0, 0, 0};

Utf8Lead Utf8LeadOf(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};                    // no overlong forms
  if (lead == 0xED) return {3, 0x80, 0x9F};                    // no surrogates
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};                    // nothing above U+10FFFF
  return kNoUtf8Lead;
}

// True when the bytes hold at least one well-formed UTF-8 sequence of two bytes or more: an
// editor wrote UTF-8 there, and reading the file in a code page would turn those characters
// into others (and the next save would write the wrong ones as UTF-8).
bool HoldsUtf8MultiByteSequence(const ByteReader& bytes) {
  for (uint64_t offset = 0; offset < bytes.Size(); ++offset) {
    uint8_t b = 0;
    if (!bytes.U8(offset, b)) return false;
    const Utf8Lead lead = Utf8LeadOf(b);
    if (lead.length == 0) continue;
    bool valid = bytes.U8(offset + 1, b) && b >= lead.secondMin && b <= lead.secondMax;
    for (uint64_t k = 2; valid && k < lead.length; ++k) valid = bytes.U8(offset + k, b) && b >= 0x80 && b <= 0xBF;
    if (valid) return true;
  }
  return false;
}

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The encoding the XML declaration at the start of the text names ("" when none).
std::wstring DeclaredEncoding(std::string_view text) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  while (!text.empty() && IsXmlBlank(text.front())) text.remove_prefix(1);
  if (text.substr(0, kDeclarationStart.size()) != kDeclarationStart) return {};
  const size_t end = text.find(kDeclarationEnd);
  if (end == std::string_view::npos) return {};
  std::string_view declaration = text.substr(0, end);
  const size_t attribute = declaration.find(kEncodingAttribute);
  if (attribute == std::string_view::npos) return {};
  declaration.remove_prefix(attribute + kEncodingAttribute.size());
  while (!declaration.empty() && IsXmlBlank(declaration.front())) declaration.remove_prefix(1);
  if (declaration.empty() || declaration.front() != '=') return {};
  declaration.remove_prefix(1);
  while (!declaration.empty() && IsXmlBlank(declaration.front())) declaration.remove_prefix(1);
  if (declaration.empty() || (declaration.front() != '"' && declaration.front() != '\'')) return {};
  const char quote = declaration.front();
  declaration.remove_prefix(1);
  const size_t close = declaration.find(quote);
  if (close == std::string_view::npos) return {};
  std::wstring name;
  for (char c : declaration.substr(0, close)) {
    if (static_cast<unsigned char>(c) >= 0x80) return L"?";  // no encoding name of any code page
    name += static_cast<wchar_t>(c);
  }
  return name;
}

// The code page number behind "windows-NNNN", "cpNNNN" or "x-cpNNNN"; 0 for any other name.
UINT NumberedCodePage(std::wstring_view name) {
  for (std::wstring_view prefix : {std::wstring_view(L"windows-"), std::wstring_view(L"x-cp"), std::wstring_view(L"cp")}) {
    if (name.size() <= prefix.size() || !EqualsNoCase(name.substr(0, prefix.size()), prefix)) continue;
    UINT number = 0;
    for (wchar_t c : name.substr(prefix.size())) {
      if (c < L'0' || c > L'9' || number > 99999) return 0;
      number = number * 10 + static_cast<UINT>(c - L'0');
    }
    return number;
  }
  return 0;
}

// The code page an encoding name stands for; 0 for a name this reader does not know.
UINT CodePageOfEncoding(const std::wstring& name) {
  for (const auto& known : kNamedCodePages)
    if (EqualsNoCase(name, known.name)) return known.codePage;
  return NumberedCodePage(name);
}

}  // namespace

bool DecodeGroupFileText(const std::string& data, std::wstring& text) {
  text.clear();
  const ByteReader bytes(data.data(), data.size());
  uint8_t b0 = 0, b1 = 0;
  if (bytes.U8(0, b0) && bytes.U8(1, b1)) {
    if (b0 == 0xFF && b1 == 0xFE) return DecodeUtf16(bytes.From(2), false, text);
    if (b0 == 0xFE && b1 == 0xFF) return DecodeUtf16(bytes.From(2), true, text);
    // A group file begins with "<" or a blank, whose UTF-16 form holds a zero byte.
    if (b0 != 0 && b1 == 0) return DecodeUtf16(bytes, false, text);
    if (b0 == 0 && b1 != 0) return DecodeUtf16(bytes, true, text);
  }

  const std::string_view all(data);
  const size_t zero = all.find('\0');
  const std::string_view narrow = all.substr(0, zero);
  if (zero != std::string_view::npos && all.find_first_not_of('\0', zero) != std::string_view::npos) return false;

  const std::wstring declared = DeclaredEncoding(narrow);
  const UINT codePage = declared.empty() ? CP_UTF8 : CodePageOfEncoding(declared);
  // A name this reader does not know: only plain ASCII reads the same in every code page.
  if (codePage == 0) return DecodeCodePage(kUsAscii, narrow, text);
  if (codePage != CP_UTF8) return DecodeCodePage(codePage, narrow, text);
  if (DecodeCodePage(CP_UTF8, narrow, text)) return true;
  // The program's own declaration says UTF-8, but an editor may have saved the file in the
  // system's code page without changing it. That reading is unambiguous only for bytes that
  // hold no UTF-8 at all: a file with a UTF-8 mark, or with UTF-8 characters beside a broken
  // byte, is UTF-8 that is damaged, not a file of the code page.
  if (narrow.substr(0, kUtf8Mark.size()) == kUtf8Mark) return false;
  if (HoldsUtf8MultiByteSequence(ByteReader(narrow.data(), narrow.size()))) return false;
  return DecodeCodePage(::GetACP(), narrow, text);
}
