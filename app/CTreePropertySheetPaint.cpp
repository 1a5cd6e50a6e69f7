// The banner: a horizontal gradient with the page title and the banner text, and the etched
// frame around banner and page.
#include "app/CTreePropertySheet.h"

#include <algorithm>

namespace {

constexpr COLORREF kSurfaceGrey = 0xC0C0C0;

TRIVERTEX Vertex(int x, int y, COLORREF color) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(GetRValue(color) << 8);
  v.Green = static_cast<COLOR16>(GetGValue(color) << 8);
  v.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
  return v;
}

void DrawShadowedText(HDC dc, int x, int y, const std::wstring& text, COLORREF shadow, COLORREF color) {
  ::SetTextColor(dc, shadow);
  ::TextOutW(dc, x + 1, y + 1, text.c_str(), static_cast<int>(text.size()));
  ::SetTextColor(dc, color);
  ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()),
                          &size);
  if (text.empty()) size.cx = 0;
  return size;
}

}  // namespace

CTreePropertySheet::Surface::~Surface() {
  if (dc_ && original_) ::SelectObject(dc_.Get(), original_);
}

HDC CTreePropertySheet::Surface::Ensure(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (dc_ && width <= width_ && height <= height_) return dc_.Get();
  orv::ScopedGetDC screen(nullptr);
  if (!dc_) dc_.Reset(::CreateCompatibleDC(screen.Get()));
  if (!dc_) return nullptr;
  orv::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), std::max(width, width_), std::max(height, height_)));
  if (!bitmap) return nullptr;
  HGDIOBJ previous = ::SelectObject(dc_.Get(), bitmap.Get());
  if (!original_) original_ = previous;
  bitmap_ = std::move(bitmap);
  width_ = std::max(width, width_);
  height_ = std::max(height, height_);
  const RECT all{0, 0, width_, height_};
  orv::ScopedBrush grey(::CreateSolidBrush(kSurfaceGrey));
  ::FillRect(dc_.Get(), &all, grey.Get());
  return dc_.Get();
}

void CTreePropertySheet::FetchColors() {
  gradientLeft_ = ::GetSysColor(COLOR_3DDKSHADOW);
  gradientRight_ = ::GetSysColor(COLOR_BTNFACE);
  titleText_ = ::GetSysColor(COLOR_WINDOW);
  titleShadow_ = ::GetSysColor(COLOR_3DDKSHADOW);
  bannerText_ = ::GetSysColor(COLOR_GRAYTEXT);
  bannerShadow_ = ::GetSysColor(COLOR_WINDOW);
  frameHighlight_ = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  frameShadow_ = ::GetSysColor(COLOR_BTNSHADOW);
}

LRESULT CTreePropertySheet::OnSysColorChange(UINT, WPARAM, LPARAM, BOOL& handled) {
  FetchColors();
  gradientStale_ = true;
  InvalidateBanner();
  handled = FALSE;
  return 0;
}

void CTreePropertySheet::InvalidateBanner() const {
  if (!layoutPending_ && m_hWnd) ::InvalidateRect(m_hWnd, &bannerRect_, FALSE);
}

LRESULT CTreePropertySheet::OnPaint(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (layoutPending_ || plainSheet_) {
    handled = FALSE;
    return 0;
  }
  orv::ScopedPaint paint(m_hWnd);
  PaintBanner(paint.Get());
  PaintPageFrame(paint.Get());
  return 0;
}

void CTreePropertySheet::PaintGradient() {
  const int width = bannerRect_.right - bannerRect_.left;
  const int height = bannerRect_.bottom - bannerRect_.top;
  HDC dc = gradient_.Ensure(width, height);
  if (!dc || width <= 0 || height <= 0) return;
  TRIVERTEX vertices[2] = {Vertex(0, 0, gradientLeft_), Vertex(width, height, gradientRight_)};
  GRADIENT_RECT span{0, 1};
  ::GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_H);
  if (bannerFrame_) {
    orv::ScopedPen light(::CreatePen(PS_SOLID, 1, frameHighlight_));
    orv::ScopedPen dark(::CreatePen(PS_SOLID, 1, frameShadow_));
    {
      orv::ScopedSelectObject pen(dc, light.Get());
      ::MoveToEx(dc, 0, height - 1, nullptr);
      ::LineTo(dc, 0, 0);
      ::LineTo(dc, width - 1, 0);
    }
    orv::ScopedSelectObject pen(dc, dark.Get());
    ::MoveToEx(dc, width - 1, 0, nullptr);
    ::LineTo(dc, width - 1, height - 1);
    ::LineTo(dc, -1, height - 1);
  }
  gradientStale_ = false;
}

void CTreePropertySheet::PaintBanner(HDC target) {
  const int width = bannerRect_.right - bannerRect_.left;
  const int height = bannerRect_.bottom - bannerRect_.top;
  if (width <= 0 || height <= 0) return;
  if (gradientStale_) PaintGradient();
  HDC dc = composition_.Ensure(width, height);
  if (!dc || !gradient_.Dc()) return;
  ::BitBlt(dc, 0, 0, width, height, gradient_.Dc(), 0, 0, SRCCOPY);
  ::SetBkMode(dc, TRANSPARENT);

  int index = GetActiveIndex();
  if (index < 0) index = static_cast<int>(m_psh.nStartPage);
  if (index >= 0 && static_cast<size_t>(index) < entries_.size()) {
    const TreePageEntry& entry = entries_[index];
    if (titleFont_) {
      orv::ScopedSelectObject font(dc, titleFont_.Get());
      const SIZE size = TextSize(dc, entry.caption);
      DrawShadowedText(dc, 4, height - size.cy - 4, entry.caption, titleShadow_, titleText_);
    }
    const std::wstring& banner = sheetBanner_.empty() ? entry.banner : sheetBanner_;
    if (bannerFont_ && !banner.empty()) {
      orv::ScopedSelectObject font(dc, bannerFont_.Get());
      const SIZE size = TextSize(dc, banner);
      const int right = width + (captionless_ ? 0 : gap_);
      DrawShadowedText(dc, right - size.cx - 12, height - size.cy - 4, banner, bannerShadow_, bannerText_);
    }
  }
  ::BitBlt(target, bannerRect_.left, bannerRect_.top, width, height, dc, 0, 0, SRCCOPY);
}

void CTreePropertySheet::PaintPageFrame(HDC dc) const {
  if (!pageFrame_) return;
  RECT frame = pageRect_;
  if (!captionless_) frame.top -= bannerHeight_;
  ::InflateRect(&frame, 2, 2);
  ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT | BF_ADJUST);
}
