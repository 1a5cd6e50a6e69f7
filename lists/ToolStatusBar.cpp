#include "lists/ToolStatusBar.h"

#include <commctrl.h>

#include "framework/AppModule.h"
#include "framework/FrameWindowImpl.h"
#include "framework/Handles.h"

namespace {
// Fourteen spaces, a no-break space and a full stop after the number: the part is always too
// narrow for its text, so that its tooltip shows the count.
constexpr wchar_t kCountPadding[] = L"              \u00A0.";
}  // namespace

bool ToolStatusBar::Create(HWND dialog) {
  bar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, kStyle, 0, 0, 0, 0, dialog,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(orv::kIdStatusBar)),
                           orv::g_Module.GetModuleInstance(), nullptr);
  if (!bar_) return false;
  RECT bar{}, window{};
  ::GetWindowRect(bar_, &bar);
  ::GetWindowRect(dialog, &window);
  ::SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + (bar.bottom - bar.top),
                 SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  Resize();
  return true;
}

void ToolStatusBar::SetParts(const std::vector<int>& rightEdges) const {
  ::SendMessageW(bar_, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
}

void ToolStatusBar::SetText(int part, const std::wstring& text) const {
  ::SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

void ToolStatusBar::SetTipText(int part, const std::wstring& text) const {
  ::SendMessageW(bar_, SB_SETTIPTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ToolStatusBar::GetText(int part) const {
  const LRESULT length = ::SendMessageW(bar_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
  std::wstring text(LOWORD(length) + 1, L'\0');
  ::SendMessageW(bar_, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(length));
  return text;
}

std::wstring ToolStatusBar::FormatCount(int count) { return L" " + std::to_wstring(count) + kCountPadding; }

void ToolStatusBar::ShowCount(int part, int count) const { SetText(part, FormatCount(count)); }

int ToolStatusBar::TextWidth(const wchar_t* text) const {
  orv::ScopedGetDC dc(bar_);
  if (!dc) return 0;
  orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(bar_, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &size);
  return size.cx;
}

void ToolStatusBar::Resize() const {
  if (bar_) ::SendMessageW(bar_, WM_SIZE, 0, 0);
}
