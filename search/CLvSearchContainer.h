// CLvSearchContainer: the pane around the search results inside the search dialog (control
// 1215). Its caption strip has no text, only the list's sort arrow, and a click on it turns
// the order round; its toolbar installs, uninstalls and shows the properties of the selected
// results and opens the context menu (open the folder, copy to a folder and the lists' usual
// commands). It is the result list's parent and does for it what a font list's parent does
// (row height, owner drawing, notifications). Main thread only; lives as long as the dialog.
#pragma once

#include <windows.h>

#include "app/CTbPaneContainerImpl.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

class CLVSearchFonts;
class COrvelListView;
class IconPopupMenu;

class CLvSearchContainer : public CTbPaneContainerImpl<CLvSearchContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelSearchPane", CS_DBLCLKS, COLOR_3DFACE)

  static constexpr int kAscendingArrow = 8;  // images of the lists' shared 16-pixel list
  static constexpr int kDescendingArrow = 9;

  void SetList(CLVSearchFonts* list);

  // Template hooks.
  void AddButtons();
  std::wstring CaptionText() const { return {}; }
  bool FlatCaption() const { return false; }
  void DrawCaptionContent(HDC dc, const RECT& band);

  // Turns the list's order round (a click on the caption), unless the program is busy.
  void ToggleSortOrder();
  // The context menu: at the cursor (from the list's right click) or below the toolbar button.
  void ShowContextMenu(bool atCursor);
  // The context menu's items for the result list's selection.
  static void FillContextMenu(IconPopupMenu& menu, const COrvelListView& list);

  BEGIN_MSG_MAP(CLvSearchContainer)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnListMessage)
    MESSAGE_HANDLER(WM_DRAWITEM, OnListMessage)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnCaptionClick)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CLvSearchContainer>)
  END_MSG_MAP()

private:
  LRESULT OnListMessage(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnCaptionClick(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL& handled);

  CLVSearchFonts* list_ = nullptr;
  orv::ScopedImageList images_;
  orv::ScopedImageList disabledImages_;  // greyed copy for disabled buttons
  std::wstring tooltip_;
};
