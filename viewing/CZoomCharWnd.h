// CZoomCharWnd: the magnifier of the character map, a small topmost popup that shows the
// character under the mouse several cells large. Mouse input passes through it
// (WS_EX_TRANSPARENT); while shown it is layered with the grid's alpha.
//
// A member of the grid (CCharMapGrid), created hidden with it and owned by it; the grid hands
// it copies of what it needs each time it shows it (SetContent) and places it. It draws itself
// on WM_ERASEBKGND and grows (and moves back on screen) when a wide glyph needs more room.
// Main thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/MessageCrackers.h"
#include "framework/WindowImpl.h"

class CZoomCharWnd : public orv::CWindowImpl<CZoomCharWnd> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelZoomChar", 0, COLOR_WINDOW)

  static constexpr DWORD kStyle = WS_POPUP;
  static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
  static constexpr int kFramePixels = 2;
  static constexpr int kTextMargin = 5;

  struct Content {
    bool installed = false;
    std::wstring fontPath;
    LOGFONTW logFont{};
    int cell = 0;
    uint32_t codePoint = 0;
  };

  HWND CreateZoom(HWND grid) { return Create(grid, nullptr, nullptr, kStyle, kExStyle); }
  void SetContent(Content content) { content_ = std::move(content); }
  const Content& GetContent() const { return content_; }
  void SetCodePoint(uint32_t codePoint) { content_.codePoint = codePoint; }

  // Draws the zoom into `dc`, growing the window first when the glyph needs it. Public for the
  // tests, which draw into a memory DC.
  void Draw(HDC dc);

  BEGIN_MSG_MAP(CZoomCharWnd)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
  END_MSG_MAP()

private:
  LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
    Draw(reinterpret_cast<HDC>(wParam));
    return 1;
  }

  Content content_;
};
