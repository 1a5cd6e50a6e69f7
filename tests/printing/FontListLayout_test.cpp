// Pages of a printed font list: every font placed once, in order, within the page, whatever the
// columns, the labels and the sample size; the page count the layout gives.
#include "printing/CPrintFontList.h"

#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "tests/printing/PrintingTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace printing_tests;

namespace {

const wchar_t* const kFaces[] = {L"DejaVuSans.ttf", L"DejaVuSerif.ttf", L"DejaVuSansMono.ttf",
                                 L"DejaVuSans-Bold.ttf", L"DejaVuSerif-Bold.ttf", L"DejaVuSansCondensed.ttf"};

struct Layout {
  int pages = 0;
  std::vector<std::vector<DrawnText>> texts;  // per page
};

Layout LayOut(CPrintFontList& list, const RECT& page) {
  Layout layout;
  list.SetPageRect(page);
  list.SetRange(0, static_cast<int>(list.Fonts().Count()));
  for (bool more = true; more && layout.pages < 50;) {
    HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    more = list.LayoutFontListPage(dc);
    HENHMETAFILE metafile = ::CloseEnhMetaFile(dc);
    layout.texts.push_back(MetafileTexts(metafile));
    ::DeleteEnhMetaFile(metafile);
    ++layout.pages;
  }
  return layout;
}

}  // namespace

TEST(FontListLayout, EveryFontOnceInOrderWithinThePage) {
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  struct Case {
    int columns;
    DWORD sampleSize;
    int pageHeight;
    bool longLabels;  // the fourth font's label wraps over many lines
  };
  const Case cases[] = {
      {1, 16, 700, false}, {2, 16, 400, false}, {3, 12, 300, true}, {2, 200, 300, false}, {1, 16, 260, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.columns << " columns, " << c.sampleSize << " points, " << c.pageHeight);
    orv::ScopedKey prefs;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
    WriteRegDword(prefs.Get(), L"SampleFontSize", c.sampleSize);
    ReportOptions options = ReportOptions::FromFlags(0x4);  // file lines
    options.columns = c.columns;
    WriteReportOptions(options);
    CPrintFontList list(100);
    list.SetTitle(L"Fonts of the test");
    int row = 0;
    for (const wchar_t* face : kFaces) {
      FontItem font = ReadFont(kDejaVuFolder, face);
      if (c.longLabels && row == 3) font.fileRef = std::wstring(150, L'x') + L" " + std::wstring(100, L'y');
      list.Fonts().AddUnique(font, row++);
    }
    const RECT page{0, 0, 600, c.pageHeight};
    const Layout layout = LayOut(list, page);
    // Each display name once, in order, over all pages; nothing drawn at or below the bottom
    // except a font too big for an empty column.
    size_t next = 0;
    for (const auto& texts : layout.texts) {
      for (const DrawnText& t : texts) {
        if (next < std::size(kFaces)) {
          const FontItem expected = ReadFont(kDejaVuFolder, kFaces[next]);
          if (t.text.rfind(expected.displayName, 0) == 0) ++next;  // maybe wrapped after it
        }
        if (c.sampleSize < 100) {
          EXPECT_LT(t.at.y, page.bottom) << testing_support::Narrow(t.text);
        }
      }
    }
    EXPECT_EQ(next, std::size(kFaces)) << "every font is placed, in order";
    EXPECT_LE(layout.pages, static_cast<int>(std::size(kFaces))) << "at most a page per font";
    if (c.sampleSize >= 100) {
      // Too big for any column: one font per column.
      EXPECT_EQ(layout.pages, static_cast<int>((std::size(kFaces) + c.columns - 1) / c.columns));
    }
    EXPECT_TRUE(ContainsText(layout.texts.front(), L"Fonts of the test"));
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}

// The preview on the report options page keeps its page off the window's edges: a page that
// starts at the corner is drawn from 4 pixels in.
TEST(FontListLayout, PreviewPageAtTheCornerIsInset) {
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  CPrintFontList preview(100);
  preview.SetTitle(L"Installed Fonts");
  preview.Fonts().AddUnique(ReadFont(kDejaVuFolder, kFaces[0]), 0);
  preview.SetPageRect(RECT{0, 0, 600, 400});
  HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  preview.DrawPage(dc);
  HENHMETAFILE metafile = ::CloseEnhMetaFile(dc);
  const std::vector<DrawnText> texts = MetafileTexts(metafile);
  ::DeleteEnhMetaFile(metafile);
  ASSERT_TRUE(ContainsText(texts, ReadFont(kDejaVuFolder, kFaces[0]).displayName));
  LONG left = LONG_MAX, top = LONG_MAX;
  for (const DrawnText& t : texts) {
    left = std::min(left, t.at.x);
    top = std::min(top, t.at.y);
  }
  EXPECT_EQ(left, 4) << "the labels start at the page's left";
  EXPECT_EQ(top, 4) << "the title starts at the page's top";
}
