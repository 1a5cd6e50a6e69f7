// The pane template and the font-lists pane on real windows: caption heights, toolbar widths,
// the two list modes and the caption with its count.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CFontListsPaneContainer.h"
#include "app/CGroupsTVContainer.h"
#include "app/CInstalledFontsContainer.h"
#include "app/PaneCaptionLayout.h"
#include "app/PaneSortOrder.h"
#include "common/ResourceIds.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(PaneCaption, HeightFromFontAndImages) {
  struct Case {
    int font, image, extra, height;
  };
  const Case cases[] = {{12, 16, 4, 31}, {12, 16, 0, 27}, {-12, 16, 4, 31}, {-24, 16, 4, 38}, {20, 16, 0, 30}};
  for (const Case& c : cases) EXPECT_EQ(PaneCaptionHeight(c.font, c.image, c.extra), c.height) << c.font;
}

// The caption's parts: the title shortened when room is short, the kept head and tail whole, the
// sort icon in the middle while the text ends left of it and after the text otherwise.
TEST(PaneCaption, LayoutShortensTheTitleAndKeepsTheCounts) {
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
  orv::ScopedFont font = CreatePaneCaptionFont();
  orv::ScopedSelectObject select(dc.Get(), font.Get());
  auto width = [&](const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  const std::wstring installed = L"Installed Fonts [2527 / 2600]", counts = L" [2527 / 2600]";
  const int whole = width(installed);
  struct Case {
    const char* what;
    std::wstring caption;
    size_t head, tail;
    int right, icon, centre;
    std::wstring text;  // empty: only its kept parts are checked
    int iconLeft;       // -2: just after the text
  } cases[] = {
      {"fits left of the middle", installed, 0, counts.size(), 4 + whole + 200, 16, 4 + whole + 50, installed, 4 + whole + 50},
      {"the icon moves after the text", installed, 0, counts.size(), 4 + whole + 30, 16, 4 + whole / 2, installed, -2},
      {"the title is shortened", installed, 0, counts.size(), 4 + whole - 10, 16, 4 + whole / 2, L"", -2},
      {"no icon: the whole room", installed, 0, counts.size(), 4 + whole, 0, 0, installed, -1},
      {"no icon, short room", installed, 0, counts.size(), 4 + whole - 20, 0, 0, L"", -1},
      {"a kept head", L"[12 points] DejaVu Serif Condensed Bold Italic", 12, 0, 4 + 120, 0, 0, L"", -1},
      {"no room for the title", installed, 0, counts.size(), 4 + width(counts) + 2, 0, 0, counts.substr(1), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PaneCaptionLayout layout = LayOutPaneCaption(dc.Get(), c.caption, c.head, c.tail, 4, c.right, c.icon,
                                                       SortOrderIconGap(), c.centre);
    if (!c.text.empty()) EXPECT_EQ(layout.text, c.text) << testing_support::Narrow(layout.text);
    EXPECT_TRUE(layout.text.starts_with(c.caption.substr(0, c.head)));
    const std::wstring tail = c.caption.substr(c.caption.size() - c.tail);
    EXPECT_TRUE(layout.text.ends_with(tail) || layout.text == tail.substr(1));
    if (layout.text != c.caption && layout.text.size() > c.head + c.tail) {
      EXPECT_NE(layout.text.find(L"..."), std::wstring::npos) << testing_support::Narrow(layout.text);
    }
    EXPECT_EQ(layout.textWidth, width(layout.text));
    const int room = c.right - 4 - (c.icon ? c.icon + SortOrderIconGap() : 0);
    if (layout.text.size() > c.head + c.tail) EXPECT_LE(layout.textWidth, room);
    if (c.iconLeft == -2) EXPECT_EQ(layout.iconLeft, 4 + layout.textWidth + SortOrderIconGap());
    else EXPECT_EQ(layout.iconLeft, c.iconLeft);
  }
}

class PaneTest : public ::testing::Test {
protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 300, nullptr,
                              nullptr, nullptr, nullptr);
  }
  void TearDown() override { ::DestroyWindow(host_); }
  HWND host_ = nullptr;
};

TEST_F(PaneTest, ToolbarWidthsAndLayout) {
  CGroupsTVContainer groups;
  RECT rc{0, 0, 300, 200};
  ASSERT_TRUE(groups.Create(host_, &rc));
  // Three buttons of the picture + 7 and the half-width menu button of half the picture + 7.
  const int button = groups.m_cxImage + 7;
  EXPECT_EQ(groups.m_cxToolBar, 3 * button + groups.m_cxImage / 2 + 7);
  EXPECT_EQ(::SendMessageW(groups.m_hWndToolBar, TB_BUTTONCOUNT, 0, 0), 4);
  HWND child = ::CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, groups, nullptr,
                                 nullptr, nullptr);
  groups.SetClient(child);
  RECT tb{}, cl{};
  ::GetWindowRect(groups.m_hWndToolBar, &tb);
  ::MapWindowPoints(nullptr, groups, reinterpret_cast<POINT*>(&tb), 2);
  EXPECT_EQ(tb.left, 300 - groups.m_cxToolBar - 3);
  EXPECT_EQ(tb.top, 3);
  EXPECT_EQ(tb.bottom - tb.top, button);
  ::GetWindowRect(child, &cl);
  ::MapWindowPoints(nullptr, groups, reinterpret_cast<POINT*>(&cl), 2);
  EXPECT_EQ(cl.top, groups.m_cyCaption);
  EXPECT_EQ(cl.bottom, 200);
  EXPECT_EQ(cl.right, 300);

  CInstalledFontsContainer installed;
  installed.m_bNoToolbar = true;
  ASSERT_TRUE(installed.Create(host_, &rc));
  EXPECT_EQ(installed.m_hWndToolBar, nullptr);
  EXPECT_EQ(installed.m_cxToolBar, 0);
  installed.SetCounts(5, 9);
  EXPECT_EQ(installed.CaptionText(), L"Installed Fonts [5 / 9]");
  installed.SetCounts(9, 9);
  EXPECT_EQ(installed.CaptionText(), L"Installed Fonts [9]");
}

TEST_F(PaneTest, FontListsModesSwitchListsButtonsAndWidths) {
  CFontListsPaneContainer pane;
  RECT rc{0, 0, 400, 200};
  ASSERT_TRUE(pane.Create(host_, &rc));
  HWND folder = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD, 0, 0, 1, 1, pane, nullptr, nullptr, nullptr);
  HWND group = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD, 0, 0, 1, 1, pane, nullptr, nullptr, nullptr);
  pane.SetLists(folder, group);
  pane.SetListTitles(L"C:\\Fonts", L"Serif");
  const int button = pane.m_cxImage + 7, full = 6 * button + pane.m_cxImage / 2 + 7;
  EXPECT_EQ(pane.GroupModeWidth(), full - 2 * button);
  EXPECT_EQ(pane.FolderModeWidth(), full - 4 * button);

  HWND tb = pane.m_hWndToolBar;
  struct Mode {
    LPARAM which;
    bool folderShown;
  };
  for (const Mode& m : {Mode{0, false}, Mode{1, true}, Mode{2, false}}) {
    SCOPED_TRACE(m.which);
    pane.ShowFontList(m.which);
    EXPECT_EQ(pane.FolderListShown(), m.folderShown);
    EXPECT_EQ(g_AppState.GroupListShown, !m.folderShown);
    EXPECT_EQ(pane.m_hWndClient, m.folderShown ? folder : group);
    EXPECT_EQ(::IsWindowVisible(folder) != FALSE, m.folderShown);
    EXPECT_EQ(pane.GetCaption(), m.folderShown ? L"C:\\Fonts" : L"Serif");
    EXPECT_EQ(pane.m_cxToolBar, m.folderShown ? pane.FolderModeWidth() : pane.GroupModeWidth());
    for (int id : {ID_FONTS_INSTALL, ID_FONTS_UNINSTALL})
      EXPECT_EQ(::SendMessageW(tb, TB_ISBUTTONHIDDEN, id, 0) != 0, !m.folderShown) << id;
    for (int id : {ID_GROUP_LIST_INSTALL, ID_GROUP_LIST_UNINSTALL, ID_GROUP_REMOVE_FONTS, ID_PANE_PARENT_FOLDER})
      EXPECT_EQ(::SendMessageW(tb, TB_ISBUTTONHIDDEN, id, 0) != 0, m.folderShown) << id;
  }
  g_AppState.GroupListShown = false;
}

TEST_F(PaneTest, CaptionWithCountIsShortenedToFit) {
  CFontListsPaneContainer pane;
  RECT rc{0, 0, 400, 200};
  ASSERT_TRUE(pane.Create(host_, &rc));
  pane.SetCaptionWithCount(L"C:\\Fonts", 12);
  EXPECT_EQ(pane.GetCaption(), L"C:\\Fonts [12]");
  pane.SetCaptionWithCount(L"C:\\Fonts", CFontListsPaneContainer::kNoCount);
  EXPECT_EQ(pane.GetCaption(), L"C:\\Fonts");
  const std::wstring longTitle(400, L'W');
  pane.SetCaptionWithCount(longTitle, 3);
  const std::wstring& caption = pane.GetCaption();
  EXPECT_LT(caption.size(), longTitle.size());
  EXPECT_NE(caption.find(L"... [3]"), std::wstring::npos) << testing_support::Narrow(caption);
  // No room at all still gives a caption that ends with the count.
  ::SetWindowPos(pane, nullptr, 0, 0, 10, 200, SWP_NOZORDER | SWP_NOMOVE);
  pane.SetCaptionWithCount(longTitle, 7);
  EXPECT_EQ(pane.GetCaption(), L"[7]") << "the count alone";
}

}  // namespace
