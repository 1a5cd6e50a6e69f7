// Decoding a group file's bytes: every form an editor may leave reads with its own characters,
// and bytes that do not decode losslessly are refused rather than replaced.
#include "groups/GroupFileIo.h"

#include <gtest/gtest.h>

namespace {

const std::string kDeclared1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>";

std::string Utf16(const std::wstring& text, bool bigEndian) {
  std::string bytes;
  for (wchar_t c : text) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

}  // namespace

TEST(GroupFileText, DecodingKeepsEveryCharacterOrRefuses) {
  struct Case {
    const char* what;
    std::string bytes;
    bool decodes;
    std::wstring text;
  } cases[] = {
      {"nothing", "", true, L""},
      {"ASCII", "plain", true, L"plain"},
      {"UTF-8 mark stays, the searches skip it", "\xEF\xBB\xBF<a>", true, L"\xFEFF<a>"},
      {"UTF-8 beyond the basic plane", "\xC3\xA9\xF0\x9D\x84\x9E", true, L"\x00E9\xD834\xDD1E"},
      {"zero bytes after the text end it", std::string("abc\0\0\0", 6), true, L"abc"},
      {"text behind a zero byte is not read: refused", std::string("a\0b", 3), false, L""},
      {"UTF-16 LE with its mark", "\xFF\xFE" + Utf16(L"<\x00E9", false), true, L"<\x00E9"},
      {"UTF-16 BE with its mark", "\xFE\xFF" + Utf16(L"<\x00E9", true), true, L"<\x00E9"},
      {"UTF-16 LE without a mark", Utf16(L"<a>Caf\x00E9</a>", false), true, L"<a>Caf\x00E9</a>"},
      {"UTF-16 BE without a mark", Utf16(L"<a>\x65E5</a>", true), true, L"<a>\x65E5</a>"},
      {"UTF-16 ends at a zero character", Utf16(L"<a>", false) + std::string(4, '\0'), true, L"<a>"},
      {"UTF-16 with text behind a zero character", Utf16(std::wstring(L"<a\0b", 4), false), false, L""},
      {"UTF-16 with an odd last byte", "\xFF\xFE" + Utf16(L"<a>", false) + "x", false, L""},
      {"UTF-16 with a lone surrogate", "\xFF\xFE" + Utf16(L"<\xD834>", false), false, L""},
      {"the mark alone", "\xFF\xFE", true, L""},
      {"Windows-1252 by its declaration", kDeclared1252 + "<p>C:\\Caf\xE9.ttf</p>", true,
       L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><p>C:\\Caf\x00E9.ttf</p>"},
      {"ISO 8859-1 by its declaration, single quotes",
       "<?xml version='1.0' encoding = 'ISO-8859-1'?>\xE9", true,
       L"<?xml version='1.0' encoding = 'ISO-8859-1'?>\x00E9"},
      {"Shift-JIS by its declaration", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\x93\xFA\x96\x7B", true,
       L"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\x65E5\x672C"},
      {"Shift-JIS cut inside a character", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\x93\xFA\x96", false, L""},
      {"an encoding nobody knows, with ASCII only", "<?xml version=\"1.0\" encoding=\"x-mystery\"?><a/>", true,
       L"<?xml version=\"1.0\" encoding=\"x-mystery\"?><a/>"},
      {"an encoding nobody knows, with other bytes", "<?xml version=\"1.0\" encoding=\"x-mystery\"?>\xE9", false, L""},
      {"a UTF-8 mark over bytes that are no UTF-8", "\xEF\xBB\xBF" "bad \xFF\xC3 end", false, L""},
      {"no declaration, UTF-8 beside a broken byte", "<a>\xE6\x97\xA5 \xFF</a>", false, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring text = L"left over";
    EXPECT_EQ(DecodeGroupFileText(c.bytes, text), c.decodes);
    if (c.decodes) {
      EXPECT_EQ(text, c.text);
    }
  }
}
