#include "common/UnicodeText.h"

#include <windows.h>

#include <climits>

char32_t CodePointAt(std::wstring_view text, size_t i, size_t& units) {
  const wchar_t c = text[i];
  if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
  }
  units = 1;
  return c;
}

size_t EncodeCodePoint(char32_t cp, wchar_t (&units)[2]) {
  if (cp < 0x10000) {
    units[0] = static_cast<wchar_t>(cp);
    return 1;
  }
  cp -= 0x10000;
  units[0] = static_cast<wchar_t>(0xD800 + (cp >> 10));
  units[1] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  return 2;
}

void AppendCodePoint(std::wstring& out, char32_t cp) {
  wchar_t units[2];
  out.append(units, EncodeCodePoint(cp, units));
}

bool IsWellFormedUtf16(std::wstring_view text) {
  size_t units = 0;
  for (size_t i = 0; i < text.size(); i += units)
    if (IsSurrogate(CodePointAt(text, i, units))) return false;
  return true;
}

std::wstring ReplaceLoneSurrogates(std::wstring_view text) {
  std::wstring out(text);
  size_t units = 0;
  for (size_t i = 0; i < out.size(); i += units)
    if (IsSurrogate(CodePointAt(out, i, units))) out[i] = static_cast<wchar_t>(kReplacementCharacter);
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (IsSurrogate(cp) || cp > kLastCodePoint) cp = kReplacementCharacter;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf16ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  size_t units = 0;
  for (size_t i = 0; i < text.size(); i += units) {
    const wchar_t c = text[i];
    if (c < 0x80) {  // most text is ASCII
      out += static_cast<char>(c);
      units = 1;
      continue;
    }
    AppendUtf8(out, CodePointAt(text, i, units));
  }
  return out;
}

std::wstring Utf8ToUtf16(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), n);
  return text;
}
