// CCharMapChildFrame: one tab of the character map frame, an MDI child whose client is a
// CCharMapView of one font. Beyond what every tool frame child does (CToolFrameChildImpl), it
// takes the keyboard messages its frame's filter forwards (the wheel goes to the grid, the rest
// to the view's dialog navigation).
//
// Made on the heap by CCharMapFrame::AddFontTab; once its window exists it deletes itself after
// its last message. Its icon (the font's type) is its own. Main thread only.
#pragma once

#include <windows.h>

#include "framework/MessageCrackers.h"
#include "viewing/CCharMapView.h"
#include "viewing/CToolFrameChildImpl.h"

class CCharMapChildFrame : public CToolFrameChildImpl<CCharMapChildFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelCharMapChild", CS_DBLCLKS, COLOR_WINDOW)
  // The frame hears of an activation after the MDI client has finished it.
  static constexpr bool kPostActivation = true;

  CCharMapChildFrame(const FontItem& font, bool installed, HWND statusBar, HICON icon);

  CCharMapView& View() { return view_; }

  // CToolFrameChild.
  const FontItem& GetTabFont() const override { return view_.Font(); }

  // The caption of a font's tab: its full name, after a note when another version or type of it
  // is installed or it cannot be read.
  static std::wstring BuildCaption(const FontItem& font);

  BEGIN_MSG_MAP(CCharMapChildFrame)
    MSG_WM_CREATE(OnCreate)
    MSG_WM_GETMINMAXINFO(OnGetMinMaxInfo)
    MESSAGE_HANDLER(orv::WM_FORWARDMSG, OnForwardMsg)
    CHAIN_MSG_MAP(CToolFrameChildImpl<CCharMapChildFrame>)
  END_MSG_MAP()

private:
  ~CCharMapChildFrame() override = default;
  friend class CCharMapFrame;  // deletes a child whose window could not be made

  LRESULT OnCreate(CREATESTRUCTW*);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  LRESULT OnForwardMsg(UINT, WPARAM, LPARAM, BOOL&);

  SIZE MinWindowSize() const;

  CCharMapView view_;
};
