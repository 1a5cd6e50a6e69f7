// The one UTF-16/UTF-8 converter and the surrogate rules: the bytes the system's converter
// writes, for every kind of unit and for lone surrogates.
#include "common/UnicodeText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

namespace {

std::string SystemUtf8(const std::wstring& s) {
  if (s.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

TEST(UnicodeText, Utf16ToUtf8WritesTheSystemsBytes) {
  const std::wstring edges[] = {L"",         L"a\x7F",         L"\x80\x7FF",     L"\x800\xD7FF\xE000\xFFFD\xFFFF",
                                L"\xD800\xDC00\xDBFF\xDFFF", L"x\xD800",       L"\xDC00y",       L"\xDBFF\xDBFF\xDFFF",
                                L"\xDFFF\xD800"};
  for (const std::wstring& s : edges) EXPECT_EQ(Utf16ToUtf8(s), SystemUtf8(s)) << ::testing::PrintToString(s);
  EXPECT_EQ(Utf16ToUtf8(L"x\xD800y"), "x\xEF\xBF\xBDy") << "a lone surrogate is U+FFFD";
  EXPECT_EQ(Utf16ToUtf8(L"\xD83D\xDE00"), "\xF0\x9F\x98\x80");

  // Random text weighted towards the edges of each form, lone surrogates included.
  std::mt19937 random(43);
  const wchar_t pool[] = {L'a', 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFF};
  for (int round = 0; round < 2000; ++round) {
    std::wstring s;
    for (size_t n = random() % 12; n > 0; --n)
      s += random() % 2 ? pool[random() % std::size(pool)] : static_cast<wchar_t>(random() % 0x10000);
    ASSERT_EQ(Utf16ToUtf8(s), SystemUtf8(s)) << ::testing::PrintToString(s);
  }
}

TEST(UnicodeText, CodePointsAndSurrogates) {
  size_t units = 0;
  EXPECT_EQ(CodePointAt(L"\xD83D\xDE00", 0, units), 0x1F600u);
  EXPECT_EQ(units, 2u);
  EXPECT_EQ(CodePointAt(L"\xD83Dx", 0, units), 0xD83Du) << "a lone high surrogate is itself";
  EXPECT_EQ(units, 1u);
  EXPECT_EQ(CodePointAt(L"\xD83D", 0, units), 0xD83Du) << "a pair cut by the end of the text";
  EXPECT_EQ(CodePointAt(L"\xDE00\xD83D", 0, units), 0xDE00u);
  for (char32_t cp : {char32_t(0x41), char32_t(0xFFFF), char32_t(0x10000), char32_t(0x1F600), kLastCodePoint}) {
    std::wstring s;
    AppendCodePoint(s, cp);
    EXPECT_EQ(CodePointAt(s, 0, units), cp);
    EXPECT_EQ(units, s.size());
  }
  EXPECT_TRUE(IsWellFormedUtf16(L"a\xD83D\xDE00z"));
  EXPECT_FALSE(IsWellFormedUtf16(L"a\xD83D"));
  EXPECT_FALSE(IsWellFormedUtf16(L"\xDE00\xD83D"));
  EXPECT_EQ(ReplaceLoneSurrogates(L"\xDE00\xD83D\xDE00\xD83D"), std::wstring(L"\xFFFD\xD83D\xDE00\xFFFD"));
  EXPECT_EQ(Utf8ToUtf16("Caf\xC3\xA9 \xF0\x9F\x98\x80"), std::wstring(L"Caf\xE9 \xD83D\xDE00"));
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(L"\x65E5\xD83D\xDE00")), std::wstring(L"\x65E5\xD83D\xDE00"));
}
