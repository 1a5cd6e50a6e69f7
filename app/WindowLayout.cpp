#include "app/WindowLayout.h"

#include <algorithm>

#include "app/Preferences.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/RegistryValue.h"

namespace {
constexpr int kMaxWindowExtent = 100000;

bool IsPaneMode(int32_t mode) { return mode >= -1 && mode <= 1; }
bool IsFlagByte(uint8_t b) { return b <= 1; }

// The first window at 96 DPI: 50 pixels from the screen's top-left corner, 50 from its shorter
// side's far edge, within these bounds of its right and bottom edges.
constexpr int kDefaultMargin = 50;
constexpr int kDefaultRightMin = 750, kDefaultRightMax = 950;
constexpr int kDefaultBottomMin = 550, kDefaultBottomMax = 750;

// A stored bar position within a splitter `extent` pixels long whose second side needs `tail`
// pixels and whose panes need `least`; -1 (the splitter's default) stays.
int32_t FitPosition(int32_t pos, int extent, int tail, int least) {
  if (pos < 0) return pos;
  const int last = std::max(least, extent - kSplitterBarWidth - tail);
  return std::clamp<int32_t>(pos, least, last);
}
}  // namespace

LayoutLimits LayoutLimitsForDpi(int dpi) {
  LayoutLimits limits;
  limits.window = {orv::ScaleToDpi(kMinWindowWidth, dpi), orv::ScaleToDpi(kMinWindowHeight, dpi)};
  limits.pane = orv::ScaleToDpi(kMinPaneExtent, dpi);
  limits.listsWidth = 2 * limits.pane + kSplitterBarWidth;
  return limits;
}

WindowLayout DefaultWindowLayout(int screenWidth, int screenHeight, int dpi, const RECT* workArea) {
  auto scaled = [dpi](int pixels) { return orv::ScaleToDpi(pixels, dpi); };
  const int margin = scaled(kDefaultMargin);
  const int m = std::min(screenWidth, screenHeight) - margin;
  WindowLayout layout{};
  layout.WindowRect = {margin, margin, std::clamp(m, scaled(kDefaultRightMin), scaled(kDefaultRightMax)),
                       std::clamp(m, scaled(kDefaultBottomMin), scaled(kDefaultBottomMax))};
  const RECT area = workArea ? *workArea : RECT{0, 0, screenWidth, screenHeight};
  ClampRectToArea(layout.WindowRect, area.left, area.top, area.right - area.left, area.bottom - area.top);
  layout.MainSplitterPos = (layout.WindowRect.right - layout.WindowRect.left) / 3;
  layout.ListsSplitterPos = -1;
  layout.TreesSplitterPos = -1;
  layout.SampleSplitterPos = (layout.WindowRect.bottom - layout.WindowRect.top) * 5 / 9;
  layout.MainSinglePane = layout.ListsSinglePane = layout.TreesSinglePane = layout.SampleSinglePane = -1;
  layout.Maximized = 0;
  layout.StatusBarShown = 1;
  layout.ToolbarShown = 1;
  return layout;
}

bool IsPlausibleWindowLayout(const WindowLayout& l) {
  const RECT& r = l.WindowRect;
  if (r.right <= r.left || r.bottom <= r.top) return false;
  if (r.right - r.left > kMaxWindowExtent || r.bottom - r.top > kMaxWindowExtent) return false;
  if (r.left < -kMaxWindowExtent || r.top < -kMaxWindowExtent || r.left > kMaxWindowExtent || r.top > kMaxWindowExtent)
    return false;
  for (int32_t pos : {l.MainSplitterPos, l.ListsSplitterPos, l.TreesSplitterPos, l.SampleSplitterPos})
    if (pos < -1 || pos > kMaxWindowExtent) return false;
  for (int32_t mode : {l.MainSinglePane, l.ListsSinglePane, l.TreesSinglePane, l.SampleSinglePane})
    if (!IsPaneMode(mode)) return false;
  return IsFlagByte(l.Maximized) && IsFlagByte(l.StatusBarShown) && IsFlagByte(l.ToolbarShown);
}

void FitWindowLayout(WindowLayout& layout, const RECT& area, int dpi) {
  const LayoutLimits least = LayoutLimitsForDpi(dpi);
  RECT& rc = layout.WindowRect;
  rc.right = std::max<LONG>(rc.right, rc.left + least.window.cx);
  rc.bottom = std::max<LONG>(rc.bottom, rc.top + least.window.cy);
  ClampRectToArea(rc, area.left, area.top, area.right - area.left, area.bottom - area.top);
  const RECT& room = layout.Maximized ? area : rc;
  const int width = room.right - room.left, height = room.bottom - room.top;
  layout.MainSplitterPos = FitPosition(layout.MainSplitterPos, width, least.listsWidth, least.pane);
  layout.ListsSplitterPos = FitPosition(layout.ListsSplitterPos, width, least.pane, least.pane);
  layout.TreesSplitterPos = FitPosition(layout.TreesSplitterPos, height, least.pane, least.pane);
  layout.SampleSplitterPos = FitPosition(layout.SampleSplitterPos, height, least.pane, least.pane);
  const RECT& bar = layout.RebarRect;
  if (bar.right - bar.left > width || bar.bottom - bar.top > height / 2 || bar.right < bar.left ||
      bar.bottom < bar.top)
    layout.RebarRect = {};
}

void LoadWindowLayout(WindowLayout& layout) {
  RECT work{};
  const bool hasWork = ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) && work.right > work.left &&
                       work.bottom > work.top;
  layout = DefaultWindowLayout(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), orv::ScreenDpi(),
                               hasWork ? &work : nullptr);
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (key) {
    WindowLayout stored{};
    if (ReadRegBinaryExact(key.Get(), L"WinLayout", &stored, sizeof(stored)) && IsPlausibleWindowLayout(stored)) {
      layout = stored;
      const int vx = ::GetSystemMetrics(SM_XVIRTUALSCREEN), vy = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
      FitWindowLayout(layout, {vx, vy, vx + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                               vy + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)},
                      orv::ScreenDpi());
    }
    std::wstring favorites;
    if (ReadRegString(key.Get(), L"FavoriteFolders", kFavoriteFoldersMax, favorites))
      g_Preferences.FavoriteFolders = favorites;
  }
  if (g_Preferences.FavoriteFolders.empty()) g_Preferences.FavoriteFolders = g_Preferences.FontCaseRoot + L"|";
}

void SaveWindowLayout(const WindowLayout* layout) {
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE);
  if (!key) return;
  WriteRegString(key.Get(), L"FavoriteFolders", g_Preferences.FavoriteFolders);
  if (layout) WriteRegBinary(key.Get(), L"WinLayout", layout, sizeof(*layout));
}
