// The folder tree pane: caption "Folders", the favourites band switch, the two Fonts-folder
// jump buttons and the pane menu.
#pragma once

#include <string>

#include "app/CTbPaneContainerImpl.h"
#include "framework/Handles.h"

class CFolderTVContainer : public CTbPaneContainerImpl<CFolderTVContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelFolderPane", CS_DBLCLKS, COLOR_3DFACE)

  void AddButtons();
  std::wstring CaptionText() const;
  COLORREF CaptionColor() const;
  int TextBottom() const { return captionNoBand_; }
  void OnPaneCreated() { captionNoBand_ = m_cyCaption; }

  // Button 187 exists only on releases that know per-user fonts.
  [[nodiscard]] bool HasUserFontsButton() const;

  BEGIN_MSG_MAP(CFolderTVContainer)
    MESSAGE_HANDLER(WM_NOTIFY, OnClientNotify)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CFolderTVContainer>)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  // The folder tree handles its own notifications (expansion, deletion, selection, drawing):
  // they go back to it before the pane template forwards the rest to the parent.
  LRESULT OnClientNotify(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (!m_hWndClient || reinterpret_cast<NMHDR*>(lParam)->hwndFrom != m_hWndClient) {
      handled = FALSE;
      return 0;
    }
    return ReflectNotifications(msg, wParam, lParam, handled);
  }

  orv::ScopedImageList images_;
  int captionNoBand_ = 0;
  std::wstring returnFolder_;  // where a released Fonts-folder button goes back to
};
