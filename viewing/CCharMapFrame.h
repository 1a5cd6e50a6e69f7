// CCharMapFrame: the character map tool window, one tab (CCharMapChildFrame) per font, with a
// status bar that the grids of all tabs write to (pane 0: the code under the mouse, pane 1: its
// name). Page Up, Page Down, Home and End scroll the current grid and the arrow keys go to it,
// wherever the focus is in the frame (except in the compose box, which keeps its own keys).
//
// Created by the main frame on command ID_FONTS_CHARMAP (Create), which then adds the requested
// fonts (AddFontTab) and keeps the object until the frame reports its closing with
// ID_TOOL_WINDOW_CLOSED (lParam ID_FONTS_CHARMAP). Its rectangle is kept as "CharMapRect".
// Main thread only.
#pragma once

#include <windows.h>

#include "common/ResourceIds.h"
#include "viewing/CCharMapChildFrame.h"
#include "viewing/CTabbedToolFrame.h"

class CCharMapFrame : public CTabbedToolFrameImpl<CCharMapFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelCharMapFrame", CS_DBLCLKS, COLOR_APPWORKSPACE)

  static constexpr wchar_t kRectValue[] = L"CharMapRect";
  static constexpr RECT kDefaultRect{100, 100, 500, 500};
  // At 96 DPI, scaled to the screen's density.
  static constexpr int kMinWidthWithoutTab = 350;
  static constexpr int kMinHeightWithoutTab = 400;
  static constexpr wchar_t kCodePaneSample[] = L" x2ABCF (65000) ";

  // tabFont is owned from now on; savedRect: where the frame opens (ReadSavedRect).
  CCharMapFrame(HFONT tabFont, const RECT& savedRect);

  // Creates the window (title, menu and accelerators IDR_CHARMAP_FRAME) at the saved rectangle.
  HWND CreateFrame();

  // Adds a tab for `font`, or selects the one it has; brings the frame to the top. `installed`:
  // the font is installed exactly (otherwise it is loaded privately and offers no compose box
  // or drag). The new tab's child when one was made.
  CCharMapChildFrame* AddFontTab(const FontItem& font, bool installed);
  CCharMapChildFrame* GetCharMapChild(int index) const {
    return static_cast<CCharMapChildFrame*>(GetTabChild(index));
  }

  BEGIN_MSG_MAP(CCharMapFrame)
    MSG_WM_CREATE(OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MSG_WM_GETMINMAXINFO(OnGetMinMaxInfo)
    CHAIN_MSG_MAP(CTabbedToolFrameImpl<CCharMapFrame>)
  ALT_MSG_MAP(CTabbedToolFrame::kTabMapId)
    CHAIN_MSG_MAP_ALT(CTabbedToolFrameImpl<CCharMapFrame>, CTabbedToolFrame::kTabMapId)
  END_MSG_MAP()

protected:
  bool RouteTabKey(const MSG& msg) override;
  void ShowTabMenu(POINT screen) override;

private:
  LRESULT OnCreate(CREATESTRUCTW*);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  void OnGetMinMaxInfo(MINMAXINFO* info);

  void CreateStatusBar();
  // The smallest frame that shows the current tab's whole view (without a tab: a fixed size
  // scaled to the density), and that size limited to the work area of the frame's monitor.
  SIZE ViewFrameSize() const;
  SIZE MinFrameSize() const;
  // Makes the frame at least MinFrameSize, kept on its monitor's work area.
  void GrowToShowView();

  int codePaneWidth_ = 0;
};
