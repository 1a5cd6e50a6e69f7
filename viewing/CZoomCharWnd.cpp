#include "viewing/CZoomCharWnd.h"

#include <algorithm>

#include "app/AppState.h"
#include "framework/Handles.h"
#include "viewing/CodePointList.h"

namespace {
constexpr int kGlyphPercent = 80;
}  // namespace

void CZoomCharWnd::Draw(HDC dc) {
  if (!dc || !m_hWnd) return;
  RECT client{};
  GetClientRect(&client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
  if (!content_.installed && !content_.fontPath.empty()) g_AppState.FontCache.Add(content_.fontPath);

  LOGFONTW lf = content_.logFont;
  lf.lfHeight = client.bottom * kGlyphPercent / 100;
  orv::ScopedFont font(::CreateFontIndirectW(&lf));
  orv::ScopedSelectObject selectFont(dc, font.Get());
  const std::wstring text = CodePointText(content_.codePoint);

  // A glyph wider or taller than the square: the window grows to fit it, and stays on screen.
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  const int neededX = extent.cx + kTextMargin, neededY = extent.cy + kTextMargin;
  RECT window{};
  GetWindowRect(&window);
  bool changed = false;
  if (client.right < neededX) {
    window.right = window.left + (window.right - window.left) + (neededX - client.right);
    changed = true;
  }
  if (client.bottom < neededY) {
    window.bottom = window.top + (window.bottom - window.top) + (neededY - client.bottom);
    changed = true;
  }
  const int screenX = ::GetSystemMetrics(SM_CXFULLSCREEN), screenY = ::GetSystemMetrics(SM_CYFULLSCREEN);
  if (window.right > screenX) {
    ::OffsetRect(&window, screenX - window.right, 0);
    changed = true;
  }
  if (window.bottom > screenY) {
    ::OffsetRect(&window, 0, screenY - window.bottom);
    changed = true;
  }
  if (changed) {
    SetWindowPos(nullptr, window.left, window.top, window.right - window.left, window.bottom - window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(&client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
  }

  HBRUSH border = ::GetSysColorBrush(COLOR_ACTIVEBORDER);
  const RECT edges[] = {{0, 0, client.right, kFramePixels},
                        {0, client.bottom - kFramePixels, client.right, client.bottom},
                        {0, 0, kFramePixels, client.bottom},
                        {client.right - kFramePixels, 0, client.right, client.bottom}};
  for (const RECT& edge : edges) ::FillRect(dc, &edge, border);

  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  RECT textRect = client;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}
