#include "app/PaneSortOrder.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "framework/Handles.h"
#include "lists/COrvelListView.h"
#include "lists/FontListImages.h"

namespace {
constexpr int kTextMargins = 8;  // 4 pixels at each end of the caption text
}  // namespace

int SortOrderIconLeft(int width, int toolbarLeft) {
  const int room = toolbarLeft < width / 2 ? 2 * toolbarLeft - kTextMargins : width - kTextMargins;
  return room / 2 - SortOrderIconSize() / 2;
}

void DrawSortOrderIcon(HDC dc, int left, int top, const COrvelListView& list) {
  if (HIMAGELIST images = FontListImages::Get().small)
    ::ImageList_Draw(images, list.m_sortAscending ? kSortAscendingImage : kSortDescendingImage, dc, left, top,
                     ILD_TRANSPARENT);
}

bool ResortFromCaptionClick(HWND pane, POINT at, int captionHeight, int toolbarLeft, COrvelListView& list) {
  if (at.y < 0 || at.y >= captionHeight || at.x < 0 || at.x >= toolbarLeft) return false;
  if (!list.m_hWnd || list.m_busy || g_AppState.Busy) return false;
  RECT band{};
  ::GetClientRect(pane, &band);
  band.bottom = captionHeight;
  ::InvalidateRect(pane, &band, FALSE);
  list.m_sortAscending = list.m_sortAscending ? 0 : 1;
  orv::ScopedWaitCursor wait;
  list.Sort();
  return true;
}
