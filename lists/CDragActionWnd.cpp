#include "lists/CDragActionWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "framework/AppModule.h"

namespace {

constexpr int kImageSize = 16;
constexpr BYTE kOpacity = 192;
constexpr UINT kTextFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;

}  // namespace

bool CDragActionWnd::CreateFeedback(HWND owner) {
  RECT rect{0, 0, 100, 16};
  if (!Create(owner, &rect, nullptr, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT)) return false;
  images_.Reset(ImageList_LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(IDB_DRAG_ACTIONS),
                                     kImageSize, 0, CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION));
  ShowWindow(SW_SHOWNOACTIVATE);
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(m_hWnd, 0, kOpacity, LWA_ALPHA);
  return true;
}

void CDragActionWnd::SetAction(int code) {
  action_ = code;
  const std::vector<std::wstring> fields = SplitFields(LoadResString(IDS_DRAG_ACTIONS));
  text_ = code >= 1 && static_cast<size_t>(code) <= fields.size() ? fields[static_cast<size_t>(code) - 1]
                                                                    : std::wstring();
}

HFONT CDragActionWnd::Font() {
  if (!font_) {
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
    font_.Reset(::CreateFontIndirectW(&lf));
  }
  return font_.Get();
}

void CDragActionWnd::PlaceAndSize(POINT cursor) {
  if (!m_hWnd) return;
  // Measured in the font it is drawn in, so that the caption always fits.
  RECT extent{};
  {
    orv::ScopedGetDC dc(m_hWnd);
    orv::ScopedSelectObject font(dc.Get(), Font());
    ::DrawTextW(dc.Get(), text_.c_str(), static_cast<int>(text_.size()), &extent, kTextFormat | DT_CALCRECT);
  }
  const int width = extent.right - extent.left + 20;
  const int height = std::max(18, static_cast<int>(extent.bottom - extent.top) + 10);
  ::SetWindowPos(m_hWnd, nullptr, cursor.x, cursor.y + 20, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CDragActionWnd::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  const HDC dc = reinterpret_cast<HDC>(wParam);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  orv::ScopedBrush ground(::CreateSolidBrush(kBackground));
  ::FillRect(dc, &client, ground.Get());
  {
    orv::ScopedSelectObject font(dc, Font());
    ::SetTextColor(dc, kTextColor);
    ::SetBkColor(dc, kBackground);
    RECT text = client;
    text.right -= 5;
    ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, kTextFormat);
  }
  if (images_) ImageList_DrawEx(images_.Get(), action_, dc, 1, 1, kImageSize, kImageSize, CLR_NONE, CLR_NONE, ILD_NORMAL);
  ::FrameRect(dc, &client, ::GetSysColorBrush(COLOR_ACTIVEBORDER));
  return 1;
}
