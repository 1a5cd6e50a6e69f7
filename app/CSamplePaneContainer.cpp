#include "app/CSamplePaneContainer.h"

#include <cwchar>

#include "common/LoadImageListFromResource.h"
#include "common/ResourceIds.h"

void CSamplePaneContainer::AddButtons() {
  const int ids[] = {ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_PROPERTIES};
  if (LoadImageListFromResource(images_, 3, ids))
    ::SendMessageW(m_hWndToolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
  AddToolbarButton(0, ID_FONTS_SHEET, BTNS_BUTTON, 0);
  AddToolbarButton(1, ID_FONTS_CHARMAP, BTNS_BUTTON, 0);
  AddToolbarButton(2, ID_FONTS_PROPERTIES, BTNS_BUTTON, 0);
}

void CSamplePaneContainer::UpdateTitle(const std::wstring& name, int size) {
  wchar_t head[32]{};
  std::swprintf(head, std::size(head), L"[%d points] ", size);
  SetCaption(head + name);
  if (m_hWnd) UpdateWindow();
}

void CSamplePaneContainer::PlaceUpDown() const {
  if (!upDown_) return;
  ::SetWindowPos(upDown_, nullptr, 0, 0, ::GetSystemMetrics(SM_CXVSCROLL), m_cyCaption,
                 SWP_NOACTIVATE | SWP_NOZORDER);
}
