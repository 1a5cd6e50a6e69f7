// The folder tree pane: caption "Folders", the favourites band switch (the band lies under the
// caption while button 283 is checked), the two Fonts-folder jump buttons and the pane menu.
#pragma once

#include <string>

#include "app/COrvelFavWnd.h"
#include "app/CTbPaneContainerImpl.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

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

  // Buttons 188 and 187 checked, with the open folder's image, while the folder fonts list
  // shows that Fonts folder (the main frame's idle pass calls it after each fill).
  void UpdateFontsFolderButtons();

  BEGIN_MSG_MAP(CFolderTVContainer)
    MESSAGE_HANDLER(WM_NOTIFY, ReflectClientNotifications)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_ID_HANDLER(ID_PANE_FAVORITES, OnFavoritesButton)
    COMMAND_ID_HANDLER_EX(ID_PANE_SYSTEM_FONTS_DIR, OnFontsFolderButton)
    COMMAND_ID_HANDLER_EX(ID_PANE_USER_FONTS_DIR, OnFontsFolderButton)
    COMMAND_ID_HANDLER_EX(ID_PANE_MENU, OnPaneMenu)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CFolderTVContainer>)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFavoritesButton(WORD, WORD, HWND, BOOL&);
  // Shows or hides the band with the button's state and lays the pane out again.
  void ShowFavorites(bool show);
  // 188 and 187: to the system or the per-user Fonts folder while checked, back to the folder
  // shown before when released.
  void OnFontsFolderButton(UINT, int id, HWND);
  // The folder menu: at the cursor when the tree asked for it, else under the menu button.
  void OnPaneMenu(UINT, int, HWND from);
  void SetFontsFolderButton(int command, const std::wstring& folder, int openImage, int closedImage);

  orv::ScopedImageList images_;
  orv::ScopedImageList disabledImages_;  // greyed copy for disabled buttons
  COrvelFavWnd favorites_;
  int captionNoBand_ = 0;
  std::wstring returnFolder_;  // where a released Fonts-folder button goes back to
};
