// The folder tree pane: caption "Folders", the favourites band switch (the band lies under the
// caption while button 283 is checked), the two Fonts-folder jump buttons and the pane menu.
#pragma once

#include <string>

#include "app/COrvelFavWnd.h"
#include "app/CTbPaneContainerImpl.h"
#include "framework/Handles.h"

class CFolderTVContainer : public CTbPaneContainerImpl<CFolderTVContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelFolderPane", CS_DBLCLKS, COLOR_3DFACE)

  void AddButtons();
  std::wstring CaptionText() const;
  COLORREF CaptionColor() const;
  int TextBottom() const { return captionNoBand_; }
  void OnPaneCreated();

  // Button 187 exists only on releases that know per-user fonts.
  [[nodiscard]] bool HasUserFontsButton() const;

  COrvelFavWnd& Favorites() { return favorites_; }
  bool FavoritesShown() const;

  BEGIN_MSG_MAP(CFolderTVContainer)
    MESSAGE_HANDLER(WM_NOTIFY, ReflectClientNotifications)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_ID_HANDLER(ID_PANE_FAVORITES, OnFavoritesButton)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CFolderTVContainer>)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFavoritesButton(WORD, WORD, HWND, BOOL&);
  // Shows or hides the band with the button's state and lays the pane out again.
  void ShowFavorites(bool show);

  orv::ScopedImageList images_;
  COrvelFavWnd favorites_;
  int captionNoBand_ = 0;
  std::wstring returnFolder_;  // where a released Fonts-folder button goes back to
};
