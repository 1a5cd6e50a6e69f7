// CCharMapChildFrame: one tab of the character map frame, an MDI child whose client is a
// CCharMapView of one font. It tells its frame when it becomes active (kMsgChildActivated,
// posted) and when it is closed (kMsgChildClosing), and takes the keyboard messages its frame's
// filter forwards (the wheel goes to the grid, the rest to the view's dialog navigation).
//
// Made on the heap by CCharMapFrame::AddFontTab; once its window exists it deletes itself after
// its last message. Its icon (the font's type) is its own. Main thread only.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/MDIFrameWindowImpl.h"
#include "framework/MessageCrackers.h"
#include "viewing/CCharMapView.h"
#include "viewing/CTabbedToolFrame.h"

class CCharMapChildFrame : public orv::CMDIChildWindowImpl<CCharMapChildFrame>, public CToolFrameChild {
public:
  DECLARE_WND_CLASS_EX(L"OrvelCharMapChild", CS_DBLCLKS, COLOR_WINDOW)

  CCharMapChildFrame(const FontItem& font, bool installed, HWND statusBar, HICON icon);

  CCharMapView& View() { return view_; }

  // CToolFrameChild.
  HWND GetChildWindow() const override { return m_hWnd; }
  const FontItem& GetTabFont() const override { return view_.Font(); }

  // The caption of a font's tab: its full name, after a note when another version or type of it
  // is installed or it cannot be read.
  static std::wstring BuildCaption(const FontItem& font);

  BEGIN_MSG_MAP(CCharMapChildFrame)
    MSG_WM_CREATE(OnCreate)
    MSG_WM_GETMINMAXINFO(OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_MDIACTIVATE, OnMDIActivate)
    MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
    MESSAGE_HANDLER(orv::WM_FORWARDMSG, OnForwardMsg)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(orv::CMDIChildWindowImpl<CCharMapChildFrame>)
  END_MSG_MAP()

private:
  ~CCharMapChildFrame() override = default;
  friend class CCharMapFrame;  // deletes a child whose window could not be made

  LRESULT OnCreate(CREATESTRUCTW*);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  LRESULT OnMDIActivate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSysCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnForwardMsg(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  void OnFinalMessage(HWND) override;

  SIZE MinWindowSize() const;

  CCharMapView view_;
  orv::ScopedIcon icon_;
  bool ownedByWindow_ = false;
};
