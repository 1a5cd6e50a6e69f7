// Decoding the bytes of a group file into text. The program writes UTF-8, but people edit group
// files with whatever editor is at hand: one saves UTF-16 with or without a byte-order mark,
// another the system's code page. Every such file reads with its own characters, or not at all:
// a replacement character in a font path would name no file once the group is saved again.
#include "groups/GroupFileIo.h"

#include <climits>
#include <string_view>

#include "common/ByteReader.h"
#include "common/StringHelpers.h"
#include "common/UnicodeText.h"
#include "groups/GroupXmlReader.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kDeclarationStart = "<?xml";
constexpr std::string_view kDeclarationEnd = "?>";
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

// True when the bytes hold a byte that leads a UTF-8 sequence (0xC0 to 0xF7) followed by a
// continuation byte (0x80 to 0xBF): an editor wrote UTF-8 there, valid or not. Reading such a
// file in a code page would turn its characters into others, and the next save would write
// the wrong ones as UTF-8; broken UTF-8 (overlong forms, encoded surrogates, cut sequences)
// is a damaged file, not one of the code page.
bool HoldsUtf8ShapedSequence(std::string_view bytes) {
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const auto next = static_cast<unsigned char>(bytes[i + 1]);
    if (lead >= 0xC0 && lead <= 0xF7 && next >= 0x80 && next <= 0xBF) return true;
  }
  return false;
}

// The encoding the XML declaration at the start of the text names: "" when there is none, or
// when it is broken (the file is then damaged in any encoding). The declaration is ASCII in
// every encoding read here; any other byte stands for a character no declaration holds.
std::wstring DeclaredEncoding(std::string_view text) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  if (text.substr(0, kDeclarationStart.size()) != kDeclarationStart) return {};
  const size_t end = text.find(kDeclarationEnd);
  std::wstring head;
  for (char c : text.substr(0, end == std::string_view::npos ? text.size() : end + kDeclarationEnd.size()))
    head += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : static_cast<wchar_t>(kReplacementCharacter);
  const XmlDeclaration declaration = ReadXmlDeclaration(head);
  return declaration.kind == XmlDeclaration::Kind::kSound ? declaration.encoding : std::wstring();
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

// The names of the two-byte encoding: an eight-bit file that claims it is in another encoding
// than its own, and a UTF-16 file that names any other is too.
bool IsUtf16Name(const std::wstring& name) {
  for (const wchar_t* known : {L"utf-16", L"utf16", L"utf-16le", L"utf-16be", L"ucs-2", L"iso-10646-ucs-2", L"unicode"})
    if (EqualsNoCase(name, known)) return true;
  return false;
}

// The declared encoding of a UTF-16 text ("" when none, or broken).
std::wstring DeclaredEncodingOfText(const std::wstring& text) {
  const XmlDeclaration declaration = ReadXmlDeclaration(text);
  return declaration.kind == XmlDeclaration::Kind::kSound ? declaration.encoding : std::wstring();
}

// The code page an encoding name stands for; 0 for a name this reader does not know.
UINT CodePageOfEncoding(const std::wstring& name) {
  for (const auto& known : kNamedCodePages)
    if (EqualsNoCase(name, known.name)) return known.codePage;
  return NumberedCodePage(name);
}


bool DecodeUtf16File(const ByteReader& bytes, bool bigEndian, std::wstring& text) {
  if (!DecodeUtf16(bytes, bigEndian, text)) return false;
  const std::wstring declared = DeclaredEncodingOfText(text);
  return declared.empty() || IsUtf16Name(declared);
}

bool DecodeExactly(const std::string& data, std::wstring& text) {
  text.clear();
  const ByteReader bytes(data.data(), data.size());
  uint8_t b0 = 0, b1 = 0;
  if (bytes.U8(0, b0) && bytes.U8(1, b1)) {
    if (b0 == 0xFF && b1 == 0xFE) return DecodeUtf16File(bytes.From(2), false, text);
    if (b0 == 0xFE && b1 == 0xFF) return DecodeUtf16File(bytes.From(2), true, text);
    // A group file begins with "<" or a blank, whose UTF-16 form holds a zero byte.
    if (b0 != 0 && b1 == 0) return DecodeUtf16File(bytes, false, text);
    if (b0 == 0 && b1 != 0) return DecodeUtf16File(bytes, true, text);
  }

  const std::string_view all(data);
  const size_t zero = all.find('\0');
  const std::string_view narrow = all.substr(0, zero);
  if (zero != std::string_view::npos && all.find_first_not_of('\0', zero) != std::string_view::npos) return false;

  const std::wstring declared = DeclaredEncoding(narrow);
  if (IsUtf16Name(declared)) return false;  // eight-bit bytes are no UTF-16
  const UINT codePage = declared.empty() ? CP_UTF8 : CodePageOfEncoding(declared);
  // A name this reader does not know: only plain ASCII reads the same in every code page.
  if (codePage == 0) return DecodeCodePage(kUsAscii, narrow, text);
  if (codePage != CP_UTF8) return DecodeCodePage(codePage, narrow, text);
  if (DecodeCodePage(CP_UTF8, narrow, text)) return true;
  // The program's own declaration says UTF-8, but an editor may have saved the file in the
  // system's code page without changing it. That reading is unambiguous only for bytes that
  // hold nothing shaped like UTF-8: a file with a UTF-8 mark, or with a UTF-8 sequence (valid
  // or broken), is UTF-8 that is damaged, not a file of the code page.
  if (narrow.substr(0, kUtf8Mark.size()) == kUtf8Mark) return false;
  if (HoldsUtf8ShapedSequence(narrow)) return false;
  return DecodeCodePage(::GetACP(), narrow, text);
}

// The text of bytes that do not decode exactly, for showing only: UTF-16 by the same signs,
// else UTF-8, broken sequences and lone surrogates as U+FFFD.
std::wstring DecodeForShowing(const std::string& data) {
  std::wstring text;
  const ByteReader bytes(data.data(), data.size());
  uint8_t b0 = 0, b1 = 0;
  if (bytes.U8(0, b0) && bytes.U8(1, b1) && (b0 == 0 || b1 == 0 || (b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF))) {
    const bool bigEndian = b0 == 0xFE || (b0 == 0 && b1 != 0);
    const uint64_t start = (b0 == 0xFF || b0 == 0xFE) ? 2 : 0;
    for (uint64_t offset = start;; offset += 2) {
      uint16_t unit = 0;
      if (!(bigEndian ? bytes.U16(offset, unit) : bytes.U16LE(offset, unit)) || unit == 0) break;
      text += static_cast<wchar_t>(unit);
    }
    return ReplaceLoneSurrogates(text);
  }
  return Utf8ToUtf16(std::string_view(data).substr(0, std::string_view(data).find('\0')));
}

}  // namespace

bool DecodeGroupFileText(const std::string& data, std::wstring& text) {
  if (DecodeExactly(data, text)) return true;
  text = DecodeForShowing(data);
  return false;
}
