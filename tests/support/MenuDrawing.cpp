#include "tests/support/MenuDrawing.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <vector>

#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/ImageListPixels.h"
#include "tests/support/TestSupport.h"

namespace testing_support {

namespace {

// The least gap between a picture's ink and its label's, at 96 DPI.
constexpr int kLeastPictureGap = 3;

struct Box {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;  // inclusive
  bool Empty() const { return right < left; }
};

// A pixel of the label is ink when it lies nearer the text colour than the paper.
struct InkMask {
  int width = 0, height = 0;
  std::vector<char> ink, solid;  // solid, of a rendered label: pixels the glyphs cover fully
  Box box;                       // of a rendered label: its ink
  int inkCount = 0;
  bool At(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && ink[y * width + x]; }
};

int Luma(COLORREF c) { return (GetRValue(c) * 77 + GetGValue(c) * 150 + GetBValue(c) * 29) / 256; }

// The window's client area as 0x00RRGGBB pixels.
std::vector<uint32_t> Capture(HWND wnd, int& width, int& height) {
  RECT rc{};
  ::GetClientRect(wnd, &rc);
  width = rc.right;
  height = rc.bottom;
  std::vector<uint32_t> pixels;
  if (width <= 0 || height <= 0) return pixels;
  uint32_t* bits = nullptr;
  orv::ScopedBitmap dib = orv::CreateTopDownDib(width, height, &bits);
  orv::ScopedCreatedDC mem(::CreateCompatibleDC(nullptr));
  orv::ScopedGetDC screen(wnd);
  if (!dib || !mem) return pixels;
  {
    orv::ScopedSelectObject select(mem.Get(), dib.Get());
    ::BitBlt(mem.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
    ::GdiFlush();
  }
  pixels.assign(bits, bits + static_cast<size_t>(width) * height);
  return pixels;
}

COLORREF AsColorRef(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

// The label drawn black on white in the menu font, with or without its mnemonic's underline.
InkMask RenderLabel(const std::wstring& label, HFONT font, bool underline) {
  InkMask mask;
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
  orv::ScopedSelectObject selectFont(dc.Get(), font);
  RECT need{};
  ::DrawTextW(dc.Get(), label.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
  mask.width = need.right + 8;
  mask.height = need.bottom + 2;
  uint32_t* bits = nullptr;
  orv::ScopedBitmap dib = orv::CreateTopDownDib(mask.width, mask.height, &bits);
  if (!dib) return {};
  {
    orv::ScopedSelectObject select(dc.Get(), dib.Get());
    RECT all{0, 0, mask.width, mask.height};
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetTextColor(dc.Get(), RGB(0, 0, 0));
    ::SetBkMode(dc.Get(), TRANSPARENT);
    RECT at{4, 1, mask.width, mask.height};
    ::DrawTextW(dc.Get(), label.c_str(), -1, &at, DT_SINGLELINE | DT_LEFT | DT_TOP | (underline ? 0 : DT_HIDEPREFIX));
    ::GdiFlush();
  }
  mask.ink.resize(static_cast<size_t>(mask.width) * mask.height);
  mask.solid.resize(mask.ink.size());
  Box& b = mask.box;
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      const size_t i = static_cast<size_t>(y) * mask.width + x;
      const int luma = Luma(AsColorRef(bits[i]));
      mask.solid[i] = luma < 16;
      if (!(mask.ink[i] = luma < 128)) continue;
      ++mask.inkCount;
      b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x), std::max(b.bottom, y)};
    }
  return mask;
}

struct Match {
  int mismatches = INT_MAX;
  int dx = 0, dy = 0;  // where the template's origin lies in the item mask
  const InkMask* label = nullptr;
};

// The best place of `label`'s ink box inside `item`.
Match FindLabel(const InkMask& item, const InkMask& label) {
  Match best;
  best.label = &label;
  const Box& box = label.box;
  if (box.Empty()) return best;
  const int bw = box.right - box.left + 1, bh = box.bottom - box.top + 1;
  for (int oy = 0; oy + bh <= item.height; ++oy)
    for (int ox = 0; ox + bw <= item.width; ++ox) {
      int wrong = 0;
      for (int y = 0; y < bh && wrong < best.mismatches; ++y)
        for (int x = 0; x < bw; ++x)
          wrong += item.At(ox + x, oy + y) != label.At(box.left + x, box.top + y);
      if (wrong < best.mismatches) {
        best.mismatches = wrong;
        best.dx = ox - box.left;
        best.dy = oy - box.top;
      }
    }
  return best;
}

std::string CheckShownMenu(HWND menuWindow, HMENU menu) {
  if (!menuWindow || !menu) return "menu not shown";
  ::RedrawWindow(menuWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  int width = 0, height = 0;
  const std::vector<uint32_t> screen = Capture(menuWindow, width, height);
  if (screen.empty()) return "menu not captured";
  NONCLIENTMETRICSW metrics{sizeof(metrics)};
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  orv::ScopedFont font(::CreateFontIndirectW(&metrics.lfMenuFont));
  std::string faults;
  for (int item = 0; item < ::GetMenuItemCount(menu); ++item) {
    wchar_t text[256]{};
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
    mii.dwTypeData = text;
    mii.cch = 256;
    RECT rc{};
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(item), TRUE, &mii) ||
        (mii.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) || !text[0] ||
        !::GetMenuItemRect(nullptr, menu, static_cast<UINT>(item), &rc))
      continue;
    std::wstring label(text);
    if (const size_t tab = label.find(L'\t'); tab != std::wstring::npos) label.resize(tab);
    const std::string name = Narrow(label);
    if (mii.fState & MFS_HILITE) {
      faults += name + ": highlighted, not checked; ";
      continue;
    }
    ::MapWindowPoints(nullptr, menuWindow, reinterpret_cast<POINT*>(&rc), 2);
    const RECT client{0, 0, width, height};
    ::IntersectRect(&rc, &rc, &client);
    // Ink of the item: pixels nearer the text colour than the paper (a disabled label's light
    // shadow is lighter than the paper, so it is not ink).
    const int paper = Luma(AsColorRef(screen[static_cast<size_t>(rc.top + 1) * width + rc.right - 2]));
    InkMask inkOfItem{rc.right - rc.left, rc.bottom - rc.top};
    if (inkOfItem.width <= 0 || inkOfItem.height <= 0) continue;
    auto lumaAt = [&](int x, int y) {
      return Luma(AsColorRef(screen[static_cast<size_t>(rc.top + y) * width + rc.left + x]));
    };
    auto classify = [&](int textLuma) {
      const int threshold = (paper - textLuma) / 2;
      inkOfItem.ink.assign(static_cast<size_t>(inkOfItem.width) * inkOfItem.height, 0);
      for (int y = 0; y < inkOfItem.height; ++y)
        for (int x = 0; x < inkOfItem.width; ++x)
          inkOfItem.ink[static_cast<size_t>(y) * inkOfItem.width + x] = paper - lumaAt(x, y) > threshold;
      return threshold > 8;
    };
    // The mnemonic's underline may or may not be shown: the better of the two renderings counts.
    const InkMask plain = RenderLabel(label, font.Get(), false);
    const InkMask underlined = RenderLabel(label, font.Get(), true);
    auto find = [&] {
      Match m = FindLabel(inkOfItem, plain);
      if (const Match other = FindLabel(inkOfItem, underlined); other.mismatches < m.mismatches) m = other;
      return m;
    };
    const COLORREF expected = ::GetSysColor((mii.fState & MFS_DISABLED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
    if (!classify(Luma(expected))) {
      faults += name + ": no contrast; ";
      continue;
    }
    Match match = find();
    // Then again with the text colour the label really has: the middle of its fully inked pixels.
    std::vector<int> solid;
    for (int y = 0; y < match.label->height; ++y)
      for (int x = 0; x < match.label->width; ++x) {
        const int sx = x + match.dx, sy = y + match.dy;
        if (match.label->solid[static_cast<size_t>(y) * match.label->width + x] && sx >= 0 && sy >= 0 &&
            sx < inkOfItem.width && sy < inkOfItem.height)
          solid.push_back(lumaAt(sx, sy));
      }
    if (!solid.empty()) {
      std::nth_element(solid.begin(), solid.begin() + solid.size() / 2, solid.end());
      if (classify(solid[solid.size() / 2])) match = find();
    }
    if (match.label->box.Empty()) continue;  // a label of spaces
    // A few pixels may differ where the screen's and the bitmap's smoothing round apart.
    const int allowed = std::max(3, match.label->inkCount / 25);
    if (match.mismatches > allowed) {
      faults += name + ": label not drawn whole (" + std::to_string(match.mismatches) + " of " +
                std::to_string(match.label->inkCount) + " pixels differ); ";
      continue;
    }
    const int first = match.label->box.left + match.dx, last = match.label->box.right + match.dx;
    // Every other ink up to the label's end is a picture or a check mark: it must end before the
    // label's first column. (Ink touching the label's own is its edge, rounded another way.)
    auto nearLabel = [&](int x, int y) {
      for (int ny = y - 1; ny <= y + 1; ++ny)
        for (int nx = x - 1; nx <= x + 1; ++nx)
          if (match.label->At(nx - match.dx, ny - match.dy)) return true;
      return false;
    };
    int otherLast = -1;
    for (int y = 0; y < inkOfItem.height; ++y)
      for (int x = 0; x <= last && x < inkOfItem.width; ++x)
        if (inkOfItem.At(x, y) && !match.label->At(x - match.dx, y - match.dy) && (x < first || !nearLabel(x, y)))
          otherLast = std::max(otherLast, x);
    if (otherLast >= first)
      faults += name + ": picture over the text (ink at column " + std::to_string(otherLast) + ", text from " +
                std::to_string(first) + "); ";
    // And a clear gap between them, proportional to the screen's density.
    else if (otherLast >= 0 && first - otherLast - 1 < kLeastPictureGap * orv::ScreenDpi() / orv::kBaseDpi)
      faults += name + ": picture touches the text (" + std::to_string(first - otherLast - 1) + " columns between); ";
  }
  return faults;
}

struct WatchState {
  std::string result = "menu not shown";
  std::wstring picture;
  int ticks = 0;
};
WatchState* t_watch = nullptr;
constexpr int kMaxTicks = 200;  // ten seconds at 50 ms

void CALLBACK OnWatchTimer(HWND, UINT, UINT_PTR, DWORD) {
  WatchState* w = t_watch;
  if (!w) return;
  HWND wnd = FindShownMenuWindow();
  if (!wnd) {
    if (++w->ticks >= kMaxTicks) ::EndMenu();
    return;
  }
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(wnd, MN_GETHMENU, 0, 0));
  w->result = CheckShownMenu(wnd, menu);
  if (!w->picture.empty()) SaveWindowImage(wnd, w->picture);
  ::EndMenu();
}

}  // namespace

HWND FindShownMenuWindow() {
  HWND wnd = ::FindWindowW(L"#32768", nullptr);
  return wnd && ::IsWindowVisible(wnd) ? wnd : nullptr;
}

std::string CheckMenuWhileShown(void (*open)(void* context), void* context, const std::wstring& picture) {
  WatchState state;
  state.picture = picture;
  t_watch = &state;
  // The pointer away from the menu, so that no item is highlighted.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &OnWatchTimer);
  open(context);
  ::KillTimer(nullptr, timer);
  t_watch = nullptr;
  return state.result;
}

}  // namespace testing_support
