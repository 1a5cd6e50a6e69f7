// The installed fonts pane: caption "Installed Fonts [shown / all]", uninstall and the pane menu.
#pragma once

#include <string>

#include "app/CTbPaneContainerImpl.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

class CInstalledFontsContainer : public CTbPaneContainerImpl<CInstalledFontsContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelInstalledPane", CS_DBLCLKS, COLOR_3DFACE)

  void AddButtons();
  // "Installed Fonts [shown / all]"; the counts are kept whole.
  std::wstring CaptionText() const;
  size_t CaptionTail() const;
  COLORREF CaptionColor() const;
  // The installed list's sort order, in the caption.
  bool HasSortIcon() const { return true; }
  void DrawSortIcon(HDC dc, int left, int top);

  // Rows the installed list shows and entries it has in all.
  void SetCounts(int shown, int total);

  BEGIN_MSG_MAP(CInstalledFontsContainer)
    COMMAND_ID_HANDLER_EX(ID_FONTS_UNINSTALL, OnUninstallCommand)
    COMMAND_ID_HANDLER_EX(ID_FONTS_COPY_TO_FOLDER, OnCopyCommand)
    COMMAND_ID_HANDLER_EX(ID_PANE_MENU, OnMenuCommand)
    MSG_WM_MOUSE(WM_LBUTTONDOWN, OnCaptionClick)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CInstalledFontsContainer>)
  END_MSG_MAP()

private:
  void OnUninstallCommand(UINT, int, HWND);
  void OnCopyCommand(UINT, int, HWND);
  void OnMenuCommand(UINT, int, HWND source);
  // A click on the caption sorts the installed list the other way; the click goes on.
  void OnCaptionClick(UINT keys, POINT at);

  orv::ScopedImageList images_;
  orv::ScopedImageList disabledImages_;  // greyed copy for disabled buttons
  int shown_ = 0;
  int total_ = 0;
};
