// The main window of Orvel Font Manager. Its class name is the single-instance name, so a
// second start can find it. Owns its layout record; saves it and the favourite folders when
// it closes, and ends the message loop with exit code 1 when it is destroyed.
#pragma once

#include "app/SingleInstance.h"
#include "app/WindowLayout.h"
#include "framework/WindowImpl.h"

class CMainFrame : public orv::CWindowImpl<CMainFrame> {
public:
  DECLARE_WND_CLASS_EX(kSingleInstanceName, CS_DBLCLKS, COLOR_WINDOW)

  CMainFrame();

  HWND CreateMainWindow();
  const WindowLayout& Layout() const { return layout_; }

  BEGIN_MSG_MAP(CMainFrame)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

  WindowLayout layout_;
};
