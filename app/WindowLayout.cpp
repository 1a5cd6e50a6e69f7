#include "app/WindowLayout.h"

#include <algorithm>

#include "app/Preferences.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/RegistryValue.h"

namespace {
constexpr int kMaxWindowExtent = 100000;

bool IsPaneMode(int32_t mode) { return mode >= -1 && mode <= 1; }
bool IsFlagByte(uint8_t b) { return b <= 1; }

// A stored bar position within a splitter `extent` pixels long whose second side needs `tail`
// pixels; -1 (the splitter's default) stays.
int32_t FitPosition(int32_t pos, int extent, int tail) {
  if (pos < 0) return pos;
  const int last = std::max(kMinPaneExtent, extent - kSplitterBarWidth - tail);
  return std::clamp<int32_t>(pos, kMinPaneExtent, last);
}
}  // namespace

WindowLayout DefaultWindowLayout(int screenWidth, int screenHeight) {
  const int m = std::min(screenWidth, screenHeight) - 50;
  WindowLayout layout{};
  layout.WindowRect = {50, 50, std::clamp(m, 750, 950), std::clamp(m, 550, 750)};
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

void FitWindowLayout(WindowLayout& layout, const RECT& area) {
  RECT& rc = layout.WindowRect;
  rc.right = std::max<LONG>(rc.right, rc.left + kMinWindowWidth);
  rc.bottom = std::max<LONG>(rc.bottom, rc.top + kMinWindowHeight);
  ClampRectToArea(rc, area.left, area.top, area.right - area.left, area.bottom - area.top);
  const RECT& room = layout.Maximized ? area : rc;
  const int width = room.right - room.left, height = room.bottom - room.top;
  layout.MainSplitterPos = FitPosition(layout.MainSplitterPos, width, kMinListsWidth);
  layout.ListsSplitterPos = FitPosition(layout.ListsSplitterPos, width, kMinPaneExtent);
  layout.TreesSplitterPos = FitPosition(layout.TreesSplitterPos, height, kMinPaneExtent);
  layout.SampleSplitterPos = FitPosition(layout.SampleSplitterPos, height, kMinPaneExtent);
  const RECT& bar = layout.RebarRect;
  if (bar.right - bar.left > width || bar.bottom - bar.top > height / 2 || bar.right < bar.left ||
      bar.bottom < bar.top)
    layout.RebarRect = {};
}

void LoadWindowLayout(WindowLayout& layout) {
  layout = DefaultWindowLayout(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (key) {
    WindowLayout stored{};
    if (ReadRegBinaryExact(key.Get(), L"WinLayout", &stored, sizeof(stored)) && IsPlausibleWindowLayout(stored)) {
      layout = stored;
      const int vx = ::GetSystemMetrics(SM_XVIRTUALSCREEN), vy = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
      FitWindowLayout(layout, {vx, vy, vx + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                               vy + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)});
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
