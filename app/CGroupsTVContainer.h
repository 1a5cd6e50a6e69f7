// The groups tree pane: caption "Font Groups", the quick-search band under the caption while
// button 282 is checked, install or uninstall of the selected group (one of the two buttons
// shown at a time) and the groups tree's menu.
#pragma once

#include "app/COrvelSearchWnd.h"
#include "app/CTbPaneContainerImpl.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

class CGroupsTVContainer : public CTbPaneContainerImpl<CGroupsTVContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelGroupsPane", CS_DBLCLKS, COLOR_3DFACE)

  void AddButtons();
  COLORREF CaptionColor() const;
  int TextBottom() const { return captionNoBand_; }
  void OnPaneCreated();

  COrvelSearchWnd& QuickSearch() { return search_; }
  bool QuickSearchShown() const;
  // Checks or clears button 282 and shows or hides the band; showing starts the search again.
  void ShowQuickSearch(bool show);

  BEGIN_MSG_MAP(CGroupsTVContainer)
    MESSAGE_HANDLER(WM_NOTIFY, ReflectClientNotifications)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_ID_HANDLER_EX(ID_GROUP_INSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_UNINSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_QUICK_SEARCH, OnQuickSearchButton)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_FIND, OnFindCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_FIND_NEXT, OnFindNextCommand)
    COMMAND_ID_HANDLER_EX(ID_PANE_MENU, OnMenuCommand)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CGroupsTVContainer>)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled);
  void OnInstallCommand(UINT, int id, HWND);
  void OnQuickSearchButton(UINT, int, HWND);
  void OnFindCommand(UINT, int, HWND);
  void OnFindNextCommand(UINT, int, HWND);
  void OnMenuCommand(UINT, int, HWND source);
  void LayOutBand(bool show);

  orv::ScopedImageList images_;
  orv::ScopedImageList disabledImages_;  // greyed copy for disabled buttons
  COrvelSearchWnd search_;
  int captionNoBand_ = 0;
};
