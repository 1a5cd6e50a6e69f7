#include "viewing/CPreviewFrame.h"

#include <algorithm>

#include "app/AppState.h"
#include "viewing/WrappedText.h"

namespace {
constexpr int kZoomStep = 50;
constexpr int kMinZoom = 25;
constexpr int kMaxZoom = 200;
constexpr int kPointsPerInchZoom = 7200;  // 72 points at 100 %
constexpr int kRuleTenthsOfPoint = 5;
constexpr int kUnitsMillimetre = 8;
constexpr int kPerInchMillimetre = 254000;  // hundredths of a millimetre per inch, times 100 %
constexpr int kPerInchInch = 100000;        // thousandths of an inch per inch, times 100 %
constexpr LONG kA4Width = 21000, kA4Height = 29700;
constexpr LONG kDefaultMargin = 1250;
}  // namespace

CPreviewFrame::CPreviewFrame(int zoom) : zoom_(zoom) {}

int CPreviewFrame::NormalizeZoom(int zoom) {
  if (zoom < kZoomStep) return kMinZoom;
  if (zoom / kZoomStep < kMaxZoom / kZoomStep) return (zoom / kZoomStep) * kZoomStep;
  return kMaxZoom;
}

SIZE CPreviewFrame::PageSizeFromSetup(const PageSetupData& given, int zoom, int dpiX, int dpiY) {
  // Before any printer was found the page is A4 with 12.5 mm margins.
  PageSetupData setup = given;
  if (setup.units == 0) {
    setup.units = kUnitsMillimetre;
    setup.paperSize = SIZE{kA4Width, kA4Height};
    setup.margins = RECT{kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin};
  }
  const int d = setup.units == kUnitsMillimetre ? kPerInchMillimetre : kPerInchInch;
  const int width = setup.paperSize.cx - setup.margins.left - setup.margins.right;
  const int height = setup.paperSize.cy - setup.margins.top - setup.margins.bottom;
  return SIZE{::MulDiv(width * zoom, dpiX, d), ::MulDiv(height * zoom, dpiY, d)};
}

int CPreviewFrame::PointsToPixels(HDC dc, int points) const {
  return ::MulDiv(points * zoom_, ::GetDeviceCaps(dc, LOGPIXELSX), kPointsPerInchZoom);
}

void CPreviewFrame::UpdatePageMetrics(int zoom) {
  zoom_ = NormalizeZoom(zoom == -1 ? zoom_ : zoom);
  if (unboundedPage_) {
    pageRect_ = RECT{kPageInset, kPageInset, kUnboundedExtent, kUnboundedExtent};
  } else {
    orv::ScopedGetDC screen(nullptr);
    const SIZE size = PageSizeFromSetup(g_AppState.PageSetup, zoom_, ::GetDeviceCaps(screen.Get(), LOGPIXELSX),
                                        ::GetDeviceCaps(screen.Get(), LOGPIXELSY));
    pageRect_ = RECT{kPageInset, kPageInset, kPageInset + size.cx, kPageInset + size.cy};
  }
  ExtendScrollToPage();
}

void CPreviewFrame::ExtendScrollToPage() {
  if (m_hWnd) SetScrollSize(pageRect_.right, pageRect_.bottom, true, false);
}

void CPreviewFrame::DrawRule(HDC dc) {
  const int w = ::MulDiv(kRuleTenthsOfPoint * zoom_, ::GetDeviceCaps(dc, LOGPIXELSY), kPointsPerInchZoom * 10);
  drawRect_.top += w;
  orv::ScopedPen pen(::CreatePen(PS_SOLID, w, RGB(0, 0, 0)));
  orv::ScopedSelectObject select(dc, pen.Get());
  ::MoveToEx(dc, drawRect_.left, drawRect_.top, nullptr);
  ::LineTo(dc, drawRect_.right, drawRect_.top);
  drawRect_.top += w;
}

size_t CPreviewFrame::LinesLeft(HDC dc) const {
  const int lineHeight = std::max(1, TextLineHeight(dc));
  return static_cast<size_t>(std::max(0, static_cast<int>(drawRect_.bottom - drawRect_.top)) / lineHeight);
}

bool CPreviewFrame::DrawWrapped(HDC dc, const std::wstring& text, size_t maxLines, UINT align,
                                const std::wstring& cutTail) {
  const WrappedText wrapped =
      WrapText(dc, text, drawRect_.right - drawRect_.left, std::min(maxLines, LinesLeft(dc)), cutTail);
  drawRect_.top += DrawTextLines(dc, wrapped.lines, drawRect_, align, PageTextOut());
  return !wrapped.cut;
}

LRESULT CPreviewFrame::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_WINDOW));
  return 1;
}

LRESULT CPreviewFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
  UpdatePageMetrics(-1);
  handled = FALSE;
  return 0;
}
