// What a font list does while the program waits for input: it loads the fonts of the screens
// above and below the visible rows (the one the last scroll went towards first), so that the
// next scroll draws faces that are loaded already, and it lets the private font cache unload
// the entries it cut back. Each idle pass takes a short slice and stops early when input or a
// paint is waiting; while work is left it posts itself a null message so that the message loop
// comes back for another pass.
#include <algorithm>

#include "app/AppState.h"
#include "lists/COrvelListView.h"

namespace {

constexpr double kIdleSliceMs = 12;
// Trimmed entries unloaded between two looks at the clock (about a quarter of a millisecond each).
constexpr size_t kUnloadBatch = 8;
// Loading ahead needs a cache that holds this many screens; a smaller one would unload the
// fonts of the visible rows to make room.
constexpr int kScreensTheCacheMustHold = 4;

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

bool InputOrPaintWaiting() { return HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT)) != 0; }

}  // namespace

bool COrvelListView::LoadsPrivately(const FontItem& record) {
  return !record.IsEudc() && !record.IsUnreadable() && !record.IsInstalled();
}

bool COrvelListView::OnIdle() {
  const double deadline = NowMs() + kIdleSliceMs;
  // A few of the trimmed entries first: unloading them is cheap, but left until the loading
  // ahead is done it might not be done before the next cut, which would then unload them at once.
  bool unloadLeft = g_AppState.FontCache.UnloadTrimmed(kUnloadBatch);
  const bool loadLeft = m_hWnd && !m_busy && !itemsStale_ && ::IsWindowVisible(m_hWnd) && LoadFontsAhead(deadline);
  while (unloadLeft && !loadLeft && NowMs() < deadline && !InputOrPaintWaiting())
    unloadLeft = g_AppState.FontCache.UnloadTrimmed(kUnloadBatch);
  const bool more = unloadLeft || loadLeft;
  if (more && m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
  return more;
}

bool COrvelListView::LoadFontsAhead(double deadline) {
  const int count = ItemCount();
  const int top = TopIndex();
  const int page = std::max(1, static_cast<int>(::SendMessageW(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0)));
  if (top != aheadTop_ || page != aheadPage_) {
    if (aheadTop_ >= 0 && top != aheadTop_) scrolledUp_ = top < aheadTop_;
    aheadTop_ = top;
    aheadPage_ = page;
    aheadRows_.clear();
    aheadNext_ = 0;
    // The partly shown row at the bottom and the screen below it; the screen above, nearest row
    // first.
    std::vector<int> below, above;
    for (int i = top + page; i <= top + 2 * page && i < count; ++i) below.push_back(i);
    for (int i = top - 1; i >= top - page && i >= 0; --i) above.push_back(i);
    if (scrolledUp_) std::swap(below, above);
    aheadRows_ = std::move(below);
    aheadRows_.insert(aheadRows_.end(), above.begin(), above.end());
  }
  const int32_t limit = g_AppState.FontCache.Limit();
  const bool loadFonts = !m_namesOnly && (limit < 0 || limit >= kScreensTheCacheMustHold * page);
  const int height = loadFonts ? SampleHeight() : 0;
  for (bool first = true; aheadNext_ < aheadRows_.size(); first = false) {
    if (!first && (NowMs() >= deadline || InputOrPaintWaiting())) return true;
    FontListRow* row = GetRowAt(aheadRows_[aheadNext_++]);
    if (!row || !row->record) continue;
    FontItem& record = *row->record;
    if (!record.HasFlag(font_flags::kResolved)) CompleteRow(*row);
    if (!loadFonts || record.IsEudc() || record.IsUnreadable() || !record.HasFlag(font_flags::kResolved)) continue;
    // Loaded as the drawing would load it, without its status text: nobody waits for this one.
    // The look-up of its display font is done now too; what the drawing does with a face that
    // cannot be loaded is left to the drawing.
    if (LoadsPrivately(record)) g_AppState.FontCache.Add(record.GetFilePaths());
    if (record.IsRaster() || record.IsInstalled() || g_AppState.FontCache.Contains(record.GetFilePaths()))
      orv::ScopedFont prepared(CreateSampleFont(*row, height));
  }
  return false;
}
