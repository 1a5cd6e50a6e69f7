// UTF-16 and UTF-8 as the whole program handles them: the surrogate rules, code points to and
// from UTF-16, and the one converter between UTF-16 and UTF-8. Pure functions, any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

constexpr bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The code point that starts at text[i] and how many units it takes: a surrogate pair is one
// code point of two units; a lone surrogate is given as itself (a value IsSurrogate is true
// for), one unit. `i` must be inside the text.
char32_t CodePointAt(std::wstring_view text, size_t i, size_t& units);

// The UTF-16 units of a code point up to kLastCodePoint (one, or a surrogate pair); returns
// how many were written.
size_t EncodeCodePoint(char32_t cp, wchar_t (&units)[2]);
void AppendCodePoint(std::wstring& out, char32_t cp);

// Every surrogate in its pair: only such text has a UTF-8 form.
bool IsWellFormedUtf16(std::wstring_view text);
// The text with each lone surrogate replaced by U+FFFD, pairs kept.
std::wstring ReplaceLoneSurrogates(std::wstring_view text);

// The UTF-8 bytes of one code point (a surrogate value gives U+FFFD's bytes).
void AppendUtf8(std::string& out, char32_t cp);
// UTF-16 to UTF-8, of any length; a lone surrogate becomes U+FFFD (EF BF BD), the bytes
// WideCharToMultiByte(CP_UTF8) writes for it.
std::string Utf16ToUtf8(std::wstring_view text);
// UTF-8 to UTF-16 as MultiByteToWideChar(CP_UTF8) reads it: broken sequences as U+FFFD. Empty
// for text of 2 GiB or more, which that function cannot take.
std::wstring Utf8ToUtf16(std::string_view bytes);
