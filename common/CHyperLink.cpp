#include "common/CHyperLink.h"


#include <utility>

#include "common/Seams.h"
#include "common/StringHelpers.h"

namespace {

constexpr const wchar_t* kOpenableSchemes[] = {L"http://", L"https://", L"mailto:"};
// The classic link blue: the system's hot-tracking colour is not readable on every theme.
constexpr COLORREF kLinkColor = RGB(0, 0x33, 0xCC);

}  // namespace

std::wstring CHyperLink::OpenableAddress(const std::wstring& target) {
  std::wstring address = target;
  TrimWhiteSpace(address);
  if (address.empty()) return {};
  for (const wchar_t* scheme : kOpenableSchemes)
    if (StartsWithNoCase(address, scheme)) return address.size() > wcslen(scheme) ? address : std::wstring();
  // No scheme at all: a host name, as vendors often write it. Anything else (a path, a
  // program, another scheme) is not opened.
  if (address.find_first_of(L":\\\"<>|") != std::wstring::npos || address.find(L'.') == std::wstring::npos ||
      address[0] == L'.' || address[0] == L'/')
    return {};
  return L"http://" + address;
}

bool CHyperLink::Attach(HWND control, const std::wstring& target) {
  if (!control || !SubclassWindow(control)) return false;
  target_ = target;
  address_ = OpenableAddress(target);
  // A static without SS_NOTIFY lets the mouse through to the dialog.
  ModifyStyle(0, SS_NOTIFY);
  MakeUnderlinedFont();
  EnableWindow(!address_.empty());
  Invalidate();
  return true;
}

void CHyperLink::MakeUnderlinedFont() {
  LOGFONTW font{};
  auto current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (!::GetObjectW(current ? static_cast<HGDIOBJ>(current) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font))
    return;
  font.lfUnderline = TRUE;
  underlined_.Reset(::CreateFontIndirectW(&font));
}

LRESULT CHyperLink::OnSetFont(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  const LRESULT result = DefWindowProc();
  MakeUnderlinedFont();
  return result;
}

LRESULT CHyperLink::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  orv::ScopedPaint paint(m_hWnd);
  HDC dc = paint.Get();
  RECT rc{};
  GetClientRect(&rc);
  HWND parent = GetParent();
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(m_hWnd)));
  ::FillRect(dc, &rc, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
  const bool enabled = IsWindowEnabled();
  HFONT font = hot_ && underlined_ ? underlined_.Get() : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  orv::ScopedSelectObject select(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, enabled ? kLinkColor : ::GetSysColor(COLOR_GRAYTEXT));
  const std::wstring label = GetWindowText();
  ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &rc, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  return 0;
}

LRESULT CHyperLink::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (address_.empty()) {
    handled = FALSE;
    return 0;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return TRUE;
}

void CHyperLink::SetHot(bool hot) {
  if (hot == hot_) return;
  hot_ = hot;
  Invalidate();
}

LRESULT CHyperLink::OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
  if (!hot_ && !address_.empty()) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    SetHot(true);
  }
  return 0;
}

LRESULT CHyperLink::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  SetHot(false);
  return 0;
}

LRESULT CHyperLink::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  pressed_ = true;
  return 0;
}

LRESULT CHyperLink::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const bool wasPressed = std::exchange(pressed_, false);
  RECT rc{};
  GetClientRect(&rc);
  const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (wasPressed && ::PtInRect(&rc, pt) && !address_.empty()) seams::ShellOpen(GetParent(), address_);
  return 0;
}
