// CToolFrameChildImpl<T>: what every tab's MDI child of a tabbed tool frame does alike. It tells
// its frame when it becomes active (kMsgChildActivated; posted when T::kPostActivation, else
// sent) and when it is closed from its system menu or destroyed in any other way
// (kMsgChildClosing), carries the font type's icon as its window icon, and deletes itself after
// its last message once its window existed.
//
// T's map ends with CHAIN_MSG_MAP(CToolFrameChildImpl<T>); T's WM_CREATE calls TakeOwnership
// after it made its content. A child whose window could not be made is deleted by its creator.
// Main thread only.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/MDIFrameWindowImpl.h"
#include "viewing/CTabbedToolFrame.h"

template <typename T>
class CToolFrameChildImpl : public orv::CMDIChildWindowImpl<T>, public CToolFrameChild {
public:
  // CToolFrameChild.
  HWND GetChildWindow() const override { return this->m_hWnd; }

  BEGIN_MSG_MAP(CToolFrameChildImpl)
    MESSAGE_HANDLER(WM_MDIACTIVATE, OnMDIActivate)
    MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
    MESSAGE_HANDLER(WM_DESTROY, OnToolChildDestroy)
    CHAIN_MSG_MAP(orv::CMDIChildWindowImpl<T>)
  END_MSG_MAP()

protected:
  explicit CToolFrameChildImpl(HICON icon) : icon_(icon) {}
  ~CToolFrameChildImpl() override = default;

  // Sets the tab icon as the window's icons; from now on the window owns this object.
  void TakeOwnership() {
    if (icon_) {
      this->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
      this->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
    }
    ownedByWindow_ = true;
  }

  void OnFinalMessage(HWND) override {
    if (ownedByWindow_) delete this;
  }

private:
  LRESULT OnMDIActivate(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if constexpr (T::kPostActivation)
      ::PostMessageW(this->GetMDIFrame(), CTabbedToolFrame::kMsgChildActivated, wParam, lParam);
    else
      ::SendMessageW(this->GetMDIFrame(), CTabbedToolFrame::kMsgChildActivated, wParam, lParam);
    handled = FALSE;  // the default processing changes the active child
    return 0;
  }

  LRESULT OnSysCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if ((wParam & 0xFFF0) == SC_CLOSE) NotifyClosing();
    handled = FALSE;
    return 0;
  }

  LRESULT OnToolChildDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    // However the child goes, its tab goes with it (nothing happens when the tab is gone already).
    NotifyClosing();
    handled = FALSE;
    return 0;
  }

  void NotifyClosing() const {
    ::SendMessageW(this->GetMDIFrame(), CTabbedToolFrame::kMsgChildClosing, 0, reinterpret_cast<LPARAM>(this->m_hWnd));
  }

  orv::ScopedIcon icon_;
  bool ownedByWindow_ = false;
};
