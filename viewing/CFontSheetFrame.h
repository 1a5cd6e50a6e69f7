// CFontSheetFrame: the font sheet tool window, one tab (CFontSheetChildFrame) per font, each
// showing the font's sheet (CFontSheetView). Page Up, Page Down, Home, End and the arrow keys
// scroll the current sheet wherever the focus is in the frame. In page mode (View > Printed
// Pages) every sheet is drawn as the printed page of the current page setup; the frame prints
// the fonts of all its tabs, one sheet per page.
//
// Created by the main frame on command ID_FONTS_SHEET (Create), which then adds the requested
// fonts (AddFontTab) and keeps the object until the frame reports its closing with
// ID_TOOL_WINDOW_CLOSED (lParam ID_FONTS_SHEET); it also tells the frame when the page setup
// changed. Its rectangle is kept as "FontSheetRect". Main thread only.
#pragma once

#include <windows.h>

#include "common/ResourceIds.h"
#include "viewing/CFontSheetChildFrame.h"
#include "viewing/CTabbedToolFrame.h"

class CPrintFontSet;

class CFontSheetFrame : public CTabbedToolFrameImpl<CFontSheetFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelFontSheetFrame", CS_DBLCLKS, COLOR_APPWORKSPACE)

  static constexpr wchar_t kRectValue[] = L"FontSheetRect";
  // Where the frame opens while no rectangle is stored.
  static constexpr RECT kDefaultRect{120, 80, 760, 640};
  static constexpr int kMinWidth = 350;
  static constexpr int kMinHeight = 200;

  // tabFont is owned from now on; savedRect: where the frame opens (ReadSavedRect).
  CFontSheetFrame(HFONT tabFont, const RECT& savedRect);

  // Creates the window (title, menu and accelerators IDR_FONTSHEET_FRAME) at the saved rectangle.
  HWND CreateFrame();

  // Adds a tab for `font`, or selects the one it has; brings the frame to the top. The new
  // tab's child when one was made.
  CFontSheetChildFrame* AddFontTab(const FontItem& font);
  CFontSheetChildFrame* GetSheetChild(int index) const {
    return static_cast<CFontSheetChildFrame*>(GetTabChild(index));
  }

  bool PageMode() const { return pageMode_; }
  // Every sheet computes its page again (bounded exactly in page mode) at its next paint;
  // repainted when `invalidate`.
  void RefreshAllSheets(bool invalidate);
  // The font of every tab in tab order, the current tab's marked as the current one.
  void AddFontsToJob(CPrintFontSet& job) const;

  // CToolWindow: the sheets take the new page.
  void OnPageSetupChanged() override { RefreshAllSheets(true); }

  BEGIN_MSG_MAP(CFontSheetFrame)
    MSG_WM_CREATE(OnCreate)
    MSG_WM_GETMINMAXINFO(OnGetMinMaxInfo)
    COMMAND_ID_HANDLER_EX(ID_SHEETS_PRINT, OnPrint)
    COMMAND_ID_HANDLER_EX(ID_SHEET_PAGE_MODE, OnPageMode)
    CHAIN_MSG_MAP(CTabbedToolFrameImpl<CFontSheetFrame>)
  ALT_MSG_MAP(CTabbedToolFrame::kTabMapId)
    CHAIN_MSG_MAP_ALT(CTabbedToolFrameImpl<CFontSheetFrame>, CTabbedToolFrame::kTabMapId)
  END_MSG_MAP()

protected:
  bool RouteTabKey(const MSG& msg) override;
  void ShowTabMenu(POINT screen) override;

private:
  LRESULT OnCreate(CREATESTRUCTW*);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnPrint(UINT, int, HWND);
  void OnPageMode(UINT, int, HWND);

  // Lets the MDI client list the children in the Window menu.
  void UpdateWindowMenu();
  HMENU GetWindowSubMenu() const;

  bool pageMode_ = false;
};
