// The window, dialog and list-view text readers, the search without case and the path cutter,
// over tables of edge cases run by the real controls and shell functions.
#include "common/StringHelpers.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace {

TEST(CutLastPathComponent, Table) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
    bool removed;
  } table[] = {
      {L"C:\\Fonts\\Sub", L"C:\\Fonts", true},
      {L"C:\\Fonts\\Sub\\file.ttf", L"C:\\Fonts\\Sub", true},
      {L"C:\\Fonts", L"C:\\", true},
      {L"C:\\", L"C:\\", false},
      {L"C:", L"C:", false},
      {L"file.ttf", L"", true},
      {L"", L"", false},
      {L"\\Fonts", L"\\", true},
      {L"\\", L"\\", false},
      {L"\\\\server\\share\\dir", L"\\\\server\\share", true},
      {L"C:\\Fonts\\", L"C:\\Fonts", true},
      {L"C:\\a b\\c.d\\e", L"C:\\a b\\c.d", true},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(testing_support::Narrow(row.in));
    std::wstring path = row.in;
    EXPECT_EQ(CutLastPathComponent(path), row.removed);
    EXPECT_TRUE(path == row.out) << testing_support::Narrow(path);
    EXPECT_EQ(path.size(), wcslen(path.c_str()));
  }
}

TEST(CutLastPathComponent, LongPathsBeyondMaxPath) {
  std::wstring parent = L"C:";
  while (parent.size() < 1000) parent += L"\\segment";
  std::wstring path = parent + L"\\last";
  EXPECT_TRUE(CutLastPathComponent(path));
  EXPECT_TRUE(path == parent);
  // Repeated cuts walk up to the root and stop there.
  int cuts = 0;
  while (CutLastPathComponent(path)) ++cuts;
  EXPECT_TRUE(path == L"C:\\");
  EXPECT_GT(cuts, 100);
}

TEST(GetDlgItemString, Table) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(parent);
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 100, 20, parent,
                                reinterpret_cast<HMENU>(101), nullptr, nullptr);
  ASSERT_TRUE(edit);
  const std::wstring longText(5000, L'w');
  const struct {
    const wchar_t* text;
  } table[] = {{L""}, {L"a"}, {L"C:\\Fonts\\Sub"}, {L"\u00e9\u4e2d\u6587"}, {longText.c_str()}};
  for (const auto& row : table) {
    ::SetWindowTextW(edit, row.text);
    std::wstring out = L"stale";
    EXPECT_EQ(GetDlgItemString(parent, 101, out), static_cast<int>(wcslen(row.text)));
    EXPECT_TRUE(out == row.text);
  }
  std::wstring out = L"stale";
  EXPECT_EQ(GetDlgItemString(parent, 999, out), 0);
  EXPECT_TRUE(out.empty());
  ::SetWindowTextW(edit, longText.c_str());
  EXPECT_TRUE(GetWindowTextString(edit) == longText);
  EXPECT_TRUE(GetWindowTextString(nullptr).empty());
  ::DestroyWindow(parent);
}

// Cells of a real report list, around the first buffer size and far beyond it.
TEST(GetListViewItemText, Table) {
  HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(list);
  for (int column = 0; column < 2; ++column) {
    LVCOLUMNW c{};
    c.mask = LVCF_WIDTH;
    c.cx = 100;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
  }
  const std::wstring texts[] = {L"", L"a", std::wstring(254, L'x'), std::wstring(255, L'y'), std::wstring(256, L'z'),
                                std::wstring(600, L'v') + L"\u00e9", std::wstring(5000, L'w')};
  for (int row = 0; row < static_cast<int>(std::size(texts)); ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(L"first");
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(texts[row].c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  }
  for (int row = 0; row < static_cast<int>(std::size(texts)); ++row) {
    SCOPED_TRACE(texts[row].size());
    EXPECT_TRUE(GetListViewItemText(list, row, 1) == texts[row]);
    EXPECT_TRUE(GetListViewItemText(list, row, 0) == L"first");
  }
  EXPECT_TRUE(GetListViewItemText(list, 99, 0).empty()) << "no such row";
  ::DestroyWindow(list);
}

TEST(FindNoCase, Table) {
  const struct {
    const wchar_t* text;
    const wchar_t* part;
    int at;
  } table[] = {
      {L"Arial (TrueType)", L"(truetype)", 6},
      {L"|.ttf|.otf|.TTC|", L"|.ttc|", 10},
      {L"abc", L"", 0},
      {L"", L"a", -1},
      {L"abc", L"abcd", -1},
      {L"\u00c9cole \u00e9cole", L"\u00c9COLE", 0},
      {L"x\u00e9cole", L"\u00c9COLE", 1},
      {L"stra\u00dfe", L"SS", -1},  // folding keeps the length: no expansion of the sharp s
      {L"C:\\Fonts|D:\\More|", L"d:\\more|", 9},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(testing_support::Narrow(row.text));
    EXPECT_EQ(FindNoCase(row.text, row.part), row.at);
  }
}

}  // namespace
