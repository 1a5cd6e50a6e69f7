// COrvelFavWnd: the favourites band that the folder pane shows under its caption while its
// button 283 is checked. A wide drop-down button shows one favourite folder (a click goes there
// in the folder tree, the arrow lists every favourite), a button adds the folder list's folder
// and one removes the favourite shown. The favourites are Preferences::FavoriteFolders, which
// the main window stores when it closes. Created hidden with the folder pane, destroyed with it;
// main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "framework/WindowImpl.h"

class COrvelFavWnd : public orv::CWindowImpl<COrvelFavWnd> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelFavorites", 0, COLOR_3DFACE)

  // Creates the band (hidden) in the pane and shows the first favourite.
  HWND Create(HWND pane);
  // Places the band at `top` across the pane and shows it; its height, 0 without a band.
  int Layout(HWND pane, int top);
  // Puts favourite `command` - 30000 on the button; with navigate, goes there in the folder tree.
  void SelectFavorite(int command, bool navigate);
  void SetCurrentText(const std::wstring& folder);
  std::wstring GetCurrentText() const;
  void FitFavoriteButton();
  HWND Toolbar() const { return toolbar_; }

  BEGIN_MSG_MAP(COrvelFavWnd)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    NOTIFY_CODE_HANDLER(TBN_DROPDOWN, OnDropDown)
    COMMAND_ID_HANDLER(ID_FAV_CURRENT, OnGoToCurrent)
    COMMAND_ID_HANDLER(ID_FAV_ADD, OnAdd)
    COMMAND_ID_HANDLER(ID_FAV_REMOVE, OnRemove)
    COMMAND_RANGE_HANDLER(ID_FAV_MENU_FIRST, ID_FAV_MENU_LAST, OnMenuChoice)
    FORWARD_NOTIFICATIONS()
  END_MSG_MAP()

private:
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDropDown(int, NMHDR*, BOOL&);
  LRESULT OnGoToCurrent(WORD, WORD, HWND, BOOL&);
  LRESULT OnAdd(WORD, WORD, HWND, BOOL&);
  LRESULT OnRemove(WORD, WORD, HWND, BOOL&);
  LRESULT OnMenuChoice(WORD, WORD, HWND, BOOL&);

  HWND toolbar_ = nullptr;
  orv::ScopedImageList images_;
  orv::ScopedImageList disabledImages_;  // greyed copy for disabled buttons
  std::wstring current_;  // the text of the favourite button
};

// Selects `folder` in the main folder tree and scrolls it to the top; false when not found.
bool GoToFolderInTree(const std::wstring& folder);
