// What the character map tests share (and the font sheet frame's, the fonts and the tab texts):
// fonts read from the host's font packages, a frame made for a test, the status bar's and the
// tabs' texts and the way to point at a character of a grid.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/AppState.h"
#include "fonts/FontFileWalk.h"
#include "tests/support/TestSupport.h"
#include "viewing/CCharMapFrame.h"

namespace charmap_testing {

inline std::wstring DejaVu(const wchar_t* file) { return std::wstring(L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\") + file; }

// The first record of a font file, read as the lists read it.
inline FontItem ReadFont(const std::wstring& path) {
  FontItem first;
  bool taken = false;
  ForEachFontItem(L"", path, [&](const FontItem& item) {
    if (!taken) first = item;
    taken = true;
  });
  return first;
}

inline std::wstring StatusText(HWND bar, int pane) {
  wchar_t text[256]{};
  const LRESULT len = ::SendMessageW(bar, SB_GETTEXTLENGTHW, pane, 0);
  if (LOWORD(len) >= 256) return {};
  ::SendMessageW(bar, SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text));
  return text;
}

// The text of tab `index` of a tool frame's tab control.
inline std::wstring TabText(HWND tabs, int index) {
  wchar_t text[128]{};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 128;
  ::SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

inline std::wstring ControlText(HWND dialog, int id) {
  wchar_t text[256]{};
  ::GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

inline RECT VirtualScreen() {
  const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// A frame of its own for a test, shown at `rc`; the names come from the stand-in getuname.
inline std::unique_ptr<CCharMapFrame> OpenFrame(const RECT& rc) {
  if (g_AppState.BlockTable.Rows().empty()) g_AppState.BlockTable.Load();
  auto frame = std::make_unique<CCharMapFrame>(nullptr, rc);
  if (!frame->CreateFrame()) return nullptr;
  frame->ShowWindow(SW_SHOWNORMAL);
  testing_support::PumpMessages(50);
  return frame;
}

// Scrolls the grid so that entry `index` is in view and puts the mouse over its cell (unless
// told not to); the cell's centre in client coordinates.
inline POINT PointAtEntry(CCharMapGrid& grid, size_t index, bool moveCursor = true) {
  grid.EnsureLayout();
  const int cell = grid.CellSize();
  const int row = static_cast<int>(index / CCharMapGrid::kColumns), col = static_cast<int>(index % CCharMapGrid::kColumns);
  grid.SetScrollOffset(0, row * cell);
  grid.UpdateWindow();
  POINT pt{col * cell + cell / 2, row * cell - grid.GetScrollOffset().y + cell / 2};
  POINT screen = pt;
  ::ClientToScreen(grid, &screen);
  if (moveCursor) ::SetCursorPos(screen.x, screen.y);
  return pt;
}

inline size_t IndexOf(const CCharMapGrid& grid, uint32_t codePoint) {
  const auto& points = grid.CodePoints().Points();
  for (size_t i = 0; i < points.size(); ++i)
    if (points[i] == codePoint) return i;
  return SIZE_MAX;
}

}  // namespace charmap_testing
