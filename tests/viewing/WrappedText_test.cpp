// Text broken into lines for printed pages: every line inside the width, no letter lost or
// doubled between lines, breaks at spaces where there are any, and a cut text visibly ended.
#include "viewing/WrappedText.h"

#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kEllipsis = L"\u2026";

class WrappedTextTest : public testing::Test {
protected:
  void SetUp() override {
    LOGFONTW face{};
    face.lfHeight = -16;
    wcscpy_s(face.lfFaceName, L"Arial");
    font_.Reset(::CreateFontIndirectW(&face));
    select_ = std::make_unique<orv::ScopedSelectObject>(dc_.Get(), font_.Get());
  }
  int Width(const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

  orv::ScopedCreatedDC dc_{::CreateCompatibleDC(nullptr)};
  orv::ScopedFont font_;
  std::unique_ptr<orv::ScopedSelectObject> select_;
};

TEST_F(WrappedTextTest, LinesStayInsideTheWidthAndLoseNoLetter) {
  const std::wstring word(3000, L'm');
  std::wstring words;
  for (int i = 0; i < 200; ++i) words += L"word" + std::to_wstring(i) + L" ";
  words.pop_back();
  std::wstring pairs;
  for (int i = 0; i < 400; ++i) pairs += L"\U0001D400";  // mathematical bold capital A
  const struct {
    const char* name;
    std::wstring text;
    int width;
    const wchar_t* between;  // what the breaks took out
    size_t minLines;
  } cases[] = {
      {"fits", L"Sphinx of black quartz", 1000, L" ", 1},
      {"words break at spaces", words, 150, L" ", 10},
      {"one word of 3,000 letters breaks inside", word, 90, L"", 30},
      {"a word wider than the line after a short one", L"ab " + word, 90, L"", 30},
      {"narrower than one letter", L"mmm", 2, L"", 3},
      {"surrogate pairs", pairs, 37, L"", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WrappedText wrapped = WrapText(dc_.Get(), c.text, c.width, 100000);
    EXPECT_FALSE(wrapped.cut);
    EXPECT_GE(wrapped.lines.size(), c.minLines);
    for (const std::wstring& line : wrapped.lines) {
      ASSERT_FALSE(line.empty());
      EXPECT_FALSE(line.back() >= 0xD800 && line.back() <= 0xDBFF) << "a line ends inside a pair";
      if (line.size() > (IS_HIGH_SURROGATE(line[0]) ? 2u : 1u)) EXPECT_LE(Width(line), c.width) << Narrow(line);
    }
    std::wstring joined;
    for (size_t i = 0; i < wrapped.lines.size(); ++i) joined += (i ? c.between : L"") + wrapped.lines[i];
    if (std::wstring(c.between).empty() && c.text.find(L' ') != std::wstring::npos) {
      std::wstring text = c.text;
      std::erase(text, L' ');
      std::erase(joined, L' ');
      EXPECT_EQ(joined, text);
    } else {
      EXPECT_EQ(joined, c.text);
    }
  }
}

TEST_F(WrappedTextTest, LineBreaksOfTheTextStartLines) {
  const WrappedText wrapped = WrapText(dc_.Get(), L"\r\nName [Full]\r\nV.:  1.0\n", 1000, 10);
  ASSERT_EQ(wrapped.lines.size(), 3u) << "a break at the very end starts no line";
  EXPECT_EQ(wrapped.lines[0], L"");
  EXPECT_EQ(wrapped.lines[1], L"Name [Full]");
  EXPECT_EQ(wrapped.lines[2], L"V.:  1.0");
  EXPECT_TRUE(WrapText(dc_.Get(), L"", 100, 5).lines.empty());
}

TEST_F(WrappedTextTest, CutTextEndsWithEllipsisAndItsTailInsideTheWidth) {
  const std::wstring name = L"AaLongFamily" + std::wstring(30000, L'O');
  const struct {
    const char* name;
    size_t maxLines;
    std::wstring tail;
    int width;
    std::wstring end;
  } cases[] = {
      {"no tail", 3, L"", 200, kEllipsis},
      {"the type after the ellipsis", 3, L" (TrueType)", 200, kEllipsis + L" (TrueType)"},
      {"a tail wider than the line gives way", 2, L" (TrueType) and much more than fits", 60, kEllipsis},
      {"one line", 1, L"", 200, kEllipsis},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WrappedText wrapped = WrapText(dc_.Get(), name, c.width, c.maxLines, c.tail);
    EXPECT_TRUE(wrapped.cut);
    ASSERT_EQ(wrapped.lines.size(), c.maxLines);
    const std::wstring& last = wrapped.lines.back();
    ASSERT_GE(last.size(), c.end.size());
    EXPECT_EQ(last.substr(last.size() - c.end.size()), c.end);
    EXPECT_GT(last.size(), c.end.size()) << "some of the name before the ellipsis";
    for (const std::wstring& line : wrapped.lines) EXPECT_LE(Width(line), c.width) << Narrow(line);
  }
  const WrappedText none = WrapText(dc_.Get(), name, 200, 0);
  EXPECT_TRUE(none.cut);
  EXPECT_TRUE(none.lines.empty());
  EXPECT_FALSE(WrapText(dc_.Get(), L"Short", 200, 1).cut) << "a text that fits its lines exactly is whole";
}

}  // namespace
