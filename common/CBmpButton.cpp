#include "common/CBmpButton.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "framework/AppModule.h"
#include "framework/ImageListPixels.h"

namespace {

// Space kept free around a fitted image.
constexpr int kImageMargin = 3;
constexpr int kFallbackImageSize = 16;
// The disabled image keeps this much of the normal one, the rest is the window colour.
constexpr BYTE kDisabledSourceAlpha = 0x9F;
constexpr UINT_PTR kToolId = 1;

bool CommonControlsBelow6() {
  HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
  if (!comctl) return true;
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(::GetProcAddress(comctl, "DllGetVersion"));
  if (!getVersion) return true;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  if (FAILED(getVersion(&info))) return true;
  return info.dwMajorVersion < 6;
}

HICON ShellIcon(const wchar_t* path, DWORD attributes, UINT extraFlags) {
  SHFILEINFOW info{};
  ::SHGetFileInfoW(path, attributes, &info, sizeof(info),
                   SHGFI_ICON | SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON | extraFlags);
  return info.hIcon;
}

}  // namespace

CBmpButton::CBmpButton() noexcept = default;

CBmpButton::~CBmpButton() {
  // A button that outlives its object goes back to its own procedure rather than calling into
  // a dead one.
  if (m_hWnd && ::IsWindow(m_hWnd)) (void)UnsubclassWindow();
  if (tooltip && ::IsWindow(tooltip)) ::DestroyWindow(tooltip);
  tooltip = nullptr;
  if (extendedStyle_ & BMPBTN_SHAREIMAGELISTS) (void)imageList_.Release();
}

DWORD CBmpButton::SetBitmapButtonExtendedStyle(DWORD style, DWORD mask) noexcept {
  const DWORD previous = extendedStyle_;
  extendedStyle_ = mask == 0 ? style : ((extendedStyle_ & ~mask) | (style & mask));
  return previous;
}

void CBmpButton::SetImageList(HIMAGELIST list) noexcept {
  if (extendedStyle_ & BMPBTN_SHAREIMAGELISTS) (void)imageList_.Release();
  imageList_.Reset(list);
}

void CBmpButton::SetImages(int normal, int pushed, int focusOrHover, int disabled) noexcept {
  images_[kImageNormal] = normal;
  images_[kImagePushed] = pushed;
  images_[kImageFocusOrHover] = focusOrHover;
  images_[kImageDisabled] = disabled;
  if (m_hWnd) Invalidate(false);
}

bool CBmpButton::SizeToImage() {
  int w = 0;
  int h = 0;
  if (!m_hWnd || !imageList_ || !::ImageList_GetIconSize(imageList_.Get(), &w, &h)) return false;
  return SetWindowPos(nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CBmpButton::Attach(HWND button) {
  if (m_hWnd) return m_hWnd == button;
  if (!SubclassWindow(button)) return false;
  // Owner-drawn, so that the button's own procedure never paints over the image.
  const LONG_PTR style = GetWindowLongPtr(GWL_STYLE);
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  if ((extendedStyle_ & BMPBTN_AUTOSIZE) && imageList_) SizeToImage();
  Invalidate();
  return true;
}

int CBmpButton::FitImageSize(int size) const {
  if (size > 0) return size;
  RECT rc{};
  GetClientRect(&rc);
  ::InflateRect(&rc, -kImageMargin, -kImageMargin);
  const int fitted = std::min(rc.right - rc.left, rc.bottom - rc.top);
  return fitted > 0 ? fitted : kFallbackImageSize;
}

HWND CBmpButton::SetShellFolderIcon(HWND button, const wchar_t* path, DWORD attributes, int size) {
  if (!Attach(button)) return nullptr;
  backgroundColorIndex = COLOR_3DLIGHT;
  extendedStyle_ |= BMPBTN_HOVER | BMPBTN_AUTO3D_SINGLE;
  size = FitImageSize(size);
  SetImageList(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 1));
  if (!imageList_) return m_hWnd;

  orv::ScopedIcon closed(ShellIcon(path, attributes, 0));
  orv::ScopedIcon open(ShellIcon(path, attributes, SHGFI_OPENICON));
  if (!closed) {
    SetImages(-1);
    return m_hWnd;
  }
  HIMAGELIST list = imageList_.Get();
  ::ImageList_AddIcon(list, closed.Get());
  ::ImageList_AddIcon(list, open ? open.Get() : closed.Get());
  ::ImageList_AddIcon(list, closed.Get());
  ::ImageList_AddIcon(list, closed.Get());
  MakeDisabledImage();
  SetImages(kImageNormal, kImagePushed, kImageFocusOrHover, kImageDisabled);
  return m_hWnd;
}

HWND CBmpButton::SetIcon(HWND button, HICON icon, int size) {
  if (!Attach(button)) return nullptr;
  extendedStyle_ |= BMPBTN_HOVER | BMPBTN_AUTO3D_SINGLE;
  size = FitImageSize(size);
  SetImageList(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 4, 1));
  if (imageList_ && icon) {
    for (int i = 0; i < kImageStates; ++i) ::ImageList_AddIcon(imageList_.Get(), icon);
    MakeDisabledImage();
    SetImages(kImageNormal, kImagePushed, kImageFocusOrHover, kImageDisabled);
  }
  if (tooltipOn) MakeToolTip();
  return m_hWnd;
}

void CBmpButton::MakeToolTip() {
  if (tooltip && ::IsWindow(tooltip)) ::DestroyWindow(tooltip);
  tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                              orv::g_Module.GetModuleInstance(), nullptr);
  if (!tooltip) return;
  TTTOOLINFOW tool{};
  tool.cbSize = CommonControlsBelow6() ? TTTOOLINFOW_V2_SIZE : sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = m_hWnd;
  tool.uId = kToolId;
  GetClientRect(&tool.rect);
  tool.hinst = orv::g_Module.GetResourceInstance();
  tool.lpszText = tooltipText.data();
  ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tooltip, TTM_ACTIVATE, TRUE, 0);
}

void CBmpButton::MakeDisabledImage() {
  HIMAGELIST list = imageList_.Get();
  int w = 0;
  int h = 0;
  if (!list || ::ImageList_GetImageCount(list) < 1 || !::ImageList_GetIconSize(list, &w, &h) || w <= 0 || h <= 0)
    return;
  orv::ScopedGetDC buttonDC(m_hWnd);
  orv::ScopedCreatedDC sourceDC(::CreateCompatibleDC(buttonDC.Get()));
  orv::ScopedCreatedDC resultDC(::CreateCompatibleDC(buttonDC.Get()));
  if (!sourceDC || !resultDC) return;

  uint32_t* sourceBits = nullptr;
  uint32_t* resultBits = nullptr;
  orv::ScopedBitmap source = orv::CreateTopDownDib(w, h, &sourceBits);
  // A DIB rather than a device bitmap, so that the alpha the blend leaves can be put right.
  orv::ScopedBitmap result = orv::CreateTopDownDib(w, h, &resultBits);
  if (!source || !result) return;
  {
    orv::ScopedSelectObject selectSource(sourceDC.Get(), source.Get());
    orv::ScopedSelectObject selectResult(resultDC.Get(), result.Get());
    ::ImageList_Draw(list, kImageNormal, sourceDC.Get(), 0, 0, ILD_TRANSPARENT);
    const RECT all{0, 0, w, h};
    ::FillRect(resultDC.Get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, kDisabledSourceAlpha, 0};
    ::AlphaBlend(resultDC.Get(), 0, 0, w, h, sourceDC.Get(), 0, 0, w, h, blend);
    ::GdiFlush();
  }
  // The blend scales the icon's alpha by the constant as well, which would let the button's
  // background show through the faded image a second time. Where the icon had alpha, give
  // the result the icon's own alpha back; the colour is already the faded one.
  uint32_t* pixels = resultBits;
  const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
  for (size_t i = 0; i < count; ++i) {
    const DWORD alpha = pixels[i] >> 24;
    if (alpha == 0) continue;
    const DWORD restored = std::min<DWORD>(255, (alpha * 255 + kDisabledSourceAlpha / 2) / kDisabledSourceAlpha);
    pixels[i] = (pixels[i] & 0x00FFFFFFu) | (restored << 24);
  }
  if (::ImageList_GetImageCount(list) > kImageDisabled) {
    ::ImageList_Replace(list, kImageDisabled, result.Get(), nullptr);
  } else {
    ::ImageList_Add(list, result.Get(), nullptr);
  }
}

int CBmpButton::CurrentImage() const {
  if (!m_hWnd) return images_[kImageNormal];
  const bool pressed = (::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  const bool hoverStyle = (extendedStyle_ & BMPBTN_HOVER) != 0;
  const bool focused = ::GetFocus() == m_hWnd;
  int image = -1;
  // A disabled button shows its disabled image whatever the mouse did before.
  if (!IsWindowEnabled()) {
    image = images_[kImageDisabled];
  } else if (pressed) {
    image = images_[kImagePushed];
  } else if (hoverStyle ? mouseOver_ : focused) {
    image = images_[kImageFocusOrHover];
  }
  return image != -1 ? image : images_[kImageNormal];
}

void CBmpButton::DoPaint(HDC dc) {
  RECT rc{};
  GetClientRect(&rc);
  ::FillRect(dc, &rc, ::GetSysColorBrush(backgroundColorIndex));
  const bool pressed = (::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  const bool hoverStyle = (extendedStyle_ & BMPBTN_HOVER) != 0;
  const bool edges = (extendedStyle_ & (BMPBTN_AUTO3D_SINGLE | BMPBTN_AUTO3D_DOUBLE)) != 0;
  const bool single = (extendedStyle_ & BMPBTN_AUTO3D_SINGLE) != 0;

  const int image = CurrentImage();
  int w = 0;
  int h = 0;
  if (imageList_ && image >= 0 && ::ImageList_GetIconSize(imageList_.Get(), &w, &h)) {
    int x = std::max<LONG>(0, (rc.right - rc.left - w) / 2);
    int y = std::max<LONG>(0, (rc.bottom - rc.top - h) / 2);
    if (pressed && edges && images_[kImagePushed] == -1) {
      ++x;
      ++y;
    }
    const COLORREF previous = ::ImageList_SetBkColor(imageList_.Get(), ::GetSysColor(backgroundColorIndex));
    ::ImageList_Draw(imageList_.Get(), image, dc, x, y, ILD_NORMAL);
    ::ImageList_SetBkColor(imageList_.Get(), previous);
  }
  if (edges) {
    if (pressed) {
      ::DrawEdge(dc, &rc, single ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!hoverStyle || mouseOver_) {
      ::DrawEdge(dc, &rc, single ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    }
  }
  if (!hoverStyle && ::GetFocus() == m_hWnd) {
    ::InflateRect(&rc, -2 * ::GetSystemMetrics(SM_CXEDGE), -2 * ::GetSystemMetrics(SM_CYEDGE));
    ::DrawFocusRect(dc, &rc);
  }
}

LRESULT CBmpButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  orv::ScopedPaint paint(m_hWnd);
  DoPaint(paint.Get());
  return 0;
}

LRESULT CBmpButton::OnPrintClient(UINT, WPARAM wp, LPARAM, BOOL&) {
  DoPaint(reinterpret_cast<HDC>(wp));
  return 0;
}

LRESULT CBmpButton::OnDrawItem(UINT, WPARAM, LPARAM lp, BOOL&) {
  DoPaint(reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hDC);
  return TRUE;
}

LRESULT CBmpButton::OnMouseMove(UINT msg, WPARAM wp, LPARAM lp, BOOL& handled) {
  if ((extendedStyle_ & BMPBTN_HOVER) && !mouseOver_) {
    mouseOver_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    Invalidate(false);
  }
  return OnStateMessage(msg, wp, lp, handled);
}

LRESULT CBmpButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  mouseOver_ = false;
  Invalidate(false);
  return 0;
}

// An owner-drawn button reports a double click instead of a click; a fast second click on an
// image button is a click like the first.
LRESULT CBmpButton::OnLButtonDblClk(UINT, WPARAM wp, LPARAM lp, BOOL& handled) {
  return OnStateMessage(WM_LBUTTONDOWN, wp, lp, handled);
}

// The button's own procedure changes its pressed and focus state without painting through
// WM_PAINT; repaint whenever the state moved.
LRESULT CBmpButton::OnStateMessage(UINT msg, WPARAM wp, LPARAM lp, BOOL&) {
  HWND self = m_hWnd;
  const LRESULT before = ::SendMessageW(self, BM_GETSTATE, 0, 0);
  const LRESULT result = DefWindowProc(msg, wp, lp);
  // A click may have made the owner destroy the button.
  if (m_hWnd == self && ::IsWindow(self)) {
    const LRESULT after = ::SendMessageW(self, BM_GETSTATE, 0, 0);
    if (after != before || msg == WM_SETFOCUS || msg == WM_KILLFOCUS || msg == WM_ENABLE) Invalidate(false);
  }
  return result;
}

LRESULT CBmpButton::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (tooltip && ::IsWindow(tooltip)) ::DestroyWindow(tooltip);
  tooltip = nullptr;
  mouseOver_ = false;
  handled = FALSE;
  return 0;
}
