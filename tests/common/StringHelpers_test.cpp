// The dialog text reader and the path cutter, over tables of edge cases run by the real
// shell functions.
#include "common/StringHelpers.h"

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
  ::DestroyWindow(parent);
}

}  // namespace
