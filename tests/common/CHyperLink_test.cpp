// The link control: which targets it opens (a font file names them), and a real static control
// turned into a link, hovered and clicked through its own messages.
#include "common/CHyperLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Seams.h"

namespace {

TEST(CHyperLink, OnlyWebAndMailAddressesAreOpened) {
  const struct {
    const wchar_t* target;
    const wchar_t* opened;
  } cases[] = {
      {L"http://dejavu.sourceforge.net", L"http://dejavu.sourceforge.net"},
      {L"  HTTPS://example.org/licence  ", L"HTTPS://example.org/licence"},
      {L"mailto:type@example.org", L"mailto:type@example.org"},
      {L"www.example.com", L"http://www.example.com"},
      {L"http://", L""},
      {L"", L""},
      {L"C:\\Windows\\System32\\calc.exe", L""},
      {L"calc.exe", L"http://calc.exe"},  // a host name as far as anybody can tell
      {L"\\\\server\\share\\run.exe", L""},
      {L"file:///C:/Windows/notepad.exe", L""},
      {L"javascript:alert(1)", L""},
      {L"cmd", L""},
      {L"..\\evil.exe", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(CHyperLink::OpenableAddress(c.target), c.opened) << c.target;
}

std::vector<std::wstring> g_opened;

TEST(CHyperLink, HoverUnderlinesAndAClickOpensTheTarget) {
  g_opened.clear();
  seams::SetShellOpenSink([](HWND, const std::wstring& target) { g_opened.push_back(target); });
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 10, 10, 300, 100, nullptr, nullptr, nullptr, nullptr);
  HWND label = ::CreateWindowExW(0, L"STATIC", L"Visit", WS_CHILD, 5, 5, 200, 20, parent, nullptr, nullptr, nullptr);
  HWND dead = ::CreateWindowExW(0, L"STATIC", L"Nowhere", WS_CHILD, 5, 40, 200, 20, parent, nullptr, nullptr, nullptr);
  {
    CHyperLink link, none;
    ASSERT_TRUE(link.Attach(label, L"www.example.com"));
    ASSERT_TRUE(none.Attach(dead, L"C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(::IsWindowEnabled(dead)) << "a target that is not opened shows as such";
    EXPECT_EQ(::SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(20, 20)), HTCLIENT) << "the link takes the mouse";
    ::SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(link.IsHot());
    ::SendMessageW(label, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(link.IsHot());
    ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(300, 3));  // released outside: nothing
    ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"http://www.example.com"});
    ::DestroyWindow(parent);
  }
  seams::SetShellOpenSink(nullptr);
}

}  // namespace
