#include "app/CGroupsTVContainer.h"

#include "app/AppState.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResourceIds.h"

void CGroupsTVContainer::AddButtons() {
  const int ids[] = {ID_GROUP_INSTALL, ID_GROUP_UNINSTALL, ID_GROUPS_QUICK_SEARCH, ID_PANE_MENU};
  if (LoadImageListFromResource(images_, 4, ids))
    ::SendMessageW(m_hWndToolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
  AddToolbarButton(2, ID_GROUPS_QUICK_SEARCH, BTNS_CHECK, TBSTATE_ENABLED);
  AddToolbarButton(0, ID_GROUP_INSTALL, BTNS_BUTTON, TBSTATE_ENABLED);
  AddToolbarButton(1, ID_GROUP_UNINSTALL, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_HIDDEN);
  AddToolbarButton(3, ID_PANE_MENU, BTNS_BUTTON, TBSTATE_ENABLED, 0, m_cxImage / 2);
}

COLORREF CGroupsTVContainer::CaptionColor() const {
  return ::GetSysColor(g_AppState.GroupListShown ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
}
