// Decoding a group file's bytes.
#include "groups/GroupFileIo.h"

#include <gtest/gtest.h>

TEST(GroupFileText, Decoding) {
  struct Case {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"", L""},
      {"plain", L"plain"},
      {"\xEF\xBB\xBF<a>", L"\xFEFF<a>"},                        // UTF-8 mark stays, searches skip it
      {std::string("a\0b\0\0c", 6), L"abc"},                    // zero bytes do not end the text
      {"\xC3\xA9\xF0\x9D\x84\x9E", L"\x00E9\xD834\xDD1E"},
      {"bad \xFF\xC3 end", L"bad \xFFFD\xFFFD end"},
      {std::string("\xFF\xFE<\0\xE9\0", 6), L"<\x00E9"},        // UTF-16 LE with its mark
      {std::string("\xFE\xFF\0<\0\xE9\0", 7), L"<\x00E9"},      // UTF-16 BE, odd last byte dropped
      {std::string("\xFF\xFE", 2), L""},
      {std::string("\xFF", 1), L"\xFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeGroupFileText(c.bytes), c.text) << c.bytes;
}
