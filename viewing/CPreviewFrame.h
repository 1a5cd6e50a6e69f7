// CPreviewFrame: the scrolling window that shows one page at a zoom; the base of the font sheet
// view (one font per page) and of the printed font-list page. The same page code draws on the
// screen (through DrawPage in scroll coordinates) and on a printer (the print job sets the page
// rectangle to the printable area and calls the drawing itself).
//
// A page is unbounded on the screen unless the font sheet frame's page mode is on: it then has
// no fixed size and takes the size of what was drawn. A bounded page is the printable area of
// the page setup (AppState::PageSetup) at the zoom. Main thread only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "framework/PrinterText.h"
#include "framework/ScrollWindowImpl.h"

struct PageSetupData;

class CPreviewFrame : public orv::CScrollWindowImpl<CPreviewFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelPreviewFrame", CS_DBLCLKS, COLOR_WINDOW)

  // The corner of a screen page, and the right and bottom of an unbounded page before its
  // first paint.
  static constexpr int kPageInset = 5;
  static constexpr int kUnboundedExtent = 100000;

  explicit CPreviewFrame(int zoom = 100);
  ~CPreviewFrame() override = default;

  // 25, 50, 100, 150 or 200: below 50 gives 25, then steps of 50 rounded down, at most 200.
  static int NormalizeZoom(int zoom);
  // The printable area of the page setup in pixels at the zoom and resolution (MulDiv rounds);
  // A4 with 12.5 mm margins while no page setup is known (no printer yet).
  static SIZE PageSizeFromSetup(const PageSetupData& setup, int zoom, int dpiX, int dpiY);

  // New zoom (-1 keeps it) and page rectangle; the scroll extent follows.
  void UpdatePageMetrics(int zoom);

  int Zoom() const { return zoom_; }
  bool IsUnboundedPage() const { return unboundedPage_; }
  void SetUnboundedPage(bool unbounded) { unboundedPage_ = unbounded; }
  const RECT& PageRect() const { return pageRect_; }
  // The page in device pixels (a printer's printable rectangle less the footer).
  void SetPageRect(const RECT& rect) { pageRect_ = rect; }
  // The page goes to a printer: its text is drawn with PrinterTextOut.
  void SetPrinterPage(bool printer) { printerPage_ = printer; }

  // Point sizes at the zoom in the DC's pixels (the horizontal resolution, also for heights).
  int PointsToPixels(HDC dc, int points) const;

  virtual void DrawPage(HDC dc) {}
  void DoPaint(HDC dc) { DrawPage(dc); }

  BEGIN_MSG_MAP(CPreviewFrame)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(orv::CScrollWindowImpl<CPreviewFrame>)
  END_MSG_MAP()

protected:
  // The scroll extent covers the page rectangle.
  void ExtendScrollToPage();
  // A black rule half a point wide (at the zoom) across drawRect at its top, which moves below it.
  void DrawRule(HDC dc);
  // Draws `text` in the DC's font at drawRect's top, in lines inside drawRect's width: at most
  // `maxLines` of them, and only lines that end above drawRect's bottom, so a text is never cut
  // through a line. A text cut short ends with "…" (and `cutTail`). The top moves below the
  // lines. True when the text was drawn whole.
  bool DrawWrapped(HDC dc, const std::wstring& text, size_t maxLines, UINT align = DT_LEFT,
                   const std::wstring& cutTail = {});
  // How many lines of the DC's font drawRect has room for.
  size_t LinesLeft(HDC dc) const;
  // What draws a run of text on this page.
  orv::TextOutFunction PageTextOut() const { return printerPage_ ? &orv::PrinterTextOut : &::ExtTextOutW; }

  int zoom_;
  bool unboundedPage_ = true;
  bool printerPage_ = false;
  RECT pageRect_{};
  RECT drawRect_{};

private:
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
};
